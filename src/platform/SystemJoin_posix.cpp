#include "build/JoinCommand.h"
#include "platform/SystemJoin.h"

namespace partwright {

ChildCommand SystemJoinCommand(const std::vector<std::string>& parts, const std::string& temporary,
                               const std::string& destination)
{
    return ChildCommand{ComposeCatArguments("/bin/sh", parts, temporary, destination), {}};
}

} // namespace partwright
