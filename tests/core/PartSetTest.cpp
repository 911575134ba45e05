#include "join/PartSet.h"

#include "support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace partwright {
namespace {

using Findings = std::vector<std::string>;
constexpr std::uint64_t kMiB = 1024ULL * 1024;

TEST(PartSetFindings, SignsOfABrokenSet)
{
    const struct {
        const char* name;
        std::vector<ListedPart> entries;
        Findings findings;
    } cases[] = {
        {"complete, from 1", {{"/i/D.001", kMiB}, {"/i/D.002", kMiB}, {"/i/D.003", 5}}, {}},
        {"complete, from 0", {{"/i/D.000", kMiB}, {"/i/D.001", kMiB}}, {}},
        {"one part", {{"/i/D.001", 7}}, {}},
        {"the list order is not questioned",
         {{"/i/D.003", 5}, {"/i/D.001", kMiB}, {"/i/D.002", kMiB}},
         {}},
        {"entries without a number are left out",
         {{"/i/D.001", kMiB}, {"/i/readme.txt", 3}, {"/i/D.002", kMiB}, {"/i/x", 0}},
         {}},
        {"one part missing",
         {{"/i/DISC.001", kMiB}, {"/i/DISC.002", kMiB}, {"/i/DISC.004", kMiB}},
         {"Part 3 is missing between DISC.002 and DISC.004."}},
        {"several parts missing",
         {{"/i/D.1", kMiB}, {"/i/D.5", kMiB}},
         {"Parts 2 to 4 are missing between D.1 and D.5."}},
        {"starts at 2",
         {{"/i/D.002", kMiB}, {"/i/D.003", 9}},
         {"The parts start at D.002: part 1 is missing."}},
        {"starts at 4",
         {{"/i/D.004", kMiB}},
         {"The parts start at D.004: parts 1 to 3 are missing."}},
        {"the same part twice",
         {{"/i/D.001", kMiB}, {"/i/D.001", kMiB}, {"/i/D.002", 3}},
         {"D.001 is listed twice."}},
        {"one number, two names",
         {{"/i/D.001", kMiB}, {"/j/E.001", kMiB}, {"/k/F.1", kMiB}, {"/i/D.002", 3}},
         {"Part 1 is listed 3 times: D.001, E.001 and F.1."}},
        {"a shorter middle part",
         {{"/i/DISC.001", 4 * kMiB},
          {"/i/DISC.002", 3 * kMiB},
          {"/i/DISC.003", 4 * kMiB},
          {"/i/DISC.004", kMiB}},
         {"DISC.002 is 1,048,576 bytes shorter than the parts before it."}},
        {"the last part longer by less than the number of parts",
         {{"/i/D.001", 100}, {"/i/D.002", 100}, {"/i/D.003", 102}},
         {}},
        {"the last part longer by the number of parts",
         {{"/i/D.001", 100}, {"/i/D.002", 100}, {"/i/D.003", 103}},
         {"D.003 is 3 bytes longer than the parts before it."}},
        {"one byte more on the first part",
         {{"/i/D.1", 101}, {"/i/D.2", 100}, {"/i/D.3", 100}},
         {}},
        {"two bytes more on the first part",
         {{"/i/D.1", 102}, {"/i/D.2", 100}, {"/i/D.3", 100}, {"/i/D.4", 100}},
         {"D.1 is 2 bytes longer than the parts after it."}},
        {"a middle part one byte longer",
         {{"/i/D.1", 100}, {"/i/D.2", 101}, {"/i/D.3", 100}, {"/i/D.4", 100}},
         {"D.2 is 1 byte longer than the parts before it."}},
        {"a middle part one byte shorter",
         {{"/i/D.1", 101}, {"/i/D.2", 100}, {"/i/D.3", 101}, {"/i/D.4", 100}},
         {"D.2 is 1 byte shorter than the parts before it."}},
        {"the remainder shared both ways",
         {{"/i/D.1", 101}, {"/i/D.2", 100}, {"/i/D.3", 100}, {"/i/D.4", 102}},
         {"D.1 is 1 byte longer than the parts after it.",
          "D.4 is 2 bytes longer than the parts before it."}},
        {"one byte more on the first parts and a shorter last one",
         {{"/i/D.1", 101}, {"/i/D.2", 100}, {"/i/D.3", 100}, {"/i/D.4", 50}},
         {"D.1 is 1 byte longer than the parts after it."}},
        {"a short first part",
         {{"/i/D.001", 10}, {"/i/D.002", 100}, {"/i/D.003", 100}, {"/i/D.004", 1}},
         {"D.001 is 90 bytes shorter than the parts after it."}},
        {"an empty part",
         {{"/i/D.001", kMiB}, {"/i/D.002", 0}, {"/i/D.003", 5}},
         {"D.002 is empty."}},
        {"an empty last part", {{"/i/D.001", kMiB}, {"/i/D.002", 0}}, {"D.002 is empty."}},
        {"windows paths",
         {{"C:\\img\\D.001", kMiB}, {"C:\\img\\D.003", kMiB}},
         {"Part 2 is missing between D.001 and D.003."}},
        {"several signs together",
         {{"/i/D.002", kMiB}, {"/i/D.002", kMiB}, {"/i/D.005", 2}, {"/i/D.006", 1}},
         {"The parts start at D.002: part 1 is missing.",
          "Parts 3 to 4 are missing between D.002 and D.005.", "D.002 is listed twice.",
          "D.005 is 1,048,574 bytes shorter than the parts before it."}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PartSetFindings(c.entries), c.findings) << c.name;
}

#ifndef _WIN32
// Sets made from a 1206-byte file as splitters make them, measured as the build measures them.
TEST(PartSetFindings, SetsAsSplittersWriteThemAreNotQuestioned)
{
    auto sizes = [](std::size_t count, std::uint64_t size, std::size_t countAfter,
                    std::uint64_t sizeAfter) {
        std::vector<std::uint64_t> all(count, size);
        all.insert(all.end(), countAfter, sizeAfter);
        return all;
    };
    const struct {
        const char* command;
        std::vector<std::uint64_t> sizes;
    } cases[] = {
        // Equal parts, a shorter last one.
        {"split -b 110 -d -a 3 --numeric-suffixes=1 DISC.ISO DISC.", sizes(10, 110, 1, 106)},
        // GNU puts the remainder on the last part.
        {"split -n 12 -d -a 3 --numeric-suffixes=1 DISC.ISO DISC.", sizes(11, 100, 1, 106)},
        // The other way to share a remainder: one byte more on each of the first parts.
        {"for n in 01 02 03 04 05 06; do head -c 101 DISC.ISO >DISC.0$n; done; "
         "for n in 07 08 09 10 11 12; do head -c 100 DISC.ISO >DISC.0$n; done",
         sizes(6, 101, 6, 100)},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        test::WriteFile(dir.file("DISC.ISO"), std::string(1206, 'x'));
        const std::string command = "cd '" + dir.path().string() + "' && " + c.command;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            if (entry.path().filename() != "DISC.ISO")
                names.push_back(entry.path().string());
        std::sort(names.begin(), names.end());

        const std::vector<ListedPart> parts = MeasureParts(names);
        std::vector<std::uint64_t> measured(parts.size());
        std::transform(parts.begin(), parts.end(), measured.begin(),
                       [](const ListedPart& part) { return part.size; });
        EXPECT_EQ(measured, c.sizes) << c.command; // the set has the shape it should
        EXPECT_EQ(PartSetFindings(parts), Findings{}) << c.command;
    }
}
#endif

} // namespace
} // namespace partwright
