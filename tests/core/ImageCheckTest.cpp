#include "join/ImageCheck.h"

#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace partwright {
namespace {

using namespace std::string_literals;

using Texts = std::vector<std::string>;

std::string Check(const test::TempDir& dir, const Texts& parts, const std::string& stem = "DISC")
{
    std::string joined;
    std::vector<ListedPart> listed;
    for (const auto& part : parts) {
        joined += part;
        listed.push_back({"/p/" + stem + ".00" + std::to_string(listed.size() + 1), part.size()});
    }
    test::WriteFile(dir.file("OUT.ISO"), joined);
    return ImageCheckLine(dir.file("OUT.ISO"), listed);
}

// Names from the image are shown escaped; files that are not ISO 9660 images get no line.
TEST(ImageCheck, ARealImageJoinedRightAndWrong)
{
    test::TempDir dir;
    test::WriteFile(dir.file("content"), std::string(3600000, 'x'));
    const std::string make = "xorriso -as mkisofs -quiet -V 'MY\xE2\x80\xAE"
                             "DISC\n' -o '" +
                             dir.file("disc.iso") + "' '" + dir.file("content") +
                             "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(make.c_str()), 0) << "xorriso is needed";
    const std::string image = test::ReadFile(dir.file("disc.iso"));
    const auto part = [&](int n) {
        return image.substr(std::size_t{1048576} * n, 1048576);
    };
    ASSERT_EQ(image.size() / 1048576, 3u); // four parts, the last one shorter
    const std::string blocks = std::to_string(image.size() / 2048).insert(1, ","); // 1,xxx

    const std::string declared = " volume MY<U+202E>DISC\\n declares (" + blocks +
                                 " blocks of 2,048 bytes), so a part is probably ";
    EXPECT_EQ(Check(dir, {part(0), part(1), part(2), part(3)}),
              "Volume MY<U+202E>DISC\\n: " + blocks +
                  " blocks of 2,048 bytes, matching the image size.");
    EXPECT_EQ(Check(dir, {part(0), part(1), part(3)}),
              "Warning: the image is 1,048,576 bytes shorter than" + declared +
                  "missing, truncated or in the wrong place.");
    EXPECT_EQ(Check(dir, {part(0), part(1), part(2), part(2), part(3)}),
              "Warning: the image is 1,048,576 bytes longer than" + declared +
                  "listed twice or in the wrong place.");
    EXPECT_EQ(Check(dir, {part(1), part(0), part(2), part(3)}, "\xE2\x80\xAEz\xFF"),
              "Warning: the image does not start with its volume descriptor; <U+202E>z\\xFF.002 "
              "(entry 2) does, so the first entry is probably not the first part.");

    std::string almost(40000, 'x');
    almost.replace(32768, 6, "\1CD002"); // not the signature
    // An unnamed primary volume descriptor after other descriptors (of this type), in an image
    // as long as it declares: blocks of 2,048 bytes.
    const auto late = [](int others, char type = 2) {
        std::string image(32768, '\0'), descriptor(type + "CD001\1"s);
        descriptor.resize(2048);
        for (int n = 0; n < others; ++n)
            image += descriptor;
        descriptor[0] = 1, descriptor[80] = static_cast<char>(17 + others), descriptor[129] = 8;
        return image + descriptor;
    };
    const std::pair<std::string, std::string> images[] = {
        {"tiny", ""},
        {almost, ""},
        {late(31), "Volume (without a name): 48 blocks of 2,048 bytes, matching the image size."},
        {late(32), ""},         // the primary volume descriptor is looked for among the first 32
        {late(1, '\xFF'), ""}}; // nor after the set's terminator
    for (const auto& [image, line] : images)
        EXPECT_EQ(Check(dir, {image}), line) << image.size();
    EXPECT_EQ(ImageCheckLine(dir.file("missing.img"), {{dir.file("missing.img"), 4}}), "");
}

} // namespace
} // namespace partwright
