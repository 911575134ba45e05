#pragma once

#include "platform/ChildCommand.h"

#include <cstddef>
#include <string>
#include <vector>

namespace partwright {

// The destination as it goes to the join: without surrounding blanks, which an unquoted command
// line used to drop and a quoted one would keep as part of the name.
std::string JoinDestination(const std::string& destinationText);

// Both joins only concatenate the parts into the temporary image; the program puts the finished
// image in the destination's place itself, so no child can replace anything.

// One child command of a join: it appends the next `parts` parts of the list, in order, to what
// the steps before it wrote.
struct JoinStep {
    ChildCommand command;
    std::size_t parts = 0;
};

// The longest command line cmd.exe takes, in UTF-16 units.
inline constexpr std::size_t kLongestCommandLine = 8191;

// What comes between the command interpreter's name and the COPY command. cmd.exe runs no AutoRun
// command from the registry first (/D), never changes a name with '!' whatever the user's
// delayed-expansion setting (/V:OFF), and writes its messages in UTF-16 (/U).
std::string ShellSwitches(const std::string& shellName);

// The COPY commands for cmd.exe or command.com that join any number of parts, in list order, in
// steps: each `COPY /B /Y "temporary" + "part" + ... "temporary"` appends its quoted parts to the
// temporary image in place, byte for byte (/B; /Y keeps COPY from asking a question nobody can
// answer). Each whole command line, the interpreter's name included, stays within `longest`
// UTF-16 units, with at least one part a step. The program at `shellPath` is started.
std::vector<JoinStep> ComposeCopySteps(const std::string& shellPath, const std::string& shellName,
                                       const std::vector<std::string>& parts,
                                       const std::string& temporary,
                                       std::size_t longest = kLongestCommandLine);

// Argument vector for cat, which writes the parts in list order to its standard output. Paths are
// separate arguments, and "--" keeps a name that starts with "-" a name.
std::vector<std::string> ComposeCatArguments(const std::string& catPath,
                                             const std::vector<std::string>& parts);

// The cat commands that join any number of parts in steps, each writing on at the end of the same
// output: as many parts a step as fit in `room` bytes of arguments, counted as the system counts
// them (each argument's bytes, its terminating NUL and its pointer), and at least one.
std::vector<JoinStep> ComposeCatSteps(const std::string& catPath,
                                      const std::vector<std::string>& parts, std::size_t room,
                                      int standardOutput);

} // namespace partwright
