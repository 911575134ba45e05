#include "text/DisplayText.h"

#include <cstdio>

namespace partwright {

namespace {

// A well-formed UTF-8 sequence at the start of a text; length 0 when the first byte starts none.
struct Decoded {
    std::size_t length = 0;
    char32_t codePoint = 0;
};

// Accepts exactly the well-formed byte sequences of the Unicode standard: the second byte's range
// depends on the lead byte, which rules out overlong forms, surrogates and values past U+10FFFF.
Decoded DecodeOne(std::string_view text)
{
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {1, lead};
    std::size_t length = 0;
    char32_t value = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return {};
    }
    if (text.size() < length)
        return {};
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(i);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF))
            return {};
        value = (value << 6) | (next & 0x3Fu);
    }
    return {length, value};
}

// C1 controls and the characters that show nothing themselves yet reorder, join, break or hide
// the text around them.
bool IsInvisibleControl(char32_t c)
{
    return (c >= 0x80 && c <= 0x9F) || c == 0xAD || c == 0x61C || c == 0x180E ||
           (c >= 0x200B && c <= 0x200F) || (c >= 0x2028 && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB) ||
           (c >= 0xE0000 && c <= 0xE007F);
}

std::string Formatted(const char* format, unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string ControlEscape(unsigned char c)
{
    switch (c) {
    case '\t':
        return "\\t";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    default:
        return Formatted("\\x%02X", c);
    }
}

} // namespace

std::string DisplayText(std::string_view raw)
{
    std::string shown;
    shown.reserve(raw.size());
    while (!raw.empty()) {
        const Decoded decoded = DecodeOne(raw);
        if (decoded.length == 0) {
            shown += Formatted("\\x%02X", static_cast<unsigned char>(raw.front()));
            raw.remove_prefix(1); // the next byte may start a sequence of its own
            continue;
        }
        if (decoded.codePoint < 0x20 || decoded.codePoint == 0x7F)
            shown += ControlEscape(static_cast<unsigned char>(decoded.codePoint));
        else if (IsInvisibleControl(decoded.codePoint))
            shown += Formatted("<U+%04X>", static_cast<unsigned>(decoded.codePoint));
        else
            shown.append(raw.substr(0, decoded.length));
        raw.remove_prefix(decoded.length);
    }
    return shown;
}

} // namespace partwright
