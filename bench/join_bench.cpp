// Joins 4 parts through the tool's own build path (the window's command composition, temporary
// file and child runner) and, in the same run, with plain `cat a b c d > out` and with
// `cat a b c d > out && sync`. The commands alternate over several rounds with the same idle time
// before each; the median ratios and their spread are printed. Where a btrfs file system can be
// loop-mounted (root, btrfs-progs), the same is done there with block-aligned parts, which cat
// joins by reflinking.
//   join_bench [FOLDER] [ROUNDS] [PART_MIB]

#include "Measuring.h"
#include "QuietBuild.h"
#include "join/ImageCheck.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

using namespace partwright;
using namespace partwright::bench;
namespace fs = std::filesystem;

namespace {

constexpr auto kIdle = std::chrono::seconds(2);

void WritePart(const std::string& path, std::uint64_t size, char seed)
{
    std::string block(kMiB, '\0');
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(seed + i * 13);
    std::ofstream out(path, std::ios::binary);
    for (std::uint64_t written = 0; written < size; written += kMiB)
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

// The tool's way: temporary file, cat, flush of the file, size check, rename, flush of the
// folder, and the check of the image's volume descriptor.
double ToolJoin(const std::vector<std::string>& parts, const std::string& out)
{
    const auto start = Clock::now();
    bench::BuildQuietly(parts, out);
    return SecondsSince(start);
}

double ShellJoin(const std::vector<std::string>& parts, const std::string& out, bool withSync)
{
    std::string command = "cat";
    for (const auto& part : parts)
        command += " " + Quoted(part);
    command += " > " + Quoted(out);
    if (withSync)
        command += " && sync";
    const auto start = Clock::now();
    if (Shell(command) != 0)
        std::abort();
    return SecondsSince(start);
}

struct Figures {
    std::vector<double> tool, cat, catSync;
};

Figures Measure(const std::vector<std::string>& parts, const std::string& folder, int rounds,
                std::uint64_t size)
{
    Figures figures;
    const std::string out = folder + "/OUT.ISO";
    for (int round = 0; round < rounds; ++round) {
        // Rotate the order, so none of the three always follows the same one.
        for (int step = 0; step < 3; ++step) {
            fs::remove(out);
            Shell("sync");
            std::this_thread::sleep_for(kIdle);
            switch ((round + step) % 3) {
            case 0:
                figures.tool.push_back(ToolJoin(parts, out));
                break;
            case 1:
                figures.cat.push_back(ShellJoin(parts, out, false));
                break;
            default:
                figures.catSync.push_back(ShellJoin(parts, out, true));
                break;
            }
            if (fs::file_size(out) != size)
                std::abort();
        }
        std::printf("  round %d: tool %.3f s, cat %.3f s, cat && sync %.3f s\n", round + 1,
                    figures.tool.back(), figures.cat.back(), figures.catSync.back());
        std::fflush(stdout);
    }
    // The check of the written image is part of the tool's time above; on its own it reads a
    // few kilobytes.
    const auto start = Clock::now();
    ImageCheckLine(out, MeasureParts(parts));
    std::printf("  the image check alone: %.3f ms\n", SecondsSince(start) * 1000);
    fs::remove(out);
    return figures;
}

void Report(const char* where, const Figures& f)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < f.tool.size(); ++i)
        ratios.push_back(f.tool[i] / f.catSync[i]);
    std::sort(ratios.begin(), ratios.end());
    std::printf("%s: median tool %.3f s, cat %.3f s, cat && sync %.3f s\n", where, Median(f.tool),
                Median(f.cat), Median(f.catSync));
    std::printf("%s: tool / (cat && sync) median %.3f, spread %.3f .. %.3f over %zu rounds\n",
                where, Median(ratios), ratios.front(), ratios.back(), ratios.size());
    std::printf("%s: tool / cat median %.3f\n\n", where, Median(f.tool) / Median(f.cat));
}

std::vector<std::string> MakeParts(const std::string& folder, std::uint64_t partSize)
{
    std::vector<std::string> parts;
    for (int i = 1; i <= 4; ++i) {
        parts.push_back(folder + "/PART.00" + std::to_string(i));
        WritePart(parts.back(), partSize, static_cast<char>('a' + i));
    }
    Shell("sync");
    return parts;
}

} // namespace

int main(int argc, char* argv[])
{
    const Arguments arguments{argc, argv};
    const std::string folder = arguments.folder("join-bench");
    const int rounds = arguments.number(2, 5, 1);
    const std::uint64_t partSize = arguments.number(3, 512, 1) * kMiB;
    const std::uint64_t imageSize = 4 * partSize;

    std::printf("Joining 4 x %llu MiB in %s, %d rounds\n",
                static_cast<unsigned long long>(partSize / kMiB), folder.c_str(), rounds);
    {
        const auto parts = MakeParts(folder, partSize);
        Report("this disk", Measure(parts, folder, rounds, imageSize));
        for (const auto& part : parts)
            fs::remove(part);
    }

    // btrfs on a loop device: the reflink case.
    const std::string image = folder + "/btrfs.img";
    const std::string mountPoint = folder + "/btrfs";
    fs::create_directories(mountPoint);
    std::ofstream(image).close();
    fs::resize_file(image, imageSize + 1024 * kMiB);
    if (Shell("mkfs.btrfs -q " + Quoted(image) + " >/dev/null 2>&1 && mount -o loop " +
              Quoted(image) + " " + Quoted(mountPoint) + " 2>/dev/null") != 0) {
        std::printf("btrfs: skipped, a btrfs loop file system cannot be made or mounted here\n");
    } else {
        const auto parts = MakeParts(mountPoint, partSize);
        Report("btrfs (reflink)", Measure(parts, mountPoint, rounds, imageSize));
        Shell("umount " + Quoted(mountPoint));
    }
    fs::remove(image);
    fs::remove(mountPoint);
    return 0;
}
