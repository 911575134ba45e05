#pragma once

#include <string>
#include <vector>

namespace partwright {

// Joins the items that are not blank with the separator between them. Blank items leave no
// separator behind; items are taken unchanged, untrimmed.
std::string PasteString(const std::string& PasteChar, const std::vector<std::string>& PasteItems);

} // namespace partwright
