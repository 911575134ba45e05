#include "join/JoinCommand.h"

#include <gtest/gtest.h>

namespace partwright {
namespace {

struct CopyCase {
    const char* name;
    std::string shell;
    std::vector<std::string> parts;
    std::string temporary;
    std::string expected;
};

TEST(CopyCommandLine, QuotesEveryPathAndKeepsListOrder)
{
    const CopyCase cases[] = {
        {"ThreePartsInListOrder",
         "cmd.exe",
         {"D:\\img\\game.001", "D:\\img\\game.002", "D:\\img\\game.003"},
         "D:\\img\\t.tmp",
         R"(cmd.exe /c COPY /B /Y "D:\img\game.001" + "D:\img\game.002" + )"
         R"("D:\img\game.003" "D:\img\t.tmp")"},
        {"OrderIsTheListsNotSorted",
         "cmd.exe",
         {"b.002", "a.003", "c.001"},
         "t",
         R"(cmd.exe /c COPY /B /Y "b.002" + "a.003" + "c.001" "t")"},
        {"SingleEntryHasNoPlus",
         "cmd.exe",
         {"D:\\img\\game.001"},
         "t",
         R"(cmd.exe /c COPY /B /Y "D:\img\game.001" "t")"},
        {"CommandComComesFirst",
         "command.com",
         {"A.001", "A.002"},
         "t",
         R"(command.com /c COPY /B /Y "A.001" + "A.002" "t")"},
        {"BlanksAndSpecialCharactersStayInsideQuotes",
         "cmd.exe",
         {"C:\\My Images\\disc one.001", "a&b|c;e^f.002"},
         "C:\\My Images\\t 1.tmp",
         R"(cmd.exe /c COPY /B /Y "C:\My Images\disc one.001" + "a&b|c;e^f.002" )"
         R"("C:\My Images\t 1.tmp")"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComposeCopyCommandLine(c.shell, c.parts, c.temporary), c.expected) << c.name;
}

TEST(JoinDestination, LosesSurroundingBlanksOnly)
{
    EXPECT_EQ(JoinDestination("   D:\\out\\x.iso  "), "D:\\out\\x.iso");
    EXPECT_EQ(JoinDestination("\tx.iso"), "\tx.iso");
    EXPECT_EQ(JoinDestination("a b.iso"), "a b.iso");
}

TEST(CatArguments, PathsAreSeparateArgumentsAfterTheEndOfOptions)
{
    const std::vector<std::string> parts{"-a b$HOME'\".001", "x;y.002"};
    EXPECT_EQ(ComposeCatArguments("/bin/cat", parts),
              (std::vector<std::string>{"/bin/cat", "--", parts[0], parts[1]}));
}

} // namespace
} // namespace partwright
