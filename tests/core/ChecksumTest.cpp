// The parts' checksum files: each format read, checksums known beforehand, and what a build does
// with them, from the question before the join to the report and the files on disk.

#include "checksum/ChecksumFile.h"
#include "checksum/ChecksumPlan.h"
#include "checksum/Hashing.h"
#include "join/BuildFlow.h"
#include "join/SystemJoin.h"
#include "platform/TemporaryImage.h"
#include "support/ScriptedWindow.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace partwright {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// Of "abcdefghi", the image of the parts "abc", "def" and "ghi".
constexpr char kCrc32[] = "8da988af";
constexpr char kMd5[] = "8aa99b1f439ff71293e95357bac6fd94";
constexpr char kSha1[] = "c63b19f1e4c8b5f76b25c49b8b87f57d8e4872a1";
constexpr char kSha256[] = "19cc02f26df43cc571bc9ed7b0c4d29224a3ec229529221725ef76d021c8326f";
constexpr char kSha512[] = "f22d51d25292ca1d0f68f69aedc7897019308cc9db46efb75a03dd494fc7f126c010e"
                           "8ade6a00a0c1a5f1b75d81e0ed5a93ce98dc9b833db7839247b1d9c24fe";
constexpr char kBlake2b512[] =
    "fbb24d21e0fcb6223cb5f9dde56080a5c737ec0df3a8a2fc70ccdd64bac5807c736b"
    "378ca0eab12605bc982b25692f03023379ed9bc6f7294138257239f3105d";
constexpr char kBlake2b256[] = "43f98a695f0b3b764f75a74048e775f53b16906b8e8aa292c49717618c6fbaff";
const Texts kPartCrc32{"352441c2", "0cc4e161", "2b933ce4"}; // "abc", "def", "ghi"

// "NAME ALGORITHM HEX [SIZE]" an entry, then "ALGORITHM ?" one that cannot be computed, apart
// by "|".
std::string Entries(const ChecksumFileContents& contents)
{
    std::string shown;
    for (const ChecksumEntry& e : contents.entries)
        shown += (shown.empty() ? "" : "|") + e.name + " " + AlgorithmName(e.algorithm) + " " +
                 e.hex + (e.size ? " " + std::to_string(*e.size) : "");
    for (const std::string& algorithm : contents.notComputable)
        shown += (shown.empty() ? "" : "|") + algorithm + " ?";
    return shown;
}

TEST(ChecksumFile, EachFormatReadByItsEnding)
{
    const std::string sha256(kSha256), md5(kMd5), crc(kCrc32), sha1(kSha1);
    const std::string b512(kBlake2b512), b256(kBlake2b256), b200(50, 'c');
    const struct {
        const char* ending;
        std::string text, entries;
    } rows[] = {
        {".sha256", sha256 + "  DISC.iso\n", "DISC.iso SHA-256 " + sha256},
        {".MD5", "\xEF\xBB\xBF" + md5 + " *DISC.001\r\n\r\n" + md5 + " *a b.002\r\n",
         "DISC.001 MD5 " + md5 + "|a b.002 MD5 " + md5},
        {".md5", "\\" + md5 + "  a\\\\b\\nc.iso\n", "a\\b\nc.iso MD5 " + md5},
        {".sha256", "SHA256 (DISC (1).iso) = " + sha256 + "\n", "DISC (1).iso SHA-256 " + sha256},
        {".md5", "SHA1 (x.iso) = " + std::string(kSha1), "x.iso SHA-1 " + std::string(kSha1)},
        {".sha512", std::string(kSha512) + "\n", " SHA-512 " + std::string(kSha512)},
        {".md5", sha256 + "  x.iso", "x.iso SHA-256 " + sha256}, // the hash's length decides
        // Not hexadecimal, brackets missing or misplaced: no checksum.
        {".sha1",
         "# made by hand\nnot a checksum\n" + md5.substr(2) + "  no length of a sum\n" +
             sha1.substr(1) + "g  not hexadecimal\nSHA1 (x.iso = " + sha1 + "\nSHA1 x.iso) = " +
             sha1 + "\nSHA1 )x.iso( = " + sha1 + "\nSHA1 (x.iso)= " + sha1 + "\n",
         ""},
        // The ending decides: BLAKE2b of the hash's length, even one the library lacks.
        {".b2", b512 + "  DISC.iso\n" + b256 + "  DISC.001\n" + sha1 + "  DISC.002\n",
         "DISC.iso BLAKE2b-512 " + b512 + "|DISC.001 BLAKE2b-256 " + b256 +
             "|DISC.002 BLAKE2b-160 " + sha1},
        {".sha256",
         "blake2b (a.iso) = " + b512 + "\nBLAKE2b-256 (b.iso) = " + b256 +
             "\nBLAKE2B-512 (c.iso) = " + b512 + "\nBLAKE2b-10 (d.iso) = a5\n",
         "a.iso BLAKE2b-512 " + b512 + "|b.iso BLAKE2b-256 " + b256 + "|c.iso BLAKE2b-512 " + b512},
        {".B2",
         "a5  x.iso\nBLAKE2b-200 (y.iso) = " + b200 + "\nBLAKE2b-8 (z.iso) = a5\n" +
             std::string(130, 'c') + "  too long\n",
         "BLAKE2b-8 ?|BLAKE2b-200 ?"},
        {".sfv",
         "; made by a tool, 0000FFFF\n;\nmy disc.001 352441C2\r\nDISC.002\t0cc4e161 \nbad 1234\n",
         "my disc.001 CRC32 352441c2|DISC.002 CRC32 0cc4e161"},
        {".crc", "filename=DISC.iso\r\nsize=9\r\ncrc32=8DA988AF\r\n",
         "DISC.iso CRC32 " + crc + " 9"},
        {".crc", "filename=?.iso\r\nfilenameutf8=\xC3\xA4.iso\r\ncrc32=" + crc,
         "\xC3\xA4.iso CRC32 " + crc},
        {".crc", "filename=DISC.iso\r\nsize=nine\r\ncrc32=" + crc, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Entries(ParseChecksumFile(row.text, row.ending)), row.entries) << row.text;
}

// The checksum files beside a list, planned for the destination OUT.ISO: "PART ALGORITHM HEX
// FILE" lines, then "image ...", the findings and the notes, a line each.
TEST(PlanChecksums, TheSetFindsItsFilesAndTheLinesThatCount)
{
    const std::string a(64, 'a'), b(64, 'b'), c(32, 'c'), d(32, 'd'), e(128, 'e'), f(128, 'f');
    const struct {
        Texts parts;
        std::vector<std::pair<std::string, std::string>> files;
        std::string plan;
    } rows[] = {
        {{"README.txt", "DISC.001", "DISC.002"},
         {{"DISC.sha256", a + "  DISC.iso\n"}},
         "image SHA-256 " + a + " DISC.sha256"},
        {{"DISC.md5", "DISC.001", "DISC.002"},
         {{"DISC.md5", c + "  DISC.001\n" + c + "  DISC.003\n"}, {"DISC.sha256", a + "  x.iso\n"}},
         "DISC.001 MD5 " + c + " DISC.md5\nimage SHA-256 " + a +
             " DISC.sha256\nDISC.003 is named in DISC.md5 but is not in the list."},
        {{"img.iso.aa", "img.iso.ab"},
         {{"img.iso.md5", c + "  img.iso.aa\n" + c + "  img.iso.ac\n" + d + "  img.iso\n"}},
         "img.iso.aa MD5 " + c + " img.iso.md5\nimage MD5 " + d +
             " img.iso.md5\nimg.iso.ac is named in img.iso.md5 but is not in the list."},
        {{"DISC.001"},
         {{"DISC.sha256", a + "  DISC.iso\n" + b + "  out.iso\n"},
          {"DISC.sha512", e + "  DISC.iso"}},
         "image SHA-256 " + b + " DISC.sha256"},
        {{"DISC.001"},
         {{"disc.MD5", c + "\n"},
          {"DISC.iso.sha512", e + "  -\n"},
          {"DISC.crc", "filename=DISC.iso\r\nsize=10\r\ncrc32=8DA988AF"},
          {"DISC.sha256", a + "  DISC.iso\n" + b + "  DISC.img\n"}},
         "image SHA-512 " + e +
             " DISC.iso.sha512\nThe parts have 9 bytes together, but DISC.crc "
             "gives the image 10 bytes.\nDISC.sha256 gives checksums for 2 files that could be the "
             "image and cannot tell which; none of them was used."},
        {{"DISC.001", "DISC.002"},
         {{"DISC.sha256", a + "  DISC.002\n"},
          {"DISC.iso.sha256", b + "  DISC.002\n"},
          {"DISC.sfv", "DISC.002 0CC4E161\n"},
          {"DISC.md5", c + "  OUT.ISO\n" + d + "  OUT.ISO\n"}},
         "DISC.002 CRC32 0cc4e161 DISC.sfv\nDISC.002 has two different SHA-256 checksums: " + b +
             " in DISC.iso.sha256 and " + a +
             " in DISC.sha256; neither is checked.\nThe image has two different MD5 checksums: " +
             c + " and " + d + " in DISC.md5; neither is checked."},
        // BLAKE2b ranks by its length, after SHA-2 of that length.
        {{"DISC.001"},
         {{"DISC.iso.B2", f + "  OUT.ISO\n"}, {"DISC.sha256", a + "  OUT.ISO\n"}},
         "image BLAKE2b-512 " + f + " DISC.iso.B2"},
        {{"DISC.001"},
         {{"DISC.b2", "BLAKE2b (OUT.ISO) = " + f + "\n" + b + "  OUT.ISO\n"},
          {"DISC.sha512", e + "  OUT.ISO\n"}},
         "image SHA-512 " + e + " DISC.sha512"},
        {{"DISC.001"},
         {{"DISC.b2", b + "  OUT.ISO\n"},
          {"DISC.sha256", a + "  OUT.ISO\n"},
          {"disc.iso.b2", "a5  DISC.001\n"}},
         "image SHA-256 " + a +
             " DISC.sha256\ndisc.iso.b2 holds BLAKE2b-8 checksums, which "
             "Partwright cannot compute; they were not checked."},
        {{"DISC.001"},
         {{"DISC.sha1", std::string(4 * 1024 * 1024 + 1, 'a')}},
         "DISC.sha1 is too large to be a checksum file; it was not read."},
    };
    for (const auto& row : rows) {
        test::TempDir dir;
        Texts parts;
        for (const std::string& part : row.parts)
            parts.push_back(dir.file(part));
        for (const auto& [name, content] : row.files)
            test::WriteFile(dir.file(name), content);
        const ChecksumPlan plan = PlanChecksums(parts, dir.file("OUT.ISO"), 9);
        std::string shown;
        const auto show = [&shown](const std::string& line) {
            shown += (shown.empty() ? "" : "\n") + line;
        };
        for (const PartChecksum& part : plan.parts)
            show(row.parts[part.part] + " " + AlgorithmName(part.algorithm) + " " + part.hex + " " +
                 part.checksumFile);
        if (const auto& image = plan.image)
            show("image " + std::string(AlgorithmName(image->algorithm)) + " " + image->hex + " " +
                 image->checksumFile);
        std::for_each(plan.findings.begin(), plan.findings.end(), show);
        std::for_each(plan.notes.begin(), plan.notes.end(), show);
        EXPECT_EQ(shown, row.plan);
    }
}

TEST(Hashing, KnownChecksumsOfFilesTheTestWrites)
{
    test::TempDir dir;
    const Texts parts{dir.file("DISC.001"), dir.file("DISC.002"), dir.file("DISC.003")};
    test::WriteFile(parts[0], "abc");
    test::WriteFile(parts[1], "def");
    test::WriteFile(parts[2], "ghi");
    const std::string image = dir.file("DISC.iso"), one = dir.file("one");
    test::WriteFile(image, "abcdefghi");
    test::WriteFile(one, "a"); // a last read of a single byte
    HashingState state;
    const HashRun run = HashEach({{image, Algorithm::Crc32},
                                  {image, Algorithm::Md5},
                                  {image, Algorithm::Sha1},
                                  {image, Algorithm::Sha256},
                                  {image, Algorithm::Sha512},
                                  {image, Algorithm::Blake2b512},
                                  {image, Algorithm::Blake2b256},
                                  {parts[1], Algorithm::Crc32},
                                  {one, Algorithm::Crc32}},
                                 state);
    EXPECT_EQ(run.result, HashRun::Result::Done);
    EXPECT_EQ(run.digests, (Texts{kCrc32, kMd5, kSha1, kSha256, kSha512, kBlake2b512, kBlake2b256,
                                  kPartCrc32[1], "e8b7be43"}));
    EXPECT_EQ(run.bytes, 7 * 9 + 3 + 1);
    EXPECT_EQ(state.done, run.bytes);
    // A part that cannot be read ends the run with what was done before it.
    const HashRun failed =
        HashEach({{parts[0], Algorithm::Crc32}, {dir.file("DISC.004"), Algorithm::Crc32}}, state);
    EXPECT_EQ(failed.result, HashRun::Result::Failed);
    EXPECT_EQ(failed.failedFile, dir.file("DISC.004"));
    EXPECT_EQ(failed.digests, Texts{kPartCrc32[0]});
    // So does one that opens but cannot be read (on Linux the process's memory at offset 0).
    EXPECT_EQ(HashEach({{"/proc/self/mem", Algorithm::Crc32}}, state).result,
              HashRun::Result::Failed);
    // One read of the image gives its own checksum and each part's in its place, overlapping;
    // a stretch past the end counts what the file held.
    FileReader reader(image);
    const HashRun pieces = HashPiecesWhileWritten(reader, image,
                                                  {{0, 9, Algorithm::Sha256},
                                                   {6, 3, Algorithm::Crc32},
                                                   {0, 3, Algorithm::Crc32},
                                                   {3, 3, Algorithm::Crc32},
                                                   {6, 100, Algorithm::Crc32}},
                                                  state);
    EXPECT_EQ(pieces.digests,
              (Texts{kSha256, kPartCrc32[2], kPartCrc32[0], kPartCrc32[1], kPartCrc32[2]}));
    EXPECT_EQ(pieces.bytes, 9u);
    state.stop = true;
    EXPECT_EQ(HashEach({{image, Algorithm::Sha256}}, state).result, HashRun::Result::Stopped);
}

// Where the system lets the image be read while the child writes it, it is checked meanwhile, and
// the parts in their places in it; elsewhere the parts are checked before the join.
const bool kReadWhileWritten = TemporaryImage::CanBeReadWhileWritten();

std::string Replaced(std::string text, const std::string& destination)
{
    for (std::size_t at; (at = text.find("%1")) != std::string::npos;)
        text.replace(at, 2, destination);
    std::string lines; // with the CR LF line breaks of the program's messages
    for (const char c : text)
        lines += c == '\n' ? "\r\n" : std::string(1, c);
    return lines;
}

// The parts DISC.001-003 hold "abc", "def", "ghi"; the checksum files lie beside them. In the
// texts, %1 stands for the destination.
TEST(BuildFlow, ChecksumFilesThatCameWithTheParts)
{
    using E = BuildEnding;
    const std::string sha256(kSha256), zeros(32, '0'), crc(kCrc32);
    const std::string sfv = "DISC.001 352441C2\nDISC.002 0CC4E161\nDISC.003 2B933CE4\n";
    const std::string built = "ISO built succesfully.\nThe image is '%1'.\n\n";
    const std::string checked = std::string("\nChecked on the image ") +
                                (kReadWhileWritten ? "as it was written." : "once it was written.");
    const std::string mismatch = "The image does not match its MD5 in DISC.md5:\nexpected " +
                                 zeros + ",\nfound " + kMd5 + ".\n\n";
    const std::string anyway = "The parts do not look like one complete set:\n\n";
    const std::string order = "No checksum of the whole image was found; parts checked one by one "
                              "do not show that they were joined in the right order.";
    // Parts checked in their places in the image, or before the join.
    const std::string damagedSfv = "DISC.001 352441C2\nDISC.002 FFFFFFFF\nDISC.003 2B933CE4\n";
    const std::string damaged =
        "DISC.002 does not match its CRC32 in DISC.sfv: expected FFFFFFFF, found 0CC4E161.";
    const std::string keep = damaged + "\n\nKeep the image anyway?";
    const std::string everyPart =
        kReadWhileWritten
            ? "CRC32 of every part matches DISC.sfv, each part checked in its place "
              "in the image as it was written: the parts were joined in the right "
              "order."
            : "CRC32 of every part matches DISC.sfv (checked before the join).\n" + order;
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files; // checksum files
        bool oldImage;
        std::vector<bool> answers;
        E ending;
        std::string question, report;
    } rows[] = {
        // clang-format off
        {"the image matches", {{"DISC.sha256", sha256 + "  DISC.iso\n"}}, false, {}, E::Built, "",
         built + "SHA-256 matches DISC.sha256." + checked},
        {"the image differs, nothing to replace", {{"DISC.md5", zeros}}, false, {}, E::Mismatched,
         "", mismatch + "The image was kept: '%1'."},
        {"the image differs, keep the old one", {{"DISC.md5", zeros}}, true, {true, false},
         E::Mismatched, "'%1' already exists. Do you want to replace it with this image?",
         mismatch + "The image was removed; '%1' has not been changed."},
        {"the image differs, replace the old one", {{"DISC.md5", zeros}}, true, {true, true},
         E::Mismatched, "", mismatch + "The image replaced '%1'."},
        {"every part matches", {{"DISC.sfv", sfv}}, false, {}, E::Built, "", built + everyPart},
        {"a damaged part: No", {{"DISC.sfv", damagedSfv}}, false, {},
         kReadWhileWritten ? E::Mismatched : E::Declined,
         kReadWhileWritten ? keep : anyway + damaged + "\n\nBuild anyway?",
         kReadWhileWritten ? damaged + "\n\nThe image was removed; nothing was written to '%1'." : ""},
        {"a damaged part, the old image: Yes, No", {{"DISC.sfv", damagedSfv}}, true, {true, false},
         kReadWhileWritten ? E::Mismatched : E::Declined,
         kReadWhileWritten ? keep : "'%1' already exists.\n\nDo you want to replace it?",
         kReadWhileWritten ? damaged + "\n\nThe image was removed; '%1' has not been changed." : ""},
        {"a damaged part: Yes", {{"DISC.sfv", damagedSfv}}, false, {true},
         kReadWhileWritten ? E::Mismatched : E::Built, kReadWhileWritten ? keep : "",
         kReadWhileWritten ? damaged + "\n\nThe image was kept: '%1'.\n\nCRC32 of 2 parts match "
                             "DISC.sfv; 1 does not (checked in their places in the image as it "
                             "was written)."
                           : built + "CRC32 of 2 parts match DISC.sfv; 1 does not (checked before "
                             "the join).\n" + order},
        {"a .crc file with the size", {{"DISC.crc", "filename=DISC.iso\r\nsize=9\r\ncrc32=" + crc}},
         false, {}, E::Built, "",
         built + "CRC32 and size match DISC.crc." + checked},
        {"an unreadable file and a good one", {{"DISC.sha1", std::string(kSha1) + "  DISC.iso"},
         {"disc.ISO.SHA512", "not a sum"}}, false, {}, E::Built, "",
         built + "SHA-1 matches DISC.sha1." + checked + "\n"
         "disc.ISO.SHA512 holds no checksum that Partwright can read."},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        const Texts parts{dir.file("DISC.001"), dir.file("DISC.002"), dir.file("DISC.003")};
        test::WriteFile(parts[0], "abc");
        test::WriteFile(parts[1], "def");
        test::WriteFile(parts[2], "ghi");
        for (const auto& [name, content] : row.files)
            test::WriteFile(dir.file(name), content);
        const std::string destination = dir.file("OUT.ISO");
        if (row.oldImage)
            test::WriteFile(destination, "old image");
        test::ScriptedWindow window;
        window.answers = row.answers;
        BuildFlow flow(SystemJoinSteps, parts, destination);
        window.run(flow);
        EXPECT_EQ(flow.ending(), row.ending);
        EXPECT_EQ(flow.message(), Replaced(row.report, destination));
        // A progress window for the parts' check and one for the join, each closed before the
        // next one is shown, and none left at the end.
        for (std::size_t i = 1; i < window.progress.size(); ++i)
            EXPECT_TRUE(window.progress[i] == "closed" || window.progress[i - 1] == "closed");
        EXPECT_EQ(window.progress.empty() ? "closed" : window.progress.back(), "closed");
        if (!row.question.empty()) {
            const std::string question = Replaced(row.question, destination);
            ASSERT_FALSE(window.asked.empty());
            const std::string& asked = window.asked.back();
            EXPECT_EQ(asked.substr(asked.size() - std::min(asked.size(), question.size())),
                      question);
        }
        const bool placed = row.report.find("was removed") == std::string::npos &&
                            (row.ending == E::Built || row.ending == E::Mismatched);
        EXPECT_EQ(test::ReadFile(destination), placed         ? "abcdefghi"
                                               : row.oldImage ? "old image"
                                                              : "");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}),
                  3 + row.files.size() + (placed || row.oldImage));
    }
}

} // namespace
} // namespace partwright
