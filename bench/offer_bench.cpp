// How soon the offer to add the rest of a set comes, for a picked part in a local folder of many
// files: half of them parts of its set, half other files. Times the finding alone, from a cold
// cache of the folder's entries when it may be dropped (as root), then warm.
//   offer_bench [FOLDER] [FILES]

#include "Measuring.h"
#include "list/RestOfSet.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace partwright;
using namespace partwright::bench;
namespace fs = std::filesystem;

int main(int argc, char* argv[])
{
    const Arguments arguments{argc, argv};
    const std::string folder = arguments.folder("offer-bench");
    const int files = arguments.number(2, 10000, 2);
    char name[64];
    for (int n = 1; n <= files; ++n) {
        std::snprintf(name, sizeof name, n % 2 ? "/DISC.%05d" : "/other %05d.txt", n / 2 + 1);
        std::ofstream(folder + name) << n;
    }
    const std::vector<std::string> picked{folder + "/DISC.00001"};
    std::printf("%d files in %s, %d of them parts of the picked part's set\n", files,
                folder.c_str(), (files + 1) / 2);
    std::vector<double> warm;
    for (int round = 0; round < 10; ++round) {
        if (round == 0) {
            Shell("sync");
            std::ofstream("/proc/sys/vm/drop_caches") << "2\n"; // entries and inodes; as root
        }
        const auto start = Clock::now();
        const auto rest = FindRestOfSet(picked, {}, '/');
        const double ms = SecondsSince(start) * 1000;
        if (!rest)
            std::abort();
        if (round == 0)
            std::printf("  first look (the entry cache dropped where allowed): %.1f ms\n", ms);
        else
            warm.push_back(ms);
    }
    std::printf("  warm: median %.1f ms, slowest %.1f ms of %zu\n", Median(warm),
                *std::max_element(warm.begin(), warm.end()), warm.size());
    fs::remove_all(folder);
    return 0;
}
