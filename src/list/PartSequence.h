#pragma once

#include "list/PartName.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace partwright {

// The set of parts among a list's names: the largest group that shares a stem (compared as the
// system compares names) and a kind of suffix; on a tie, the group of the earliest entry. Its
// members are the names that fit the sequence a splitter writes: every number of the stem, and
// letters of one length, the shortest. GNU split widens its suffixes when they run out: after
// "yz" come "zaaa"..."zyzz", then "zzaaaa"...; with -d "89" is followed by "9000" and "9899" by
// "990000". Such names are members too, and their place follows GNU's sequence.
class PartSequence {
public:
    explicit PartSequence(const std::vector<PartName>& names);

    SuffixKind kind() const { return kind_; }         // None when no name has a suffix
    const std::string& stem() const { return stem_; } // as its first member writes it
    const std::vector<std::size_t>& members() const { return members_; } // in list order

    // A member's place in the sequence: the number itself; the place in GNU's sequence for
    // letters ("aa" 0, "ab" 1) and for numbers that widen as GNU's do. Nothing for a suffix too
    // long to place (more than 18 digits).
    std::optional<std::uint64_t> placeOf(const std::string& suffix) const;

    // A place as the set's names write it, for messages: "3", "ac", "9000".
    std::string label(std::uint64_t place) const;

private:
    SuffixKind kind_ = SuffixKind::None;
    std::string stem_;
    std::vector<std::size_t> members_;
    std::size_t width_ = 0; // the shortest suffix's length
    bool widened_ = false;  // the members follow GNU's widening
};

} // namespace partwright
