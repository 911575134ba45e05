#include "checksum/ChecksumPlan.h"

#include "checksum/ChecksumFile.h"
#include "platform/FileReader.h"
#include "platform/NativePaths.h"
#include "text/AsciiCase.h"
#include "text/ChecksumMessages.h"
#include "text/FileName.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

namespace partwright {

namespace {

namespace fs = std::filesystem;

// Checksum files are small; anything larger is not one.
constexpr std::size_t kLargestChecksumFile = std::size_t{4} * 1024 * 1024;

// "disc" for "DISC.001": the name before the part number, in small letters.
std::optional<std::string> PartStem(const std::string& part)
{
    const std::string name = AsciiLower(FileNameOf(part));
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 == name.size() ||
        !std::all_of(name.begin() + static_cast<std::ptrdiff_t>(dot) + 1, name.end(),
                     [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return name.substr(0, dot);
}

// The ending of a file name from its last dot, in small letters; empty when it has none.
std::string EndingOf(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : AsciiLower(name.substr(dot));
}

std::set<std::string> ChecksumFileNames(const std::string& stem, const std::string& destination)
{
    std::set<std::string> imageEndings{"", ".iso"};
    imageEndings.insert(EndingOf(FileNameOf(destination)));
    std::set<std::string> names;
    for (const std::string& image : imageEndings)
        for (const char* ending : kChecksumEndings)
            names.insert(stem + image + ending);
    return names;
}

// The folders to look in: the first part's, and the destination's if it is another.
std::vector<fs::path> Folders(const std::string& firstPart, const std::string& destination)
{
    std::vector<fs::path> folders{PathOf(firstPart).parent_path(),
                                  PathOf(destination).parent_path()};
    for (fs::path& folder : folders)
        if (folder.empty())
            folder = ".";
    std::error_code error;
    if (fs::equivalent(folders[0], folders[1], error) || folders[0] == folders[1])
        folders.pop_back();
    return folders;
}

std::vector<std::string> FindChecksumFiles(const std::vector<fs::path>& folders,
                                           const std::set<std::string>& wanted)
{
    std::vector<std::string> found;
    for (const fs::path& folder : folders) {
        std::error_code error;
        for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error)) {
            std::error_code kindError;
            if (!entry->is_directory(kindError) &&
                wanted.count(AsciiLower(NameOf(entry->path().filename()))))
                found.push_back(NameOf(entry->path()));
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

bool IsPartOf(const std::string& lowerName, const std::string& stem)
{
    return PartStem(lowerName) == stem;
}

// "disc.iso" and "disc" have the stem "disc"; a bare hash stands for its file's own name.
bool HasStem(const std::string& lowerName, const std::string& stem)
{
    if (lowerName.empty() || lowerName == stem)
        return true;
    const std::size_t dot = lowerName.rfind('.');
    return dot != std::string::npos && lowerName.compare(0, dot, stem) == 0 && dot == stem.size();
}

// Builds the plan from one checksum file after another.
class Planner {
public:
    Planner(const std::vector<std::string>& parts, std::string stem, std::uint64_t imageSize)
        : stem_(std::move(stem)), imageSize_(imageSize)
    {
        for (std::size_t i = 0; i < parts.size(); ++i)
            partsByName_[AsciiLower(FileNameOf(parts[i]))].push_back(i);
    }

    void add(const std::string& path)
    {
        const std::string file = FileNameOf(path);
        std::string text;
        try {
            text = ReadSmallFile(path, kLargestChecksumFile);
        } catch (const std::length_error&) {
            plan_.notes.push_back(messages::ChecksumFileTooLarge(file));
            return;
        } catch (const std::exception& error) {
            plan_.notes.push_back(messages::ChecksumFileNotRead(file, messages::DetailsOf(error)));
            return;
        }
        const std::vector<ChecksumEntry> entries = ParseChecksumFile(text, EndingOf(file));
        if (entries.empty()) {
            plan_.notes.push_back(messages::ChecksumFileNotUnderstood(file));
            return;
        }
        std::vector<const ChecksumEntry*> imageCandidates;
        for (const ChecksumEntry& entry : entries) {
            const std::string name = AsciiLower(FileNameOf(entry.name));
            if (const auto listed = partsByName_.find(name); listed != partsByName_.end()) {
                for (const std::size_t part : listed->second)
                    addPart({part, entry.algorithm, entry.hex, file});
            } else if (IsPartOf(name, stem_)) {
                plan_.findings.push_back(messages::PartNotListed(FileNameOf(entry.name), file));
            } else if (entries.size() == 1 || HasStem(name, stem_)) {
                imageCandidates.push_back(&entry);
            }
        }
        if (imageCandidates.size() > 1) {
            plan_.notes.push_back(messages::ChecksumFileAmbiguous(file, imageCandidates.size()));
        } else if (imageCandidates.size() == 1) {
            const ChecksumEntry& entry = *imageCandidates.front();
            if (entry.size && *entry.size != imageSize_)
                plan_.findings.push_back(messages::PartsSizeDiffers(imageSize_, file, *entry.size));
            if (!plan_.image || plan_.image->algorithm < entry.algorithm)
                plan_.image = ImageChecksum{entry.algorithm, entry.hex, entry.size, file};
        }
    }

    ChecksumPlan take()
    {
        for (auto& [part, checksum] : strongestOfPart_)
            plan_.parts.push_back(std::move(checksum));
        return std::move(plan_);
    }

private:
    void addPart(PartChecksum checksum)
    {
        const auto known = strongestOfPart_.find(checksum.part);
        if (known == strongestOfPart_.end() || known->second.algorithm < checksum.algorithm)
            strongestOfPart_[checksum.part] = std::move(checksum);
    }

    std::string stem_;
    std::uint64_t imageSize_;
    std::map<std::string, std::vector<std::size_t>> partsByName_;
    std::map<std::size_t, PartChecksum> strongestOfPart_; // in list order
    ChecksumPlan plan_;
};

} // namespace

ChecksumPlan PlanChecksums(const std::vector<std::string>& parts, const std::string& destination,
                           std::uint64_t imageSize)
{
    if (parts.empty())
        return {};
    const auto stem = PartStem(parts.front());
    if (!stem)
        return {};
    Planner planner(parts, *stem, imageSize);
    for (const std::string& file : FindChecksumFiles(Folders(parts.front(), destination),
                                                     ChecksumFileNames(*stem, destination)))
        planner.add(file);
    return planner.take();
}

} // namespace partwright
