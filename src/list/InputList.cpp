#include "list/InputList.h"

namespace partwright {

std::vector<std::string> EntryTexts(const InputList& list)
{
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(list.count()));
    for (int position = 1; position <= list.count(); ++position)
        texts.push_back(list.text(position));
    return texts;
}

} // namespace partwright
