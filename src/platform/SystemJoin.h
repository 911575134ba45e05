#pragma once

#include "platform/ChildCommand.h"

#include <string>
#include <vector>

namespace partwright {

// The child command that joins the parts, byte for byte and in the given order, into the
// destination, with this system's own command interpreter.
ChildCommand SystemJoinCommand(const std::vector<std::string>& parts,
                               const std::string& destinationText);

} // namespace partwright
