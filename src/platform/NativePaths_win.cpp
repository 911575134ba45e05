#include "platform/NativePaths.h"

namespace partwright {

char NativeSeparator()
{
    return '\\';
}

} // namespace partwright
