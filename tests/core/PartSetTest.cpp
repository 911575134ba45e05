#include "join/PartSet.h"

#include <gtest/gtest.h>

namespace partwright {
namespace {

constexpr std::uint64_t kMiB = 1024ULL * 1024;

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
