#pragma once

#include <string>
#include <string_view>

namespace partwright {

// A name the program did not write itself (a path, a volume name, a child's output), made safe to
// show in one line: printable UTF-8 stays as it is, while control characters, the invisible
// format characters that reorder or hide text and bytes that are not valid UTF-8 become visible
// escapes: "\n", "\t", "\r", "\x1B" for C0 controls and DEL, "<U+0085>" and "<U+202E>" for C1
// controls and format characters, "\xFF" for each byte of broken UTF-8 (overlong forms,
// surrogates and values past U+10FFFF included).
std::string DisplayText(std::string_view raw);

} // namespace partwright
