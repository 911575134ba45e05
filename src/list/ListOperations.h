#pragma once

#include "list/InputList.h"

#include <string>
#include <vector>

namespace partwright {

// Appends one entry per text, in array order, after the entries already listed.
void AddListItems(InputList& lv, const std::vector<std::string>& items);

// Removes every selected entry; the entries behind a removed one move up.
void DeleteSelected(InputList& lv);

// Moves the selected entries one step up (Direction -1) or down (any other value) as one block.
// A selection with gaps is gathered into one block by the first move. Afterwards the block is
// selected, its last entry is current and the list has the focus.
void MoveListview(InputList& lv, int Direction);

} // namespace partwright
