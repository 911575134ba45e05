// Ends with the exit code given as its argument, read as an unsigned 32-bit number.
// "exit_with sleep FILE" instead writes its process id to FILE and then waits two minutes: a
// long-lived grandchild whose end a test can watch for.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <windows.h>

int main(int argc, char* argv[])
{
    if (argc > 2 && std::strcmp(argv[1], "sleep") == 0) {
        // Written under another name and renamed, so a reader sees the whole id or nothing.
        const std::string partial = std::string(argv[2]) + ".partial";
        if (FILE* out = std::fopen(partial.c_str(), "w")) {
            std::fprintf(out, "%lu", GetCurrentProcessId());
            std::fclose(out);
            MoveFileA(partial.c_str(), argv[2]);
        }
        Sleep(2 * 60 * 1000);
        return 0;
    }
    ExitProcess(argc > 1 ? static_cast<UINT>(std::strtoul(argv[1], nullptr, 10)) : 0);
}
