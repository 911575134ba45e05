// Sets of parts as GNU split writes them, with its default letters, with numbers, with its
// default name and cut into a number of parts: in byte order after the sort, offered whole for
// one picked part (a pipe planted under the next part's name left out), one set without a
// finding, whose checksum file is found by its stem, and built in that order into the file that
// was split.

#include "join/BuildFlow.h"
#include "join/PartSet.h"
#include "join/SystemJoin.h"
#include "list/RestOfSet.h"
#include "list/modFunctions.h"
#include "support/ScriptedWindow.h"
#include "support/TempDir.h"
#include "text/Messages.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

namespace partwright {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// Records of four bytes that carry their number, so no two whole parts are alike.
std::string Numbered(std::size_t bytes)
{
    std::string content;
    for (std::uint32_t n = 0; content.size() < bytes; ++n)
        content += {static_cast<char>(n), static_cast<char>(n >> 8), '|', '\n'};
    content.resize(bytes);
    return content;
}

TEST(SplitSets, SortInByteOrderRaiseNoFindingAndJoinIntoTheFile)
{
    const struct {
        const char* split; // run in the parts' folder
        const char* stem;
        std::size_t bytes, parts;
        std::uint64_t lastSize;
        const char* next; // the name the part after the last would have
    } rows[] = {
        {"split -b 4 ../image img.iso.", "img.iso", 2606, 652, 2, "img.iso.zaac"}, // aa...zaab
        {"split -d -b 4 ../image DISC.", "DISC", 3966, 992, 2,
         "DISC.990002"},                                 // 00...9899, 990000..
        {"split -b 4 ../image", "x", 118, 30, 2, "xbe"}, // xaa...xbd
        {"split -n 12 -d -a 3 --numeric-suffixes=1 ../image DISC.", "DISC", 1206, 12, 106,
         "DISC.013"},
    };
    std::mt19937 random(12345);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.split);
        test::TempDir dir;
        const std::string content = Numbered(row.bytes);
        test::WriteFile(dir.file("image"), content);
        fs::create_directory(dir.file("parts"));
        const std::string split = "cd '" + dir.file("parts") + "' && " + row.split;
        ASSERT_EQ(std::system(split.c_str()), 0);

        Texts inByteOrder;
        for (const auto& entry : fs::directory_iterator(dir.file("parts")))
            inByteOrder.push_back(entry.path().string());
        std::sort(inByteOrder.begin(), inByteOrder.end());
        ASSERT_EQ(inByteOrder.size(), row.parts);
        Texts sorted = inByteOrder;
        std::shuffle(sorted.begin(), sorted.end(), random);
        modFunctions::QuickSort(sorted, 0, static_cast<std::ptrdiff_t>(sorted.size()) - 1);
        EXPECT_EQ(sorted, inByteOrder);
        ASSERT_EQ(mkfifo(dir.file("parts/" + std::string(row.next)).c_str(), 0600), 0);
        const auto rest = FindRestOfSet({inByteOrder[1]}, {}, '/');
        ASSERT_TRUE(rest);
        EXPECT_EQ(rest->parts, inByteOrder);
        EXPECT_EQ(rest->others, row.parts - 1);
        fs::remove(dir.file("parts/" + std::string(row.next)));

        const std::vector<ListedPart> parts = MeasureParts(sorted);
        EXPECT_EQ(parts.back().size, row.lastSize);
        EXPECT_EQ(PartSetFindings(parts), Texts{});

        const std::string checksum =
            "cd '" + dir.file("parts") + "' && sha256sum <../image >" + row.stem + ".sha256";
        ASSERT_EQ(std::system(checksum.c_str()), 0);
        test::ScriptedWindow window;
        BuildFlow flow(SystemJoinSteps, sorted, dir.file("OUT.ISO"));
        window.run(flow);
        EXPECT_EQ(flow.message(),
                  messages::BuiltSuccessfully(dir.file("OUT.ISO"),
                                              "SHA-256 matches " + std::string(row.stem) +
                                                  ".sha256.\r\nChecked on the image as it was "
                                                  "written."));
        EXPECT_EQ(window.asked, Texts{});
        EXPECT_TRUE(test::ReadFile(dir.file("OUT.ISO")) == content);
    }
}

} // namespace
} // namespace partwright
