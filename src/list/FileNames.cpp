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
        paths.push_back(directory + *piece);
    return true;
}

} // namespace partwright
