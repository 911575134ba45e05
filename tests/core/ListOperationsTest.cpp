#include "list/ListOperations.h"

#include "list/FileNames.h"
#include "list/PartName.h"
#include "list/PickedParts.h"
#include "list/modFunctions.h"
#include "platform/NativePaths.h"
#include "support/InputListContract.h"
#include "support/MemoryList.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sstream>

namespace partwright {
namespace {

using namespace modFunctions;
using namespace std::string_literals;
using Texts = std::vector<std::string>;

// Operations, the list before and after; moves show the current entry and give the focus.
TEST(ListOperations, MoveUpMoveDownAndDelete)
{
    // clang-format off
    const char* const cases[] = {
        "up A B C* D* E -> A C* >D* B E",         "down A B* C* D E -> A D B* >C* E",
        "up A B C* D E* F -> A C* >E* B D F",     "down A B* C D* E F -> A C E B* >D* F",
        "up A B* C D E* -> B* >E* A C D",         "down A B* C D* E -> A C E B* >D*",
        "up A* B C* D E -> A* >C* B D E",         "down A* B C* D E F -> B D A* >C* E F",
        "up A* B* C D -> A* >B* C D",             "down A B C* D* -> A B C* >D*",
        "up A B C -> >A B C",                     "down A B C -> >A B C",
        "up A* B* C* -> A* B* >C*",               "down A* B* C* -> A* B* >C*",
        "up A -> >A",                             "down A* -> >A*",
        "up -> ",                                 "down -> ",
        "down X* X Y -> X >X* Y",                 "up up up up A B C D* E* F -> D* >E* A B C F",
        "down down down A B* C* D E -> A D E B* >C*",
        "delete A B* C* D E -> A D E",            "delete A* B C D E* -> B C D",
        "delete A* B C* D E* -> B D",             "delete A* B* C* -> ",
        "delete A B C -> A B C",                  "delete -> ",
        "sort d.10 c.9* x a.1* -> >x a.1 c.9 d.10", "sort a.1* -> >a.1",
        "sort -> "};
    // clang-format on
    for (const std::string row : cases) {
        std::istringstream words(row.substr(0, row.find("->")));
        Texts operations;
        test::MemoryList list;
        for (std::string word; words >> word;) {
            if (word == "up" || word == "down" || word == "delete" || word == "sort") {
                operations.push_back(word);
            } else {
                list.append(word.back() == '*' ? word.substr(0, word.size() - 1) : word);
                list.setSelected(list.count(), word.back() == '*');
            }
        }
        for (const auto& operation : operations) {
            if (operation == "delete")
                DeleteSelected(list);
            else if (operation == "sort")
                SortListview(list);
            else
                MoveListview(list, operation == "up" ? -1 : 1);
        }
        const std::string after = row.substr(row.find("->") + 3);
        EXPECT_EQ(test::Listing(list, operations[0] != "delete"), after) << row;
        EXPECT_EQ(list.focusCalls,
                  after.find('>') == std::string::npos ? 0 : static_cast<int>(operations.size()))
            << row;
    }
}

// A position that names no entry does no harm, in memory as in the windows' lists.
TEST(InputList, TheContractInMemory)
{
    test::MemoryList list;
    for (const auto& [outcome, expected] : test::InputListContract(list))
        EXPECT_EQ(outcome, expected);
}

// Picked parts enter in part-number order after the listed ones, the first entry current; the
// program moves into their folder, where the destination goes.
TEST(PickedParts, EnterInPartNumberOrderBesideTheirFolder)
{
    const auto start = std::filesystem::current_path();
    test::TempDir dir;
    const std::string folder = dir.file(""), elsewhere = dir.file("e");
    std::filesystem::create_directory(elsewhere);
    test::MemoryList list;
    list.append("x.5");
    list.makeCurrent(1), list.setSelected(1, false);
    EXPECT_EQ(AddPickedParts(list, folder, {folder + "D.10", folder + "D.9", folder + "D.1"}),
              folder + "OUTFILE.ISO");
    EXPECT_EQ(test::Listing(list), ">x.5* " + folder + "D.1 " + folder + "D.9 " + folder + "D.10");
    EXPECT_EQ(std::filesystem::current_path(), dir.path());
    EXPECT_EQ(AddPickedParts(list, "", {elsewhere + "/g.001"}), "OUTFILE.ISO"); // one full path
    EXPECT_EQ(std::filesystem::current_path(), PathOf(elsewhere));
    std::filesystem::current_path(start);
}

// A full path, or a folder and names that enter in reverse, whole paths as they are.
TEST(SplitFileNames, TheShapesOfADialogResult)
{
    const struct {
        std::string result;
        char separator;
        std::string directory;
        Texts paths;
    } cases[] = {
        {"   ", '/', "", {}},
        {" /img/a b.001 ", '/', "", {" /img/a b.001 "}},
        {"D:\\i\0g.3\0g.1\0g.2"s, '\\', "D:\\i\\", {"D:\\i\\g.2", "D:\\i\\g.1", "D:\\i\\g.3"}},
        {"/\0 a.1 \0"s, '/', "/", {"/", "/ a.1 "}},
        {"/x\\\0a\0C:\\b\0/d2/y"s, '/', "/x\\/", {"/d2/y", "/x\\/C:\\b", "/x\\/a"}},
        {"C:\0a\0A:\\b\0z:\\c\0\\\\s\\d\0Z:\\e\0a:\\f"s,
         '\\',
         "C:\\",
         {"a:\\f", "Z:\\e", R"(\\s\d)", "z:\\c", "A:\\b", "C:\\a"}},
        {"C:\0"
         "1:\\b\0@:\\c\0[:\\d\0`:\\e\0{:\\f"s,
         '\\',
         "C:\\",
         {"C:\\{:\\f", "C:\\`:\\e", "C:\\[:\\d", "C:\\@:\\c", "C:\\1:\\b"}}, // no drives
    };
    for (const auto& c : cases) {
        std::string directory = "stale";
        Texts paths{"stale"};
        EXPECT_EQ(SplitFileNames(c.result, c.separator, directory, paths), !c.paths.empty());
        EXPECT_EQ(directory, c.directory) << c.directory;
        EXPECT_EQ(paths, c.paths) << c.directory;
    }
}

// A file name read as a part's: "stem|kind|suffix|sort number", kind "9" digits, "a" letters.
TEST(PartName, StemSuffixAndSortNumber)
{
    const std::pair<const char*, std::string> cases[] = {
        // clang-format off
        {"/i/DISC.001", "DISC|9|001|1"}, {"a.b.003", "a.b|9|003|3"}, {"D.000", "D|9|000|0"},
        {"img.iso.aa", "img.iso|a|aa|0"}, {"i.zaaa", "i|a|zaaa|0"}, {"D.nfo", "D|a|nfo|0"},
        {"D.iso", "D.iso|-||0"}, {"D.txt", "D.txt|-||0"}, {"D.sfv", "D.sfv|-||0"},
        {"D.md5", "D.md5|-||0"}, {"D.a", "D.a|-||0"}, {"D.AA", "D.AA|-||0"}, {"D.1a", "D.1a|-||0"},
        {"D. 12 ", "D. 12 |-||12"}, {"D.-3", "D.-3|-||-3"}, {"D.+5", "D.+5|-||5"},
        {"D.-0", "D.-0|-||0"}, {"D.\t3", "D.\t3|-||0"}, {"D.1 2", "D.1 2|-||0"}, {"D.", "D.|-||0"},
        {"xaa", "x|a|aa|0"}, {"x00", "x|9|00|0"}, {"x990001", "x|9|990001|990001"},
        {"xa", "xa|-||0"}, {"x0", "x0|-||0"}, {"xa1", "xa1|-||0"}, {"yaa", "yaa|-||0"},
        {"/h/i.1/D", "D|-||0"}, {"D.0120", "D|9|0120|120"},
        // clang-format on
    };
    for (const auto& [path, expected] : cases) {
        const PartName name = ParsePartName(path);
        const char kind = name.kind == SuffixKind::Digits    ? '9'
                          : name.kind == SuffixKind::Letters ? 'a'
                                                             : '-';
        EXPECT_EQ(name.stem + "|" + kind + "|" + name.suffix + "|" + SortNumberText(name.number),
                  expected)
            << '"' << path << '"';
    }
}

// Numbers of any length, then the file name's bytes (letters folded on Windows), then list order.
TEST(QuickSort, KnownOrders)
{
    constexpr bool kWindows = std::filesystem::path::preferred_separator == '\\';
    const std::pair<Texts, Texts> cases[] = {
        {{"DISC.010", "DISC.9", "DISC.001"}, {"DISC.001", "DISC.9", "DISC.010"}},
        {{"i.zaaa", "i.yz", "i.ab", "i.zzaaaa", "i.aa", "i.zyzz"},
         {"i.aa", "i.ab", "i.yz", "i.zaaa", "i.zyzz", "i.zzaaaa"}},
        {{"d.9000", "d.89", "d.990000", "d.00", "d.9899", "d.01"},
         {"d.00", "d.01", "d.89", "d.9000", "d.9899", "d.990000"}},
        {{"x.100000000000000000000", "x.40000", "x.-40000", "x.99999999999999999999", "x.2"},
         {"x.-40000", "x.2", "x.40000", "x.99999999999999999999", "x.100000000000000000000"}},
        {{"b.2", "x.iso", "a.1", "y", "c.2", "z.txt"},
         {"x.iso", "y", "z.txt", "a.1", "b.2", "c.2"}},
        {{"q.5", "a.5", "b.-1", "z.5", "m.5", "c", "x.40000", "n.0"},
         {"b.-1", "c", "n.0", "a.5", "m.5", "q.5", "z.5", "x.40000"}},
        {{"/q/D.1", "/p/D.01", "/a/D.1"}, {"/p/D.01", "/q/D.1", "/a/D.1"}},
        {{"b.1", "B.1", "a.1"}, kWindows ? Texts{"a.1", "b.1", "B.1"} : Texts{"B.1", "a.1", "b.1"}},
    };
    for (auto [items, expected] : cases) {
        QuickSort(items, 0, static_cast<std::ptrdiff_t>(items.size()) - 1);
        EXPECT_EQ(items, expected);
    }
}

} // namespace
} // namespace partwright
