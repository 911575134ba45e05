#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace partwright {

// How far a running build has come.
struct BuildFigures {
    enum class Phase {
        CheckingParts, // against their checksum file, before the join
        Joining,
        CheckingImage, // against its checksum file, while it is flushed to disk
        Placing,       // flushed to disk and put in the destination's place
        Cancelling,    // waiting for what runs to end
        Ended,
    };
    Phase phase = Phase::Joining;
    std::uint64_t done = 0;      // bytes checked or written so far
    std::uint64_t total = 0;     // bytes to check, or the size the image will have
    std::string checksumFile;    // checking: the file the checksums come from
    bool waitingForDisk = false; // cancelling: a flush to disk, which cannot be cut short
};

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

// "1.00 GiB of 2.00 GiB · 350 MiB/s · about 3 s left"; `whenDone` follows once all is done.
std::string ProgressFigures(std::uint64_t done, std::uint64_t total, double bytesPerSecond,
                            const char* whenDone = "writing to disk");

// "about 5 s", "about 3 min", "about 1 h 5 min".
std::string TimeLeft(double seconds);

// What a progress window shows of a build.
struct ProgressShown {
    std::string action;  // "Joining 3 parts into:", "Checking DISC.sha256"
    int permille = 0;    // how far the bar is; -1 when there is no measure, as for the flush
    std::string figures; // done, total, speed and time left, or what is being waited for
};

// Turns the flow's figures, read a few times a second, into what the window shows; the speed
// is measured anew in each phase.
class ProgressReading {
public:
    explicit ProgressReading(int partCount) : partCount_(partCount) {}
    ProgressShown read(const BuildFigures& figures, double seconds);

private:
    int partCount_;
    BuildFigures::Phase phase_ = BuildFigures::Phase::Ended;
    ThroughputMeter meter_;
};

} // namespace partwright
