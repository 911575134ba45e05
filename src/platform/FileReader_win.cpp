#include "platform/FileReader.h"
#include "platform/SystemError.h"
#include "platform/WideText_win.h"

#include <system_error>
#include <windows.h>

namespace partwright {

struct FileReader::Impl {
    HANDLE file = INVALID_HANDLE_VALUE;
    ~Impl()
    {
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
};

FileReader::FileReader() : d(std::make_unique<Impl>()) {}

std::unique_ptr<FileReader> FileReader::Adopt(std::intptr_t native)
{
    std::unique_ptr<FileReader> reader(new FileReader);
    reader->d->file = reinterpret_cast<HANDLE>(native);
    return reader;
}

// Shared for everything: the join's own child reads the same parts meanwhile.
FileReader::FileReader(const std::string& path) : d(std::make_unique<Impl>())
{
    d->file = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (d->file == INVALID_HANDLE_VALUE)
        ThrowLastError(path);
    if (GetFileType(d->file) != FILE_TYPE_DISK)
        throw std::system_error(ERROR_INVALID_FUNCTION, std::system_category(), path);
}

FileReader::~FileReader() = default;

std::size_t FileReader::read(char* buffer, std::size_t size)
{
    constexpr std::size_t kLargest = 1 << 30; // ReadFile counts in 32 bits
    DWORD got = 0;
    if (!ReadFile(d->file, buffer, static_cast<DWORD>(size < kLargest ? size : kLargest), &got,
                  nullptr))
        ThrowLastError("ReadFile");
    return got;
}

std::size_t FileReader::readAt(std::uint64_t offset, char* buffer, std::size_t size)
{
    constexpr std::size_t kLargest = 1 << 30; // ReadFile counts in 32 bits
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset + done);
        at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
        const std::size_t left = size - done;
        DWORD got = 0;
        if (!ReadFile(d->file, buffer + done, static_cast<DWORD>(left < kLargest ? left : kLargest),
                      &got, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            ThrowLastError("ReadFile");
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

std::uint64_t FileReader::size() const
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(d->file, &size))
        ThrowLastError("GetFileSizeEx");
    return static_cast<std::uint64_t>(size.QuadPart);
}

} // namespace partwright
