#pragma once

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

} // namespace partwright
