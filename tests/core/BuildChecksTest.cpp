#include "build/BuildInput.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace partwright {
namespace {

namespace fs = std::filesystem;
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

TEST(ResolveDestination, AbsoluteTrimmedAndThroughALink)
{
    test::TempDir dir;
    fs::create_directory(dir.file("real"));
    fs::create_symlink("real/target.iso", dir.file("link.iso")); // relative, and not there yet
    const auto before = fs::current_path();
    fs::current_path(dir.path());
    const std::string relative = ResolveDestination("  OUT.ISO ");
    const std::string linked = ResolveDestination(dir.file("link.iso"));
    fs::current_path(before);

    EXPECT_EQ(relative, dir.file("OUT.ISO"));
    EXPECT_EQ(linked, dir.file("real/target.iso"));
    EXPECT_EQ(ResolveDestination(dir.file("x y.iso")), dir.file("x y.iso"));
}

TEST(PartThatIsDestination, SameFileUnderAnyName)
{
    test::TempDir dir;
    test::WriteFile(dir.file("a.1"), "a");
    test::WriteFile(dir.file("b.2"), "b");
    fs::create_hard_link(dir.file("b.2"), dir.file("hard.iso"));
    fs::create_symlink(dir.file("a.1"), dir.file("soft.iso"));
    const std::vector<std::string> parts{dir.file("a.1"), dir.file("b.2")};

    EXPECT_EQ(PartThatIsDestination(parts, dir.file("hard.iso")), dir.file("b.2"));
    EXPECT_EQ(PartThatIsDestination(parts, dir.file("soft.iso")), dir.file("a.1"));
    EXPECT_EQ(PartThatIsDestination(parts, dir.path().string() + "/./a.1"), dir.file("a.1"));
    EXPECT_EQ(PartThatIsDestination(parts, dir.file("new.iso")), std::nullopt);
    EXPECT_EQ(ImageSize(parts), 2u);
    EXPECT_THROW(ImageSize({dir.file("gone")}), fs::filesystem_error);
}

} // namespace
} // namespace partwright
