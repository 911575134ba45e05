#include "join/BuildInput.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace partwright {
namespace {

namespace fs = std::filesystem;
TEST(FirstMissingPart, FollowsLinks)
{
    test::TempDir dir;
    test::WriteFile(dir.file("a.001"), "a");
    fs::create_symlink(dir.file("a.001"), dir.file("link.002"));
    fs::create_symlink(dir.file("gone"), dir.file("dangling.003"));
    EXPECT_EQ(FirstMissingPart({dir.file("a.001"), dir.file("link.002")}), std::nullopt);
    EXPECT_EQ(FirstMissingPart({dir.file("link.002"), dir.file("dangling.003")}),
              dir.file("dangling.003"));
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
}

} // namespace
} // namespace partwright
