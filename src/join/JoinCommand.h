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

// Command line for cmd.exe or command.com: COPY /B joins the quoted parts, in list order, into the
// temporary file. /Y keeps it from asking a question nobody can answer.
std::string ComposeCopyCommandLine(const std::string& shellName,
                                   const std::vector<std::string>& parts,
                                   const std::string& temporary);

// Argument vector for cat, which writes the parts in list order to its standard output. Paths are
// separate arguments, and "--" keeps a name that starts with "-" a name.
std::vector<std::string> ComposeCatArguments(const std::string& catPath,
                                             const std::vector<std::string>& parts);

// One child command of a join: it appends the next `parts` parts of the list, in order, to what
// the steps before it wrote.
struct JoinStep {
    ChildCommand command;
    std::size_t parts = 0;
};

// The cat commands that join any number of parts in steps, each writing on at the end of the same
// output: as many parts a step as fit in `room` bytes of arguments, counted as the system counts
// them (each argument's bytes, its terminating NUL and its pointer), and at least one.
std::vector<JoinStep> ComposeCatSteps(const std::string& catPath,
                                      const std::vector<std::string>& parts, std::size_t room,
                                      int standardOutput);

} // namespace partwright
