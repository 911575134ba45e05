#include "join/Progress.h"

#include "text/DisplayText.h"
#include "text/Numbers.h"

#include <algorithm>
#include <cmath>

namespace partwright {

namespace {

constexpr double kWindowSeconds = 3.0;
constexpr char kSeparator[] = " \xc2\xb7 "; // a middle dot between the figures

std::string JoiningAction(int partCount)
{
    return partCount == 1 ? "Joining 1 part into:"
                          : "Joining " + std::to_string(partCount) + " parts into:";
}

} // namespace

void ThroughputMeter::add(double seconds, std::uint64_t bytes)
{
    samples_.push_back({seconds, bytes});
    while (samples_.size() > 2 && samples_.front().seconds < seconds - kWindowSeconds)
        samples_.pop_front();
}

double ThroughputMeter::bytesPerSecond() const
{
    if (samples_.size() < 2)
        return 0;
    const Sample& first = samples_.front();
    const Sample& last = samples_.back();
    const double elapsed = last.seconds - first.seconds;
    if (elapsed <= 0 || last.bytes < first.bytes)
        return 0;
    return static_cast<double>(last.bytes - first.bytes) / elapsed;
}

std::string TimeLeft(double seconds)
{
    const auto whole = static_cast<std::uint64_t>(std::ceil(seconds));
    if (whole < 60)
        return "about " + std::to_string(std::max<std::uint64_t>(whole, 1)) + " s";
    const std::uint64_t minutes = (whole + 30) / 60;
    if (minutes < 60)
        return "about " + std::to_string(minutes) + " min";
    return "about " + std::to_string(minutes / 60) + " h " + std::to_string(minutes % 60) + " min";
}

std::string ProgressFigures(std::uint64_t done, std::uint64_t total, double bytesPerSecond,
                            const char* whenDone)
{
    std::string figures = ByteSize(done) + " of " + ByteSize(total);
    if (done >= total)
        return figures + kSeparator + whenDone;
    if (bytesPerSecond <= 0)
        return figures;
    const auto speed = static_cast<std::uint64_t>(bytesPerSecond);
    return figures + kSeparator + ByteSize(speed) + "/s" + kSeparator +
           TimeLeft(static_cast<double>(total - done) / bytesPerSecond) + " left";
}

ProgressShown ProgressReading::read(const BuildFigures& figures, double seconds)
{
    ProgressShown shown;
    switch (figures.phase) {
    case BuildFigures::Phase::CheckingParts:
        shown.action = "Checking the parts against " + DisplayText(figures.checksumFile);
        break;
    case BuildFigures::Phase::CheckingImage:
        shown.action = "Checking the image against " + DisplayText(figures.checksumFile);
        break;
    case BuildFigures::Phase::Joining:
    case BuildFigures::Phase::Ended:
        shown.action = JoiningAction(partCount_);
        break;
    case BuildFigures::Phase::Placing:
        // Every byte is written; the flush to disk takes as long as it takes.
        return {JoiningAction(partCount_), -1, "Flushing the image to disk..."};
    case BuildFigures::Phase::Cancelling:
        return {figures.waitingForDisk ? "Cancelling: waiting for the disk to finish writing..."
                                       : "Cancelling...",
                -1, ""};
    }
    if (figures.phase != phase_)
        meter_ = {};
    phase_ = figures.phase;
    const std::uint64_t total = figures.total;
    const std::uint64_t done = std::min(figures.done, total);
    meter_.add(seconds, done);
    shown.permille = total == 0 ? 1000 : static_cast<int>(done * 1000 / total);
    shown.figures = ProgressFigures(
        done, total, meter_.bytesPerSecond(),
        figures.phase == BuildFigures::Phase::Joining ? "writing to disk" : "comparing");
    return shown;
}

} // namespace partwright
