#pragma once

#include "list/InputList.h"

#include <string>
#include <utility>
#include <vector>

namespace partwright::test {

// The window list's rules, kept in memory.
class MemoryList : public InputList {
public:
    int count() const override { return static_cast<int>(entries_.size()); }
    std::string text(int position) const override
    {
        return has(position) ? entries_.at(position - 1).first : "";
    }
    bool isSelected(int position) const override
    {
        return has(position) && entries_.at(position - 1).second;
    }
    void setSelected(int position, bool on) override
    {
        if (has(position))
            entries_.at(position - 1).second = on;
    }
    int currentItem() const override { return current_; }
    void makeCurrent(int position) override
    {
        if (has(position))
            setSelected(current_ = position, true);
    }
    void append(const std::string& text) override
    {
        entries_.emplace_back(text, false);
        if (count() == 1)
            makeCurrent(1);
    }
    // A removed current entry hands over to the one above it, else to the one below.
    void remove(int position) override
    {
        if (!has(position))
            return;
        entries_.erase(entries_.begin() + (position - 1));
        if (current_ > position || (current_ == position && (position > 1 || count() == 0)))
            --current_;
    }
    void clear() override { entries_.clear(), current_ = 0; }
    void focus() override { ++focusCalls; }
    int focusCalls = 0;

private:
    bool has(int position) const { return position >= 1 && position <= count(); }
    std::vector<std::pair<std::string, bool>> entries_; // text, selected
    int current_ = 0;
};

} // namespace partwright::test
