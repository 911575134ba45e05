#pragma once

#include "list/InputList.h"

#include <string>
#include <vector>

namespace partwright {

// Appends one entry per text, in array order, after the entries already listed.
void AddListItems(InputList& lv, const std::vector<std::string>& items);

// Removes every selected entry; the entries behind a removed one move up.
void DeleteSelected(InputList& lv);

} // namespace partwright
