#include "platform/FileReader.h"

#include <stdexcept>

namespace partwright {

std::string ReadSmallFile(const std::string& path, std::size_t limit)
{
    FileReader reader(path);
    std::string content(limit + 1, '\0');
    std::size_t size = 0;
    while (size < content.size()) {
        const std::size_t got = reader.read(content.data() + size, content.size() - size);
        if (got == 0)
            break;
        size += got;
    }
    if (size > limit)
        throw std::length_error(path);
    content.resize(size);
    return content;
}

} // namespace partwright
