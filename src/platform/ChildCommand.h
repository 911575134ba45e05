#pragma once

#include <string>
#include <vector>

namespace partwright {

// What the platform layer starts as the joining child process. POSIX systems start a program with
// an argument vector; Windows starts the program at argv[0]'s full path and hands it one command
// line, whose first word is the program's name as the child should see it.
struct ChildCommand {
    std::vector<std::string> argv; // argv[0] is the program's path; Windows: the only entry
    std::string commandLine;       // Windows only
    // POSIX: an open descriptor that becomes the child's standard output; -1 sends it nowhere.
    int standardOutput = -1;
};

} // namespace partwright
