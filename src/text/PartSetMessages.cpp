#include "text/PartSetMessages.h"

#include "text/MessageParts.h"
#include "text/Numbers.h"

namespace partwright::messages {

namespace {

// "Part 3 is", "Parts 3 to 4 are".
std::string Places(const std::string& first, const std::string& last, const char* part)
{
    return first == last ? part + (" " + first + " is")
                         : part + ("s " + first + " to " + last + " are");
}

std::string Times(std::size_t count)
{
    return count == 2 ? "twice" : std::to_string(count) + " times";
}

// "A, B and C".
std::string NameList(const std::vector<std::string>& names)
{
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            list += i + 1 == names.size() ? " and " : ", ";
        list += names[i];
    }
    return list;
}

} // namespace

std::string NotAPartOfSet(const std::string& entry, const std::string& stem, std::size_t position,
                          std::size_t count)
{
    return entry + " is not a part of " + stem + ": it would be joined as entry " +
           std::to_string(position) + " of " + std::to_string(count) + ".";
}

std::string PartsStartLate(const std::string& firstPart, const std::string& firstMissing,
                           const std::string& lastMissing)
{
    return "The parts start at " + firstPart + ": " + Places(firstMissing, lastMissing, "part") +
           " missing.";
}

std::string PartsMissingBetween(const std::string& firstMissing, const std::string& lastMissing,
                                const std::string& before, const std::string& after)
{
    return Places(firstMissing, lastMissing, "Part") + " missing between " + before + " and " +
           after + ".";
}

std::string PartListedAgain(const std::string& part, std::size_t times)
{
    return part + " is listed " + Times(times) + ".";
}

std::string PlaceListedAgain(const std::string& place, const std::vector<std::string>& parts)
{
    return "Part " + place + " is listed " + Times(parts.size()) + ": " + NameList(parts) + ".";
}

std::string PartIsEmpty(const std::string& part)
{
    return part + " is empty.";
}

std::string PartSizeStandsOut(const std::string& part, std::uint64_t difference, bool shorter,
                              bool first)
{
    return part + " is " + Bytes(difference) + " " + (shorter ? "shorter" : "longer") +
           " than the parts " + (first ? "after" : "before") + " it.";
}

std::string AddRestOfSetQuestion(const std::string& firstPicked, std::size_t picked,
                                 std::size_t setSize, const std::string& stem,
                                 const std::string& folder, const std::string& gap,
                                 std::size_t others)
{
    const std::string set = " of " + std::to_string(setSize) + " parts of " + DisplayText(stem) +
                            " in " + Quoted(folder) + ". ";
    const std::string who = picked == 1
                                ? DisplayText(firstPicked) + " is one"
                                : DisplayText(firstPicked) + " and " + std::to_string(picked - 1) +
                                      " more are " + std::to_string(picked);
    return who + set + (gap.empty() ? "" : DisplayText(gap) + " ") + "Add the other " +
           std::to_string(others) + "?";
}

} // namespace partwright::messages
