#include "platform/NativePaths.h"

#include <filesystem>

namespace partwright {

char NativeSeparator()
{
    return '/';
}

std::string ProgramDirectory()
{
    // The kernel's link to the running program names the real file, whatever link started it.
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

std::filesystem::path PathOf(const std::string& name)
{
    return name;
}

std::string NameOf(const std::filesystem::path& path)
{
    return path.string();
}

std::string FullPath(const std::string& name)
{
    return std::filesystem::absolute(name).string();
}

} // namespace partwright
