#include "platform/FileReader.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace partwright {

struct FileReader::Impl {
    int file = -1;
    ~Impl()
    {
        if (file >= 0)
            close(file);
    }
};

FileReader::FileReader() : d(std::make_unique<Impl>()) {}

std::unique_ptr<FileReader> FileReader::Adopt(std::intptr_t native)
{
    std::unique_ptr<FileReader> reader(new FileReader);
    reader->d->file = static_cast<int>(native);
    posix_fadvise(reader->d->file, 0, 0, POSIX_FADV_SEQUENTIAL);
    return reader;
}

// O_NONBLOCK: opening a pipe or a device must not wait for a writer. A regular file's reads
// ignore it.
FileReader::FileReader(const std::string& path) : d(std::make_unique<Impl>())
{
    d->file = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (d->file < 0)
        ThrowLastError(path);
    struct stat status {};
    if (fstat(d->file, &status) != 0)
        ThrowLastError(path);
    if (!S_ISREG(status.st_mode))
        throw std::system_error(S_ISDIR(status.st_mode) ? EISDIR : EINVAL, std::generic_category(),
                                path);
    posix_fadvise(d->file, 0, 0, POSIX_FADV_SEQUENTIAL);
}

FileReader::~FileReader() = default;

std::size_t FileReader::read(char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t got = ::read(d->file, buffer, size);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            ThrowLastError("read");
    }
}

std::size_t FileReader::readAt(std::uint64_t offset, char* buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            pread(d->file, buffer + done, size - done, static_cast<off_t>(offset + done));
        if (got == 0)
            break;
        if (got > 0)
            done += static_cast<std::size_t>(got);
        else if (errno != EINTR)
            ThrowLastError("read");
    }
    return done;
}

std::uint64_t FileReader::size() const
{
    struct stat status {};
    if (fstat(d->file, &status) != 0)
        ThrowLastError("fstat");
    return static_cast<std::uint64_t>(status.st_size);
}

} // namespace partwright
