#include "build/JoinCommand.h"

#include <gtest/gtest.h>

namespace partwright {
namespace {

struct CopyCase {
    const char* name;
    std::string shell;
    std::vector<std::string> parts;
    std::string temporary;
    std::string destination;
    std::string expected;
};

void PrintTo(const CopyCase& c, std::ostream* out)
{
    *out << c.name;
}

class CopyCommandLineTest : public testing::TestWithParam<CopyCase> {};

TEST_P(CopyCommandLineTest, Composes)
{
    const auto& c = GetParam();
    EXPECT_EQ(ComposeCopyCommandLine(c.shell, c.parts, c.temporary, c.destination), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyCommandLineTest,
    testing::Values(
        CopyCase{
            "ThreePartsInListOrder",
            "cmd.exe",
            {"D:\\img\\game.001", "D:\\img\\game.002", "D:\\img\\game.003"},
            "D:\\img\\t.tmp",
            "D:\\img\\OUTFILE.ISO",
            R"(cmd.exe /c COPY /B /Y "D:\img\game.001" + "D:\img\game.002" + )"
            R"("D:\img\game.003" "D:\img\t.tmp" && MOVE /Y "D:\img\t.tmp" "D:\img\OUTFILE.ISO")"},
        CopyCase{
            "OrderIsTheListsNotSorted",
            "cmd.exe",
            {"b.002", "a.003", "c.001"},
            "t",
            "out.iso",
            R"(cmd.exe /c COPY /B /Y "b.002" + "a.003" + "c.001" "t" && MOVE /Y "t" "out.iso")"},
        CopyCase{"SingleEntryHasNoPlus",
                 "cmd.exe",
                 {"D:\\img\\game.001"},
                 "t",
                 "OUTFILE.ISO",
                 R"(cmd.exe /c COPY /B /Y "D:\img\game.001" "t" && MOVE /Y "t" "OUTFILE.ISO")"},
        CopyCase{"CommandComComesFirst",
                 "command.com",
                 {"A.001", "A.002"},
                 "t",
                 "A.ISO",
                 R"(command.com /c COPY /B /Y "A.001" + "A.002" "t" && MOVE /Y "t" "A.ISO")"},
        CopyCase{"BlanksInsidePathsStayInsideQuotes",
                 "cmd.exe",
                 {"C:\\My Images\\disc one.001", "C:\\My Images\\disc one.002"},
                 "C:\\My Images\\t 1.tmp",
                 "C:\\My Images\\disc one.iso",
                 R"(cmd.exe /c COPY /B /Y "C:\My Images\disc one.001" + )"
                 R"("C:\My Images\disc one.002" "C:\My Images\t 1.tmp" && )"
                 R"(MOVE /Y "C:\My Images\t 1.tmp" "C:\My Images\disc one.iso")"},
        CopyCase{"SpecialCharactersAreQuoted",
                 "cmd.exe",
                 {"a&b.001", "c|d;e.002"},
                 "t",
                 "o^t.iso",
                 R"(cmd.exe /c COPY /B /Y "a&b.001" + "c|d;e.002" "t" && MOVE /Y "t" "o^t.iso")"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JoinDestination, LosesSurroundingBlanksOnly)
{
    EXPECT_EQ(JoinDestination("   D:\\out\\x.iso  "), "D:\\out\\x.iso");
    EXPECT_EQ(JoinDestination("\tx.iso"), "\tx.iso");
    EXPECT_EQ(JoinDestination("a b.iso"), "a b.iso");
}

TEST(CatArguments, PathsAreSeparateArgumentsAfterAConstantScript)
{
    const std::vector<std::string> parts{"-a b$HOME'\".001", "x;y.002"};
    const auto argv = ComposeCatArguments("/bin/sh", parts, "/o/.t;$x", "/o/out $(touch x).iso");

    ASSERT_EQ(argv.size(), 8u);
    EXPECT_EQ(argv[0], "/bin/sh");
    EXPECT_EQ(argv[1], "-c");
    EXPECT_EQ(argv[3], "sh");
    EXPECT_EQ(argv[4], "/o/.t;$x");
    EXPECT_EQ(argv[5], "/o/out $(touch x).iso");
    EXPECT_EQ(argv[6], parts[0]);
    EXPECT_EQ(argv[7], parts[1]);

    // The script is the same whatever the names are.
    EXPECT_EQ(argv[2], ComposeCatArguments("/bin/sh", {"p"}, "t", "d")[2]);
}

} // namespace
} // namespace partwright
