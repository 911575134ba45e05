#include "list/PartSequence.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <string_view>
#include <utility>

namespace partwright {

namespace {

// Places stay below 10^18: 18 digits, and room to add without overflow.
constexpr std::uint64_t kPlaceLimit = 1'000'000'000'000'000'000ULL;

// The characters of a kind of suffix, as digits of a number.
struct Alphabet {
    std::uint64_t base;
    char first;
    char top; // the one GNU split puts in front when it widens
};

Alphabet AlphabetOf(SuffixKind kind)
{
    return kind == SuffixKind::Letters ? Alphabet{26, 'a', 'z'} : Alphabet{10, '0', '9'};
}

std::optional<std::uint64_t> ValueOf(std::string_view text, const Alphabet& alphabet)
{
    std::uint64_t value = 0;
    for (const char c : text) {
        const auto digit = static_cast<std::uint64_t>(c - alphabet.first);
        if (value > (kPlaceLimit - 1 - digit) / alphabet.base)
            return std::nullopt;
        value = value * alphabet.base + digit;
    }
    return value;
}

// GNU split's widening level of a suffix: k for one of width + 2k characters whose first k are
// the top one and the next is not.
std::optional<std::size_t> WidenedLevel(std::string_view suffix, std::size_t width, char top)
{
    if (suffix.size() < width || (suffix.size() - width) % 2 != 0)
        return std::nullopt;
    const std::size_t level = (suffix.size() - width) / 2;
    const bool form = suffix.find_first_not_of(top) == level;
    return form ? std::optional(level) : std::nullopt;
}

// How many names GNU split writes at a level: (base - 1) * base^(width + level - 1).
std::optional<std::uint64_t> NamesAtLevel(std::size_t level, std::size_t width,
                                          const Alphabet& alphabet)
{
    std::uint64_t count = alphabet.base - 1;
    for (std::size_t i = 1; i < width + level; ++i) {
        if (count >= kPlaceLimit / alphabet.base)
            return std::nullopt;
        count *= alphabet.base;
    }
    return count;
}

std::string Padded(std::uint64_t value, std::size_t length, const Alphabet& alphabet)
{
    std::string text;
    for (; value > 0 || text.size() < length; value /= alphabet.base)
        text.insert(text.begin(), static_cast<char>(alphabet.first + value % alphabet.base));
    return text;
}

} // namespace

PartSequence::PartSequence(const std::vector<PartName>& names)
{
    std::map<std::pair<std::string, SuffixKind>, std::size_t> groupOf;
    std::vector<std::vector<std::size_t>> groups; // in the order of their first entry
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].kind == SuffixKind::None)
            continue;
        const auto [group, added] =
            groupOf.emplace(std::pair(ComparedName(names[i].stem), names[i].kind), groups.size());
        if (added)
            groups.emplace_back();
        groups[group->second].push_back(i);
    }
    const std::vector<std::size_t>* largest = nullptr;
    for (const auto& group : groups)
        if (!largest || group.size() > largest->size())
            largest = &group;
    if (!largest)
        return;

    kind_ = names[largest->front()].kind;
    stem_ = names[largest->front()].stem;
    width_ = names[largest->front()].suffix.size();
    for (const std::size_t i : *largest)
        width_ = std::min(width_, names[i].suffix.size());
    const char top = AlphabetOf(kind_).top;
    const auto longer = [&](std::size_t i) {
        return names[i].suffix.size() > width_;
    };
    const auto gnuForm = [&](std::size_t i) {
        return WidenedLevel(names[i].suffix, width_, top).has_value();
    };
    if (kind_ == SuffixKind::Letters) {
        // Letters have one length, the one most of the names fit (widened ones included), so
        // that a stray shorter name cannot push the set out.
        std::set<std::size_t> widths;
        for (const std::size_t i : *largest)
            widths.insert(names[i].suffix.size());
        std::size_t mostFitting = 0;
        for (const std::size_t width : widths) {
            const auto fitting = std::count_if(largest->begin(), largest->end(), [&](auto i) {
                return WidenedLevel(names[i].suffix, width, top).has_value();
            });
            if (static_cast<std::size_t>(fitting) > mostFitting) { // the shorter on a tie
                mostFitting = static_cast<std::size_t>(fitting);
                width_ = width;
            }
        }
        widened_ = std::any_of(largest->begin(), largest->end(),
                               [&](std::size_t i) { return longer(i) && gnuForm(i); });
        std::copy_if(largest->begin(), largest->end(), std::back_inserter(members_),
                     [&](std::size_t i) {
                         return widened_ ? gnuForm(i) : names[i].suffix.size() == width_;
                     });
    } else {
        widened_ = std::any_of(largest->begin(), largest->end(), longer) &&
                   std::all_of(largest->begin(), largest->end(), gnuForm);
        members_ = *largest;
    }
}

std::optional<std::uint64_t> PartSequence::placeOf(const std::string& suffix) const
{
    const Alphabet alphabet = AlphabetOf(kind_);
    if (!widened_)
        return ValueOf(suffix, alphabet);
    const auto level = WidenedLevel(suffix, width_, alphabet.top);
    if (!level)
        return std::nullopt;
    std::uint64_t place = 0;
    for (std::size_t below = 0; below < *level; ++below) {
        const auto names = NamesAtLevel(below, width_, alphabet);
        if (!names || *names >= kPlaceLimit - place)
            return std::nullopt;
        place += *names;
    }
    const auto value = ValueOf(std::string_view(suffix).substr(*level), alphabet);
    if (!value || *value >= kPlaceLimit - place)
        return std::nullopt;
    return place + *value;
}

std::string PartSequence::label(std::uint64_t place) const
{
    if (kind_ == SuffixKind::Digits && !widened_)
        return std::to_string(place);
    const Alphabet alphabet = AlphabetOf(kind_);
    std::size_t level = 0;
    if (widened_) {
        for (auto names = NamesAtLevel(0, width_, alphabet); names && place >= *names;
             names = NamesAtLevel(++level, width_, alphabet))
            place -= *names;
    }
    std::string text = std::string(level, alphabet.top) + Padded(place, width_ + level, alphabet);
    if (kind_ == SuffixKind::Digits) // as a number: "9000", "1"
        text.erase(0, std::min(text.find_first_not_of('0'), text.size() - 1));
    return text;
}

} // namespace partwright
