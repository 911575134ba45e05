#include "build/BuildInput.h"

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
    std::filesystem::create_symlink(dir.file("a.001"), dir.file("link.004"));
    std::filesystem::create_symlink(dir.file("gone"), dir.file("dangling.005"));

    const struct {
        std::vector<std::string> parts;
        std::optional<std::string> missing;
    } cases[] = {
        {{dir.file("a.001"), dir.file("b.002")}, std::nullopt},
        {{dir.file("a.001"), dir.file("link.004")}, std::nullopt},
        {{dir.file("a.001"), dir.file("c.003"), dir.file("d.004")}, dir.file("c.003")},
        {{dir.file("folder.003"), dir.file("a.001")}, dir.file("folder.003")},
        {{dir.file("a.001"), dir.file("dangling.005")}, dir.file("dangling.005")},
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

} // namespace
} // namespace partwright
