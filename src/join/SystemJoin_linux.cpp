#include "join/JoinCommand.h"
#include "join/SystemJoin.h"
#include "platform/TemporaryImage.h"

namespace partwright {

ChildCommand SystemJoinCommand(const std::vector<std::string>& parts,
                               const TemporaryImage& temporary)
{
    return ChildCommand{ComposeCatArguments("/bin/cat", parts), {}, temporary.outputDescriptor()};
}

std::optional<std::string> SystemJoinRefusal(const std::vector<std::string>& /*parts*/,
                                             const std::string& /*destination*/)
{
    // cat takes every name as it is, and the image is placed relative to its folder's handle.
    return std::nullopt;
}

} // namespace partwright
