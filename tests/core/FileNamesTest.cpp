#include "list/FileNames.h"

#include <gtest/gtest.h>

namespace partwright {
namespace {

using namespace std::string_literals;

TEST(SplitFileNames, TheThreeShapesOfADialogResult)
{
    const struct {
        const char* name;
        std::string result;
        char separator;
        bool ok;
        std::string directory;
        std::vector<std::string> paths;
    } cases[] = {
        {"empty", "", '\\', false, "", {}},
        {"blanks only", "   ", '/', false, "", {}},
        {"one path", "D:\\img\\game.001", '\\', true, "", {"D:\\img\\game.001"}},
        {"one path kept untrimmed", " /img/a b.001 ", '/', true, "", {" /img/a b.001 "}},
        {"several files enter in reverse",
         "D:\\img\0game.003\0game.001\0game.002"s,
         '\\',
         true,
         "D:\\img\\",
         {"D:\\img\\game.002", "D:\\img\\game.001", "D:\\img\\game.003"}},
        {"drive root keeps its one backslash",
         "E:\\\0a.001\0b.002"s,
         '\\',
         true,
         "E:\\",
         {"E:\\b.002", "E:\\a.001"}},
        {"posix folder",
         "/home/u/img\0DISC.1\0DISC.2"s,
         '/',
         true,
         "/home/u/img/",
         {"/home/u/img/DISC.2", "/home/u/img/DISC.1"}},
        {"posix root", "/\0DISC.1\0DISC.2"s, '/', true, "/", {"/DISC.2", "/DISC.1"}},
        {"backslash is a name character on posix", "/x\\\0a"s, '/', true, "/x\\/", {"/x\\/a"}},
        {"empty pieces give the folder alone",
         "/img\0\0a\0"s,
         '/',
         true,
         "/img/",
         {"/img/", "/img/a", "/img/"}},
        {"names are not trimmed", "/img\0 a.1 "s, '/', true, "/img/", {"/img/ a.1 "}},
        {"empty folder piece", "\0a.1\0b.2"s, '/', true, "/", {"/b.2", "/a.1"}},
        {"a file from another folder keeps it",
         "/a/d1\0x.1\0/a/d2/y.2\0z.3"s,
         '/',
         true,
         "/a/d1/",
         {"/a/d1/z.3", "/a/d2/y.2", "/a/d1/x.1"}},
        {"another drive",
         "D:\\img\0a.1\0E:\\b.2"s,
         '\\',
         true,
         "D:\\img\\",
         {"E:\\b.2", "D:\\img\\a.1"}},
        {"a share",
         "D:\\img\0a.1\0\\\\srv\\s\\b.2"s,
         '\\',
         true,
         "D:\\img\\",
         {R"(\\srv\s\b.2)", "D:\\img\\a.1"}},
        {"a path from the root", "D:\\img\0\\b.2"s, '\\', true, "D:\\img\\", {"\\b.2"}},
        {"a drive is only a name on posix", "/img\0C:\\b.2"s, '/', true, "/img/", {"/img/C:\\b.2"}},
    };
    for (const auto& c : cases) {
        std::string directory = "stale";
        std::vector<std::string> paths{"stale"};
        EXPECT_EQ(SplitFileNames(c.result, c.separator, directory, paths), c.ok) << c.name;
        EXPECT_EQ(directory, c.directory) << c.name;
        EXPECT_EQ(paths, c.paths) << c.name;
    }
}

} // namespace
} // namespace partwright
