#pragma once

#include <string>
#include <vector>

namespace partwright {

// What the platform layer starts as the joining child process. POSIX systems start a program with
// an argument vector; Windows hands one command line to the system, which finds the program from
// its first word.
struct ChildCommand {
    std::vector<std::string> argv; // argv[0] is the program's path
    std::string commandLine;
    // POSIX: an open descriptor that becomes the child's standard output; -1 sends it nowhere.
    int standardOutput = -1;
};

} // namespace partwright
