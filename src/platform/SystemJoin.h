#pragma once

#include "platform/ChildCommand.h"

#include <string>
#include <vector>

namespace partwright {

// The child command that joins the parts, byte for byte and in the given order, into the
// temporary file and then puts that in the destination's place, with this system's own command
// interpreter.
ChildCommand SystemJoinCommand(const std::vector<std::string>& parts, const std::string& temporary,
                               const std::string& destination);

} // namespace partwright
