#include "list/PartName.h"

#include "text/AsciiCase.h"
#include "text/Blanks.h"
#include "text/FileName.h"

#include <algorithm>
#include <filesystem>

namespace partwright {

namespace {

// Endings of letters only that travel with parts but never number one: the image, a text, and
// the checksum files without digits in their ending (the checksum library's own list would pull
// it into the list's layer).
constexpr std::string_view kNeverSuffixes[] = {"iso", "txt", "sfv", "crc"};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsSmallLetter(char c)
{
    return c >= 'a' && c <= 'z';
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

bool AllSmallLetters(std::string_view text)
{
    return text.size() >= 2 && std::all_of(text.begin(), text.end(), IsSmallLetter);
}

SortNumber NumberOfDigits(std::string_view digits, bool negative)
{
    const auto first = digits.find_first_not_of('0');
    if (first == std::string_view::npos)
        return {};
    return {negative, std::string(digits.substr(first))};
}

// "-3", "+5", " 12 ": what the sort has always read as a number after the last dot.
SortNumber SignedNumber(std::string_view text)
{
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    return AllDigits(text) ? NumberOfDigits(text, negative) : SortNumber{};
}

bool IsNeverSuffix(std::string_view ending)
{
    return std::find(std::begin(kNeverSuffixes), std::end(kNeverSuffixes), ending) !=
           std::end(kNeverSuffixes);
}

PartName WithSuffix(std::string stem, std::string suffix, SuffixKind kind)
{
    SortNumber number = kind == SuffixKind::Digits ? NumberOfDigits(suffix, false) : SortNumber{};
    return {std::move(stem), kind, std::move(suffix), std::move(number)};
}

} // namespace

int CompareSortNumbers(const SortNumber& a, const SortNumber& b)
{
    if (a.negative != b.negative)
        return a.negative ? -1 : 1;
    int magnitude = a.digits.size() < b.digits.size()   ? -1
                    : a.digits.size() > b.digits.size() ? 1
                                                        : a.digits.compare(b.digits);
    magnitude = magnitude < 0 ? -1 : magnitude > 0 ? 1 : 0;
    return a.negative ? -magnitude : magnitude;
}

std::string SortNumberText(const SortNumber& number)
{
    return number.digits.empty() ? "0" : (number.negative ? "-" : "") + number.digits;
}

PartName ParsePartName(const std::string& path)
{
    std::string name = FileNameOf(path);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos) {
        const std::string_view suffix = std::string_view(name).substr(dot + 1);
        if (AllDigits(suffix))
            return WithSuffix(name.substr(0, dot), std::string(suffix), SuffixKind::Digits);
        if (AllSmallLetters(suffix) && !IsNeverSuffix(suffix))
            return WithSuffix(name.substr(0, dot), std::string(suffix), SuffixKind::Letters);
        SortNumber number = SignedNumber(suffix);
        return {std::move(name), SuffixKind::None, "", std::move(number)};
    }
    if (name.size() >= 3 && name.front() == 'x') { // GNU split's default names
        const std::string_view rest = std::string_view(name).substr(1);
        if (AllDigits(rest))
            return WithSuffix("x", std::string(rest), SuffixKind::Digits);
        if (AllSmallLetters(rest))
            return WithSuffix("x", std::string(rest), SuffixKind::Letters);
    }
    return {std::move(name), SuffixKind::None, "", {}};
}

std::string ComparedName(std::string_view name)
{
    constexpr bool kWindows = std::filesystem::path::preferred_separator == '\\';
    return kWindows ? AsciiLower(name) : std::string(name);
}

} // namespace partwright
