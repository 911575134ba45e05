#include "checksum/ChecksumPlan.h"

#include "checksum/ChecksumFile.h"
#include "list/PartName.h"
#include "list/PartSequence.h"
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
        for (const char* ending : ChecksumEndings())
            names.insert(stem + image + ending);
    return names;
}

// The folders to look in: the set's, and the destination's if it is another.
std::vector<fs::path> Folders(const std::string& member, const std::string& destination)
{
    std::vector<fs::path> folders{PathOf(member).parent_path(), PathOf(destination).parent_path()};
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

// The listed set as checksum lines name it: its stem in small letters and its kind of suffix.
struct SetName {
    std::string stem;
    SuffixKind kind = SuffixKind::None;
};

bool IsPartOf(const std::string& lowerName, const SetName& set)
{
    const PartName name = ParsePartName(lowerName);
    return name.kind == set.kind && name.stem == set.stem;
}

// "disc.iso" and "disc" have the stem "disc"; a bare hash stands for its file's own name.
bool HasStem(const std::string& lowerName, const std::string& stem)
{
    if (lowerName.empty() || lowerName == stem)
        return true;
    const std::size_t dot = lowerName.rfind('.');
    return dot != std::string::npos && lowerName.compare(0, dot, stem) == 0 && dot == stem.size();
}

// A checksum that a line gives a file.
struct Given {
    Algorithm algorithm = Algorithm::Crc32;
    std::string hex;
    std::string checksumFile;
    std::optional<std::uint64_t> size;
};

struct WeakestFirst {
    bool operator()(Algorithm a, Algorithm b) const { return Weaker(a, b); }
};

// The lines that give one file its checksums, by algorithm, weakest first.
using Lines = std::map<Algorithm, std::vector<Given>, WeakestFirst>;

struct Reading {
    std::optional<Given> strongest; // of the algorithms whose lines agree
    std::vector<messages::DifferingChecksums> differing;
};

Reading Read(const Lines& lines)
{
    Reading reading;
    for (const auto& [algorithm, given] : lines) {
        const Given& first = given.front();
        const auto other = std::find_if(given.begin(), given.end(),
                                        [&](const Given& g) { return g.hex != first.hex; });
        if (other == given.end()) {
            reading.strongest = first;
            continue;
        }
        reading.differing.push_back({AlgorithmName(algorithm), ShownChecksum(algorithm, first.hex),
                                     first.checksumFile, ShownChecksum(algorithm, other->hex),
                                     other->checksumFile});
    }
    return reading;
}

// Builds the plan from one checksum file after another.
class Planner {
public:
    Planner(const std::vector<std::string>& parts, SetName set, const std::string& destination,
            std::uint64_t imageSize)
        : parts_(parts), set_(std::move(set)), destination_(AsciiLower(FileNameOf(destination))),
          imageSize_(imageSize)
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
        const auto [entries, notComputable] = ParseChecksumFile(text, EndingOf(file));
        for (const std::string& algorithm : notComputable)
            plan_.notes.push_back(messages::ChecksumsNotComputable(file, algorithm));
        if (entries.empty()) {
            if (notComputable.empty())
                plan_.notes.push_back(messages::ChecksumFileNotUnderstood(file));
            return;
        }
        std::vector<Given> destinationNamed, stemFound;
        for (const ChecksumEntry& entry : entries) {
            const std::string name = AsciiLower(FileNameOf(entry.name));
            Given given{entry.algorithm, entry.hex, file, entry.size};
            if (partsByName_.count(name))
                partLines_[name][entry.algorithm].push_back(std::move(given));
            else if (!name.empty() && name == destination_)
                destinationNamed.push_back(std::move(given));
            else if (IsPartOf(name, set_))
                plan_.findings.push_back(messages::PartNotListed(FileNameOf(entry.name), file));
            else if (entries.size() == 1 || HasStem(name, set_.stem))
                stemFound.push_back(std::move(given));
        }
        // A line that names the destination leaves no doubt which is the image's.
        if (!destinationNamed.empty()) {
            for (Given& given : destinationNamed)
                destinationLines_[given.algorithm].push_back(std::move(given));
        } else if (stemFound.size() > 1) {
            plan_.notes.push_back(messages::ChecksumFileAmbiguous(file, stemFound.size()));
        } else if (stemFound.size() == 1) {
            stemLines_[stemFound.front().algorithm].push_back(std::move(stemFound.front()));
        }
    }

    ChecksumPlan take();

private:
    const std::vector<std::string>& parts_;
    SetName set_;
    std::string destination_; // its file name in small letters
    std::uint64_t imageSize_;
    std::map<std::string, std::vector<std::size_t>> partsByName_; // file names in small letters
    std::map<std::string, Lines> partLines_;
    Lines destinationLines_; // the image's lines that name the destination
    Lines stemLines_;        // and those found by the stem, used where no line names it
    ChecksumPlan plan_;
};

ChecksumPlan Planner::take()
{
    std::map<std::string, std::optional<Given>> agreed; // by part name, in small letters
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        const std::string name = AsciiLower(FileNameOf(parts_[i]));
        const auto lines = partLines_.find(name);
        if (lines == partLines_.end())
            continue;
        auto known = agreed.find(name);
        if (known == agreed.end()) {
            Reading reading = Read(lines->second);
            for (const auto& differing : reading.differing)
                plan_.findings.push_back(
                    messages::PartChecksumsDiffer(FileNameOf(parts_[i]), differing));
            known = agreed.emplace(name, std::move(reading.strongest)).first;
        }
        if (const auto& given = known->second)
            plan_.parts.push_back({i, given->algorithm, given->hex, given->checksumFile});
    }

    const Lines& image = destinationLines_.empty() ? stemLines_ : destinationLines_;
    Reading reading = Read(image);
    for (const auto& differing : reading.differing)
        plan_.findings.push_back(messages::ImageChecksumsDiffer(differing));
    for (const auto& [algorithm, lines] : image)
        for (const Given& given : lines)
            if (given.size && *given.size != imageSize_)
                plan_.findings.push_back(
                    messages::PartsSizeDiffers(imageSize_, given.checksumFile, *given.size));
    if (const auto& given = reading.strongest)
        plan_.image = ImageChecksum{given->algorithm, given->hex, given->size, given->checksumFile};
    return std::move(plan_);
}

} // namespace

ChecksumPlan PlanChecksums(const std::vector<std::string>& parts, const std::string& destination,
                           std::uint64_t imageSize)
{
    std::vector<PartName> names;
    names.reserve(parts.size());
    for (const std::string& part : parts)
        names.push_back(ParsePartName(part));
    const PartSequence set(names);
    if (set.members().empty())
        return {};
    SetName setName{AsciiLower(set.stem()), set.kind()};
    const auto files = FindChecksumFiles(Folders(parts[set.members().front()], destination),
                                         ChecksumFileNames(setName.stem, destination));
    Planner planner(parts, std::move(setName), destination, imageSize);
    for (const std::string& file : files)
        planner.add(file);
    return planner.take();
}

} // namespace partwright
