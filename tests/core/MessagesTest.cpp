#include "text/Messages.h"

#include "help/HelpFile.h"
#include "join/Progress.h"
#include "text/DisplayText.h"
#include "text/Numbers.h"

#include <gtest/gtest.h>

namespace partwright {
namespace {

using namespace messages;
using namespace std::string_literals;
using Pairs = std::vector<std::pair<std::string, std::string>>;

// Printable UTF-8 and neighbours of the hidden ranges stay; the ranges' ends and broken UTF-8 not.
TEST(DisplayText, EscapesWhatCouldBreakOrDisguiseALine)
{
    const std::string stays =
        "C:\\My (1) ~\xC2\xA0\xC2\xAC\xC2\xAE\xDF\xBF\xE0\xA0\x80\xE2\x80\x8A\xE2\x80\x90\xE2\x80"
        "\xA7\xE2\x80\xAF\xE2\x81\x9F\xE2\x81\xB0\xED\x9F\xBF\xEF\xBF\xB8\xEF\xBF\xBC\xEF\xBF\xBD"
        "\xF0\x90\x80\x80\xF3\x9F\xBF\xBF\xF3\xA0\x82\x80\xF4\x8F\xBF\xBF";
    const Pairs cases = {
        {stays, stays},
        {"a\nb\tc\rd\x1B[2J\x01\x1F\0e\x7F"s, R"(a\nb\tc\rd\x1B[2J\x01\x1F\x00e\x7F)"},
        {"\xC2\x80\xC2\x9F\xC2\xAD\xD8\x9C\xE1\xA0\x8E\xE2\x80\x8B\xE2\x80\x8F\xE2\x80\xA8\xE2\x80"
         "\xAE\xE2\x81\xA0\xE2\x81\xAF\xEF\xBB\xBF\xEF\xBF\xB9\xEF\xBF\xBB\xF3\xA0\x80\x80\xF3\xA0"
         "\x81\xBF",
         "<U+0080><U+009F><U+00AD><U+061C><U+180E><U+200B><U+200F><U+2028><U+202E><U+2060>"
         "<U+206F><U+FEFF><U+FFF9><U+FFFB><U+E0000><U+E007F>"},
        {"a\xFF_\x80_\xC0\xC1\xF5", R"(a\xFF_\x80_\xC0\xC1\xF5)"},
        {"\xC0\xAF\xE0\x80\xAF\xF0\x80\x80\xAF\xED\xA0\x80\xF4\x90\x80\x80\xF5\x80\x80\x80",
         R"(\xC0\xAF\xE0\x80\xAF\xF0\x80\x80\xAF\xED\xA0\x80\xF4\x90\x80\x80\xF5\x80\x80\x80)"},
        {"a\xE2\x80_\xF0\x9F\x92", R"(a\xE2\x80_\xF0\x9F\x92)"},
        {"\xE2\xC3\xB6\xE2\x80\xC0", "\\xE2\xC3\xB6\\xE2\\x80\\xC0"}};
    for (const auto& [raw, shown] : cases) {
        EXPECT_EQ(DisplayText(raw), shown) << shown;
        EXPECT_EQ(DisplayText(shown), shown) << "escaping twice changes nothing";
    }
}

TEST(Texts, ExactWording)
{
    constexpr std::uint64_t kMiB = 1024ULL * 1024;
    constexpr std::uint64_t kGiB = 1024 * kMiB;
    const std::string h = "Cannot built ISO.\r\n\r\n";
    std::string twelveGaps; // 13 findings: 12 shown
    for (int n = 0; n < 12; ++n)
        twelveGaps += "gap\r\n";
    const auto failed = [](int start, std::int32_t code, int signal, const char* output) {
        return JoinFailed({{start, start ? "gone" : ""}, code, signal, output});
    };
    const Pairs cases = {
        {NameWithPercent("C:\\i\\%OS%.001"),
         h + "The command interpreter would take the '%' in this name for a variable and "
             "change the name:\r\n'C:\\i\\%OS%.001'"},
        {PathTooLong("C:\\a", 259),
         h + "This path is longer than the 259 characters the system can take:\r\n'C:\\a'"},
        {FolderPathTooLong("C:\\a\\b.iso", 259),
         h + "The image is written beside the destination under a temporary name first, and "
             "with it the path is longer than the 259 characters the system can take:\r\n"
             "'C:\\a\\b.iso'"},
        {failed(0, 1, 0, "cat: '/i/\xE2\x80\xAE\x1B[2Jb\xFF': denied\r\nx\ry\n\n"),
         h + "cat: '/i/<U+202E>\\x1B[2Jb\\xFF': denied\r\nx\\ry\r\nThe join ended with exit "
             "code 1."},
        {ImageSizeDiffers(1000, 3000, "/o", true),
         h + "The joined image has 1,000 bytes, but the parts had 3,000 bytes when the build "
             "began: a part changed while it was joined.\r\n\r\n'/o' has not been changed."},
        {BuildStepFailed("joining the parts", {5, "gone"}, "/o", false, true),
         h + "Input is invalid or some unknown error occured.\r\n\r\nThe build stopped while "
             "joining the parts: gone (error 5).\r\n\r\nThe image is in place: '/o'."},
        {ImageNotPlaced("flush the image to disk", {5, "Input/output error"}, "/o.iso", false),
         h + "Could not flush the image to disk:\r\nInput/output error (error 5).\r\n\r\n"
             "No image was written."},
        {BuildAnywayQuestion(std::vector<std::string>(13, "gap")),
         "The parts do not look like one complete set:\r\n\r\n" + twelveGaps +
             "... and 1 more.\r\n\r\nBuild anyway?"},
        {BuiltSuccessfully("/d/o.iso", "") + "|" + BuiltSuccessfully("C:\\o.iso", "Volume X."),
         "ISO built succesfully.\r\nThe image is '/d/o.iso'.|ISO built succesfully.\r\nThe "
         "image is 'C:\\o.iso'.\r\n\r\nVolume X."},
        {HelpFilePath("C:\\P", '\\') + "|" + HelpFilePath("/p/", '/') + "|" + HelpFilePath("", '/'),
         "C:\\P\\Partwright_by_Quillon_README.txt|/p/Partwright_by_Quillon_README.txt|"
         "/Partwright_by_Quillon_README.txt"},
        {GroupedNumber(999) + " " + GroupedNumber(1000) + " " + GroupedNumber(UINT64_MAX) + ", " +
             Bytes(1) + ", " + Bytes(2048),
         "999 1,000 18,446,744,073,709,551,615, 1 byte, 2,048 bytes"},
        {ByteSize(1) + ", " + ByteSize(1023) + ", " + ByteSize(1024) + ", " + ByteSize(10240) +
             ", " + ByteSize(102400) + ", " + ByteSize(kMiB) + ", " + ByteSize(1536 * kGiB) + ", " +
             ByteSize(kGiB << 30),
         "1 byte, 1023 bytes, 1.00 KiB, 10.0 KiB, 100 KiB, 1.00 MiB, 1.50 TiB, 1024 PiB"},
        {TimeLeft(0.2) + ", " + TimeLeft(59) + ", " + TimeLeft(60) + ", " + TimeLeft(150) + ", " +
             TimeLeft(3900),
         "about 1 s, about 59 s, about 1 min, about 3 min, about 1 h 5 min"},
        {ProgressFigures(0, 2 * kGiB, 0), "0 bytes of 2.00 GiB"},
        {ProgressFigures(kGiB, 2 * kGiB, 256.0 * kMiB),
         "1.00 GiB of 2.00 GiB \xc2\xb7 256 MiB/s \xc2\xb7 about 4 s left"},
        {ProgressFigures(2 * kGiB, 2 * kGiB, 256.0 * kMiB),
         "2.00 GiB of 2.00 GiB \xc2\xb7 writing to disk"}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(text, expected);
}

// None before two samples, then over the last three seconds.
TEST(ThroughputMeter, RateOverTheLastSeconds)
{
    ThroughputMeter meter;
    std::vector<double> rates;
    for (const auto& [seconds, bytes] :
         {std::pair(0.0, 0), {1.0, 100}, {2.0, 300}, {5.0, 900}, {6.0, 1000}}) {
        meter.add(seconds, bytes);
        rates.push_back(meter.bytesPerSecond());
    }
    EXPECT_EQ(rates, (std::vector<double>{0, 100, 150, 200, 100}));
}

// What a progress window shows of each phase: the check's file escaped, no measure while the
// disk is waited for.
TEST(ProgressReading, WhatEachPhaseShows)
{
    using Phase = BuildFigures::Phase;
    const struct {
        BuildFigures figures;
        std::string action;
        int permille;
        std::string figuresShown;
    } rows[] = {
        // clang-format off
        {{Phase::CheckingParts, 1, 4, "D\n.sfv", false}, "Checking the parts against D\\n.sfv", 250, "1 byte of 4 bytes"},
        {{Phase::Joining, 4, 4, "", false}, "Joining 3 parts into:", 1000, "4 bytes of 4 bytes \xc2\xb7 writing to disk"},
        {{Phase::CheckingImage, 4, 4, "D.md5", false}, "Checking the image against D.md5", 1000, "4 bytes of 4 bytes \xc2\xb7 comparing"},
        {{Phase::Placing, 4, 4, "", false}, "Joining 3 parts into:", -1, "Flushing the image to disk..."},
        {{Phase::Cancelling, 0, 4, "", true}, "Cancelling: waiting for the disk to finish writing...", -1, ""},
        {{Phase::Cancelling, 0, 4, "", false}, "Cancelling...", -1, ""},
        // clang-format on
    };
    for (const auto& row : rows) {
        ProgressReading reading(3);
        const ProgressShown shown = reading.read(row.figures, 1.0);
        EXPECT_EQ(shown.action, row.action);
        EXPECT_EQ(shown.permille, row.permille) << row.action;
        EXPECT_EQ(shown.figures, row.figuresShown);
    }
    // Each phase measures its own speed.
    ProgressReading reading(3);
    reading.read({Phase::CheckingParts, 1, 4, "D.sfv", false}, 1.0);
    EXPECT_NE(reading.read({Phase::CheckingParts, 3, 4, "D.sfv", false}, 2.0).figures,
              "3 bytes of 4 bytes");
    EXPECT_EQ(reading.read({Phase::Joining, 1, 4, "", false}, 3.0).figures, "1 byte of 4 bytes");
}

TEST(Texts, NamesFromOutsideAreShownEscaped)
{
    const std::string name = "/i/a\n\xE2\x80\xAE_\xFF";
    for (const auto& report :
         {DestinationIsAFolder(name), DestinationIsAPart(name), TooLargeForFat(name, 1),
          NotEnoughRoom(name, 2, 1), BuildAnywayQuestion({"x '" + name + "' x"}),
          ReplaceQuestion(name), BuildCancelled(name, true), CannotWriteIn(name, {}),
          CannotUseDestination(name, {}), PartMissing(name), NameWithPercent(name),
          PathTooLong(name, 1), FolderPathTooLong(name, 1), HelpCannotBeOpened(name)})
        EXPECT_NE(report.find("'/i/a\\n<U+202E>_\\xFF'"), std::string::npos) << report;
}

} // namespace
} // namespace partwright
