#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace partwright {

// The parts of a picked part's set that lie beside it and are not in the list yet.
struct RestOfSet {
    std::string folder;             // the parts' folder, ending in its separator
    std::vector<std::string> parts; // the set's parts the list lacks, the picked ones too
    std::size_t setSize = 0;        // the set's parts in the folder
    std::size_t others = 0;         // of them, those neither picked nor listed
    std::string question;           // the offer to add them, as the user reads it
};

// When every picked path is a part of one set (one stem, one kind of suffix) in one folder, and
// that folder holds further parts of it that neither were picked nor are listed: the offer to add
// them. Where two names of the folder take one place in the set ("D.01", "D.001"), the one written
// as the picked part is is taken. Nothing for files that are no parts, or a folder not read.
std::optional<RestOfSet> FindRestOfSet(const std::vector<std::string>& picked,
                                       const std::vector<std::string>& listed, char separator);

} // namespace partwright
