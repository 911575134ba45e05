#include "checksum/Algorithm.h"

#include "text/AsciiCase.h"

#include <algorithm>
#include <charconv>
#include <gcrypt.h>
#include <stdexcept>

namespace partwright {

namespace {

// What the program knows of one algorithm.
struct Facts {
    Algorithm algorithm;
    const char* name;       // in messages
    const char* tag;        // of "TAG (NAME) = HASH" lines, as its tool writes it
    const char* endings[2]; // of the files of its checksums, by which they are found
    int library;            // libgcrypt's number
    std::size_t hexLength;
    int strength;                 // of one file's checksums, the strongest is checked
    bool capitals = false;        // shown in capital letters
    const char* family = nullptr; // see OfFamily
};

constexpr char kBlake2b[] = "BLAKE2b";

// A row an algorithm, weakest first. CRC32 is that of zlib, SFV and ZIP, shown in capitals as SFV
// files write it.
// clang-format off
constexpr Facts kTable[] = {
    // algorithm            name           tag            endings           library              hex strength capitals family
    {Algorithm::Crc32,      "CRC32",       "CRC32",       {".sfv", ".crc"}, GCRY_MD_CRC32,         8, 1, true},
    {Algorithm::Md5,        "MD5",         "MD5",         {".md5"},         GCRY_MD_MD5,          32, 2},
    {Algorithm::Blake2b160, "BLAKE2b-160", "BLAKE2b-160", {".b2"},          GCRY_MD_BLAKE2B_160,  40, 3, false, kBlake2b},
    {Algorithm::Sha1,       "SHA-1",       "SHA1",        {".sha1"},        GCRY_MD_SHA1,         40, 4},
    {Algorithm::Blake2b256, "BLAKE2b-256", "BLAKE2b-256", {".b2"},          GCRY_MD_BLAKE2B_256,  64, 5, false, kBlake2b},
    {Algorithm::Sha256,     "SHA-256",     "SHA256",      {".sha256"},      GCRY_MD_SHA256,       64, 6},
    {Algorithm::Blake2b384, "BLAKE2b-384", "BLAKE2b-384", {".b2"},          GCRY_MD_BLAKE2B_384,  96, 7, false, kBlake2b},
    {Algorithm::Blake2b512, "BLAKE2b-512", "BLAKE2b",     {".b2"},          GCRY_MD_BLAKE2B_512, 128, 8, false, kBlake2b},
    {Algorithm::Sha512,     "SHA-512",     "SHA512",      {".sha512"},      GCRY_MD_SHA512,      128, 9},
};
// clang-format on

constexpr bool OneRowEachOfItsOwnStrength()
{
    for (const Facts& a : kTable)
        for (const Facts& b : kTable)
            if (&a != &b && (a.algorithm == b.algorithm || a.strength == b.strength))
                return false;
    return true;
}
static_assert(OneRowEachOfItsOwnStrength());

const Facts& Of(Algorithm algorithm)
{
    for (const Facts& facts : kTable)
        if (facts.algorithm == algorithm)
            return facts;
    throw std::logic_error("an algorithm without its row");
}

NamedAlgorithm Named(const Facts& facts)
{
    return {facts.algorithm, facts.name, facts.hexLength};
}

bool SameLetters(std::string_view a, std::string_view b)
{
    return AsciiLower(a) == AsciiLower(b);
}

// b2sum -l N makes checksums of any whole bytes up to its longest, tagged "BLAKE2b-N"; a length
// without its row is known by that name, but the library cannot compute it.
std::optional<NamedAlgorithm> OfFamily(std::string_view family, std::size_t hexDigits)
{
    if (hexDigits == 0 || hexDigits % 2 != 0)
        return std::nullopt;
    std::size_t longest = 0;
    for (const Facts& facts : kTable) {
        if (facts.family == nullptr || family != facts.family)
            continue;
        if (facts.hexLength == hexDigits)
            return Named(facts);
        longest = std::max(longest, facts.hexLength);
    }
    if (hexDigits > longest)
        return std::nullopt;
    return NamedAlgorithm{std::nullopt, std::string(family) + "-" + std::to_string(hexDigits * 4),
                          hexDigits};
}

} // namespace

const char* AlgorithmName(Algorithm algorithm)
{
    return Of(algorithm).name;
}

std::size_t HexLength(Algorithm algorithm)
{
    return Of(algorithm).hexLength;
}

int LibraryAlgorithm(Algorithm algorithm)
{
    return Of(algorithm).library;
}

bool Weaker(Algorithm weaker, Algorithm stronger)
{
    return Of(weaker).strength < Of(stronger).strength;
}

std::vector<const char*> ChecksumEndings()
{
    std::vector<const char*> endings;
    for (const Facts& facts : kTable)
        for (const char* ending : facts.endings)
            if (ending != nullptr &&
                std::none_of(endings.begin(), endings.end(),
                             [&](const char* e) { return std::string_view(e) == ending; }))
                endings.push_back(ending);
    return endings;
}

std::optional<NamedAlgorithm> AlgorithmOfTag(std::string_view tag)
{
    for (const Facts& facts : kTable)
        if (SameLetters(tag, facts.tag))
            return Named(facts);
    // "BLAKE2b-200"
    const std::size_t dash = tag.rfind('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const std::string_view digits = tag.substr(dash + 1);
    std::size_t bits = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), bits);
    if (error != std::errc() || end != digits.data() + digits.size() || bits % 8 != 0)
        return std::nullopt;
    for (const Facts& facts : kTable)
        if (facts.family != nullptr && SameLetters(tag.substr(0, dash), facts.family))
            return OfFamily(facts.family, bits / 4);
    return std::nullopt;
}

std::optional<NamedAlgorithm> AlgorithmOfLine(std::string_view ending, std::size_t hexDigits)
{
    const std::string lower = AsciiLower(ending);
    const auto endsFiles = [&lower](const Facts& facts) {
        return std::any_of(std::begin(facts.endings), std::end(facts.endings),
                           [&lower](const char* e) { return e != nullptr && lower == e; });
    };
    for (const Facts& facts : kTable)
        if (endsFiles(facts) && facts.hexLength == hexDigits)
            return Named(facts);
    // In a family's files, its length decides, even one the library lacks.
    for (const Facts& facts : kTable)
        if (facts.family != nullptr && endsFiles(facts))
            return OfFamily(facts.family, hexDigits);
    for (const Facts& facts : kTable)
        if (facts.family == nullptr && facts.hexLength == hexDigits)
            return Named(facts);
    return std::nullopt;
}

std::string ShownChecksum(Algorithm algorithm, const std::string& hex)
{
    std::string shown = hex;
    if (Of(algorithm).capitals)
        for (char& c : shown)
            if (c >= 'a' && c <= 'f')
                c = static_cast<char>(c - 'a' + 'A');
    return shown;
}

} // namespace partwright
