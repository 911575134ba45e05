#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace partwright::test {

// The running processes whose command line mentions the text (zombies excluded).
std::vector<pid_t> ProcessesMentioning(const std::string& text);

} // namespace partwright::test
