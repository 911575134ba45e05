#pragma once

#include "join/JoinCommand.h"

#include <optional>
#include <string>
#include <vector>

namespace partwright {

class TemporaryImage;

// The child commands that join the parts, byte for byte and in the given order, into the
// temporary image with this system's own tools: one, or several in turn when the parts' names
// together pass what one command line can take. The children only concatenate: the program
// itself puts the finished image in the destination's place.
std::vector<JoinStep> SystemJoinSteps(const std::vector<std::string>& parts,
                                      const TemporaryImage& temporary);

// Why this system's join cannot take these names, before anything runs; nothing when it can.
std::optional<std::string> SystemJoinRefusal(const std::vector<std::string>& parts,
                                             const std::string& destination);

} // namespace partwright
