// The image check against ISO 9660 images made by real tools, split into parts and joined again.

#include "join/ImageCheck.h"

#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace partwright {
namespace {

constexpr std::size_t kPartSize = std::size_t{1024} * 1024;

class ImageCheckTest : public testing::TestWithParam<const char*> {
protected:
    // Makes an image of a few megabytes with the tool and splits it into parts of 1 MiB.
    void SetUp() override
    {
        const std::string tool = GetParam();
        if (std::system(("command -v " + tool.substr(0, tool.find(' ')) + " >/dev/null").c_str()) !=
            0)
            GTEST_SKIP() << tool << " is not installed";
        std::filesystem::create_directory(dir_.file("content"));
        std::mt19937 random(7);
        for (int i = 0; i < 4; ++i) {
            std::string data(900000, '\0');
            for (auto& c : data)
                c = static_cast<char>(random());
            test::WriteFile(dir_.file("content/file" + std::to_string(i) + ".bin"), data);
        }
        const std::string command = tool + " -quiet -V MYDISC -o '" + dir_.file("disc.iso") +
                                    "' '" + dir_.file("content") + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;

        image_ = test::ReadFile(dir_.file("disc.iso"));
        for (std::size_t offset = 0; offset < image_.size(); offset += kPartSize)
            parts_.push_back(image_.substr(offset, kPartSize));
        ASSERT_GE(parts_.size(), 4u);
    }

    // Joins the given parts (indices into the split image) and checks the result.
    std::string Check(const std::vector<std::string>& contents)
    {
        std::string joined;
        std::vector<ListedPart> listed;
        for (std::size_t i = 0; i < contents.size(); ++i) {
            joined += contents[i];
            listed.push_back({"/parts/DISC.00" + std::to_string(i + 1), contents[i].size()});
        }
        test::WriteFile(dir_.file("OUT.ISO"), joined);
        return ImageCheckLine(dir_.file("OUT.ISO"), listed);
    }

    std::string Blocks() const
    {
        const std::size_t blocks = image_.size() / 2048;
        std::string text = std::to_string(blocks);
        if (text.size() > 3)
            text.insert(text.size() - 3, ",");
        return text;
    }

    test::TempDir dir_;
    std::string image_;
    std::vector<std::string> parts_;
};

TEST_P(ImageCheckTest, JoinedInOrderMatches)
{
    EXPECT_EQ(Check(parts_),
              "Volume MYDISC: " + Blocks() + " blocks of 2,048 bytes, matching the image size.");
}

TEST_P(ImageCheckTest, AMiddlePartLeftOutIsShorter)
{
    auto parts = parts_;
    parts.erase(parts.begin() + 2);
    EXPECT_EQ(Check(parts), "Warning: the image is 1,048,576 bytes shorter than volume MYDISC "
                            "declares (" +
                                Blocks() +
                                " blocks of 2,048 bytes), so a part is "
                                "probably missing, truncated or in the wrong place.");
}

TEST_P(ImageCheckTest, ATruncatedLastPartIsShorter)
{
    auto parts = parts_;
    parts.back().resize(parts.back().size() - 1000);
    EXPECT_EQ(Check(parts), "Warning: the image is 1,000 bytes shorter than volume MYDISC "
                            "declares (" +
                                Blocks() +
                                " blocks of 2,048 bytes), so a part is "
                                "probably missing, truncated or in the wrong place.");
}

TEST_P(ImageCheckTest, APartTwiceIsLonger)
{
    auto parts = parts_;
    parts.insert(parts.begin() + 2, parts_[2]);
    EXPECT_EQ(Check(parts), "Warning: the image is 1,048,576 bytes longer than volume MYDISC "
                            "declares (" +
                                Blocks() +
                                " blocks of 2,048 bytes), so a part is "
                                "probably listed twice or in the wrong place.");
}

TEST_P(ImageCheckTest, FirstTwoPartsSwappedPointsAtTheFirstPart)
{
    auto parts = parts_;
    std::swap(parts[0], parts[1]);
    EXPECT_EQ(Check(parts), "Warning: the image does not start with its volume descriptor; "
                            "DISC.002 (entry 2) does, so the first entry is probably not the "
                            "first part.");
}

INSTANTIATE_TEST_SUITE_P(Tools, ImageCheckTest,
                         testing::Values("xorriso -as mkisofs", "genisoimage"),
                         [](const auto& info) {
                             return std::string(info.param).substr(0, 7) == "xorriso"
                                        ? "xorriso"
                                        : "genisoimage";
                         });

TEST(ImageCheck, ImagesThatAreNotIso9660GetNoLine)
{
    test::TempDir dir;
    test::WriteFile(dir.file("zeros.img"), std::string(100000, '\0'));
    test::WriteFile(dir.file("short.img"), "tiny");
    std::string almost(40000, 'x');
    almost.replace(32768, 6,
                   "\x01"
                   "CD002"); // not the right signature
    test::WriteFile(dir.file("almost.img"), almost);
    for (const char* name : {"zeros.img", "short.img", "almost.img", "missing.img"})
        EXPECT_EQ(ImageCheckLine(dir.file(name), {{dir.file(name), 4}}), "") << name;
}

// A minimal ISO 9660 image: sixteen empty sectors, a primary volume descriptor with the name and
// the set terminator, declaring exactly its own 18 blocks.
std::string SmallImage(std::string volumeName)
{
    constexpr std::size_t kSector = 2048;
    std::string image(18 * kSector, '\0');
    image.replace(16 * kSector, 7,
                  "\x01"
                  "CD001\x01");
    image.replace(17 * kSector, 7,
                  "\xFF"
                  "CD001\x01");
    volumeName.resize(32, ' ');
    image.replace(16 * kSector + 40, 32, volumeName);
    image[16 * kSector + 80] = 18; // blocks, little-endian
    image[16 * kSector + 129] = 8; // block size 0x0800
    return image;
}

TEST(ImageCheck, NamesFromTheImageAndThePartsAreShownEscaped)
{
    test::TempDir dir;
    const std::string image = SmallImage("A\xE2\x80\xAE"
                                         "DCBA\nLINE2");
    test::WriteFile(dir.file("OUT.ISO"), image);
    EXPECT_EQ(ImageCheckLine(dir.file("OUT.ISO"), {{"/p/a.001", image.size()}}),
              "Volume A<U+202E>DCBA\\nLINE2: 18 blocks of 2,048 bytes, matching the image size.");

    test::WriteFile(dir.file("OUT.ISO"), std::string(4096, 'x') + image);
    EXPECT_EQ(ImageCheckLine(dir.file("OUT.ISO"), {{"/p/a.001", 4096},
                                                   {"/p/\xE2\x80\xAE"
                                                    "b\xFF.002",
                                                    image.size()}}),
              "Warning: the image does not start with its volume descriptor; <U+202E>b\\xFF.002 "
              "(entry 2) does, so the first entry is probably not the first part.");
}

} // namespace
} // namespace partwright
