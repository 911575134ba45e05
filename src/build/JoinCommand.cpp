#include "build/JoinCommand.h"

#include "build/PasteString.h"
#include "text/Blanks.h"

namespace partwright {

namespace {

// Windows file names cannot contain double quotes, so enclosing them is enough.
std::string Quoted(const std::string& path)
{
    return '"' + path + '"';
}

// "$1" is the temporary file, "$2" the destination; the parts follow. "--" keeps a name that
// starts with "-" a name.
constexpr const char* kCatScript = "tmp=$1\n"
                                   "dest=$2\n"
                                   "shift 2\n"
                                   "cat -- \"$@\" > \"$tmp\" || exit\n"
                                   "sync -- \"$tmp\" || exit\n"
                                   "mv -f -T -- \"$tmp\" \"$dest\" || exit\n"
                                   "exec sync -- \"$(dirname -- \"$dest\")\"\n";

} // namespace

std::string JoinDestination(const std::string& destinationText)
{
    return std::string(TrimBlanks(destinationText));
}

std::string ComposeCopyCommandLine(const std::string& shellName,
                                   const std::vector<std::string>& parts,
                                   const std::string& temporary, const std::string& destination)
{
    std::vector<std::string> quotedParts;
    quotedParts.reserve(parts.size());
    for (const auto& part : parts)
        quotedParts.push_back(IsBlank(part) ? part : Quoted(part));

    return shellName + " /c " + "COPY /B /Y " + PasteString(" + ", quotedParts) + " " +
           Quoted(temporary) + " && MOVE /Y " + Quoted(temporary) + " " + Quoted(destination);
}

std::vector<std::string> ComposeCatArguments(const std::string& shellPath,
                                             const std::vector<std::string>& parts,
                                             const std::string& temporary,
                                             const std::string& destination)
{
    std::vector<std::string> argv{shellPath, "-c", kCatScript, "sh", temporary, destination};
    argv.insert(argv.end(), parts.begin(), parts.end());
    return argv;
}

} // namespace partwright
