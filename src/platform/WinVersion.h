#pragma once

#include <string>

namespace partwright {

// The version code of the running Windows system (1 to 11; 11 whenever the query fails).
int GetWinVersion();

// The command interpreter that joins on the running Windows system: "command.com" or "cmd.exe".
std::string GetShellName();

} // namespace partwright
