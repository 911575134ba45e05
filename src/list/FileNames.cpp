#include "list/FileNames.h"

#include "text/Blanks.h"

namespace partwright {

namespace {

std::vector<std::string> SplitAtNul(const std::string& text)
{
    std::vector<std::string> pieces{{}};
    for (const char c : text) {
        if (c == '\0')
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}

// A name that is a whole path: it starts at the root (on Windows also at a share, \\server, or a
// drive, D:\x), so it names a file in another folder than the dialog's.
bool IsAbsoluteName(const std::string& name, char separator)
{
    if (!name.empty() && name.front() == separator)
        return true;
    const bool driveLetter = name.size() >= 3 && ((name[0] >= 'A' && name[0] <= 'Z') ||
                                                  (name[0] >= 'a' && name[0] <= 'z'));
    return separator == '\\' && driveLetter && name[1] == ':' && name[2] == '\\';
}

} // namespace

bool SplitFileNames(const std::string& dialogResult, char separator, std::string& directory,
                    std::vector<std::string>& paths)
{
    directory.clear();
    paths.clear();
    if (IsBlank(dialogResult))
        return false;

    const std::vector<std::string> pieces = SplitAtNul(dialogResult);
    if (pieces.size() == 1) {
        paths = pieces;
        return true;
    }

    directory = pieces.front();
    if (directory.empty() || directory.back() != separator)
        directory += separator;
    for (auto piece = pieces.rbegin(); piece != pieces.rend() - 1; ++piece)
        paths.push_back(IsAbsoluteName(*piece, separator) ? *piece : directory + *piece);
    return true;
}

} // namespace partwright
