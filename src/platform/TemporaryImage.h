#pragma once

#include "platform/FileReader.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <system_error>

namespace partwright {

// How putting a written image in the destination's place ended.
struct PlaceOutcome {
    enum class Result {
        Ready,       // flushed, of the size the parts had; nothing replaced yet
        Placed,      // the image is the destination now
        Stopped,     // asked to stop before anything was replaced; the destination is as it was
        SizeDiffers, // the file does not have the size the parts had; the destination is as it was
        Failed,      // a step failed before anything was replaced; the destination is as it was
    };
    Result result = Result::Failed;
    std::uint64_t writtenSize = 0;
    std::error_code error;  // Failed: why; Placed: the folder could not be flushed to disk
    std::string failedStep; // Failed: what could not be done ("flush the image to disk")
};

// The file an image is written to before it takes the destination's place: a new file with a
// short name in the destination's folder that starts with a dot (hidden on Linux; on Windows the
// file carries no hidden attribute, which would keep COPY from writing it). While this object lives
// the file is locked, so a later build can tell a file left behind by a program that was killed
// (which it removes) from one that is still being written (which it leaves alone). Dropping the
// object removes the file unless it has taken the destination's place.
class TemporaryImage {
public:
    // Removes what killed builds left in the destination's folder, then creates the file.
    // Throws std::system_error when the file cannot be created.
    explicit TemporaryImage(const std::string& destination);
    ~TemporaryImage();
    TemporaryImage(const TemporaryImage&) = delete;
    TemporaryImage& operator=(const TemporaryImage&) = delete;

    // The file's full path.
    const std::string& path() const;

    // POSIX: a descriptor open for writing that the joining child writes its output to.
    // Windows: -1; the child opens the file by its name.
    int outputDescriptor() const;

    // Bytes in the file so far; 0 once it is gone.
    std::uint64_t size() const;

    // Linux: the file opened for reading while the child still writes it, so the image can be
    // checked as it is written. Windows: nothing; COPY opens the file without sharing it.
    std::unique_ptr<FileReader> readerWhileWritten() const;
    // Whether this system gives such a reader at all.
    static bool CanBeReadWhileWritten();

    // The steps after a complete join, meant for a worker thread. First flush the file to disk
    // and compare its size with what the parts had: Ready when it may take the destination's
    // place. Then give it an existing destination's permissions, put it in the destination's
    // place and flush the folder. `stop` is looked at up to the moment the image replaces
    // anything; from then on the steps go to their end.
    PlaceOutcome flush(std::uint64_t expectedSize, const std::atomic<bool>& stop);
    PlaceOutcome place(const std::atomic<bool>& stop);
    // Both steps, the second only when the first was Ready.
    PlaceOutcome flushAndPlace(std::uint64_t expectedSize, const std::atomic<bool>& stop);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The name of a temporary image file in its folder, made from a random number. A build removes
// only files with such a name, and only when nobody holds them locked.
std::string TemporaryImageName(std::uint32_t number);
bool IsTemporaryImageName(const std::string& fileName);

// Windows: the folder the destination's temporary image is written in, as a path prefix
// (everything up to and with the last separator).
std::string TemporaryImageFolder(const std::string& destination);

// True, with the outcome Stopped, when somebody asked to stop before a step began.
bool StoppedBefore(PlaceOutcome& outcome, const std::atomic<bool>& stop);

// Sets the outcome of a flushed image of the written size: Ready, to take the destination's place,
// only with the size the parts had and when nobody asked to stop; otherwise why not.
void MayPlace(PlaceOutcome& outcome, std::uint64_t writtenSize, std::uint64_t expectedSize,
              const std::atomic<bool>& stop);

} // namespace partwright
