#pragma once

#include <string>
#include <vector>

namespace partwright {

// The ordered list of part files as the list operations see it: entries at 1-based positions,
// each with a path and a selected flag, and at most one current entry. A position outside 1 to
// count() names no entry, and a call with one does no harm: text() gives an empty text,
// isSelected() false, and setSelected(), makeCurrent() and remove() leave the list as it is.
class InputList {
public:
    virtual ~InputList() = default;

    virtual int count() const = 0;
    virtual std::string text(int position) const = 0;
    virtual bool isSelected(int position) const = 0;
    virtual void setSelected(int position, bool selected) = 0;

    // The position of the current entry, 0 when there is none.
    virtual int currentItem() const = 0;

    // Makes the entry current and selects it; the other entries keep their selected flags.
    virtual void makeCurrent(int position) = 0;

    // Appends an entry at the end. The first entry appended to an empty list becomes current
    // and selected.
    virtual void append(const std::string& text) = 0;

    virtual void remove(int position) = 0;
    virtual void clear() = 0;

    // Gives the list the keyboard focus.
    virtual void focus() = 0;
};

// The entries' texts in list order.
std::vector<std::string> EntryTexts(const InputList& list);

} // namespace partwright
