// The sdl backend's system fonts. fontconfig picks the font file for a face name (with its own
// fallback for a face it does not know, as GDI does), FreeType renders the 256 glyphs as one-bit
// bitmaps at the requested pixel height, and each glyph becomes a display list that draws a
// glBitmap at the raster position and moves it on by the glyph's advance, as wglUseFontBitmaps
// does. The handle keeps those advances, so measuring agrees with drawing. Needs a current GL
// context while creating; the caller owns the lists.
#include "platform/gl_api.h"
#include "platform/seam.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdlib.h>
#include <string.h>
#include <vector>

static const int kGlyphCount = 256;
// GDI's height 0 means "the default size"; this is the usual one at 96 dpi.
static const int kDefaultPixelHeight = 16;
// Taller than any screen's text needs; a larger request (up to -INT_MIN) is held to it, since
// rendering the 256 glyphs costs the square of the height.
static const long long kLargestPixelHeight = 2048;
static const int kNormalWeight = 400;
static const int kHeaviestWeight = 1000;
static const int kGrayOnThreshold = 128;
// What an empty glyph hands glBitmap: Mesa takes a null bitmap in a list for a failed allocation,
// and that list would not move the raster position.
static const GLubyte kNoPixels[1] = {0};

// The bytes 0x80..0x9F as Windows-1252 (the ANSI code page the win32 backend draws with); the
// five bytes it leaves unassigned keep their own value. Every other byte is Latin-1.
static const unsigned short kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct SdlFont {
    int advance[kGlyphCount]; // pixels, as each glyph's list moves the raster position
};

static FT_ULong codePointOf(int code)
{
    if (code >= 0x80 && code <= 0x9F)
        return kCp1252High[code - 0x80];
    return (FT_ULong)code;
}

// The height in pixels a size asks for, either sign, widened so that INT_MIN has one.
static long long requestedPixels(int size)
{
    long long pixels = size > 0 ? size : size < 0 ? -(long long)size : kDefaultPixelHeight;
    return pixels < kLargestPixelHeight ? pixels : kLargestPixelHeight;
}

// The file and face index fontconfig chooses for the request; 0 if it has none at all.
static int matchFontFile(const char *face, long long pixelHeight, int weight, int italic,
                         std::vector<char> *path, int *index)
{
    FcPattern *pattern = FcPatternCreate();
    if (!pattern)
        return 0;
    if (face && face[0])
        FcPatternAddString(pattern, FC_FAMILY, (const FcChar8 *)face);
    if (weight <= 0)
        weight = kNormalWeight;
    if (weight > kHeaviestWeight)
        weight = kHeaviestWeight;
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, (double)pixelHeight);
    FcConfigSubstitute(NULL, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(NULL, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return 0;
    FcChar8 *file = NULL;
    int found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (found) {
        size_t length = strlen((const char *)file);
        path->assign((const char *)file, (const char *)file + length + 1);
        if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch)
            *index = 0;
    }
    FcPatternDestroy(match);
    return found;
}

// A positive size is the character (em) height, a negative one the cell height, 0 the default.
static int setPixelHeight(FT_Face face, int size)
{
    FT_Error error;
    FT_Long pixels = (FT_Long)requestedPixels(size);
    if (size < 0) {
        FT_Size_RequestRec request = {FT_SIZE_REQUEST_TYPE_REAL_DIM, 0, pixels * 64, 0, 0};
        error = FT_Request_Size(face, &request);
    } else {
        error = FT_Set_Pixel_Sizes(face, 0, (FT_UInt)pixels);
    }
    // A face of fixed bitmap sizes only gets its first size.
    if (error && face->num_fixed_sizes > 0)
        error = FT_Select_Size(face, 0);
    return error == 0;
}

static int pixelOn(const FT_Bitmap *bitmap, const unsigned char *row, unsigned int x)
{
    if (bitmap->pixel_mode == FT_PIXEL_MODE_MONO)
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    if (bitmap->pixel_mode == FT_PIXEL_MODE_GRAY)
        return row[x] >= kGrayOnThreshold;
    return 0;
}

// GL bitmaps run bottom-up, most significant bit first, rows packed to whole bytes.
static void packBottomUp(const FT_Bitmap *bitmap, std::vector<unsigned char> *bits)
{
    unsigned int stride = (bitmap->width + 7) / 8;
    bits->assign((size_t)stride * bitmap->rows, 0);
    if (bitmap->pitch <= 0 || !bitmap->buffer)
        return;
    for (unsigned int y = 0; y < bitmap->rows; ++y) {
        const unsigned char *row = bitmap->buffer + (size_t)y * (size_t)bitmap->pitch;
        unsigned char *out = bits->data() + (size_t)(bitmap->rows - 1 - y) * stride;
        for (unsigned int x = 0; x < bitmap->width; ++x)
            if (pixelOn(bitmap, row, x))
                out[x >> 3] |= (unsigned char)(0x80 >> (x & 7));
    }
}

// Compiles the list of one character; a glyph FreeType cannot load draws nothing and stays put.
static int buildGlyphList(FT_Face face, int code, GLuint list, std::vector<unsigned char> *bits)
{
    FT_UInt glyph = FT_Get_Char_Index(face, codePointOf(code));
    int advance = 0;
    GLsizei width = 0, rows = 0;
    GLfloat xorig = 0.0f, yorig = 0.0f;
    bits->clear();
    if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0) {
        FT_GlyphSlot slot = face->glyph;
        advance = (int)((slot->advance.x + 32) >> 6);
        packBottomUp(&slot->bitmap, bits);
        if (!bits->empty()) {
            width = (GLsizei)slot->bitmap.width;
            rows = (GLsizei)slot->bitmap.rows;
            xorig = (GLfloat)-slot->bitmap_left;
            yorig = (GLfloat)(rows - slot->bitmap_top);
        }
    }
    glNewList(list, GL_COMPILE);
    glBitmap(width, rows, xorig, yorig, (GLfloat)advance, 0.0f,
             bits->empty() ? kNoPixels : bits->data());
    glEndList();
    return advance;
}

static void buildLists(FT_Face face, unsigned int listBase, SdlFont *font)
{
    std::vector<unsigned char> bits;
    // The bitmaps are unpacked when the list is compiled, under this packing.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    for (int code = 0; code < kGlyphCount; ++code)
        font->advance[code] = buildGlyphList(face, code, listBase + (GLuint)code, &bits);
    glPopClientAttrib();
}

static void *create(const char *face, int size, int weight, int italic, unsigned int listBase)
{
    std::vector<char> path;
    int index = 0;
    if (!matchFontFile(face, requestedPixels(size), weight, italic, &path, &index))
        return NULL;
    FT_Library library = NULL;
    if (FT_Init_FreeType(&library) != 0)
        return NULL;
    SdlFont *font = NULL;
    FT_Face ftFace = NULL;
    if (FT_New_Face(library, path.data(), index, &ftFace) == 0) {
        if (setPixelHeight(ftFace, size))
            font = (SdlFont *)calloc(1, sizeof(SdlFont));
        if (font)
            buildLists(ftFace, listBase, font);
        FT_Done_Face(ftFace);
    }
    FT_Done_FreeType(library);
    return font;
}

static int measure(void *handle, const char *text)
{
    const SdlFont *font = (const SdlFont *)handle;
    if (!font || !text)
        return 0;
    long long width = 0;
    for (const unsigned char *p = (const unsigned char *)text; *p; ++p)
        width += font->advance[*p];
    return width > 0x7FFFFFFF ? 0x7FFFFFFF : (int)width;
}

static void release(void *handle)
{
    free(handle);
}

constexpr PlatformFontSeam kNativeFontSeam = {create, measure, release};
PlatformFontSeam gFontSeam = kNativeFontSeam;
