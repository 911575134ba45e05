#pragma once

#include <string>

namespace partwright {

// The system's own help viewer on the help file, not waited for. False when it cannot start, and
// where the viewer would not say so itself (Linux), when the help file cannot be read.
bool StartHelpViewer(const std::string& helpFilePath);

} // namespace partwright
