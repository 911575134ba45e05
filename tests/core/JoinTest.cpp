#include "join/JoinCommand.h"
#include "join/ShellSelection.h"
#include "platform/TemporaryImage.h"
#include "text/PasteString.h"

#include <gtest/gtest.h>

namespace partwright {
namespace {

TEST(JoinCommand, CommandLinesAndTheirPieces)
{
    const auto line = [](const std::string& shell, const std::vector<std::string>& parts) {
        const auto steps = ComposeCopySteps("C:\\W\\" + shell, shell, parts, "C:\\t 1");
        return steps.front().command.argv.front() + "|" + steps.front().command.commandLine;
    };
    const std::pair<std::string, std::string> cases[] = {
        {line("cmd.exe", {"D:\\My Images\\b.002", "a&b|c;e^f!.003", "c.001"}),
         R"(C:\W\cmd.exe|cmd.exe /D /V:OFF /U /c COPY /B /Y "C:\t 1" + "D:\My Images\b.002" + )"
         R"("a&b|c;e^f!.003" + "c.001" "C:\t 1")"},
        {line("command.com", {"D:\\g.001"}),
         R"(C:\W\command.com|command.com /c COPY /B /Y "C:\t 1" + "D:\g.001" "C:\t 1")"},
        {JoinDestination("   D:\\o\\x.iso  ") + "|" + JoinDestination("\tx.iso"),
         "D:\\o\\x.iso|\tx.iso"},
        {PasteString(" + ", {"a", " ", "", "b "}) + PasteString("|", {" a ", "\t"}) +
             PasteString("+", {"", "  "}) + PasteString("+", {}),
         "a + b  a |\t"},
        {ShellNameForVersion(0) + ShellNameForVersion(1) + ShellNameForVersion(4) +
             ShellNameForVersion(5),
         "cmd.execommand.comcommand.comcmd.exe"}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(text, expected);
    const std::vector<std::string> parts{"-a b$HOME'\".001", "x;y.002"};
    EXPECT_EQ(ComposeCatArguments("/bin/cat", parts),
              (std::vector<std::string>{"/bin/cat", "--", parts[0], parts[1]}));
}

// Each COPY step's whole line stays within cmd.exe's 8,191 UTF-16 units. The line without parts,
// `cmd.exe /D /V:OFF /U /c COPY /B /Y "t" "t"`, takes 42 of them; each part its length and 5
// (` + ` and the quotes). A character past U+FFFF takes two units, any other one.
TEST(JoinCommand, CopyStepsWithinTheLongestCommandLine)
{
    const std::string clef = "\xF0\x9D\x84\x9E", macron = "\xC4\x81"; // U+1D11E, U+0101
    const auto repeated = [](const std::string& text, std::size_t times) {
        std::string result;
        while (times--)
            result += text;
        return result;
    };
    const struct {
        std::vector<std::string> parts;
        std::vector<std::size_t> steps; // the parts of each step
    } rows[] = {
        {{std::string(8144, 'a')}, {1}},                                 // 8,191 units
        {{std::string(8145, 'a'), "b"}, {1, 1}},                         // never fewer than one
        {{repeated(clef, 2035), repeated(macron, 4069), "c"}, {2, 1}},   // 8,191 units
        {{std::string(4070, 'a'), std::string(4070, 'b'), "c"}, {1, 2}}, // 8,192 units
        {std::vector<std::string>(300, std::string(140, 'p')), {56, 56, 56, 56, 56, 20}},
    };
    for (const auto& row : rows) {
        const auto steps = ComposeCopySteps("C:\\cmd.exe", "cmd.exe", row.parts, "t");
        std::vector<std::size_t> sizes;
        std::string joined, expected;
        for (const JoinStep& step : steps) {
            sizes.push_back(step.parts);
            const std::string& line = step.command.commandLine;
            EXPECT_EQ(line.substr(0, 38), R"(cmd.exe /D /V:OFF /U /c COPY /B /Y "t")");
            EXPECT_EQ(line.substr(line.size() - 4), R"( "t")");
            joined += line.substr(38, line.size() - 42);
        }
        EXPECT_EQ(sizes, row.steps) << row.parts.size();
        for (const std::string& part : row.parts)
            expected += " + \"" + part + '"';
        EXPECT_EQ(joined, expected); // every part once, in list order
    }
}

// Each cat step's arguments fit the room, with their ends and argv's pointers: "/bin/cat" and
// "--" take 9 and 3 bytes and a pointer each, argv's end a pointer, each part its length, 1 and a
// pointer. Never fewer than one part a step.
TEST(JoinCommand, CatStepsWithinTheArgumentRoom)
{
    const std::size_t pointer = sizeof(char*), two = 9 + 3 + 3 * pointer + 2 * (2 + pointer);
    const std::pair<std::size_t, std::vector<std::size_t>> rows[] = {
        {two, {2}}, {two - 1, {1, 1}}, {0, {1, 1}}};
    for (const auto& [room, expected] : rows) {
        std::vector<std::size_t> sizes;
        for (const JoinStep& step : ComposeCatSteps("/bin/cat", {"a", "b"}, room, 5)) {
            sizes.push_back(step.parts);
            EXPECT_EQ(step.command.standardOutput, 5);
        }
        EXPECT_EQ(sizes, expected) << room;
    }
}

// Every platform but NT (2) follows the DOS-based rules; NT never reads the service text.
TEST(ClassifyWinVersion, OneRowPerVersionAndBoundary)
{
    const struct {
        std::uint32_t platform, major, minor;
        std::string service;
        int code;
    } cases[] = {{2, 3, 51, "", 6},   {2, 4, 0, " B", 7},  {2, 5, 0, "", 8},
                 {2, 5, 1, "", 9},    {2, 5, 2, "", 8},    {2, 6, 3, "", 10},
                 {2, 10, 0, "", 11},  {1, 4, 0, " B ", 2}, {1, 4, 0, " C", 1},
                 {1, 4, 0, "\tB", 1}, {1, 4, 10, " A", 4}, {1, 4, 10, "", 3},
                 {1, 4, 90, "A", 5},  {1, 4, 3, "", 11},   {1, 5, 0, " B", 11},
                 {0, 4, 0, "B", 2},   {3, 4, 10, "A", 4},  {0, 0, 0, std::string(128, ' '), 11}};
    for (const auto& c : cases)
        EXPECT_EQ(ClassifyWinVersion({c.platform, c.major, c.minor, c.service}), c.code) << c.minor;
}

// A build removes what killed builds left under its own names only: eight lowercase hexadecimal
// digits after the prefix.
TEST(TemporaryImage, NamesItTakesForItsOwn)
{
    const std::pair<std::string, bool> cases[] = {
        {TemporaryImageName(0x09af09af), true}, {".partwright-0badf00g", false},
        {".partwright-ABCDEF01", false},        {".partwright-0badf00/", false},
        {".partwright-0badf00:", false},        {".partwright-0badf00`", false}};
    for (const auto& [name, taken] : cases)
        EXPECT_EQ(IsTemporaryImageName(name), taken) << name;
}

} // namespace
} // namespace partwright
