// The engine's own 24-bit BMP reader behind o3DLoadTexture: row order, padding, header defaults,
// and every malformed header it must refuse without leaking or leaving the file open; and the
// header check every bitmap passes before the platform's loader sees it.
#include "assets/bmp24.h"

#include "bmp_writer.h"
#include "hostile_bitmaps.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

struct ReadResult {
    unsigned char *rgb = nullptr;
    int width = -1, height = -1;
};

class Bmp24Reader : public ::testing::Test {
  protected:
    ScratchFolder folder;

    ReadResult read(const std::vector<uint8_t> &bytes)
    {
        std::string path = folder.file("picture.bmp");
        EXPECT_TRUE(writeBytes(path, bytes));
        ReadResult result;
        result.rgb = bmp24Read(path.c_str(), &result.width, &result.height);
        return result;
    }

    // The file must be refused, closed, and the sizes left alone.
    void expectRefused(const std::vector<uint8_t> &bytes, const char *what)
    {
        SCOPED_TRACE(what);
        int before = nextDescriptor(folder.file("probe"));
        ASSERT_GE(before, 0);
        ReadResult result = read(bytes);
        EXPECT_EQ(result.rgb, nullptr);
        EXPECT_EQ(result.width, -1);
        EXPECT_EQ(result.height, -1);
        free(result.rgb);
        EXPECT_EQ(nextDescriptor(folder.file("probe")), before);
        EXPECT_EQ(std::remove(folder.file("picture.bmp").c_str()), 0);
    }
};

// Distinct colours per pixel, so any shift or flip shows.
Picture gradient(int width, int height)
{
    return makePicture(width, height, [](int x, int y) {
        return Rgb{(uint8_t)(x * 7), (uint8_t)(y * 11), (uint8_t)(x + y * 3)};
    });
}

// The reader's rows run bottom first and hold R, G, B.
void expectBottomUpRgb(const ReadResult &result, const Picture &picture)
{
    ASSERT_NE(result.rgb, nullptr);
    ASSERT_EQ(result.width, picture.width);
    ASSERT_EQ(result.height, picture.height);
    for (int row = 0; row < picture.height; ++row)
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char *p = result.rgb + ((size_t)row * picture.width + x) * 3;
            Rgb expected = picture.at(x, picture.height - 1 - row);
            ASSERT_EQ((Rgb{p[0], p[1], p[2]}), expected) << "x " << x << " row " << row;
        }
}

TEST_F(Bmp24Reader, ReadsRowsBottomFirstAsRgbWithoutPadding)
{
    for (int width : {1, 2, 3, 4, 30, 100}) {
        SCOPED_TRACE(width);
        Picture picture = gradient(width, 5);
        ReadResult result = read(bmpBytes(picture, 24));
        expectBottomUpRgb(result, picture);
        free(result.rgb);
    }
}

TEST_F(Bmp24Reader, ZeroImageSizeAndOffsetMeanPixelsRightAfterTheHeader)
{
    Picture picture = gradient(30, 4);
    std::vector<uint8_t> bytes = bmpBytes(picture, 24);
    putLe32(bytes, kBmpImageSize, 0);
    putLe32(bytes, kBmpDataOffset, 0);
    ReadResult result = read(bytes);
    expectBottomUpRgb(result, picture);
    free(result.rgb);
}

TEST_F(Bmp24Reader, FollowsTheDataOffsetPastExtraHeaderBytes)
{
    Picture picture = gradient(6, 3);
    std::vector<uint8_t> bytes = bmpBytes(picture, 24);
    bytes.insert(bytes.begin() + kBmpHeaderBytes, 16, 0xEE);
    putLe32(bytes, kBmpDataOffset, (uint32_t)kBmpHeaderBytes + 16);
    ReadResult result = read(bytes);
    expectBottomUpRgb(result, picture);
    free(result.rgb);
}

TEST_F(Bmp24Reader, RefusesMissingFilesAndOtherSignatures)
{
    int width = 0, height = 0;
    EXPECT_EQ(bmp24Read(folder.file("absent.bmp").c_str(), &width, &height), nullptr);
    EXPECT_EQ(bmp24Read(nullptr, &width, &height), nullptr);
    std::vector<uint8_t> bytes = bmpBytes(gradient(4, 4), 24);
    bytes[0] = 'M';
    bytes[1] = 'B';
    expectRefused(bytes, "signature MB");
    expectRefused(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 53), "53-byte header");
}

TEST_F(Bmp24Reader, RefusesSizesThatAreZeroNegativeOrAbsurd)
{
    const std::vector<uint8_t> good = bmpBytes(gradient(4, 4), 24);
    struct Case {
        BmpField field;
        int32_t value;
        const char *what;
    } cases[] = {
        {kBmpWidth, 0, "width 0"},
        {kBmpHeight, 0, "height 0"},
        {kBmpWidth, -4, "negative width"},
        {kBmpHeight, -4, "top-down rows"},
        {kBmpWidth, 16385, "width over 16384"},
        {kBmpHeight, 16385, "height over 16384"},
        {kBmpWidth, INT32_MIN, "width -2^31"},
    };
    for (const Case &c : cases) {
        std::vector<uint8_t> bytes = good;
        putLe32(bytes, c.field, (uint32_t)c.value);
        expectRefused(bytes, c.what);
    }
}

TEST_F(Bmp24Reader, RefusesOtherDepthsAndCompression)
{
    const std::vector<uint8_t> good = bmpBytes(gradient(4, 4), 24);
    for (uint32_t bits : {1u, 8u, 16u, 32u}) {
        std::vector<uint8_t> bytes = good;
        putLe16(bytes, kBmpBitCount, bits);
        expectRefused(bytes, "bit count");
    }
    for (uint32_t compression : {1u, 2u, 3u}) {
        std::vector<uint8_t> bytes = good;
        putLe32(bytes, kBmpCompression, compression);
        expectRefused(bytes, "compression");
    }
}

TEST_F(Bmp24Reader, RefusesPixelsThatLieOutsideTheFile)
{
    const std::vector<uint8_t> good = bmpBytes(gradient(30, 8), 24); // stride 92
    std::vector<uint8_t> bytes = good;
    putLe32(bytes, kBmpDataOffset, (uint32_t)good.size() + 1);
    expectRefused(bytes, "offset past the end");
    bytes = good;
    putLe32(bytes, kBmpDataOffset, 0xFFFFFFF0u);
    expectRefused(bytes, "offset near 4 GiB");
    bytes = good;
    putLe32(bytes, kBmpImageSize, 92 * 8 + 1);
    expectRefused(bytes, "image size one past the end");
    bytes = good;
    putLe32(bytes, kBmpImageSize, 0xFFFFFFFFu);
    expectRefused(bytes, "image size 4 GiB");
    bytes = good;
    putLe32(bytes, kBmpImageSize, 92 * 8 - 1);
    expectRefused(bytes, "image size below stride x height");
    bytes = good;
    putLe32(bytes, kBmpImageSize, 90 * 8);
    expectRefused(bytes, "image size without row padding");
    bytes = std::vector<uint8_t>(good.begin(), good.end() - 1);
    putLe32(bytes, kBmpImageSize, 0);
    expectRefused(bytes, "short pixel data");
    bytes = good;
    putLe32(bytes, kBmpHeight, 16384);
    putLe32(bytes, kBmpWidth, 16384);
    putLe32(bytes, kBmpImageSize, 0);
    expectRefused(bytes, "huge header on a small file");
}

class BmpHeaderCheck : public ::testing::Test {
  protected:
    ScratchFolder folder;

    int fits(const std::vector<uint8_t> &bytes)
    {
        std::string path = folder.file("picture.bmp");
        EXPECT_TRUE(writeBytes(path, bytes));
        return bmpFileFitsItsHeader(path.c_str());
    }
};

TEST_F(BmpHeaderCheck, AcceptsEveryDepthRowOrderAndRunLengthFileThatFitsItsHeader)
{
    Picture picture = gradient(13, 5);
    Picture fewColours = makePicture(300, 3, [](int x, int y) {
        return Rgb{(uint8_t)(x / 100 * 80), (uint8_t)y, 0};
    });
    Picture twoColours = makePicture(9, 4, [](int x, int y) {
        return (x + y) % 2 ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    });
    std::vector<NamedBitmap> good = {
        {"24 bits", bmpBytes(picture, 24)},
        {"24 bits top-down", bmpBytes(picture, 24, true)},
        {"32 bits", bmpBytes(picture, 32)},
        {"16 bits top-down", bmpBytes(picture, 16, true)},
        {"8 bits", bmpBytes(fewColours, 8)},
        {"4 bits", bmpBytes(twoColours, 4)},
        {"1 bit top-down", bmpBytes(twoColours, 1, true)},
        {"RLE8 with runs longer than 255", rle8Bytes(fewColours)},
        {"core header", coreHeader(2, 1, 24, {1, 2, 3, 4, 5, 6, 0, 0})},
        {"16384 x 1", bmpBytes(solidPicture(16384, 1, {1, 2, 3}), 24)},
    };
    for (const NamedBitmap &bitmap : good)
        EXPECT_EQ(fits(bitmap.bytes), 1) << bitmap.what;
    EXPECT_EQ(bmpFileFitsItsHeader(folder.file("absent.bmp").c_str()), 0);
    EXPECT_EQ(bmpFileFitsItsHeader(nullptr), 0);
}

TEST_F(BmpHeaderCheck, RefusesHeadersClaimingMoreThanTheFileHolds)
{
    std::vector<NamedBitmap> bad = hostileBitmaps();
    std::vector<uint8_t> rle = rle8Bytes(gradient(4, 4));
    std::vector<uint8_t> rleWithoutSize = rle;
    putLe32(rleWithoutSize, kBmpImageSize, 0);
    std::vector<uint8_t> rleOneByteShort(rle.begin(), rle.end() - 1);
    const std::vector<uint8_t> small = bmpBytes(gradient(4, 4), 8);
    struct Patch {
        const char *what;
        size_t at;
        uint32_t value;
        bool sixteenBits;
    } patches[] = {
        {"width 16385", kBmpWidth, 16385, false},
        {"height -16385", kBmpHeight, (uint32_t)-16385, false},
        {"height -2^31", kBmpHeight, 0x80000000u, false},
        {"height 0", kBmpHeight, 0, false},
        {"0 bits", kBmpBitCount, 0, true},
        {"33 bits", kBmpBitCount, 33, true},
        {"JPEG inside", kBmpCompression, 4, false},
        {"info header of 20 bytes", 14, 20, false},
    };
    for (const Patch &patch : patches) {
        std::vector<uint8_t> bytes = small;
        if (patch.sixteenBits)
            putLe16(bytes, patch.at, patch.value);
        else
            putLe32(bytes, patch.at, patch.value);
        bad.push_back({patch.what, bytes});
    }
    bad.push_back({"RLE8 without its data size", rleWithoutSize});
    bad.push_back({"RLE8 one byte short", rleOneByteShort});
    bad.push_back({"8 bits one byte short", std::vector<uint8_t>(small.begin(), small.end() - 1)});
    bad.push_back({"25 bytes", std::vector<uint8_t>(small.begin(), small.begin() + 25)});
    for (const NamedBitmap &bitmap : bad)
        EXPECT_EQ(fits(bitmap.bytes), 0) << bitmap.what;
}

} // namespace
