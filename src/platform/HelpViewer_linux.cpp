#include "platform/ChildProcess.h"
#include "platform/HelpViewer.h"

#include <fcntl.h>
#include <unistd.h>

namespace partwright {

namespace {

// The desktop's own viewer through xdg-open, left running on its own: the shell ends at once,
// and only says whether there is an xdg-open to start.
constexpr const char* kStartViewer = "command -v xdg-open >/dev/null || exit 127\n"
                                     "xdg-open \"$1\" >/dev/null 2>&1 &\n";

} // namespace

bool StartHelpViewer(const std::string& helpFilePath)
{
    // xdg-open would only tell its error output about a file it cannot open: nobody would see it.
    const int file = open(helpFilePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    close(file);
    return ExecCmd(ChildCommand{{"/bin/sh", "-c", kStartViewer, "sh", helpFilePath}, {}}) == 0;
}

} // namespace partwright
