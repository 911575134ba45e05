#pragma once

#include <string>
#include <string_view>

namespace partwright {

// What ends the file name of a part: a number ("DISC.001", GNU split's "x00"), letters as GNU
// split writes them ("img.iso.aa", "xaa"), or nothing a set of parts is made of.
enum class SuffixKind { None, Digits, Letters };

// A number of any length, as the sort orders names: its sign and its digits without leading
// zeros, none for zero.
struct SortNumber {
    bool negative = false;
    std::string digits;
};

// Below 0 when a is the smaller number, 0 when they are equal, above 0 when a is the larger.
int CompareSortNumbers(const SortNumber& a, const SortNumber& b);

// The number as text: "-3", "0", "12".
std::string SortNumberText(const SortNumber& number);

// A file name read as the name of a part.
struct PartName {
    std::string stem; // the name before the suffix; the whole name without one
    SuffixKind kind = SuffixKind::None;
    std::string suffix; // as written, without its dot
    SortNumber number;  // the number after the last dot; 0 for letters and where there is none
};

// Reads the file name of a path (its folders never count):
// - after the last dot, one or more ASCII digits are a digit suffix, two or more small ASCII
//   letters a letter suffix, except the endings of images, texts and letter-only checksum files;
// - after the last dot, a signed or blank-padded number ("-3", " 12 ") is a number the sort
//   orders by, but no suffix of a set;
// - a name without a dot is a part only as GNU split's default names are: "x" and two or more
//   small letters or digits ("xaa", "x00").
PartName ParsePartName(const std::string& path);

// A name as the system compares names: ASCII letters folded on Windows, byte for byte elsewhere.
std::string ComparedName(std::string_view name);

} // namespace partwright
