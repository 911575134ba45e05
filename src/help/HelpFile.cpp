#include "help/HelpFile.h"

namespace partwright {

std::string HelpFilePath(const std::string& programDirectory, char separator)
{
    std::string path = programDirectory;
    if (path.empty() || path.back() != separator)
        path += separator;
    return path + kHelpFileName;
}

} // namespace partwright
