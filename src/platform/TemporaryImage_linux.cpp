#include "platform/SystemError.h"
#include "platform/TemporaryImage.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace partwright {

namespace {

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when the name in the folder still leads to the open file.
bool StillNamed(int folder, const std::string& name, int file)
{
    struct stat named {};
    struct stat open {};
    return fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           fstat(file, &open) == 0 && SameFile(named, open);
}

// Opens a file in the folder for reading without ever waiting: a pipe or a device planted under
// the name gets no open that blocks, and is refused; -1 then.
int OpenRegularFile(int folder, const std::string& name)
{
    const int file =
        openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    struct stat status {};
    if (file >= 0 && (fstat(file, &status) != 0 || !S_ISREG(status.st_mode))) {
        close(file);
        errno = EINVAL;
        return -1;
    }
    return file;
}

// A temporary image nobody holds locked was left by a build whose program was killed. Only
// regular files are taken for one.
void RemoveAbandoned(int folder)
{
    const int listing = fcntl(folder, F_DUPFD_CLOEXEC, 0);
    DIR* entries = listing >= 0 ? fdopendir(listing) : nullptr;
    if (!entries) {
        if (listing >= 0)
            close(listing);
        return;
    }
    while (const dirent* entry = readdir(entries)) {
        const std::string name = entry->d_name;
        if (!IsTemporaryImageName(name))
            continue;
        const int file = OpenRegularFile(folder, name);
        if (file < 0)
            continue;
        if (flock(file, LOCK_EX | LOCK_NB) == 0 && StillNamed(folder, name, file))
            unlinkat(folder, name.c_str(), 0);
        close(file);
    }
    closedir(entries);
}

} // namespace

struct TemporaryImage::Impl {
    int folder = -1; // every step works relative to the folder, whatever its path's length
    int file = -1;   // open for writing and locked while this object lives
    std::string name;
    std::string destinationName;
    std::string path;
    std::atomic<bool> placed{false}; // set by the worker thread that places the image
};

TemporaryImage::TemporaryImage(const std::string& destination) : d(std::make_unique<Impl>())
{
    const std::filesystem::path target(destination);
    const std::string folderPath =
        target.has_parent_path() ? target.parent_path().string() : std::string(".");
    d->destinationName = target.filename().string();
    d->folder = open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (d->folder < 0)
        ThrowLastError(folderPath);
    RemoveAbandoned(d->folder);

    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = TemporaryImageName(random());
        const int file = openat(d->folder, name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (file < 0 && errno == EEXIST)
            continue;
        if (file < 0) {
            const std::error_code error = LastError();
            close(d->folder);
            throw std::system_error(error, folderPath);
        }
        // Another build may have found the file before the lock and taken it for abandoned.
        if (flock(file, LOCK_EX) != 0 || !StillNamed(d->folder, name, file)) {
            close(file);
            continue;
        }
        d->file = file;
        d->name = name;
        d->path = (std::filesystem::path(folderPath) / name).string();
        return;
    }
    close(d->folder);
    throw std::system_error(std::make_error_code(std::errc::file_exists), folderPath);
}

TemporaryImage::~TemporaryImage()
{
    if (!d->placed && StillNamed(d->folder, d->name, d->file))
        unlinkat(d->folder, d->name.c_str(), 0);
    close(d->file);
    close(d->folder);
}

const std::string& TemporaryImage::path() const
{
    return d->path;
}

int TemporaryImage::outputDescriptor() const
{
    return d->file;
}

std::uint64_t TemporaryImage::size() const
{
    struct stat status {};
    if (d->placed || fstat(d->file, &status) != 0)
        return 0;
    return static_cast<std::uint64_t>(status.st_size);
}

bool TemporaryImage::CanBeReadWhileWritten()
{
    return true;
}

std::unique_ptr<FileReader> TemporaryImage::readerWhileWritten() const
{
    const int file = OpenRegularFile(d->folder, d->name);
    if (file < 0)
        ThrowLastError(d->path);
    std::unique_ptr<FileReader> reader = FileReader::Adopt(file);
    struct stat opened {};
    struct stat written {};
    if (fstat(file, &opened) != 0 || fstat(d->file, &written) != 0 || !SameFile(opened, written))
        throw std::system_error(std::make_error_code(std::errc::no_such_file_or_directory),
                                d->path);
    return reader;
}

namespace {

PlaceOutcome Failed(const char* step)
{
    PlaceOutcome outcome;
    outcome.result = PlaceOutcome::Result::Failed;
    outcome.error = LastError();
    outcome.failedStep = step;
    return outcome;
}

} // namespace

PlaceOutcome TemporaryImage::flush(std::uint64_t expectedSize, const std::atomic<bool>& stop)
{
    PlaceOutcome outcome;
    if (StoppedBefore(outcome, stop))
        return outcome;
    if (fsync(d->file) != 0)
        return Failed("flush the image to disk");
    struct stat written {};
    if (fstat(d->file, &written) != 0)
        return Failed("measure the image");
    MayPlace(outcome, static_cast<std::uint64_t>(written.st_size), expectedSize, stop);
    return outcome;
}

PlaceOutcome TemporaryImage::place(const std::atomic<bool>& stop)
{
    PlaceOutcome outcome;
    if (StoppedBefore(outcome, stop))
        return outcome;
    // An image that replaces a file keeps that file's permissions. They are given only now: a
    // read-only mode from the start would have kept the join from writing.
    struct stat existing {};
    if (fstatat(d->folder, d->destinationName.c_str(), &existing, 0) == 0 &&
        S_ISREG(existing.st_mode) && fchmod(d->file, existing.st_mode & 07777) != 0)
        return Failed("give the image the permissions of the file it replaces");

    if (renameat(d->folder, d->name.c_str(), d->folder, d->destinationName.c_str()) != 0)
        return Failed("put the image in the destination's place");
    d->placed = true;
    outcome.result = PlaceOutcome::Result::Placed;
    if (fsync(d->folder) != 0)
        outcome.error = LastError();
    return outcome;
}

} // namespace partwright
