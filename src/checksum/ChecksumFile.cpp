#include "checksum/ChecksumFile.h"

#include "text/AsciiCase.h"

#include <algorithm>
#include <charconv>

namespace partwright {

namespace {

constexpr std::string_view kWhite = " \t";

bool IsHex(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
}

std::string_view TrimWhite(std::string_view text)
{
    const auto first = text.find_first_not_of(kWhite);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kWhite) - first + 1);
}

// Lines without their ends (LF or CR LF), after a byte-order mark if there is one.
std::vector<std::string_view> Lines(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The sums tools write a name with a backslash or a line break escaped and mark its line.
std::string Unescaped(std::string_view name)
{
    std::string plain;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 1 < name.size()) {
            const char next = name[++i];
            plain += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            plain += name[i];
        }
    }
    return plain;
}

std::optional<ChecksumEntry> Entry(std::string name, Algorithm algorithm, std::string_view hex)
{
    if (!IsHex(hex) || hex.size() != HexLength(algorithm))
        return std::nullopt;
    return ChecksumEntry{std::move(name), algorithm, AsciiLower(hex), std::nullopt};
}

// Takes a line's checksum, or the name of its algorithm where the library lacks it; false where
// the hash is none of that algorithm's.
bool Take(ChecksumFileContents& contents, std::string name, const NamedAlgorithm& algorithm,
          std::string_view hex)
{
    if (!IsHex(hex) || hex.size() != algorithm.hexLength)
        return false;
    std::vector<std::string>& unknown = contents.notComputable;
    if (!algorithm.algorithm) {
        if (std::find(unknown.begin(), unknown.end(), algorithm.name) == unknown.end())
            unknown.push_back(algorithm.name);
        return true;
    }
    contents.entries.push_back(
        {std::move(name), *algorithm.algorithm, AsciiLower(hex), std::nullopt});
    return true;
}

// "SHA256 (NAME) = HASH"
bool TaggedLine(std::string_view line, bool escaped, ChecksumFileContents& contents)
{
    const std::size_t open = line.find(" (");
    const std::size_t close = line.rfind(") = ");
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return false;
    const auto algorithm = AlgorithmOfTag(line.substr(0, open));
    if (!algorithm)
        return false;
    const std::string_view name = line.substr(open + 2, close - open - 2);
    return Take(contents, escaped ? Unescaped(name) : std::string(name), *algorithm,
                TrimWhite(line.substr(close + 4)));
}

// "HASH  NAME", "HASH *NAME" or a bare "HASH".
void SumsLine(std::string_view line, bool escaped, std::string_view ending,
              ChecksumFileContents& contents)
{
    const std::size_t space = line.find_first_of(kWhite);
    const std::string_view hex = line.substr(0, space);
    const auto algorithm = AlgorithmOfLine(ending, hex.size());
    if (!algorithm)
        return;
    std::string_view name;
    if (space != std::string_view::npos) {
        name = line.substr(space + 1);
        if (name.starts_with(' ') || name.starts_with('*'))
            name.remove_prefix(1); // the mark of text or binary reading
        if (name.empty())
            return;
    }
    Take(contents, escaped ? Unescaped(name) : std::string(name), *algorithm, hex);
}

ChecksumFileContents SumsFile(const std::vector<std::string_view>& lines, std::string_view ending)
{
    ChecksumFileContents contents;
    for (std::string_view line : lines) {
        if (TrimWhite(line).empty() || line.starts_with('#'))
            continue;
        const bool escaped = line.starts_with('\\');
        if (escaped)
            line.remove_prefix(1);
        if (!TaggedLine(line, escaped, contents))
            SumsLine(line, escaped, ending, contents);
    }
    return contents;
}

std::vector<ChecksumEntry> SfvFile(const std::vector<std::string_view>& lines)
{
    std::vector<ChecksumEntry> entries;
    for (std::string_view line : lines) {
        line = TrimWhite(line);
        if (line.empty() || line.starts_with(';'))
            continue;
        const std::size_t space = line.find_last_of(kWhite);
        if (space == std::string_view::npos)
            continue;
        const std::string_view name = TrimWhite(line.substr(0, space));
        if (auto entry = Entry(std::string(name), Algorithm::Crc32, line.substr(space + 1));
            entry && !name.empty())
            entries.push_back(std::move(*entry));
    }
    return entries;
}

std::vector<ChecksumEntry> CrcFile(const std::vector<std::string_view>& lines)
{
    std::string name, nameUtf8, crc;
    std::optional<std::uint64_t> size;
    bool sizeUnreadable = false;
    for (const std::string_view line : lines) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string key = AsciiLower(TrimWhite(line.substr(0, equals)));
        const std::string_view value = line.substr(equals + 1);
        if (key == "filename")
            name = value;
        else if (key == "filenameutf8")
            nameUtf8 = value;
        else if (key == "crc32")
            crc = TrimWhite(value);
        else if (key == "size") {
            const std::string_view digits = TrimWhite(value);
            std::uint64_t number = 0;
            const auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), number);
            sizeUnreadable = error != std::errc() || end != digits.data() + digits.size();
            if (!sizeUnreadable)
                size = number;
        }
    }
    auto entry = Entry(nameUtf8.empty() ? name : nameUtf8, Algorithm::Crc32, crc);
    if (!entry || sizeUnreadable)
        return {};
    entry->size = size;
    return {*entry};
}

} // namespace

ChecksumFileContents ParseChecksumFile(std::string_view text, std::string_view ending)
{
    const std::vector<std::string_view> lines = Lines(text);
    const std::string lower = AsciiLower(ending);
    if (lower == ".sfv")
        return {SfvFile(lines), {}};
    if (lower == ".crc")
        return {CrcFile(lines), {}};
    return SumsFile(lines, lower);
}

} // namespace partwright
