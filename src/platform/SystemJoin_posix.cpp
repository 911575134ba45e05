#include "build/JoinCommand.h"
#include "platform/SystemJoin.h"

namespace partwright {

ChildCommand SystemJoinCommand(const std::vector<std::string>& parts,
                               const std::string& destinationText)
{
    return ChildCommand{ComposeCatArguments("/bin/sh", parts, destinationText), {}};
}

} // namespace partwright
