#include "join/ShellSelection.h"

namespace partwright {

int GetWinVersion()
{
    try {
        return ClassifyWinVersion(QueryWinVersionRecord());
    } catch (...) {
        return kUnknownWinVersion;
    }
}

std::string GetShellName()
{
    return ShellNameForVersion(GetWinVersion());
}

} // namespace partwright
