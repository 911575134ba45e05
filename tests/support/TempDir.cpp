#include "support/TempDir.h"

#include "platform/NativePaths.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace partwright::test {

TempDir::TempDir()
    : path_(std::filesystem::temp_directory_path() /
            ("partwright-test-" + std::to_string(std::random_device()())))
{
    if (!std::filesystem::create_directory(path_))
        throw std::runtime_error("the temporary folder is there already: " + path_.string());
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::string& path, std::string_view content)
{
    std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(PathOf(path), std::ios::binary);
    std::ostringstream content;
    if (in)
        content << in.rdbuf();
    return content.str();
}

std::ptrdiff_t EntriesIn(const std::filesystem::path& folder)
{
    return std::distance(std::filesystem::directory_iterator(folder), {});
}

} // namespace partwright::test
