#include "window/MainWindowLayout.h"

#include "Version.h"
#include "text/PasteString.h"

namespace partwright::layout {

std::string WindowTitle()
{
    return PasteString(" ", {"Partwright", "[" + std::string(VersionTriple()) + "]", "by Quillon"});
}

} // namespace partwright::layout
