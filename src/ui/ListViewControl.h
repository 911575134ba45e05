#pragma once

#include "list/InputList.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace partwright {

// The input list over the window's list view. It adds the two rules the list operations rely on
// and Qt's views do not keep by themselves: the first entry appended to an empty list becomes
// current and selected, and making an entry current also selects it without touching the others.
// Each entry keeps the path's exact bytes, so names that are not valid text survive a round trip,
// and shows it escaped (DisplayText), so control characters or bidirectional overrides in a name
// can neither break nor reorder the line.
class ListViewControl final : public InputList {
public:
    explicit ListViewControl(QTreeWidget& view);

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
    QTreeWidgetItem* item(int position) const;

    QTreeWidget& view_;
};

} // namespace partwright
