#include "platform/ChildProcess.h"

namespace partwright {

std::int32_t ExecCmd(const ChildCommand& cmdline)
{
    ChildProcess child;
    if (const int error = child.start(cmdline))
        return error;
    child.wait();
    return child.outcome().exitCode;
}

} // namespace partwright
