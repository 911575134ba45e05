// Checks the version code and interpreter name of the Windows it runs on.
//   winver_NAME EXPECTED_CODE EXPECTED_SHELL
#include "join/ShellSelection.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char* argv[])
{
    if (argc != 3)
        return 2;
    const int code = partwright::GetWinVersion();
    const std::string shell = partwright::GetShellName();
    std::printf("version code %d, interpreter %s\n", code, shell.c_str());
    return code == std::atoi(argv[1]) && shell == argv[2] ? 0 : 1;
}
