#include "text/PasteString.h"

#include "text/Blanks.h"

namespace partwright {

std::string PasteString(const std::string& PasteChar, const std::vector<std::string>& PasteItems)
{
    std::string accumulator;
    for (const auto& item : PasteItems) {
        if (IsBlank(item))
            continue;
        accumulator += item;
        accumulator += PasteChar;
    }
    if (!accumulator.empty())
        accumulator.resize(accumulator.size() - PasteChar.size());
    return accumulator;
}

} // namespace partwright
