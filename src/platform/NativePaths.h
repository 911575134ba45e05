#pragma once

namespace partwright {

// The character that separates the directories of a path on this system.
char NativeSeparator();

} // namespace partwright
