#pragma once

#include "platform/ChildCommand.h"

#include <string>
#include <vector>

namespace partwright {

// The destination as it goes to the interpreter: without surrounding blanks, which an unquoted
// command line used to drop and a quoted one would keep as part of the name.
std::string JoinDestination(const std::string& destinationText);

// Both joins write the image to a temporary file beside the destination first and only then put
// it in the destination's place, so a join that fails or is stopped leaves the destination as it
// was.

// Command line for cmd.exe or command.com: COPY /B joins the quoted parts, in list order, into the
// temporary file and MOVE puts it in place. /Y keeps both from asking a question nobody can
// answer.
std::string ComposeCopyCommandLine(const std::string& shellName,
                                   const std::vector<std::string>& parts,
                                   const std::string& temporary, const std::string& destination);

// Argument vector for a POSIX shell running a constant script: cat joins the parts into the
// temporary file, sync flushes it to disk, mv renames it over the destination and the folder is
// flushed too. Paths are separate arguments and never become part of the script text.
std::vector<std::string> ComposeCatArguments(const std::string& shellPath,
                                             const std::vector<std::string>& parts,
                                             const std::string& temporary,
                                             const std::string& destination);

} // namespace partwright
