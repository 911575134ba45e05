#include "join/BuildInput.h"

#include "join/Destination.h"
#include "platform/NativePaths.h"
#include "support/TempDir.h"

#include <clocale>
#include <gtest/gtest.h>

namespace partwright {
namespace {

namespace fs = std::filesystem;
constexpr std::uint64_t kMiB = 1024ULL * 1024;

TEST(BuildInput, EntriesAndADestinationThatIsNotBlankAndEndsInDotIso)
{
    EXPECT_TRUE(IsBuildInputValid(1, "\t")); // only spaces are blanks
    EXPECT_FALSE(IsBuildInputValid(0, "OUT.ISO"));
    EXPECT_FALSE(IsBuildInputValid(1, "   "));
    const std::pair<const char*, bool> cases[] = {
        {"D:\\o\\G.ISO", true}, {"/o/.iso", true},       {".iso", true},          {"x.iSo", true},
        {"/x.iso/g", false},    {"g.iso ", false},       {"iso", false},          {"", false},
        {"g.iso.001", false},   {"G.\xc4\xb0SO", false}, {"g.\xc4\xb1so", false}, {"g.img", false}};
    // In Turkish the capital of 'i' is not 'I'; endings compare by ASCII letters all the same.
    for (const char* locale : {"C", "tr_TR.UTF-8"}) {
#ifndef _WIN32
        ASSERT_TRUE(std::setlocale(LC_ALL, locale)) << locale << ": sh tools/dev.sh test makes it";
#endif
        for (const auto& [name, accepted] : cases)
            EXPECT_EQ(IsIsoName(name), accepted) << locale << " \"" << name << '"';
    }
    std::setlocale(LC_ALL, "C");
}

TEST(BuildInput, FirstMissingPartAndRoomForTheImage)
{
    test::TempDir dir;
    test::WriteFile(dir.file("a.001"), "a");
    fs::create_directory(dir.file("folder.002"));
    EXPECT_EQ(FirstMissingPart({dir.file("folder.002"), dir.file("a.001")}),
              dir.file("folder.002"));
    EXPECT_THROW(MeasureParts({dir.file("gone")}), fs::filesystem_error);

    constexpr std::uint64_t kGiB = 1024 * kMiB; // a FAT file holds 4 GiB - 1 byte at most
    EXPECT_EQ(RoomProblem(4 * kGiB - 1, {4 * kGiB - 1, true}, "/m"), std::nullopt);
    EXPECT_EQ(RoomProblem(4 * kGiB, {4 * kGiB, false}, "/m"), std::nullopt);
    EXPECT_EQ(RoomProblem(4 * kGiB, {1000, true}, "/m"),
              "Cannot built ISO.\r\n\r\nThe image would be 4,294,967,296 bytes (4.00 GiB), but "
              "'/m' is on a FAT file system, which holds no file larger than 4,294,967,295 bytes "
              "(4 GiB - 1 byte).");
    EXPECT_EQ(RoomProblem(4 * kGiB, {1000, false}, "/m"),
              "Cannot built ISO.\r\n\r\nThere is not enough free space in '/m':\r\nthe image "
              "needs 4,294,967,296 bytes (4.00 GiB), only 1,000 bytes (1000 bytes) are free.");
}

// Relative names count from the current folder; a destination that is a part is found.
TEST(BuildInput, RelativeNamesAndLinks)
{
    if (NativeSeparator() == '\\')
        GTEST_SKIP() << "links on Windows need a privilege ordinary users lack";
    test::TempDir dir;
    test::WriteFile(dir.file("a.1"), "a");
    test::WriteFile(dir.file("b.2"), "b");
    fs::create_symlink(dir.file("a.1"), dir.file("soft.iso"));
    fs::create_symlink(dir.file("gone"), dir.file("dangling.3"));
    fs::create_hard_link(dir.file("b.2"), dir.file("hard.iso"));
    fs::create_symlink("real/target.iso", dir.file("link.iso"));
    EXPECT_EQ(FirstMissingPart({dir.file("soft.iso"), "b.2", dir.file("dangling.3")}), "b.2");
    const auto before = fs::current_path();
    fs::current_path(dir.path());
    const auto inside = FirstMissingPart({dir.file("soft.iso"), "b.2", dir.file("dangling.3")});
    const std::string relative = ResolveDestination("  OUT.ISO ");
    fs::current_path(before);
    EXPECT_EQ(inside, dir.file("dangling.3"));
    EXPECT_EQ(relative, dir.file("OUT.ISO"));
    EXPECT_EQ(ResolveDestination(dir.file("link.iso")), dir.file("real/target.iso"));

    const std::vector<std::string> parts{dir.file("a.1"), dir.file("b.2")};
    EXPECT_EQ(PartThatIsDestination(parts, dir.file("hard.iso")), dir.file("b.2"));
    EXPECT_EQ(PartThatIsDestination(parts, dir.file("soft.iso")), dir.file("a.1"));
    EXPECT_EQ(PartThatIsDestination(parts, dir.file("new.iso")), std::nullopt);
}

} // namespace
} // namespace partwright
