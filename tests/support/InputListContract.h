#pragma once

#include "list/InputList.h"

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace partwright::test {

// "A B C* D* E": letters are entries, an asterisk marks a selected one, ">" the current one.
inline std::string Listing(const InputList& list, bool withCurrent = true)
{
    std::string listing;
    for (int position = 1; position <= list.count(); ++position)
        listing += std::string(position > 1 ? " " : "") +
                   (withCurrent && position == list.currentItem() ? ">" : "") +
                   list.text(position) + (list.isSelected(position) ? "*" : "");
    return listing;
}

// What every input list does, written once for all of them: each row's calls go to the list
// "A B C" as appending makes it, ">A* B C". Positions outside 1 to count() name no entry. Each row
// gives its calls, what they returned (in brackets), a bar and the listing after them, and beside
// that what it should be.
inline std::vector<std::pair<std::string, std::string>> InputListContract(InputList& list)
{
    const std::pair<const char*, const char*> rows[] = {
        {"", "|>A* B C"},
        {"text 1 text 3 selected 1 selected 2", "[A][C][yes][no]|>A* B C"},
        {"text 0 text 4 text -1 selected 0 selected 4", "[][][][no][no]|>A* B C"},
        {"select 2 unselect 1 current 3", "|A B* >C*"},
        {"current 2", "|A* >B* C"},
        {"select 0 select 4 unselect -1 current 0 current 4 current -1", "|>A* B C"},
        {"remove 2 remove 0 remove 3 remove -1", "|>A* C"},
        {"clear text 1 selected 1 select 1 current 1 remove 1", "[][no]|"},
    };
    std::vector<std::pair<std::string, std::string>> outcomes;
    for (const auto& [calls, expected] : rows) {
        list.clear();
        for (const char* text : {"A", "B", "C"})
            list.append(text);
        std::istringstream words(calls);
        std::string returned;
        for (std::string call; words >> call;) {
            int position = 0;
            if (call != "clear")
                words >> position;
            if (call == "text")
                returned += "[" + list.text(position) + "]";
            else if (call == "selected")
                returned += list.isSelected(position) ? "[yes]" : "[no]";
            else if (call == "select" || call == "unselect")
                list.setSelected(position, call == "select");
            else if (call == "current")
                list.makeCurrent(position);
            else if (call == "remove")
                list.remove(position);
            else if (call == "clear")
                list.clear();
            else
                returned += "[unknown call " + call + "]";
        }
        const std::string row = calls + std::string(": ");
        outcomes.emplace_back(row + returned + "|" + Listing(list), row + expected);
    }
    return outcomes;
}

} // namespace partwright::test
