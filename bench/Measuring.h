#pragma once

// What the benchmark programs share: the clock, the median, the shell and data to join.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace partwright::bench {

constexpr std::uint64_t kMiB = 1024ULL * 1024;
using Clock = std::chrono::steady_clock;

// A benchmark's command line: its folder (made if missing), then numbers, each with a default
// and a least value.
struct Arguments {
    int count;
    char** values;

    std::string folder(const char* fallback) const
    {
        const auto folder = std::filesystem::absolute(count > 1 ? values[1] : fallback);
        std::filesystem::create_directories(folder);
        return folder.string();
    }
    int number(int index, int fallback, int least) const
    {
        return count > index ? std::max(least, std::atoi(values[index])) : fallback;
    }
};

inline double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The command's status, as std::system gives it.
inline int Shell(const std::string& command)
{
    return std::system(command.c_str());
}

// A path for the shell, in single quotes (the benchmarks' own folders hold none).
inline std::string Quoted(const std::string& text)
{
    return "'" + text + "'";
}

// Data no compressor or deduplication shortens: a simple generator, its seed chosen by the caller.
inline void WriteRandom(const std::string& path, std::uint64_t size, std::uint64_t seed)
{
    std::vector<std::uint64_t> block(kMiB / sizeof(std::uint64_t));
    std::ofstream out(path, std::ios::binary);
    for (std::uint64_t written = 0; written < size; written += kMiB) {
        for (auto& word : block) {
            seed ^= seed << 13, seed ^= seed >> 7, seed ^= seed << 17;
            word = seed;
        }
        out.write(reinterpret_cast<const char*>(block.data()), kMiB);
    }
}

} // namespace partwright::bench
