#include "list/RestOfSet.h"

#include "platform/NativePaths.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace partwright {
namespace {

using Texts = std::vector<std::string>;

Texts Words(const std::string& text)
{
    std::istringstream words(text);
    Texts list;
    for (std::string word; words >> word;)
        list.push_back(word);
    return list;
}

// Files in one folder ("NAME/" a folder), the picked ones and those listed before: the question
// with the folder as %1, then the names it adds in part order; nothing when no offer comes.
TEST(RestOfSet, TheOtherPartsBesideAPickedOne)
{
    const struct {
        const char* files;
        const char* picked;
        const char* listed;
        std::string offer;
    } rows[] = {
        // clang-format off
        {"D.001 D.002 D.003 D.004 D.005", "D.003", "",
         "D.003 is one of 5 parts of D in '%1'. Add the other 4?|D.001 D.002 D.003 D.004 D.005"},
        {"D.001 D.002 D.004 D.005", "D.001", "",
         "D.001 is one of 4 parts of D in '%1'. Part 3 is missing between D.002 and D.004. Add the "
         "other 3?|D.001 D.002 D.004 D.005"},
        {"D.003 D.004", "D.004", "",
         "D.004 is one of 2 parts of D in '%1'. The parts start at D.003: parts 1 to 2 are missing. "
         "Add the other 1?|D.003 D.004"},
        {"A.001 A.002 B.001 B.002 B.003", "B.002", "",
         "B.002 is one of 3 parts of B in '%1'. Add the other 2?|B.001 B.002 B.003"},
        {"img.iso.ab img.iso.aa img.iso.ac img.iso", "img.iso.ab", "",
         "img.iso.ab is one of 3 parts of img.iso in '%1'. Add the other 2?|img.iso.aa img.iso.ab "
         "img.iso.ac"},
        {"xaa xab xyz xzaaa", "xab", "",
         "xab is one of 4 parts of x in '%1'. Parts ac to yy are missing between xab and xyz. Add "
         "the other 3?|xaa xab xyz xzaaa"},
        {"D.000 D.001 D.002", "D.001", "",
         "D.001 is one of 3 parts of D in '%1'. Add the other 2?|D.000 D.001 D.002"},
        {"D.001 D.002 D.003 D.004", "D.003 D.001", "",
         "D.001 and 1 more are 2 of 4 parts of D in '%1'. Add the other 2?|D.001 D.002 D.003 D.004"},
        {"D.001 D.002 D.003", "D.001", "D.002 x.5",
         "D.001 is one of 3 parts of D in '%1'. Add the other 1?|D.001 D.003"},
        // Look-alikes: another stem, an ending that is no suffix, a folder, a number written
        // shorter where one of the picked width is there.
        {"D.001 D.002 D.01 D.002.txt D.1a D.003/ D2.003 D.aa", "D.002", "",
         "D.002 is one of 2 parts of D in '%1'. Add the other 1?|D.001 D.002"},
        {"D.001 D.02 D.0002 D.3 D.03", "D.001", "", // two names for a place, neither as picked
         "D.001 is one of 3 parts of D in '%1'. Add the other 2?|D.001 D.0002 D.03"},
        {"D.001", "D.001", "", ""},                        // a single file
        {"D.001 D.002", "D.001", "D.002", ""},             // the rest listed already
        {"README.txt D.001 D.002", "README.txt", "", ""},  // no part
        {"A.001 A.002 B.001 B.002", "A.001 B.001", "", ""}, // two sets picked
        {"D.001 D.002", "D.001 D.002", "", ""},            // the whole set picked
        // clang-format on
    };
    for (const auto& row : rows) {
        test::TempDir dir;
        const char separator = NativeSeparator();
        const std::string folder = dir.path().string() + separator;
        for (const std::string& file : Words(row.files)) {
            if (file.ends_with('/'))
                std::filesystem::create_directory(dir.file(file.substr(0, file.size() - 1)));
            else
                test::WriteFile(dir.file(file), file);
        }
        Texts picked, listed;
        for (const std::string& name : Words(row.picked))
            picked.push_back(folder + name);
        for (const std::string& name : Words(row.listed))
            listed.push_back(folder + name);
        std::string offer;
        if (const auto rest = FindRestOfSet(picked, listed, separator)) {
            EXPECT_EQ(rest->folder, folder);
            offer = rest->question + "|";
            for (const std::string& part : rest->parts)
                offer += (offer.ends_with('|') ? "" : " ") + part.substr(folder.size());
        }
        std::string expected = row.offer;
        if (const auto at = expected.find("%1"); at != std::string::npos)
            expected.replace(at, 2, dir.path().string());
        EXPECT_EQ(offer, expected) << row.files;
    }
}

} // namespace
} // namespace partwright
