#include "join/BuildInput.h"
#include "join/Destination.h"
#include "join/JoinCommand.h"
#include "join/PartSet.h"
#include "join/ShellSelection.h"
#include "platform/TemporaryImage.h"
#include "support/TempDir.h"
#include "text/PasteString.h"

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

std::vector<ListedPart> Sized(const std::vector<std::uint64_t>& sizes)
{
    std::vector<ListedPart> parts;
    parts.reserve(sizes.size());
    for (const auto size : sizes)
        parts.push_back({"/i/D." + std::to_string(parts.size() + 1), size});
    return parts;
}

std::vector<ListedPart> Named(const std::vector<std::string>& names)
{
    std::vector<ListedPart> parts;
    parts.reserve(names.size());
    for (const std::string& name : names)
        parts.push_back({"/i/" + name, kMiB});
    return parts;
}

// x.00 ... x.89 as GNU split -d names them, then the given names; all of 1 MiB.
std::vector<ListedPart> DigitsPast89(const std::vector<std::string>& more)
{
    std::vector<std::string> names;
    names.reserve(90 + more.size());
    for (int n = 0; n < 90; ++n)
        names.push_back("x." + std::string(n < 10 ? "0" : "") + std::to_string(n));
    names.insert(names.end(), more.begin(), more.end());
    return Named(names);
}

// Splitters put the few bytes left over all on the last part or one more on each first part.
// Entries that are not of the largest set are named with their place in the list.
TEST(PartSetFindings, SignsOfABrokenSet)
{
    const std::pair<std::vector<ListedPart>, std::vector<std::string>> cases[] = {
        {{{"/i/D.3", 5}, {"/i/D.1", kMiB}, {"/i/readme.txt", 3}, {"/i/D.2", kMiB}},
         {"readme.txt is not a part of D: it would be joined as entry 3 of 4."}},
        {Named({"README.txt", "DISC.001", "DISC.md5", "DISC.002", "OUTFILE.ISO"}),
         {"README.txt is not a part of DISC: it would be joined as entry 1 of 5.",
          "DISC.md5 is not a part of DISC: it would be joined as entry 3 of 5.",
          "OUTFILE.ISO is not a part of DISC: it would be joined as entry 5 of 5."}},
        {Named({"A.1", "b.1", "b.2", "A.2", "i.aa", "i.ab"}),
         {"b.1 is not a part of A: it would be joined as entry 2 of 6.",
          "b.2 is not a part of A: it would be joined as entry 3 of 6.",
          "i.aa is not a part of A: it would be joined as entry 5 of 6.",
          "i.ab is not a part of A: it would be joined as entry 6 of 6."}},
        {Named({"i.aa", "i.ab", "i.ad", "i.ad", "i.abc"}),
         {"i.abc is not a part of i: it would be joined as entry 5 of 5.",
          "Part ac is missing between i.ab and i.ad.", "i.ad is listed twice."}},
        {Named({"i.nf", "i.aaa", "i.aab"}),
         {"i.nf is not a part of i: it would be joined as entry 1 of 3."}},
        {Named({"img.iso.ad", "img.iso.ae"}),
         {"The parts start at img.iso.ad: parts aa to ac are missing."}},
        {Named({"xab", "xaa", "xyz", "xzaaa", "xzaac"}),
         {"Parts ac to yy are missing between xab and xyz.",
          "Part zaab is missing between xzaaa and xzaac."}},
        {DigitsPast89({"x.9000", "x.9001"}), {}},
        {DigitsPast89({"x.9003"}), {"Parts 9000 to 9002 are missing between x.89 and x.9003."}},
        {DigitsPast89({"x.9000", "x.901"}),
         {"Parts 90 to 900 are missing between x.89 and x.901.",
          "Parts 902 to 8999 are missing between x.901 and x.9000."}},
        {Named({"D.1", "D.2", "D.99999999999999999999"}), {}},
        {{{"/i/D.001", kMiB}, {"/i/D.002", kMiB}, {"/i/D.004", kMiB}},
         {"Part 3 is missing between D.002 and D.004."}},
        {{{"/i/readme.txt", 3}, {"/i/D.004", kMiB}},
         {"The parts start at D.004: parts 1 to 3 are missing."}},
        {{{"/i/D.1", kMiB}, {"/j/D.01", kMiB}, {"/k/D.001", kMiB}, {"/i/D.2", 3}},
         {"Part 1 is listed 3 times: D.1, D.01 and D.001."}},
        {{{"/i/D.002", kMiB}, {"/i/D.002", kMiB}, {"/i/D.005", 2}, {"/i/D.6", 1}},
         {"The parts start at D.002: part 1 is missing.",
          "Parts 3 to 4 are missing between D.002 and D.005.", "D.002 is listed twice.",
          "D.005 is 1,048,574 bytes shorter than the parts before it."}},
        {Sized({kMiB, 0, 5}), {"D.2 is empty."}},
        {Sized({100, 100, 102}), {}},
        {Sized({100, 100, 103}), {"D.3 is 3 bytes longer than the parts before it."}},
        {Sized({101, 100, 100}), {}},
        {Sized({102, 100, 100, 100}), {"D.1 is 2 bytes longer than the parts after it."}},
        {Sized({100, 101, 100, 100}), {"D.2 is 1 byte longer than the parts before it."}},
        {Sized({101, 100, 101, 100}), {"D.2 is 1 byte shorter than the parts before it."}},
        {Sized({101, 100, 100, 50}), {"D.1 is 1 byte longer than the parts after it."}}};
    for (const auto& [entries, findings] : cases)
        EXPECT_EQ(PartSetFindings(entries), findings) << entries.back().path;
}

} // namespace
} // namespace partwright
