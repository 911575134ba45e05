#pragma once

#include "platform/ChildCommand.h"

#include <optional>
#include <string>
#include <vector>

namespace partwright {

class TemporaryImage;

// The child command that joins the parts, byte for byte and in the given order, into the
// temporary image with this system's own tools. The child only concatenates: the program itself
// puts the finished image in the destination's place.
ChildCommand SystemJoinCommand(const std::vector<std::string>& parts,
                               const TemporaryImage& temporary);

// Why this system's join cannot take these names, before anything runs; nothing when it can.
std::optional<std::string> SystemJoinRefusal(const std::vector<std::string>& parts,
                                             const std::string& destination);

} // namespace partwright
