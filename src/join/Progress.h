#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace partwright {

// The rate at which bytes arrive, over the last few seconds.
class ThroughputMeter {
public:
    void add(double seconds, std::uint64_t bytes);
    double bytesPerSecond() const;

private:
    struct Sample {
        double seconds;
        std::uint64_t bytes;
    };
    std::deque<Sample> samples_;
};

// "1.00 GiB of 2.00 GiB · 350 MiB/s · about 3 s left".
std::string ProgressFigures(std::uint64_t done, std::uint64_t total, double bytesPerSecond);

// "about 5 s", "about 3 min", "about 1 h 5 min".
std::string TimeLeft(double seconds);

} // namespace partwright
