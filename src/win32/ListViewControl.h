#pragma once

#include "list/InputList.h"

#include <string>
#include <vector>
#include <windows.h>

namespace partwright::win32 {

// The input list over the window's list view (report view, one column). The current entry is
// the focused item. It keeps the two rules the list operations rely on: the first entry appended
// to an empty list becomes current and selected, and making an entry current also selects it
// without touching the others. Each entry keeps the path's exact text beside the item, which
// shows it escaped (DisplayText), so bidirectional overrides in a name can neither hide nor
// reorder the line. Only this object changes the items.
class ListViewControl final : public InputList {
public:
    explicit ListViewControl(HWND view);

    int count() const override;
    std::string text(int position) const override;
    bool isSelected(int position) const override;
    void setSelected(int position, bool selected) override;
    int currentItem() const override;
    void makeCurrent(int position) override;
    void append(const std::string& text) override;
    void remove(int position) override;
    void clear() override;
    void focus() override;

private:
    HWND view_;
    std::vector<std::string> paths_; // in item order
};

} // namespace partwright::win32
