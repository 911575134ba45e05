#include "join/JoinCommand.h"
#include "join/ShellSelection.h"
#include "join/SystemJoin.h"
#include "platform/NativePaths.h"
#include "platform/SystemPrograms_win.h"
#include "platform/TemporaryImage.h"
#include "platform/WideText_win.h"
#include "text/Messages.h"

#include <windows.h>

namespace partwright {

namespace {

// The longest path the system's file calls and the command interpreter take, in UTF-16 units.
constexpr std::size_t kLongestPath = MAX_PATH - 1;

// The temporary image's name in the destination's folder is always this long.
const std::size_t kTemporaryNameLength = TemporaryImageName(0).size();

std::optional<std::string> NameRefusal(const std::string& path)
{
    // cmd.exe expands %NAME% even inside quotes: the name would change under its hands.
    if (path.find('%') != std::string::npos)
        return messages::NameWithPercent(path);
    if (Wide(path).size() > kLongestPath)
        return messages::PathTooLong(path, kLongestPath);
    return std::nullopt;
}

} // namespace

std::vector<JoinStep> SystemJoinSteps(const std::vector<std::string>& parts,
                                      const TemporaryImage& temporary)
{
    // Full paths: the child runs in a local folder of its own, not the program's current one.
    std::vector<std::string> fullParts;
    fullParts.reserve(parts.size());
    for (const std::string& part : parts)
        fullParts.push_back(FullPath(part));
    const std::string shell = GetShellName();
    const std::string shellPath =
        shell == "cmd.exe" ? SystemFolderProgram(shell) : WindowsFolderProgram(shell);
    return ComposeCopySteps(shellPath, shell, fullParts, temporary.path());
}

std::optional<std::string> SystemJoinRefusal(const std::vector<std::string>& parts,
                                             const std::string& destination)
{
    for (const auto& part : parts) {
        if (auto refusal = NameRefusal(FullPath(part)))
            return refusal;
    }
    if (auto refusal = NameRefusal(destination))
        return refusal;
    // The image is written beside the destination first, under a name of its own.
    if (Wide(TemporaryImageFolder(destination)).size() + kTemporaryNameLength > kLongestPath)
        return messages::FolderPathTooLong(destination, kLongestPath);
    return std::nullopt;
}

} // namespace partwright
