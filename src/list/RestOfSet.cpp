#include "list/RestOfSet.h"

#include "list/PartName.h"
#include "list/PartSequence.h"
#include "platform/NativePaths.h"
#include "text/FileName.h"
#include "text/PartSetMessages.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string_view>
#include <system_error>

namespace partwright {

namespace {

struct Found {
    std::uint64_t place;
    std::string name; // without its folder
    PartName read;    // the name as a part's
};

// The parts of the picked set in the folder, one per place, in part order.
std::vector<Found> PartsInFolder(const std::string& folder, const PartName& picked)
{
    namespace fs = std::filesystem;
    std::vector<PartName> names;
    std::vector<std::string> files;
    std::error_code error;
    for (fs::directory_iterator entry(PathOf(folder), error), end; !error && entry != end;
         entry.increment(error)) {
        if (!entry->is_regular_file(error)) // no folder, pipe or device is a part
            continue;
        std::string file = NameOf(entry->path().filename());
        PartName name = ParsePartName(file);
        if (name.kind == picked.kind && ComparedName(name.stem) == ComparedName(picked.stem)) {
            names.push_back(std::move(name));
            files.push_back(std::move(file));
        }
    }
    if (error)
        return {};
    const PartSequence set(names);
    std::map<std::uint64_t, std::size_t> byPlace; // the member written as the picked part is
    for (const std::size_t member : set.members()) {
        const auto place = set.placeOf(names[member].suffix);
        if (!place)
            continue;
        const auto [at, added] = byPlace.try_emplace(*place, member);
        // Nearest the picked part's width, then the first by name: never the folder's own order.
        const auto rank = [&](std::size_t index) {
            const std::size_t width = names[index].suffix.size(), wanted = picked.suffix.size();
            return std::pair(width > wanted ? width - wanted : wanted - width,
                             std::string_view(files[index]));
        };
        if (!added && rank(member) < rank(at->second))
            at->second = member;
    }
    std::vector<Found> parts;
    parts.reserve(byPlace.size());
    for (const auto& [place, member] : byPlace)
        parts.push_back({place, files[member], names[member]});
    return parts;
}

// The first gap in the numbers, as the set's findings word it; empty when there is none.
std::string FirstGap(const std::vector<Found>& parts, SuffixKind kind, const PartSequence& set)
{
    const std::uint64_t first = kind == SuffixKind::Letters ? 0 : 1; // numbers may start at 0
    if (parts.front().place > first)
        return messages::PartsStartLate(parts.front().name, set.label(first),
                                        set.label(parts.front().place - 1));
    for (std::size_t i = 1; i < parts.size(); ++i)
        if (parts[i].place > parts[i - 1].place + 1)
            return messages::PartsMissingBetween(set.label(parts[i - 1].place + 1),
                                                 set.label(parts[i].place - 1), parts[i - 1].name,
                                                 parts[i].name);
    return {};
}

} // namespace

std::optional<RestOfSet> FindRestOfSet(const std::vector<std::string>& picked,
                                       const std::vector<std::string>& listed, char separator)
{
    if (picked.empty())
        return std::nullopt;
    const std::string folder = picked.front().substr(0, picked.front().find_last_of(separator) + 1);
    const PartName first = ParsePartName(picked.front());
    if (folder.empty() || first.kind == SuffixKind::None)
        return std::nullopt;
    std::set<std::string> taken; // picked or listed, as the system compares names
    for (const std::string& path : picked) {
        const PartName name = ParsePartName(path);
        if (ComparedName(path.substr(0, folder.size())) != ComparedName(folder) ||
            path.find(separator, folder.size()) != std::string::npos || name.kind != first.kind ||
            ComparedName(name.stem) != ComparedName(first.stem))
            return std::nullopt;
        taken.insert(ComparedName(path));
    }
    std::set<std::string> listedNames;
    for (const std::string& path : listed)
        listedNames.insert(ComparedName(path));

    std::vector<Found> parts;
    try {
        parts = PartsInFolder(folder, first);
    } catch (const std::exception&) {
        return std::nullopt; // a folder that cannot be read offers nothing; the pick goes on
    }
    RestOfSet rest;
    rest.folder = folder;
    rest.setSize = parts.size();
    for (const Found& part : parts) {
        const std::string path = folder + part.name;
        if (listedNames.count(ComparedName(path)))
            continue;
        rest.parts.push_back(path);
        rest.others += taken.count(ComparedName(path)) == 0;
    }
    if (rest.others == 0)
        return std::nullopt;
    // The question names the first picked part in part order, and the set's places as its names
    // write them.
    std::string firstPicked;
    std::vector<PartName> names;
    names.reserve(parts.size());
    for (const Found& part : parts) {
        names.push_back(part.read);
        if (firstPicked.empty() && taken.count(ComparedName(folder + part.name)))
            firstPicked = part.name;
    }
    if (firstPicked.empty()) // a picked name that another one of its place stands for
        firstPicked = FileNameOf(picked.front());
    const PartSequence set(names);
    const std::string shownFolder =
        folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
    rest.question =
        messages::AddRestOfSetQuestion(firstPicked, picked.size(), rest.setSize, first.stem,
                                       shownFolder, FirstGap(parts, first.kind, set), rest.others);
    return rest;
}

} // namespace partwright
