// Ends with the exit code given as its argument, read as an unsigned 32-bit number.
#include <cstdlib>
#include <windows.h>

int main(int argc, char* argv[])
{
    ExitProcess(argc > 1 ? static_cast<UINT>(std::strtoul(argv[1], nullptr, 10)) : 0);
}
