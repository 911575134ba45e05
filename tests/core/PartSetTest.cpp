#include "build/PartSet.h"

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
        {"a longer last part",
         {{"/i/D.001", 100}, {"/i/D.002", 100}, {"/i/D.003", 101}},
         {"D.003 is 1 byte longer than the parts before it."}},
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

} // namespace
} // namespace partwright
