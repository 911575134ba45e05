#include "join/JoinCommand.h"

#include "join/PasteString.h"
#include "text/Blanks.h"

namespace partwright {

namespace {

// Windows file names cannot contain double quotes, so enclosing them is enough.
std::string Quoted(const std::string& path)
{
    return '"' + path + '"';
}

} // namespace

std::string JoinDestination(const std::string& destinationText)
{
    return std::string(TrimBlanks(destinationText));
}

std::string ComposeCopyCommandLine(const std::string& shellName,
                                   const std::vector<std::string>& parts,
                                   const std::string& temporary)
{
    std::vector<std::string> quotedParts;
    quotedParts.reserve(parts.size());
    for (const auto& part : parts)
        quotedParts.push_back(IsBlank(part) ? part : Quoted(part));

    return shellName + " /c " + "COPY /B /Y " + PasteString(" + ", quotedParts) + " " +
           Quoted(temporary);
}

std::vector<std::string> ComposeCatArguments(const std::string& catPath,
                                             const std::vector<std::string>& parts)
{
    std::vector<std::string> argv{catPath, "--"};
    argv.insert(argv.end(), parts.begin(), parts.end());
    return argv;
}

std::vector<JoinStep> ComposeCatSteps(const std::string& catPath,
                                      const std::vector<std::string>& parts, std::size_t room,
                                      int standardOutput)
{
    const auto cost = [](const std::string& argument) {
        return argument.size() + 1 + sizeof(char*);
    };
    const std::size_t fixed = cost(catPath) + cost("--") + sizeof(char*); // and argv's end
    std::vector<JoinStep> steps;
    for (auto part = parts.begin(); part != parts.end();) {
        auto end = part + 1;
        for (std::size_t used = fixed + cost(*part); end != parts.end(); ++end) {
            used += cost(*end);
            if (used > room)
                break;
        }
        const std::vector<std::string> stepParts(part, end);
        steps.push_back({ChildCommand{ComposeCatArguments(catPath, stepParts), {}, standardOutput},
                         stepParts.size()});
        part = end;
    }
    return steps;
}

} // namespace partwright
