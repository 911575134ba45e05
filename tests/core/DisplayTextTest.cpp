#include "text/DisplayText.h"

#include <gtest/gtest.h>

namespace partwright {
namespace {

TEST(DisplayText, EscapesWhatCouldBreakOrDisguiseALine)
{
    const struct {
        const char* name;
        std::string raw;
        std::string shown;
    } cases[] = {
        {"plain ASCII", "/img/My Disc (1) [v2] ~#%.iso", "/img/My Disc (1) [v2] ~#%.iso"},
        {"backslashes of a Windows path", "C:\\Discs\\a.001", "C:\\Discs\\a.001"},
        {"UTF-8 of every length",
         "Gr\xC3\xB6\xC3\x9F"
         "e \xE6\x97\xA5 \xF0\x9F\x92\xBF \xEF\xBF\xBD",
         "Gr\xC3\xB6\xC3\x9F"
         "e \xE6\x97\xA5 \xF0\x9F\x92\xBF \xEF\xBF\xBD"},
        {"right-to-left letters", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D.iso",
         "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D.iso"},
        {"empty", "", ""},
        {"C0 controls", std::string("a\nb\tc\rd\x1B[2J\x01", 12) + '\0' + "e",
         R"(a\nb\tc\rd\x1B[2J\x01\x00e)"},
        {"DEL",
         "a\x7F"
         "b",
         "a\\x7Fb"},
        {"C1 controls",
         "a\xC2\x80"
         "b\xC2\x85"
         "c\xC2\x9B"
         "d",
         "a<U+0080>b<U+0085>c<U+009B>d"},
        {"Latin-1 after C1 stays", "\xC2\xA0\xC2\xA9", "\xC2\xA0\xC2\xA9"},
        {"bidirectional overrides and embeddings",
         "\xE2\x80\xAA\xE2\x80\xAB\xE2\x80\xAC\xE2\x80\xAD\xE2\x80\xAE",
         "<U+202A><U+202B><U+202C><U+202D><U+202E>"},
        {"bidirectional isolates", "\xE2\x81\xA6\xE2\x81\xA7\xE2\x81\xA8\xE2\x81\xA9",
         "<U+2066><U+2067><U+2068><U+2069>"},
        {"marks and zero-width characters",
         "\xD8\x9C\xE2\x80\x8B\xE2\x80\x8C\xE2\x80\x8D\xE2\x80\x8E\xE2\x80\x8F",
         "<U+061C><U+200B><U+200C><U+200D><U+200E><U+200F>"},
        {"line and paragraph separators, byte order mark", "\xE2\x80\xA8\xE2\x80\xA9\xEF\xBB\xBF",
         "<U+2028><U+2029><U+FEFF>"},
        {"neighbours of the hidden ranges stay", "\xE2\x80\x8A\xE2\x80\x90\xE2\x80\xAF",
         "\xE2\x80\x8A\xE2\x80\x90\xE2\x80\xAF"},
        {"bytes that start nothing",
         "a\xFF"
         "b\x80"
         "c\xC0\xC1\xF5",
         R"(a\xFFb\x80c\xC0\xC1\xF5)"},
        {"overlong forms", "\xC0\xAF\xE0\x80\xAF\xF0\x80\x80\xAF",
         R"(\xC0\xAF\xE0\x80\xAF\xF0\x80\x80\xAF)"},
        {"surrogates", "\xED\xA0\x80\xED\xBF\xBF", R"(\xED\xA0\x80\xED\xBF\xBF)"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", R"(\xF4\x90\x80\x80)"},
        {"cut-off sequences",
         "a\xE2\x80"
         "b\xF0\x9F\x92",
         R"(a\xE2\x80b\xF0\x9F\x92)"},
        {"a cut-off sequence before a valid one", "\xE2\xC3\xB6", "\\xE2\xC3\xB6"},
    };
    for (const auto& c : cases) {
        const std::string shown = DisplayText(c.raw);
        EXPECT_EQ(shown, c.shown) << c.name;
        EXPECT_EQ(DisplayText(shown), shown) << c.name << ": escaping twice changes nothing";
    }
}

} // namespace
} // namespace partwright
