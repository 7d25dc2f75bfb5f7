// Writes BMP fixtures from pictures held in memory, so a test shows what its file contains:
// 24-bit files for the engine's own reader, every other depth (1, 4, 8 bits with a palette;
// 16-bit 5-5-5; 32-bit B, G, R, unused) for the platform's loader, in either row order, 8-bit
// run-length files, and byte patching for malformed headers. ScratchFolder gives each test a folder
// that it removes.
#ifndef O3D_TESTS_BMP_WRITER_H
#define O3D_TESTS_BMP_WRITER_H

#include <stdint.h>
#include <stdio.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb &o) const
    {
        return r == o.r && g == o.g && b == o.b;
    }
};

// Rows from the top, as a viewer shows them.
struct Picture {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const
    {
        return pixels[(size_t)y * width + x];
    }
};

template <class ColourOf> Picture makePicture(int width, int height, ColourOf colourOf)
{
    Picture picture;
    picture.width = width;
    picture.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.pixels.push_back(colourOf(x, y));
    return picture;
}

inline Picture solidPicture(int width, int height, Rgb colour)
{
    return makePicture(width, height, [&](int, int) { return colour; });
}

inline void putLe16(std::vector<uint8_t> &bytes, size_t at, uint32_t value)
{
    bytes[at] = (uint8_t)value;
    bytes[at + 1] = (uint8_t)(value >> 8);
}

inline void putLe32(std::vector<uint8_t> &bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = (uint8_t)(value >> (8 * i));
}

// Header offsets of the fields tests patch.
enum BmpField : size_t {
    kBmpFileSize = 2,
    kBmpDataOffset = 10,
    kBmpWidth = 18,
    kBmpHeight = 22,
    kBmpBitCount = 28,
    kBmpCompression = 30,
    kBmpImageSize = 34,
};
static const size_t kBmpHeaderBytes = 54;

// The picture's distinct colours in order of first appearance.
inline std::vector<Rgb> paletteOf(const Picture &picture)
{
    std::vector<Rgb> palette;
    for (const Rgb &c : picture.pixels)
        if (std::find(palette.begin(), palette.end(), c) == palette.end())
            palette.push_back(c);
    return palette;
}

// A complete BMP of bitsPerPixel 1, 4, 8, 16, 24 or 32 with BITMAPINFOHEADER and no compression.
// Indexed depths carry a full palette of the picture's colours; a picture with more colours than
// the depth holds gives no bytes at all.
inline std::vector<uint8_t> bmpBytes(const Picture &picture, int bitsPerPixel, bool topDown = false)
{
    std::vector<Rgb> palette;
    size_t paletteEntries = 0;
    if (bitsPerPixel <= 8) {
        palette = paletteOf(picture);
        paletteEntries = (size_t)1 << bitsPerPixel;
        if (palette.size() > paletteEntries)
            return {};
    }
    size_t stride = (((size_t)picture.width * bitsPerPixel + 31) / 32) * 4;
    size_t offset = kBmpHeaderBytes + paletteEntries * 4;
    std::vector<uint8_t> bytes(offset + stride * picture.height, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLe32(bytes, kBmpFileSize, (uint32_t)bytes.size());
    putLe32(bytes, kBmpDataOffset, (uint32_t)offset);
    putLe32(bytes, 14, 40);
    putLe32(bytes, kBmpWidth, (uint32_t)picture.width);
    putLe32(bytes, kBmpHeight, (uint32_t)(topDown ? -picture.height : picture.height));
    putLe16(bytes, 26, 1);
    putLe16(bytes, kBmpBitCount, (uint32_t)bitsPerPixel);
    putLe32(bytes, kBmpImageSize, (uint32_t)(stride * picture.height));
    putLe32(bytes, 38, 2835);
    putLe32(bytes, 42, 2835);
    putLe32(bytes, 46, (uint32_t)paletteEntries);
    for (size_t i = 0; i < palette.size(); ++i) {
        bytes[kBmpHeaderBytes + i * 4 + 0] = palette[i].b;
        bytes[kBmpHeaderBytes + i * 4 + 1] = palette[i].g;
        bytes[kBmpHeaderBytes + i * 4 + 2] = palette[i].r;
    }
    for (int y = 0; y < picture.height; ++y) {
        int fileRow = topDown ? y : picture.height - 1 - y;
        uint8_t *row = bytes.data() + offset + stride * fileRow;
        for (int x = 0; x < picture.width; ++x) {
            Rgb c = picture.at(x, y);
            if (bitsPerPixel <= 8) {
                unsigned index =
                    (unsigned)(std::find(palette.begin(), palette.end(), c) - palette.begin());
                int bit = x * bitsPerPixel;
                int shift = 8 - bitsPerPixel - bit % 8;
                row[bit / 8] |= (uint8_t)(index << shift);
            } else if (bitsPerPixel == 16) {
                uint32_t v = (uint32_t)(c.r >> 3) << 10 | (uint32_t)(c.g >> 3) << 5 | (c.b >> 3);
                row[x * 2] = (uint8_t)v;
                row[x * 2 + 1] = (uint8_t)(v >> 8);
            } else {
                int size = bitsPerPixel / 8;
                row[x * size + 0] = c.b;
                row[x * size + 1] = c.g;
                row[x * size + 2] = c.r;
            }
        }
    }
    return bytes;
}

// An 8-bit run-length encoded BMP (compression 1): each row bottom first as runs of at most 255
// pixels and an end-of-line code, then the end-of-bitmap code. Empty for over 256 colours.
inline std::vector<uint8_t> rle8Bytes(const Picture &picture)
{
    std::vector<uint8_t> bytes = bmpBytes(picture, 8);
    if (bytes.empty())
        return {};
    std::vector<Rgb> palette = paletteOf(picture);
    size_t offset = kBmpHeaderBytes + 256 * 4;
    bytes.resize(offset);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width;) {
            Rgb c = picture.at(x, y);
            int run = 1;
            while (x + run < picture.width && run < 255 && picture.at(x + run, y) == c)
                ++run;
            bytes.push_back((uint8_t)run);
            bytes.push_back(
                (uint8_t)(std::find(palette.begin(), palette.end(), c) - palette.begin()));
            x += run;
        }
        bytes.push_back(0);
        bytes.push_back(0);
    }
    bytes.push_back(0);
    bytes.push_back(1);
    putLe32(bytes, kBmpFileSize, (uint32_t)bytes.size());
    putLe32(bytes, kBmpCompression, 1);
    putLe32(bytes, kBmpImageSize, (uint32_t)(bytes.size() - offset));
    return bytes;
}

inline bool writeBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    if (bytes.empty())
        return false;
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

inline bool writeBmp24(const std::string &path, const Picture &picture, bool topDown = false)
{
    return writeBytes(path, bmpBytes(picture, 24, topDown));
}

inline bool writeBmp(const std::string &path, const Picture &picture, int bitsPerPixel,
                     bool topDown = false)
{
    return writeBytes(path, bmpBytes(picture, bitsPerPixel, topDown));
}

// A fresh folder under the system's temporary directory, removed with everything in it.
struct ScratchFolder {
    std::filesystem::path root;
    ScratchFolder()
    {
        std::random_device random;
        root = std::filesystem::temp_directory_path() /
               ("o3d-tex-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(root);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    std::string file(const std::string &name) const
    {
        return (root / name).string();
    }
};

// The descriptor the next opened file gets: the lowest free one, so it grows if a reader leaves a
// file open.
inline int nextDescriptor(const std::string &probe)
{
    FILE *file = fopen(probe.c_str(), "wb");
    if (!file)
        return -1;
    int descriptor = fileno(file);
    fclose(file);
    return descriptor;
}

#endif
