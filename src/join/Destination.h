#pragma once

#include <string>

namespace partwright {

// A chosen destination is taken only when its name ends in ".iso", in any ASCII letter case,
// whatever the locale.
bool IsIsoName(const std::string& name);

} // namespace partwright
