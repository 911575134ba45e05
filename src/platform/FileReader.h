#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace partwright {

// A regular file opened for reading from its start to its end in large pieces. Anything else (a
// folder, a pipe, a device) is refused when it is opened, and opening it never blocks.
class FileReader {
public:
    // Throws std::system_error when the file cannot be opened or is not a regular file.
    explicit FileReader(const std::string& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Reads up to `size` bytes; 0 at the end of the file as it is now. Throws std::system_error.
    std::size_t read(char* buffer, std::size_t size);

    // Reads up to `size` bytes from the offset on, wherever read() has come; fewer only at the
    // end of the file. Throws std::system_error.
    std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t size);

    // The file's size now. Throws std::system_error.
    std::uint64_t size() const;

private:
    friend class TemporaryImage;
    FileReader();
    // Takes over an open descriptor (POSIX) or handle (Windows).
    static std::unique_ptr<FileReader> Adopt(std::intptr_t native);

    struct Impl;
    std::unique_ptr<Impl> d;
};

// The whole of a small file such as a checksum file. Throws std::system_error when it cannot be
// read, and std::length_error when it holds more than `limit` bytes.
std::string ReadSmallFile(const std::string& path, std::size_t limit);

} // namespace partwright
