#include "join/Progress.h"

#include "text/Numbers.h"

#include <gtest/gtest.h>

namespace partwright {
namespace {

constexpr std::uint64_t kMiB = 1024ULL * 1024;
constexpr std::uint64_t kGiB = 1024 * kMiB;

TEST(GroupedNumber, ThousandsSeparators)
{
    const struct {
        std::uint64_t value;
        const char* text;
    } cases[] = {{0, "0"},
                 {999, "999"},
                 {1000, "1,000"},
                 {1048576, "1,048,576"},
                 {4294967295u, "4,294,967,295"},
                 {18446744073709551615u, "18,446,744,073,709,551,615"}};
    for (const auto& c : cases)
        EXPECT_EQ(GroupedNumber(c.value), c.text);
}

TEST(ByteSize, ThreeSignificantDigits)
{
    const struct {
        std::uint64_t bytes;
        const char* text;
    } cases[] = {{0, "0 bytes"},           {1, "1 byte"},      {1023, "1023 bytes"},
                 {1024, "1.00 KiB"},       {1536, "1.50 KiB"}, {10ULL * 1024, "10.0 KiB"},
                 {512 * kMiB, "512 MiB"},  {kGiB, "1.00 GiB"}, {6 * kGiB, "6.00 GiB"},
                 {1536 * kGiB, "1.50 TiB"}};
    for (const auto& c : cases)
        EXPECT_EQ(ByteSize(c.bytes), c.text) << c.bytes;
}

TEST(TimeLeft, RoundsToWhatAPersonWantsToKnow)
{
    EXPECT_EQ(TimeLeft(0.2), "about 1 s");
    EXPECT_EQ(TimeLeft(4.1), "about 5 s");
    EXPECT_EQ(TimeLeft(59), "about 59 s");
    EXPECT_EQ(TimeLeft(150), "about 3 min");
    EXPECT_EQ(TimeLeft(3900), "about 1 h 5 min");
}

TEST(ThroughputMeter, RateOverTheLastSeconds)
{
    ThroughputMeter meter;
    EXPECT_EQ(meter.bytesPerSecond(), 0);
    meter.add(0, 0);
    EXPECT_EQ(meter.bytesPerSecond(), 0);
    meter.add(1, 100 * kMiB);
    EXPECT_DOUBLE_EQ(meter.bytesPerSecond(), 100.0 * kMiB);
    // A fast start is forgotten once it lies more than a few seconds back.
    for (int second = 2; second <= 10; ++second)
        meter.add(second, 100 * kMiB + static_cast<std::uint64_t>(second - 1) * 10 * kMiB);
    EXPECT_NEAR(meter.bytesPerSecond(), 10.0 * kMiB, 1.0);
}

TEST(ProgressFigures, DoneOfTotalSpeedAndTimeLeft)
{
    EXPECT_EQ(ProgressFigures(0, 2 * kGiB, 0), "0 bytes of 2.00 GiB");
    EXPECT_EQ(ProgressFigures(kGiB, 2 * kGiB, 256.0 * kMiB),
              "1.00 GiB of 2.00 GiB \xc2\xb7 256 MiB/s \xc2\xb7 about 4 s left");
    EXPECT_EQ(ProgressFigures(2 * kGiB, 2 * kGiB, 256.0 * kMiB),
              "2.00 GiB of 2.00 GiB \xc2\xb7 writing to disk");
}

} // namespace
} // namespace partwright
