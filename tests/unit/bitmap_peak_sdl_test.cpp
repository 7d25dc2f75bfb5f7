// The sdl backend's bitmap reader: hostile headers are refused at the cost of reading a header,
// measured as the peak resident memory of a child process that reads each one, while the files
// the header check must let through still reach SDL's loader and come back right.
#include "platform/seam.h"

#include "hostile_bitmaps.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Far below what any hostile header here would cost (hundreds of MiB to GiB), far above the
// jitter of a small read.
const long kAllowedGrowthKiB = 32 * 1024;

struct ChildRead {
    bool exited = false;
    bool refused = false;
    long peakKiB = 0;
};

// Reads the file with the backend's loader in a child process; its own peak memory comes back
// through wait4, so a loader that allocates gigabytes cannot hide it, nor harm this process.
ChildRead readInChild(const std::string &path)
{
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        int width = 0, height = 0;
        unsigned char *rows = kNativeImageSeam.readBitmap(path.c_str(), &width, &height);
        _exit(rows ? 1 : 0);
    }
    ChildRead result;
    int status = 0;
    struct rusage usage = {};
    if (pid > 0 && wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
        result.exited = true;
        result.refused = WEXITSTATUS(status) == 0;
        result.peakKiB = usage.ru_maxrss;
    }
    return result;
}

TEST(BitmapPeakSdl, HostileHeadersAreRefusedWithoutAllocatingForThem)
{
    ScratchFolder folder;
    std::string smallPath = folder.file("small.bmp");
    ASSERT_TRUE(writeBmp24(smallPath, solidPicture(8, 8, {1, 2, 3})));
    ChildRead baseline = readInChild(smallPath);
    ASSERT_TRUE(baseline.exited);
    ASSERT_FALSE(baseline.refused) << "a small good file must load";

    for (const NamedBitmap &bitmap : hostileBitmaps()) {
        SCOPED_TRACE(bitmap.what);
        std::string path = folder.file("hostile.bmp");
        ASSERT_TRUE(writeBytes(path, bitmap.bytes));
        ChildRead read = readInChild(path);
        ASSERT_TRUE(read.exited) << "the reading process was killed";
        EXPECT_TRUE(read.refused);
        EXPECT_LT(read.peakKiB - baseline.peakKiB, kAllowedGrowthKiB)
            << "peak " << read.peakKiB / 1024 << " MiB against " << baseline.peakKiB / 1024
            << " MiB for a small file";
    }
}

// B, G, R top-down rows padded to 4 bytes, as the seam promises.
void expectTopDownBgr(const unsigned char *rows, int width, int height, const Picture &picture)
{
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(width, picture.width);
    ASSERT_EQ(height, picture.height);
    size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned char *p = rows + stride * (size_t)y + (size_t)x * 3;
            ASSERT_EQ((Rgb{p[2], p[1], p[0]}), picture.at(x, y)) << x << ", " << y;
        }
}

TEST(BitmapPeakSdl, RunLengthAndCoreHeaderFilesStillLoad)
{
    ScratchFolder folder;
    Picture stripes = makePicture(300, 4, [](int x, int y) {
        return Rgb{(uint8_t)(x / 60 * 50), (uint8_t)(y * 60), 7};
    });
    Picture twoPixels = makePicture(2, 1, [](int x, int) {
        return x ? Rgb{6, 5, 4} : Rgb{3, 2, 1};
    });
    struct Case {
        const char *what;
        std::vector<uint8_t> bytes;
        Picture picture;
    } cases[] = {
        {"RLE8", rle8Bytes(stripes), stripes},
        {"core header", coreHeader(2, 1, 24, {1, 2, 3, 4, 5, 6, 0, 0}), twoPixels},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = folder.file("good.bmp");
        ASSERT_TRUE(writeBytes(path, c.bytes));
        int width = 0, height = 0;
        unsigned char *rows = kNativeImageSeam.readBitmap(path.c_str(), &width, &height);
        expectTopDownBgr(rows, width, height, c.picture);
        free(rows);
    }
}

} // namespace
