// The bitmap-font metrics reader on any text. The glyph sheet comes from a stand-in bitmap reader
// (any name the text gives, no file read), so the run stays on the metrics; it records the path
// the reader built. A font loaded has glyph rectangles whose sizes are their corners' differences
// and a line height no lower than any glyph kept (a glyph written twice keeps its last rectangle,
// the line height the tallest ever read).
#include "ostrel3d.h"

#include "platform/seam.h"

#include "fuzz_support.h"

#include <string.h>

#include <algorithm>
#include <string>

static std::string gSheetPath;

static unsigned char *readSheet(const char *path, int *width, int *height)
{
    gSheetPath = path;
    *width = 4;
    *height = 2;
    return (unsigned char *)calloc(2 * 12, 1);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    gImageSeam.readBitmap = readSheet;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *path = fuzzInputFile("input.met", data, size);
    gSheetPath.clear();
    TFont font;
    memset(&font, 0xA5, sizeof font);
    int loaded = o3DLoadFont(&font, path);
    if (!loaded) {
        FUZZ_CHECK(!font.loaded && !font.sheet.loaded && font.sheet.mask == nullptr);
        return 0;
    }
    // The sheet sits beside the metrics file, named by line 2 without its line end.
    std::string folder = fuzzScratchPath("");
    FUZZ_CHECK(gSheetPath.compare(0, folder.size(), folder) == 0);
    FUZZ_CHECK(gSheetPath.find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(gSheetPath.size() - folder.size() <= 255);
    FUZZ_CHECK(font.loaded && font.sheet.loaded && font.sheet.width == 4);
    int tallest = 0;
    for (const TFontGlyph &glyph : font.glyphs) {
        if (!glyph.present)
            continue;
        long long width = (long long)glyph.x1 - glyph.x0, height = (long long)glyph.y1 - glyph.y0;
        FUZZ_CHECK(glyph.width == (int)std::clamp<long long>(width, INT32_MIN, INT32_MAX));
        FUZZ_CHECK(glyph.height == (int)std::clamp<long long>(height, INT32_MIN, INT32_MAX));
        tallest = std::max(tallest, glyph.height);
    }
    FUZZ_CHECK(font.lineHeight >= tallest);
    o3DFreeFont(&font);
    FUZZ_CHECK(!font.sheet.loaded && font.sheet.mask == nullptr);
    return 0;
}
