#include "join/BuildInput.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace partwright {
namespace {

TEST(IsBuildInputValid, NeedsEntriesAndADestinationThatIsNotBlank)
{
    const struct {
        std::size_t count;
        const char* destination;
        bool valid;
    } cases[] = {
        {0, "OUTFILE.ISO", false}, {1, "", false},        {1, "   ", false}, {0, "", false},
        {1, "OUTFILE.ISO", true},  {3, "  x.iso ", true}, {1, "\t", true}, // only spaces are blanks
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsBuildInputValid(c.count, c.destination), c.valid)
            << c.count << " '" << c.destination << "'";
}

TEST(FirstMissingPart, NamesTheFirstEntryThatIsNotAnExistingFile)
{
    test::TempDir dir;
    test::WriteFile(dir.file("a.001"), "a");
    test::WriteFile(dir.file("b.002"), "b");
    std::filesystem::create_directory(dir.file("folder.003"));

    const struct {
        std::vector<std::string> parts;
        std::optional<std::string> missing;
    } cases[] = {
        {{dir.file("a.001"), dir.file("b.002")}, std::nullopt},
        {{dir.file("a.001"), dir.file("c.003"), dir.file("d.004")}, dir.file("c.003")},
        {{dir.file("folder.003"), dir.file("a.001")}, dir.file("folder.003")},
        {{dir.file("a.001"), ""}, std::string()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstMissingPart(c.parts), c.missing);
}

TEST(FirstMissingPart, RelativeNamesCountFromTheCurrentFolder)
{
    test::TempDir dir;
    test::WriteFile(dir.file("rel.001"), "r");
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const auto inside = FirstMissingPart({"rel.001"});
    std::filesystem::current_path(before);
    EXPECT_EQ(inside, std::nullopt);
    EXPECT_EQ(FirstMissingPart({"rel.001"}), "rel.001");
}

constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;

TEST(RoomProblem, FatLimitFirstThenFreeSpace)
{
    const std::string fat = "Cannot built ISO.\r\n\r\nThe image would be 4,294,967,296 bytes "
                            "(4.00 GiB), but '/media/stick' is on a FAT file system, which holds "
                            "no file larger than 4,294,967,295 bytes (4 GiB - 1 byte).";
    const std::string full = "Cannot built ISO.\r\n\r\nThere is not enough free space in "
                             "'/media/stick':\r\nthe image needs 4,294,967,296 bytes (4.00 GiB), "
                             "only 1,000 bytes (1000 bytes) are free.";
    const struct {
        std::uint64_t image;
        VolumeInfo volume;
        std::optional<std::string> problem;
    } cases[] = {
        {4 * kGiB - 1, {10 * kGiB, true}, std::nullopt},
        {4 * kGiB, {10 * kGiB, true}, fat},
        {4 * kGiB, {1000, true}, fat},
        {4 * kGiB, {10 * kGiB, false}, std::nullopt},
        {4 * kGiB, {4 * kGiB, false}, std::nullopt},
        {4 * kGiB, {1000, false}, full},
        {0, {0, false}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoomProblem(c.image, c.volume, "/media/stick"), c.problem) << c.image;
}

TEST(MeasureParts, SizesAndTheirSum)
{
    test::TempDir dir;
    test::WriteFile(dir.file("a.1"), "a");
    test::WriteFile(dir.file("b.2"), "bb");
    const auto parts = MeasureParts({dir.file("a.1"), dir.file("b.2"), dir.file("a.1")});
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[1].path, dir.file("b.2"));
    EXPECT_EQ(parts[1].size, 2u);
    EXPECT_EQ(ImageSize(parts), 4u);
    EXPECT_THROW(MeasureParts({dir.file("gone")}), std::filesystem::filesystem_error);
}

} // namespace
} // namespace partwright
