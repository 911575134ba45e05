#include "join/PasteString.h"

#include <gtest/gtest.h>

namespace partwright {
namespace {

struct PasteCase {
    const char* name;
    std::string separator;
    std::vector<std::string> items;
    std::string expected;
};

void PrintTo(const PasteCase& c, std::ostream* out)
{
    *out << c.name;
}

class PasteStringTest : public testing::TestWithParam<PasteCase> {};

TEST_P(PasteStringTest, JoinsNonBlankItems)
{
    const auto& c = GetParam();
    EXPECT_EQ(PasteString(c.separator, c.items), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PasteStringTest,
    testing::Values(
        PasteCase{
            "Title", " ", {"Partwright", "[1.1.0]", "by Quillon"}, "Partwright [1.1.0] by Quillon"},
        PasteCase{"BlankItemLeavesNoSeparator", " + ", {"a", " ", "b"}, "a + b"},
        PasteCase{"EmptyItemSkipped", " ", {"a", "", "c"}, "a c"},
        PasteCase{"SingleItemUnchanged", " + ", {"D:\\img\\game.001"}, "D:\\img\\game.001"},
        PasteCase{"OnlyBlankItems", " + ", {"", "  ", " "}, ""},
        PasteCase{"NoItems", " + ", {}, ""},
        PasteCase{"ItemsKeepTheirBlanks", "|", {" a ", "b "}, " a |b "},
        PasteCase{"TabIsNotBlank", ",", {"\t", "x"}, "\t,x"},
        PasteCase{"EmptySeparator", "", {"a", "b"}, "ab"},
        PasteCase{"SeparatorEndingItemsStay", " + ", {"a + ", "b"}, "a +  + b"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace partwright
