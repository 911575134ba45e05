#include "list/PickedParts.h"

#include "list/ListOperations.h"
#include "list/modFunctions.h"
#include "platform/NativePaths.h"

#include <cstddef>
#include <filesystem>

namespace partwright {

namespace {

void EnterFolderOfPick(const std::string& directory, const std::vector<std::string>& paths)
{
    const std::filesystem::path folder =
        directory.empty() ? PathOf(paths.front()).parent_path() : PathOf(directory);
    if (!folder.empty())
        std::filesystem::current_path(folder);
}

} // namespace

std::string AddPickedParts(InputList& list, const std::string& directory,
                           std::vector<std::string> paths)
{
    EnterFolderOfPick(directory, paths);

    modFunctions::QuickSort(paths, 0, static_cast<std::ptrdiff_t>(paths.size()) - 1);
    AddListItems(list, paths);
    if (list.count() >= 1) {
        if (const int current = list.currentItem())
            list.setSelected(current, false);
        list.makeCurrent(1);
        list.focus();
    }
    return directory + kDefaultImageName;
}

std::string DirectoryOfDrop(const std::vector<std::string>& paths, char separator)
{
    return paths.front().substr(0, paths.front().find_last_of(separator) + 1);
}

void SortListview(InputList& list)
{
    const int count = list.count();
    if (count <= 0)
        return;
    std::vector<std::string> items = EntryTexts(list);
    modFunctions::QuickSort(items, 0, count - 1);
    list.clear();
    AddListItems(list, items);
    list.setSelected(list.currentItem(), false);
    list.focus();
}

} // namespace partwright
