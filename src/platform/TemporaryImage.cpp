// What the temporary image is on every system: its name, and when it may be placed.
#include "platform/TemporaryImage.h"

#include <cstdio>

namespace partwright {

namespace {

// ".partwright-" and eight hexadecimal digits: twenty bytes, so a destination close to the
// system's path limit still leaves room for it.
constexpr char kPrefix[] = ".partwright-";
constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;
constexpr std::size_t kDigits = 8;

} // namespace

std::string TemporaryImageName(std::uint32_t number)
{
    char digits[kDigits + 1];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(number));
    return kPrefix + std::string(digits);
}

bool IsTemporaryImageName(const std::string& fileName)
{
    if (fileName.size() != kPrefixLength + kDigits || fileName.compare(0, kPrefixLength, kPrefix))
        return false;
    for (std::size_t i = kPrefixLength; i < fileName.size(); ++i) {
        const char c = fileName[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

PlaceOutcome TemporaryImage::flushAndPlace(std::uint64_t expectedSize,
                                           const std::atomic<bool>& stop)
{
    PlaceOutcome flushed = flush(expectedSize, stop);
    if (flushed.result != PlaceOutcome::Result::Ready)
        return flushed;
    PlaceOutcome placed = place(stop);
    placed.writtenSize = flushed.writtenSize;
    return placed;
}

bool StoppedBefore(PlaceOutcome& outcome, const std::atomic<bool>& stop)
{
    if (stop)
        outcome.result = PlaceOutcome::Result::Stopped;
    return stop;
}

void MayPlace(PlaceOutcome& outcome, std::uint64_t writtenSize, std::uint64_t expectedSize,
              const std::atomic<bool>& stop)
{
    outcome.writtenSize = writtenSize;
    if (writtenSize != expectedSize)
        outcome.result = PlaceOutcome::Result::SizeDiffers;
    else if (stop)
        outcome.result = PlaceOutcome::Result::Stopped;
    else
        outcome.result = PlaceOutcome::Result::Ready;
}

} // namespace partwright
