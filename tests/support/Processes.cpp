#include "support/Processes.h"

#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>

namespace partwright::test {

std::vector<pid_t> ProcessesMentioning(const std::string& text)
{
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit))
            continue;
        const std::string commandLine = ReadFile(entry.path().string() + "/cmdline");
        const std::string status = ReadFile(entry.path().string() + "/stat");
        const bool zombie = status.find(") Z") != std::string::npos;
        if (!zombie && commandLine.find(text) != std::string::npos)
            found.push_back(static_cast<pid_t>(std::stol(name)));
    }
    return found;
}

} // namespace partwright::test
