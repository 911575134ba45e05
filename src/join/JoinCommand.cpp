#include "join/JoinCommand.h"

#include "text/Blanks.h"
#include "text/PasteString.h"

#include <utility>

namespace partwright {

namespace {

// Windows file names cannot contain double quotes, so enclosing them is enough.
std::string Quoted(const std::string& path)
{
    return '"' + path + '"';
}

// What a UTF-8 text takes in UTF-16: one unit a character, two past U+FFFF (four UTF-8 bytes).
std::size_t Utf16Length(const std::string& text)
{
    std::size_t units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) // not a continuation byte: a character starts
            units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

} // namespace

std::string JoinDestination(const std::string& destinationText)
{
    return std::string(TrimBlanks(destinationText));
}

std::string ShellSwitches(const std::string& shellName)
{
    return shellName == "cmd.exe" ? " /D /V:OFF /U /c " : " /c ";
}

std::vector<JoinStep> ComposeCopySteps(const std::string& shellPath, const std::string& shellName,
                                       const std::vector<std::string>& parts,
                                       const std::string& temporary, std::size_t longest)
{
    const std::string start =
        shellName + ShellSwitches(shellName) + "COPY /B /Y " + Quoted(temporary);
    const std::string end = " " + Quoted(temporary);
    const std::size_t fixed = Utf16Length(start) + Utf16Length(end);
    const auto cost = [](const std::string& part) {
        return Utf16Length(" + ") + Utf16Length(Quoted(part));
    };
    std::vector<JoinStep> steps;
    for (auto next = parts.begin(); next != parts.end();) {
        std::vector<std::string> quoted;
        std::size_t used = fixed;
        do {
            quoted.push_back(Quoted(*next));
            used += cost(*next);
            ++next;
        } while (next != parts.end() && used + cost(*next) <= longest);
        std::string line = start;
        line.append(" + ").append(PasteString(" + ", quoted)).append(end);
        steps.push_back({ChildCommand{{shellPath}, std::move(line)}, quoted.size()});
    }
    return steps;
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
