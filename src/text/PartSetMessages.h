#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What the build says when the listed parts do not look like one complete set. Findings for the
// "Build anyway?" question: raw text, which the question shows escaped. Parts are named by their
// file names; places in the set as its names write them ("3", "ac", "9000").
namespace partwright::messages {

// "README.txt is not a part of DISC: it would be joined as entry 1 of 7."
std::string NotAPartOfSet(const std::string& entry, const std::string& stem, std::size_t position,
                          std::size_t count);

// "The parts start at D.004: parts 1 to 3 are missing."
std::string PartsStartLate(const std::string& firstPart, const std::string& firstMissing,
                           const std::string& lastMissing);

// "Part 3 is missing between D.002 and D.004."
std::string PartsMissingBetween(const std::string& firstMissing, const std::string& lastMissing,
                                const std::string& before, const std::string& after);

// "D.002 is listed twice."
std::string PartListedAgain(const std::string& part, std::size_t times);

// "Part 1 is listed 3 times: D.1, D.01 and D.001."
std::string PlaceListedAgain(const std::string& place, const std::vector<std::string>& parts);

// "D.2 is empty."
std::string PartIsEmpty(const std::string& part);

// "D.3 is 3 bytes longer than the parts before it."; the first part is compared with those after.
std::string PartSizeStandsOut(const std::string& part, std::uint64_t difference, bool shorter,
                              bool first);

// The offer to add the rest of a set beside its picked parts, a gap in its numbers named:
// "DISC.001 is one of 37 parts of DISC in '/i'. Add the other 36?" The names are shown escaped.
std::string AddRestOfSetQuestion(const std::string& firstPicked, std::size_t picked,
                                 std::size_t setSize, const std::string& stem,
                                 const std::string& folder, const std::string& gap,
                                 std::size_t others);

} // namespace partwright::messages
