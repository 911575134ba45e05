#include "join/PartSet.h"

#include "list/modFunctions.h"
#include "text/Numbers.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace partwright {

namespace {

struct NumberedPart {
    int number;
    std::string name; // the file name without its folder
    std::uint64_t size;
};

std::string Numbers(int first, int last)
{
    return first == last
               ? "Part " + std::to_string(first) + " is"
               : "Parts " + std::to_string(first) + " to " + std::to_string(last) + " are";
}

std::string Times(std::size_t count)
{
    return count == 2 ? "twice" : std::to_string(count) + " times";
}

std::string NameList(const std::vector<const NumberedPart*>& parts)
{
    std::string list;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            list += i + 1 == parts.size() ? " and " : ", ";
        list += parts[i]->name;
    }
    return list;
}

void StartAndGaps(const std::vector<NumberedPart>& parts, std::vector<std::string>& findings)
{
    const NumberedPart& lowest = parts.front();
    if (lowest.number > 1) {
        findings.push_back("The parts start at " + lowest.name + ": " +
                           (lowest.number == 2
                                ? std::string("part 1 is")
                                : "parts 1 to " + std::to_string(lowest.number - 1) + " are") +
                           " missing.");
    }
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].number > parts[i - 1].number + 1)
            findings.push_back(Numbers(parts[i - 1].number + 1, parts[i].number - 1) +
                               " missing between " + parts[i - 1].name + " and " + parts[i].name +
                               ".");
    }
}

void Duplicates(const std::vector<NumberedPart>& parts, std::vector<std::string>& findings)
{
    for (std::size_t first = 0; first < parts.size();) {
        std::size_t end = first;
        std::vector<const NumberedPart*> same;
        while (end < parts.size() && parts[end].number == parts[first].number)
            same.push_back(&parts[end++]);
        if (same.size() > 1) {
            const bool oneName = std::all_of(
                same.begin(), same.end(), [&](const auto* p) { return p->name == same[0]->name; });
            findings.push_back(oneName
                                   ? same[0]->name + " is listed " + Times(same.size()) + "."
                                   : "Part " + std::to_string(parts[first].number) + " is listed " +
                                         Times(same.size()) + ": " + NameList(same) + ".");
        }
        first = end;
    }
}

// Splitters that cut a file into a given number of parts share the few bytes left over (fewer than
// the parts) in one of two ways: all on the last part, or one more byte on each of the first ones.
bool RemainderOnLast(const std::vector<const NumberedPart*>& parts)
{
    const std::uint64_t size = parts.front()->size;
    const bool equalBeforeLast =
        std::all_of(parts.begin(), parts.end() - 1, [&](const auto* p) { return p->size == size; });
    const std::uint64_t last = parts.back()->size;
    return equalBeforeLast && last > size && last - size < parts.size();
}

bool RemainderOnFirst(const std::vector<const NumberedPart*>& parts)
{
    const std::uint64_t size = parts.back()->size;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::uint64_t partSize = parts[i]->size;
        if ((partSize != size && partSize != size + 1) || (i > 0 && partSize > parts[i - 1]->size))
            return false;
    }
    return true;
}

void Sizes(const std::vector<NumberedPart>& parts, std::vector<std::string>& findings)
{
    // One part per number; the last may be shorter, every other one should have the common size.
    std::vector<const NumberedPart*> distinct;
    for (const auto& part : parts)
        if (distinct.empty() || distinct.back()->number != part.number)
            distinct.push_back(&part);

    for (const auto* part : distinct)
        if (part->size == 0)
            findings.push_back(part->name + " is empty.");
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
        const NumberedPart& part = *distinct[i];
        const bool last = i + 1 == distinct.size();
        if (part.size == 0 || part.size == common || (last && part.size < common))
            continue;
        const bool shorter = part.size < common;
        const std::uint64_t difference = shorter ? common - part.size : part.size - common;
        findings.push_back(part.name + " is " + Bytes(difference) + " " +
                           (shorter ? "shorter" : "longer") + " than the parts " +
                           (i == 0 ? "after" : "before") + " it.");
    }
}

} // namespace

std::vector<std::string> PartSetFindings(const std::vector<ListedPart>& entries)
{
    std::vector<NumberedPart> parts;
    for (const auto& entry : entries)
        if (const auto number = modFunctions::ParseExtNumber(entry.path))
            parts.push_back({*number, FileNameOf(entry.path), entry.size});
    if (parts.empty())
        return {};
    std::stable_sort(parts.begin(), parts.end(),
                     [](const auto& a, const auto& b) { return a.number < b.number; });

    std::vector<std::string> findings;
    StartAndGaps(parts, findings);
    Duplicates(parts, findings);
    Sizes(parts, findings);
    return findings;
}

} // namespace partwright
