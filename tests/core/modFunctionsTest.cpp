#include "list/modFunctions.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace partwright::modFunctions {
namespace {

TEST(GetExtNumber, ReadsTheNumberAfterTheLastDot)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"DISC.001", 1},
        {"DISC.007", 7},
        {"DISC. 12", 12},
        {"DISC.12 ", 12},
        {"DISC.-3", -3},
        {"DISC.+5", 5},
        {"DISC.010", 10},
        {"DISC.32767", 32767},
        {"DISC.-32768", -32768},
        {"DISC.32768", 0},
        {"DISC.40000", 0},
        {"DISC.-32769", 0},
        {"DISC.99999999999999999999", 0},
        {"DISC.iso", 0},
        {"DISC.txt", 0},
        {"DISC.", 0},
        {"DISC", 0},
        {"", 0},
        {".5", 5},
        {"DISC.1a", 0},
        {"DISC.1 2", 0},
        {"DISC.-", 0},
        {"DISC.- 3", 0},
        {"DISC.\t3", 0}, // only spaces count as blanks
        {"a.b.003", 3},
        {"C:\\my.dir\\DISC", 0},
        {"C:\\img.1\\DISC", 0},
        {"C:\\img.1\\DISC.3", 3},
        {"/home/u/img.1/DISC", 0},
        {"/home/u/img.1/DISC.3", 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetExtNumber(c.text), c.expected) << '"' << c.text << '"';
}

TEST(CompareItems, NeverReturnsZero)
{
    const std::vector<std::string> items{"a.1", "b.2", "c.2", "x"};
    EXPECT_EQ(CompareItems(items, 0, 1), -1);
    EXPECT_EQ(CompareItems(items, 1, 0), 1);
    EXPECT_EQ(CompareItems(items, 1, 2), 1); // equal part numbers compare like greater ones
    EXPECT_EQ(CompareItems(items, 3, 0), -1);
}

std::vector<std::string> Sorted(std::vector<std::string> items)
{
    QuickSort(items, 0, static_cast<std::ptrdiff_t>(items.size()) - 1);
    return items;
}

TEST(QuickSort, KnownOrders)
{
    using Texts = std::vector<std::string>;
    const struct {
        const char* name;
        Texts input;
        Texts expected;
    } cases[] = {
        {"numeric order",
         {"DISC.010", "DISC.002", "DISC.001"},
         {"DISC.001", "DISC.002", "DISC.010"}},
        {"nine before ten", {"DISC.10", "DISC.9"}, {"DISC.9", "DISC.10"}},
        {"ties",
         {"b.2", "x.iso", "a.1", "y", "c.2", "z.txt"},
         {"z.txt", "x.iso", "y", "a.1", "b.2", "c.2"}},
        {"ties reversed", {"a.2", "b.1", "c.2", "d.1"}, {"d.1", "b.1", "a.2", "c.2"}},
        {"no number first",
         {"DISC.001", "DISC.iso", "DISC.", "DISC"},
         {"DISC", "DISC.iso", "DISC.", "DISC.001"}},
        {"negative first", {"a.1", "b.-1", "c"}, {"b.-1", "c", "a.1"}},
        {"too large is zero", {"a.2", "b.40000", "c.1"}, {"b.40000", "c.1", "a.2"}},
        {"duplicates stay", {"D.002", "D.001", "D.002"}, {"D.001", "D.002", "D.002"}},
        {"already sorted", {"x", "a.1", "b.1", "c.2", "d.3"}, {"x", "a.1", "b.1", "c.2", "d.3"}},
        {"all ties", {"q.5", "a.5", "z.5", "m.5"}, {"q.5", "a.5", "z.5", "m.5"}},
        {"one", {"only.7"}, {"only.7"}},
        {"none", {}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Sorted(c.input), c.expected) << c.name;
}

TEST(QuickSort, SortsOnlyTheGivenRange)
{
    std::vector<std::string> items{"z.9", "c.3", "b.2", "a.1", "y.0"};
    QuickSort(items, 1, 3);
    EXPECT_EQ(items, (std::vector<std::string>{"z.9", "a.1", "b.2", "c.3", "y.0"}));
}

// The algorithm as first written: plain recursion, left side then right side, the part number
// parsed on every comparison.
void ReferenceQuickSort(std::vector<std::string>& items, std::ptrdiff_t first, std::ptrdiff_t last)
{
    if (first >= last)
        return;
    std::ptrdiff_t boundary = first;
    for (std::ptrdiff_t i = first + 1; i <= last; ++i) {
        if (CompareItems(items, i, first) < 0) {
            ++boundary;
            std::swap(items[boundary], items[i]);
        }
    }
    std::swap(items[first], items[boundary]);
    ReferenceQuickSort(items, first, boundary - 1);
    ReferenceQuickSort(items, boundary + 1, last);
}

TEST(QuickSort, AgreesWithTheReferenceOnRandomLists)
{
    std::mt19937 random(20261206);
    const char* const extensions[] = {"", ".", ".iso", ".x1", ".40000", ".-2", ".0"};
    for (int round = 0; round < 500; ++round) {
        std::vector<std::string> items(random() % 60);
        for (std::size_t i = 0; i < items.size(); ++i) {
            // Few distinct numbers, so there are many ties.
            std::string& item = items[i];
            item.append("f").append(std::to_string(i));
            if (random() % 10 < 7)
                item.append(".").append(random() % 3, '0').append(std::to_string(random() % 8));
            else
                item.append(extensions[random() % std::size(extensions)]);
        }
        std::vector<std::string> expected = items;
        ReferenceQuickSort(expected, 0, static_cast<std::ptrdiff_t>(expected.size()) - 1);
        const std::vector<std::string> sorted = Sorted(items);

        ASSERT_EQ(sorted, expected) << "round " << round;
        EXPECT_TRUE(std::is_permutation(sorted.begin(), sorted.end(), items.begin(), items.end()));
        EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
            return GetExtNumber(a) < GetExtNumber(b);
        }));
    }
}

} // namespace
} // namespace partwright::modFunctions
