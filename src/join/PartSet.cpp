#include "join/PartSet.h"

#include "list/PartSequence.h"
#include "text/PartSetMessages.h"

#include <algorithm>
#include <map>

namespace partwright {

namespace {

struct PlacedPart {
    std::uint64_t place; // in the set's sequence
    std::string name;    // the file name without its folder
    std::uint64_t size;
};

// The entries that are not members of a set of two or more, in list order.
void StrayEntries(const std::vector<ListedPart>& entries, const PartSequence& set,
                  std::vector<std::string>& findings)
{
    const std::vector<std::size_t>& members = set.members();
    if (members.size() < 2)
        return;
    for (std::size_t i = 0, member = 0; i < entries.size(); ++i) {
        if (member < members.size() && members[member] == i)
            ++member;
        else
            findings.push_back(messages::NotAPartOfSet(FileNameOf(entries[i].path), set.stem(),
                                                       i + 1, entries.size()));
    }
}

void StartAndGaps(const PartSequence& set, const std::vector<PlacedPart>& parts,
                  std::vector<std::string>& findings)
{
    // Numbers may start at 0 or 1; letters start at "aa".
    const std::uint64_t first = set.kind() == SuffixKind::Letters ? 0 : 1;
    const PlacedPart& lowest = parts.front();
    if (lowest.place > first)
        findings.push_back(
            messages::PartsStartLate(lowest.name, set.label(first), set.label(lowest.place - 1)));
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].place > parts[i - 1].place + 1)
            findings.push_back(messages::PartsMissingBetween(set.label(parts[i - 1].place + 1),
                                                             set.label(parts[i].place - 1),
                                                             parts[i - 1].name, parts[i].name));
    }
}

void Duplicates(const PartSequence& set, const std::vector<PlacedPart>& parts,
                std::vector<std::string>& findings)
{
    for (std::size_t first = 0; first < parts.size();) {
        std::size_t end = first;
        std::vector<std::string> names;
        while (end < parts.size() && parts[end].place == parts[first].place)
            names.push_back(parts[end++].name);
        if (names.size() > 1) {
            const bool oneName = std::all_of(names.begin(), names.end(),
                                             [&](const auto& name) { return name == names[0]; });
            findings.push_back(
                oneName ? messages::PartListedAgain(names[0], names.size())
                        : messages::PlaceListedAgain(set.label(parts[first].place), names));
        }
        first = end;
    }
}

// Splitters that cut a file into a given number of parts share the few bytes left over (fewer than
// the parts) in one of two ways: all on the last part, or one more byte on each of the first ones.
bool RemainderOnLast(const std::vector<const PlacedPart*>& parts)
{
    const std::uint64_t size = parts.front()->size;
    const bool equalBeforeLast =
        std::all_of(parts.begin(), parts.end() - 1, [&](const auto* p) { return p->size == size; });
    const std::uint64_t last = parts.back()->size;
    return equalBeforeLast && last > size && last - size < parts.size();
}

bool RemainderOnFirst(const std::vector<const PlacedPart*>& parts)
{
    const std::uint64_t size = parts.back()->size;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::uint64_t partSize = parts[i]->size;
        if ((partSize != size && partSize != size + 1) || (i > 0 && partSize > parts[i - 1]->size))
            return false;
    }
    return true;
}

void Sizes(const std::vector<PlacedPart>& parts, std::vector<std::string>& findings)
{
    // One part per place; the last may be shorter, every other one should have the common size.
    std::vector<const PlacedPart*> distinct;
    for (const auto& part : parts)
        if (distinct.empty() || distinct.back()->place != part.place)
            distinct.push_back(&part);

    for (const auto* part : distinct)
        if (part->size == 0)
            findings.push_back(messages::PartIsEmpty(part->name));
    if (distinct.size() < 2 || RemainderOnLast(distinct) || RemainderOnFirst(distinct))
        return;

    // The size most of the parts before the last one have; on a tie, the first part's.
    std::map<std::uint64_t, std::size_t> counts;
    for (std::size_t i = 0; i + 1 < distinct.size(); ++i)
        ++counts[distinct[i]->size];
    std::uint64_t common = distinct.front()->size;
    for (const auto& [size, count] : counts)
        if (count > counts[common])
            common = size;

    for (std::size_t i = 0; i < distinct.size(); ++i) {
        const PlacedPart& part = *distinct[i];
        const bool last = i + 1 == distinct.size();
        if (part.size == 0 || part.size == common || (last && part.size < common))
            continue;
        const bool shorter = part.size < common;
        const std::uint64_t difference = shorter ? common - part.size : part.size - common;
        findings.push_back(messages::PartSizeStandsOut(part.name, difference, shorter, i == 0));
    }
}

} // namespace

std::vector<std::string> PartSetFindings(const std::vector<ListedPart>& entries)
{
    std::vector<PartName> names;
    names.reserve(entries.size());
    for (const auto& entry : entries)
        names.push_back(ParsePartName(entry.path));
    const PartSequence set(names);

    std::vector<std::string> findings;
    StrayEntries(entries, set, findings);
    // Members too long to place are sorted like the others but not checked.
    std::vector<PlacedPart> parts;
    for (const std::size_t member : set.members())
        if (const auto place = set.placeOf(names[member].suffix))
            parts.push_back({*place, FileNameOf(entries[member].path), entries[member].size});
    if (parts.empty())
        return findings;
    std::stable_sort(parts.begin(), parts.end(),
                     [](const auto& a, const auto& b) { return a.place < b.place; });

    StartAndGaps(set, parts, findings);
    Duplicates(set, parts, findings);
    Sizes(parts, findings);
    return findings;
}

} // namespace partwright
