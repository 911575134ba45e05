// exit_with CODE [FILE] ends with CODE, read as an unsigned 32-bit number. Given a FILE, it first
// writes its process id there and waits two minutes: a grandchild for a test to watch.
#include <cstdio>
#include <cstdlib>
#include <windows.h>

int main(int argc, char* argv[])
{
    if (FILE* out = argc > 2 ? std::fopen(argv[2], "w") : nullptr) {
        std::fprintf(out, "%lu", GetCurrentProcessId());
        std::fclose(out);
        Sleep(2 * 60 * 1000);
    }
    ExitProcess(std::strtoul(argv[1], nullptr, 10));
}
