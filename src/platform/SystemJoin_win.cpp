#include "build/JoinCommand.h"
#include "platform/SystemJoin.h"
#include "platform/WinVersion.h"

namespace partwright {

ChildCommand SystemJoinCommand(const std::vector<std::string>& parts, const std::string& temporary,
                               const std::string& destination)
{
    return ChildCommand{{}, ComposeCopyCommandLine(GetShellName(), parts, temporary, destination)};
}

} // namespace partwright
