#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace partwright::test {

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::string& path, std::string_view content);
std::string ReadFile(const std::string& path); // empty when it cannot be read
std::ptrdiff_t EntriesIn(const std::filesystem::path& folder);

} // namespace partwright::test
