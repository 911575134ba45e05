// Checksum files as the real tools write them, for parts whose names hold a blank and a
// backslash (which the sums tools escape): what the build asks and reports.

#include "join/BuildFlow.h"
#include "join/SystemJoin.h"
#include "platform/ChildProcess.h"
#include "support/ScriptedWindow.h"
#include "support/TempDir.h"

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
    const std::string damage = " && printf X | dd conv=notrunc status=none of=\"$1.002\"";
    const struct {
        const std::string& stem;
        std::string script;
        BuildEnding ending;
        std::string said; // the question's finding, or the report's first lines
    } rows[] = {
        {backslash, "md5sum *.iso >\"$1.md5\"", BuildEnding::Built,
         built + "MD5 matches %1.md5." + image},
        {backslash, "sha1sum -b *.iso >\"$1.iso.sha1\"", BuildEnding::Built,
         built + "SHA-1 matches %1.iso.sha1." + image},
        {backslash, "sha256sum --tag *.iso >\"$1.sha256\"", BuildEnding::Built,
         built + "SHA-256 matches %1.sha256." + image},
        {hash, "cat *.0* | sha512sum >\"$1.SHA512\"", BuildEnding::Built,
         built + "SHA-512 matches %1.SHA512." + image},
        {hash, R"(b2sum *.iso >"$1.b2" && b2sum -l 200 *.0* >"$1.iso.b2")", BuildEnding::Built,
         built + "BLAKE2b-512 matches %1.b2." + image +
             "\r\n%1.iso.b2 holds BLAKE2b-200 checksums, "
             "which Partwright cannot compute; they were not checked."},
        {backslash, "b2sum -l 256 --tag *.iso >\"$1.iso.b2\"", BuildEnding::Built,
         built + "BLAKE2b-256 matches %1.iso.b2." + image},
        {hash, "rhash --sfv *.0* >\"$1.sfv\"", BuildEnding::Built,
         built + "CRC32 of every part matches %1.sfv, each part checked in its place in the image "
                 "as it was written: the parts were joined in the right order."},
        // Damaged after the checksums were made, keeping its size.
        {backslash, "md5sum *.iso >\"$1.md5\"" + damage, BuildEnding::Mismatched,
         "The image does not match its MD5 in %1.md5:\r\n"},
        {hash, "rhash --sfv *.0* >\"$1.sfv\"" + damage, BuildEnding::Mismatched,
         "%1.002 does not match its CRC32 in %1.sfv: expected "},
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
        EXPECT_EQ(flow.ending(), row.ending);
        std::string expected = row.said;
        for (std::size_t at; (at = expected.find("%1")) != std::string::npos;)
            expected.replace(at, 2, row.stem);
        const std::string& said =
            row.ending == BuildEnding::Declined ? window.asked.at(0) : flow.message();
        EXPECT_NE(said.find(expected), std::string::npos) << said;
    }
}

} // namespace
} // namespace partwright
