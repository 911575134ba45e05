// Checksum files as the real tools write them, for parts whose names hold a blank and a
// backslash (which the sums tools escape): what the build asks and reports; also on a system whose
// checksum library refuses some of their algorithms.

#include "join/BuildFlow.h"
#include "join/SystemJoin.h"
#include "platform/ChildProcess.h"
#include "support/ScriptedWindow.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace partwright {
namespace {

namespace fs = std::filesystem;

// The scripts run in the folder with the parts and their image, which they then remove; "$1" is
// the parts' stem, %1 in the texts. rhash takes a backslash for a folder's separator.
TEST(ChecksumTools, WhatTheirFilesSayOfTheImageAndItsParts)
{
    const std::string backslash = "My Disc\\1", hash = "My Disc #1";
    const std::string built = "OUT.ISO'.\r\n\r\n"; // the end of the success line
    const std::string image = "\r\nChecked on the image as it was written.";
    const struct {
        const std::string& stem;
        std::string script;
        std::string said; // the report's lines after the success line
    } rows[] = {
        {backslash, "md5sum *.iso >\"$1.md5\"", built + "MD5 matches %1.md5." + image},
        {backslash, "sha1sum -b *.iso >\"$1.iso.sha1\"",
         built + "SHA-1 matches %1.iso.sha1." + image},
        {backslash, "sha256sum --tag *.iso >\"$1.sha256\"",
         built + "SHA-256 matches %1.sha256." + image},
        {hash, "cat *.0* | sha512sum >\"$1.SHA512\"", built + "SHA-512 matches %1.SHA512." + image},
        {hash, R"(b2sum *.iso >"$1.b2" && b2sum -l 200 *.0* >"$1.iso.b2")",
         built + "BLAKE2b-512 matches %1.b2." + image +
             "\r\n%1.iso.b2 holds BLAKE2b-200 checksums, "
             "which Partwright cannot compute; they were not checked."},
        {backslash, "b2sum -l 256 --tag *.iso >\"$1.iso.b2\"",
         built + "BLAKE2b-256 matches %1.iso.b2." + image},
        {hash, "rhash --sfv *.0* >\"$1.sfv\"",
         built + "CRC32 of every part matches %1.sfv, each part checked in its place in the image "
                 "as it was written: the parts were joined in the right order."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.script);
        test::TempDir dir;
        std::vector<std::string> parts;
        std::string joined;
        for (const char* number : {".001", ".002", ".003"}) {
            parts.push_back(dir.file(row.stem + number));
            const std::string content(100'000, number[3]);
            test::WriteFile(parts.back(), content);
            joined += content;
        }
        test::WriteFile(dir.file(row.stem + ".iso"), joined);
        const std::string script = "cd \"$2\" && { " + row.script + "; } && rm *.iso";
        ASSERT_EQ(ExecCmd({{"/bin/sh", "-c", script, "sh", row.stem, dir.path().string()}, {}}), 0);
        test::ScriptedWindow window;
        BuildFlow flow(SystemJoinSteps, parts, dir.file("OUT.ISO"));
        window.run(flow);
        EXPECT_EQ(flow.ending(), BuildEnding::Built);
        std::string expected = row.said;
        for (std::size_t at; (at = expected.find("%1")) != std::string::npos;)
            expected.replace(at, 2, row.stem);
        const std::string& said = flow.message();
        EXPECT_NE(said.find(expected), std::string::npos) << said;
    }
}

// In FIPS mode libgcrypt refuses MD5 and BLAKE2b: the image is built and placed, and the report
// names each file whose checksums were not checked. FIPS mode is forced by running this test
// again, as libgcrypt reads the switch once, when the program starts.
TEST(ChecksumTools, AlgorithmsTheSystemRefuses)
{
    const char* const kFips = "LIBGCRYPT_FORCE_FIPS_MODE";
    if (!std::getenv(kFips)) {
        const test::TempDir dir;
        setenv(kFips, "1", 1);
        const int output = open(dir.file("output").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        const int code =
            ExecCmd({{"/proc/self/exe", "--gtest_filter=ChecksumTools.AlgorithmsTheSystemRefuses"},
                     {},
                     output});
        close(output);
        unsetenv(kFips);
        EXPECT_EQ(code, 0) << test::ReadFile(dir.file("output"));
        return;
    }
    const test::TempDir dir;
    fs::current_path(dir.path());
    const std::string destination = dir.file("OUT.ISO");
    ASSERT_EQ(ExecCmd({{"/bin/sh", "-c",
                        "printf abc >DISC.001; printf def >DISC.002; cat DISC.00? >DISC.iso; "
                        "md5sum DISC.iso >DISC.md5; b2sum DISC.00? >DISC.b2; rm DISC.iso"},
                       {}}),
              0);
    test::ScriptedWindow window;
    BuildFlow flow(SystemJoinSteps, {dir.file("DISC.001"), dir.file("DISC.002")}, destination);
    window.run(flow);
    fs::current_path(dir.path().parent_path());
    EXPECT_EQ(flow.ending(), BuildEnding::Built);
    EXPECT_EQ(flow.message(), "ISO built succesfully.\r\nThe image is '" + destination +
                                  "'.\r\n\r\nThe image was not checked against DISC.md5: MD5 "
                                  "cannot be computed on this system: Invalid digest algorithm."
                                  "\r\nThe parts were not checked against DISC.b2: BLAKE2b-512 "
                                  "cannot be computed on this system: Invalid digest algorithm.");
    EXPECT_EQ(test::ReadFile(destination), "abcdef");
}

} // namespace
} // namespace partwright
