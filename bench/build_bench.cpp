// Whole builds through the tool's own flow, from a cold page cache where the benchmark may drop
// it (as root) and from a warm one: with no checksum file, with the image's SHA-256, with an .sfv
// of the parts (CRC-32), with a SHA-256 sums file of the parts, and `cat ... && sync` beside them.
// The kinds alternate over the rounds; the medians and their ratios to the build without a
// checksum file are printed, and how long each algorithm takes to hash the image from memory.
//   build_bench [FOLDER] [ROUNDS] [PART_MIB]

#include "Measuring.h"
#include "QuietBuild.h"
#include "checksum/Digest.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

using namespace partwright;
using namespace partwright::bench;
namespace fs = std::filesystem;

namespace {

constexpr int kParts = 4;

// Drops the page cache after writing back what is dirty; false where that is not allowed.
bool DropCache()
{
    Shell("sync");
    std::ofstream drop("/proc/sys/vm/drop_caches");
    drop << "3\n";
    drop.flush();
    return static_cast<bool>(drop);
}

std::string HashFiles(const std::vector<std::string>& files, Algorithm algorithm)
{
    Digest digest(algorithm);
    std::vector<char> buffer(kMiB);
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
               in.gcount() > 0)
            digest.add(buffer.data(), static_cast<std::size_t>(in.gcount()));
    }
    return digest.hex();
}

struct Kind {
    const char* name;
    std::string checksumFile; // beside the parts while this kind builds; empty for none
    std::string content;
};

} // namespace

int main(int argc, char* argv[])
{
    const Arguments arguments{argc, argv};
    const std::string folder = arguments.folder("build-bench");
    const int rounds = arguments.number(2, 3, 1);
    const std::uint64_t partSize = arguments.number(3, 512, 1) * kMiB;

    std::vector<std::string> parts;
    for (int i = 1; i <= kParts; ++i) {
        parts.push_back(folder + "/DISC.00" + std::to_string(i));
        WriteRandom(parts.back(), partSize, 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(i));
    }
    const std::string out = folder + "/OUT.ISO";

    // How long each algorithm takes over the image's bytes, from memory.
    std::printf("Building 4 x %llu MiB in %s, %d rounds\n",
                static_cast<unsigned long long>(partSize / kMiB), folder.c_str(), rounds);
    std::map<Algorithm, double> hashTime;
    std::string imageSha256;
    for (const Algorithm algorithm : {Algorithm::Crc32, Algorithm::Sha256}) {
        HashFiles(parts, algorithm); // into the cache
        const auto start = Clock::now();
        const std::string hex = HashFiles(parts, algorithm);
        hashTime[algorithm] = SecondsSince(start);
        if (algorithm == Algorithm::Sha256)
            imageSha256 = hex;
        std::printf("  %s over the image from memory: %.3f s\n", AlgorithmName(algorithm),
                    hashTime[algorithm]);
    }
    std::string sfv, sums;
    for (const std::string& part : parts) {
        const std::string name = fs::path(part).filename().string();
        sfv += name + " " + HashFiles({part}, Algorithm::Crc32) + "\n";
        sums += HashFiles({part}, Algorithm::Sha256) + "  " + name + "\n";
    }
    const std::vector<Kind> kinds = {
        {"no checksum file", "", ""},
        {"the image's SHA-256", "DISC.iso.sha256", imageSha256 + "  OUT.ISO\n"},
        {"per-part CRC-32 (.sfv)", "DISC.sfv", sfv},
        {"per-part SHA-256", "DISC.sha256", sums},
        {"cat ... && sync", "", ""}};

    const bool root = geteuid() == 0;
    if (!root)
        std::printf("Not running as root: the page cache cannot be dropped, so there are no "
                    "cold-cache figures; run as root for them.\n");
    for (const bool cold : {true, false}) {
        if (cold && !root)
            continue;
        std::map<std::string, std::vector<double>> times;
        for (int round = 0; round < rounds; ++round) {
            for (std::size_t step = 0; step < kinds.size(); ++step) {
                // Rotate the order, so none of them always follows the same one.
                const Kind& kind = kinds[(step + static_cast<std::size_t>(round)) % kinds.size()];
                fs::remove(out);
                if (!kind.checksumFile.empty())
                    std::ofstream(folder + "/" + kind.checksumFile) << kind.content;
                if (cold && !DropCache())
                    std::abort();
                if (!cold)
                    HashFiles(parts, Algorithm::Crc32); // the parts in the cache
                Shell("sync");
                const auto start = Clock::now();
                if (std::string(kind.name).starts_with("cat")) {
                    std::string command = "cat";
                    for (const auto& part : parts)
                        command += " " + Quoted(part);
                    if (Shell(command + " > " + Quoted(out) + " && sync") != 0)
                        std::abort();
                } else if (const std::string report = bench::BuildQuietly(parts, out);
                           !kind.checksumFile.empty() &&
                           report.find(" match") == std::string::npos) {
                    std::printf("%s was not checked:\n%s\n", kind.name, report.c_str());
                    std::abort();
                }
                times[kind.name].push_back(SecondsSince(start));
                if (!kind.checksumFile.empty())
                    fs::remove(folder + "/" + kind.checksumFile);
            }
        }
        // Each round's builds ran close together: a ratio is taken within a round, then the
        // median of the rounds', which the disk's moods of the moment touch less.
        const std::vector<double>& base = times["no checksum file"];
        std::printf("%s cache, median of %d (ratio: to the round's build without a checksum "
                    "file, median and spread):\n",
                    cold ? "Cold" : "Warm", rounds);
        for (const Kind& kind : kinds) {
            std::vector<double> ratios;
            for (std::size_t round = 0; round < base.size(); ++round)
                ratios.push_back(times[kind.name][round] / base[round]);
            const auto [lowest, highest] = std::minmax_element(ratios.begin(), ratios.end());
            std::printf("  %-24s %7.3f s  x %.3f  (%.3f .. %.3f)\n", kind.name,
                        Median(times[kind.name]), Median(ratios), *lowest, *highest);
        }
        std::fflush(stdout);
    }
    fs::remove(out);
    for (const std::string& part : parts)
        fs::remove(part);
    return 0;
}
