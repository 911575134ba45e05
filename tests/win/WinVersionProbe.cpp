// Prints the version code and command interpreter of the Windows this program sees.
#include "join/ShellSelection.h"

#include <cstdio>

int main()
{
    std::printf("version %d, %s.\n", partwright::GetWinVersion(),
                partwright::GetShellName().c_str());
}
