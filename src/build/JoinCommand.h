#pragma once

#include "platform/ChildCommand.h"

#include <string>
#include <vector>

namespace partwright {

// The destination as it goes to the interpreter: without surrounding blanks, which an unquoted
// command line used to drop and a quoted one would keep as part of the name.
std::string JoinDestination(const std::string& destinationText);

// Command line for cmd.exe or command.com: COPY /B joins the quoted parts, in list order, into the
// quoted destination; /Y keeps an existing destination from asking a question nobody can answer.
std::string ComposeCopyCommandLine(const std::string& shellName,
                                   const std::vector<std::string>& parts,
                                   const std::string& destinationText);

// Argument vector for a POSIX shell that runs a constant script calling cat. The destination and
// the parts are separate arguments and never become part of the script text.
std::vector<std::string> ComposeCatArguments(const std::string& shellPath,
                                             const std::vector<std::string>& parts,
                                             const std::string& destinationText);

} // namespace partwright
