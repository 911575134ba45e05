// Times the check of an image against its checksum file: the tool's own checksum of a file (the
// code a build runs) against `openssl dgst` and `sha256sum` on the same file, and for CRC-32
// against zlib's crc32_z over the same file read the same way. Then whole builds of four parts
// with and without a checksum file of the image. Runs alternate over several rounds; the medians
// and their ratios are printed.
//   checksum_bench [FOLDER] [ROUNDS] [IMAGE_MIB]

#include "Measuring.h"
#include "QuietBuild.h"
#include "checksum/Hashing.h"
#include "platform/FileReader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>
#include <zlib.h>

using namespace partwright;
using namespace partwright::bench;
namespace fs = std::filesystem;

namespace {

double Seconds(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return SecondsSince(start);
}

void ShellOrAbort(const std::string& command)
{
    if (Shell(command) != 0)
        std::abort();
}

std::string ToolChecksum(const std::string& path, Algorithm algorithm)
{
    HashingState state;
    const HashRun run = HashEach({{path, algorithm}}, state);
    if (run.result != HashRun::Result::Done)
        std::abort();
    return run.digests.front();
}

unsigned long ZlibCrc(const std::string& path)
{
    FileReader file(path);
    std::vector<char> buffer(std::size_t{256} * 1024);
    unsigned long crc = crc32_z(0, nullptr, 0);
    while (const std::size_t got = file.read(buffer.data(), buffer.size()))
        crc = crc32_z(crc, reinterpret_cast<const Bytef*>(buffer.data()), got);
    return crc;
}

struct Contender {
    std::string name;
    std::function<void()> run;
    std::function<void()> prepare = [] {
    }; // before each run, not timed
};

// Runs the contenders in turn, rotating who goes first, and prints each one's median and its
// median ratio to the first.
void Compare(const char* what, const std::vector<Contender>& contenders, int rounds)
{
    std::vector<std::vector<double>> times(contenders.size());
    for (int round = 0; round < rounds; ++round)
        for (std::size_t step = 0; step < contenders.size(); ++step) {
            const std::size_t i = (round + step) % contenders.size();
            contenders[i].prepare();
            times[i].push_back(Seconds(contenders[i].run));
        }
    std::printf("%s:", what);
    for (std::size_t i = 0; i < contenders.size(); ++i)
        std::printf(" %s %.3f s;", contenders[i].name.c_str(), Median(times[i]));
    for (std::size_t i = 1; i < contenders.size(); ++i) {
        std::vector<double> ratios;
        ratios.reserve(rounds);
        for (int round = 0; round < rounds; ++round)
            ratios.push_back(times[0][round] / times[i][round]);
        std::sort(ratios.begin(), ratios.end());
        std::printf(" %s / %s median %.3f (%.3f .. %.3f);", contenders[0].name.c_str(),
                    contenders[i].name.c_str(), Median(ratios), ratios.front(), ratios.back());
    }
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    const Arguments arguments{argc, argv};
    const std::string folder = arguments.folder("checksum-bench");
    const int rounds = arguments.number(2, 5, 1);
    const std::uint64_t size = arguments.number(3, 2048, 4) * kMiB;
    const std::string image = folder + "/IMAGE.iso";
    WriteRandom(image, size, 0x9E3779B97F4A7C15ULL);
    ShellOrAbort("cat '" + image + "' >/dev/null"); // in the page cache, as after a join
    std::printf("Checking %llu MiB in %s, %d rounds\n",
                static_cast<unsigned long long>(size / kMiB), folder.c_str(), rounds);

    const auto openssl = [&](const char* name) {
        return Contender{std::string("openssl ") + name, [&image, name] {
                             ShellOrAbort(std::string("openssl dgst -") + name + " '" + image +
                                          "' >/dev/null");
                         }};
    };
    const auto tool = [&](Algorithm algorithm) {
        return Contender{"tool", [&image, algorithm] {
                             ToolChecksum(image, algorithm);
                         }};
    };
    Compare("SHA-1", {tool(Algorithm::Sha1), openssl("sha1")}, rounds);
    Compare("SHA-256",
            {tool(Algorithm::Sha256),
             openssl("sha256"),
             {"sha256sum",
              [&] {
                  ShellOrAbort("sha256sum '" + image + "' >/dev/null");
              }}},
            rounds);
    Compare("SHA-512", {tool(Algorithm::Sha512), openssl("sha512")}, rounds);
    Compare("MD5", {tool(Algorithm::Md5), openssl("md5")}, rounds);
    Compare("CRC-32",
            {tool(Algorithm::Crc32),
             {"zlib crc32_z",
              [&] {
                  ZlibCrc(image);
              }}},
            rounds);

    // Whole builds: four parts, with and without a checksum file of the image beside them.
    std::vector<std::string> parts;
    for (int i = 1; i <= 4; ++i) {
        parts.push_back(folder + "/DISC.00" + std::to_string(i));
        ShellOrAbort("tail -c +" + std::to_string((i - 1) * (size / 4) + 1) + " '" + image +
                     "' | head -c " + std::to_string(size / 4) + " >'" + parts.back() + "'");
    }
    const std::string out = folder + "/OUT.ISO";
    const std::string sha256 = ToolChecksum(image, Algorithm::Sha256);
    fs::remove(image);
    // Each build starts after the same idle time, with the last one's image on disk and gone.
    const auto prepare = [&](bool withChecksum) {
        return [&, withChecksum] {
            fs::remove(out);
            fs::remove(folder + "/DISC.sha256");
            if (withChecksum)
                std::ofstream(folder + "/DISC.sha256") << sha256 << "  DISC.iso\n";
            ShellOrAbort("sync");
            std::this_thread::sleep_for(std::chrono::seconds(2));
        };
    };
    const auto build = [&] {
        bench::BuildQuietly(parts, out);
    };
    Compare("build of 4 parts",
            {{"with DISC.sha256", build, prepare(true)}, {"without", build, prepare(false)}},
            rounds);
    for (const auto& part : parts)
        fs::remove(part);
    fs::remove(out);
    fs::remove(folder + "/DISC.sha256");
    return 0;
}
