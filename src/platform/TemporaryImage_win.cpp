#include "platform/SystemError.h"
#include "platform/TemporaryImage.h"
#include "platform/WideText_win.h"

#include <random>
#include <windows.h>

namespace partwright {

namespace {

// A live image is marked by a named mutex that the system removes with the process holding it,
// so a killed program's image has no mark. The file itself cannot carry the mark: COPY opens it
// for writing without sharing, which any handle that keeps the file from being deleted would
// block.
std::wstring MarkName(const std::string& fileName)
{
    return Wide("partwright-temporary-image" + fileName);
}

bool IsMarked(const std::string& fileName)
{
    const HANDLE mark = OpenMutexW(SYNCHRONIZE, FALSE, MarkName(fileName).c_str());
    if (mark) {
        CloseHandle(mark);
        return true;
    }
    return GetLastError() == ERROR_ACCESS_DENIED; // marked by another user's build
}

// Removes the images that killed builds left in the folder. Files nobody marks can still be in
// use (a child writing, a build on another computer); deleting those fails, which leaves them.
void RemoveLeftImages(const std::string& folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Wide(folder + ".partwright-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = Utf8(found.cFileName);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsTemporaryImageName(name) &&
            !IsMarked(name))
            DeleteFileW(Wide(folder + name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// Another program may hold a file for a moment (a virus scanner, an indexer, a viewer): a call
// that meets it is tried again for about two seconds, unless somebody asks to stop. False, with
// the call's last error, when it did not succeed.
template <typename Call> bool TriedWhileHeld(Call call, const std::atomic<bool>& stop)
{
    constexpr int kTries = 20;
    constexpr DWORD kPause = 100; // milliseconds
    for (int tried = 1;; ++tried) {
        if (call())
            return true;
        const DWORD error = GetLastError();
        const bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                          error == ERROR_LOCK_VIOLATION;
        if (!held || tried == kTries || stop) {
            SetLastError(error);
            return false;
        }
        Sleep(kPause);
    }
}

} // namespace

struct TemporaryImage::Impl {
    std::string destination;
    std::string path;
    HANDLE mark = nullptr;
    bool placed = false;
};

std::string TemporaryImageFolder(const std::string& destination)
{
    const auto end = destination.find_last_of("\\/:");
    return end == std::string::npos ? std::string() : destination.substr(0, end + 1);
}

TemporaryImage::TemporaryImage(const std::string& destination) : d(std::make_unique<Impl>())
{
    d->destination = destination;
    const std::string folder = TemporaryImageFolder(destination);
    RemoveLeftImages(folder);

    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = TemporaryImageName(static_cast<std::uint32_t>(random()));
        // The mark comes first, so no other build ever sees this file unmarked.
        const HANDLE mark = CreateMutexW(nullptr, FALSE, MarkName(name).c_str());
        if (!mark && GetLastError() != ERROR_ACCESS_DENIED)
            ThrowLastError(folder + name);
        if (!mark || GetLastError() == ERROR_ALREADY_EXISTS) {
            if (mark)
                CloseHandle(mark);
            continue; // the number is in use somewhere
        }
        const std::string path = folder + name;
        // Not hidden: COPY opens its target as a new file with normal attributes, which Windows
        // refuses on an existing hidden, system or read-only file.
        const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const std::error_code error = LastError();
            CloseHandle(mark);
            if (error.value() == ERROR_FILE_EXISTS)
                continue;
            throw std::system_error(error, path);
        }
        CloseHandle(file);
        d->path = path;
        d->mark = mark;
        return;
    }
    throw std::system_error(ERROR_FILE_EXISTS, std::system_category(), destination);
}

TemporaryImage::~TemporaryImage()
{
    if (!d->placed)
        DeleteFileW(Wide(d->path).c_str());
    CloseHandle(d->mark); // after the file: an unmarked image is free for others to remove
}

const std::string& TemporaryImage::path() const
{
    return d->path;
}

int TemporaryImage::outputDescriptor() const
{
    return -1;
}

std::uint64_t TemporaryImage::size() const
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(d->path).c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// COPY opens the image for writing without sharing it.
std::unique_ptr<FileReader> TemporaryImage::readerWhileWritten() const
{
    return nullptr;
}

bool TemporaryImage::CanBeReadWhileWritten()
{
    return false;
}

namespace {

PlaceOutcome Failed(std::error_code error, const char* step)
{
    PlaceOutcome outcome;
    outcome.result = PlaceOutcome::Result::Failed;
    outcome.error = error;
    outcome.failedStep = step;
    return outcome;
}

} // namespace

PlaceOutcome TemporaryImage::flush(std::uint64_t expectedSize, const std::atomic<bool>& stop)
{
    PlaceOutcome outcome;
    if (StoppedBefore(outcome, stop))
        return outcome;
    // Not shared for deleting: nobody removes the image while it is flushed and measured.
    HANDLE file = INVALID_HANDLE_VALUE;
    const bool opened = TriedWhileHeld(
        [&] {
            file = CreateFileW(Wide(d->path).c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
            return file != INVALID_HANDLE_VALUE;
        },
        stop);
    if (!opened && StoppedBefore(outcome, stop))
        return outcome;
    if (!opened)
        return Failed(LastError(), "open the image");
    LARGE_INTEGER size{};
    const bool flushed = FlushFileBuffers(file);
    const std::error_code flushError = LastError();
    const bool measured = flushed && GetFileSizeEx(file, &size);
    const std::error_code sizeError = LastError();
    CloseHandle(file);
    if (!flushed)
        return Failed(flushError, "flush the image to disk");
    if (!measured)
        return Failed(sizeError, "measure the image");
    MayPlace(outcome, static_cast<std::uint64_t>(size.QuadPart), expectedSize, stop);
    return outcome;
}

PlaceOutcome TemporaryImage::place(const std::atomic<bool>& stop)
{
    PlaceOutcome outcome;
    if (StoppedBefore(outcome, stop))
        return outcome;
    const std::wstring widePath = Wide(d->path);
    const std::wstring wideDestination = Wide(d->destination);
    const wchar_t* const path = widePath.c_str();
    const wchar_t* const destination = wideDestination.c_str();

    // Attributes move with the file: the image keeps a replaced destination's read-only and
    // hidden attributes. Windows replaces no read-only file, so the destination loses them first.
    const DWORD imageAttributes = GetFileAttributesW(path);
    if (imageAttributes == INVALID_FILE_ATTRIBUTES)
        return Failed(LastError(), "read the image's attributes");
    constexpr DWORD kCarried = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    const DWORD destinationAttributes = GetFileAttributesW(destination);
    const DWORD carried = destinationAttributes != INVALID_FILE_ATTRIBUTES &&
                                  !(destinationAttributes & FILE_ATTRIBUTE_DIRECTORY)
                              ? destinationAttributes & kCarried
                              : 0;
    const DWORD placedAttributes = (imageAttributes & ~kCarried) | carried;
    if (!SetFileAttributesW(path, placedAttributes ? placedAttributes : FILE_ATTRIBUTE_NORMAL))
        return Failed(LastError(), "give the image the destination's attributes");

    const auto undo = [&](const char* step) {
        const std::error_code error = LastError();
        if (carried)
            SetFileAttributesW(destination, destinationAttributes);
        SetFileAttributesW(path, imageAttributes);
        if (StoppedBefore(outcome, stop))
            return outcome;
        return Failed(error, step);
    };
    if (carried && !SetFileAttributesW(destination, destinationAttributes & ~kCarried))
        return undo("clear the destination's read-only and hidden attributes");
    // Write-through: the rename is on disk, the folder flushed, when the call returns.
    const bool moved = TriedWhileHeld(
        [&] {
            return MoveFileExW(path, destination,
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        },
        stop);
    if (!moved)
        return undo("put the image in the destination's place");

    d->placed = true;
    outcome.result = PlaceOutcome::Result::Placed;
    return outcome;
}

} // namespace partwright
