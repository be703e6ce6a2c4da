#include "support/png_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>

TEST(PngWriter, ChecksumsOfKnownData)
{
    const char* text = "123456789";
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    EXPECT_EQ(png::Crc32(bytes, 9), 0xCBF43926u);
    EXPECT_EQ(png::Adler32(reinterpret_cast<const unsigned char*>("Wikipedia"), 9), 0x11E60398u);
}

TEST(PngWriter, LayoutOfASmallImage)
{
    std::vector<std::uint32_t> pixels = {0xff0000, 0x00ff00, 0x0000ff, 0xffffff};
    std::vector<unsigned char> png = png::Encode(2, 2, pixels);
    ASSERT_GT(png.size(), 8u + 25u + 12u);
    EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
    EXPECT_EQ(std::memcmp(png.data() + 12, "IHDR", 4), 0);
    EXPECT_EQ(png[16 + 3], 2);  // width
    EXPECT_EQ(png[20 + 3], 2);  // height
    EXPECT_EQ(png[24], 8);      // bit depth
    EXPECT_EQ(png[25], 2);      // truecolour
    // The raw rows (filter byte + RGB) appear uncompressed in the IDAT chunk.
    const unsigned char row0[] = {0, 0xff, 0, 0, 0, 0xff, 0};
    auto found = std::search(png.begin(), png.end(), std::begin(row0), std::end(row0));
    EXPECT_NE(found, png.end());
    EXPECT_EQ(std::memcmp(png.data() + png.size() - 8, "IEND", 4), 0);
}

TEST(PngWriter, RefusesMismatchedSizes)
{
    EXPECT_TRUE(png::Encode(2, 2, std::vector<std::uint32_t>(3)).empty());
    EXPECT_TRUE(png::Encode(0, 0, std::vector<std::uint32_t>()).empty());
}
