// Text through FreeType: coverage masks for the title and the film, and the two bitmap fonts the
// game prints with (a glyph sheet keyed on black and its metrics file).
#include "assetgen.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdio.h>

struct TextFace {
    FT_Library library;
    FT_Face face;
};

// Characters the game prints are plain ASCII (Polish without diacritics); the sheet holds them
// all, space to tilde.
enum { kFirstChar = 32, kLastChar = 126 };

TextFace *openTextFace(const char *fontPath)
{
    TextFace *t = new TextFace();
    if (FT_Init_FreeType(&t->library) != 0) {
        delete t;
        return nullptr;
    }
    if (FT_New_Face(t->library, fontPath, 0, &t->face) != 0) {
        FT_Done_FreeType(t->library);
        delete t;
        return nullptr;
    }
    return t;
}

void closeTextFace(TextFace *face)
{
    if (!face)
        return;
    FT_Done_Face(face->face);
    FT_Done_FreeType(face->library);
    delete face;
}

// Renders one character at the current size; null if the face has no glyph for it.
static FT_GlyphSlot renderChar(TextFace *t, int pixelSize, char ch)
{
    FT_Set_Pixel_Sizes(t->face, 0, (FT_UInt)pixelSize);
    if (FT_Load_Char(t->face, (FT_ULong)(unsigned char)ch, FT_LOAD_RENDER) != 0)
        return nullptr;
    return t->face->glyph;
}

int drawTextMask(TextFace *face, int pixelSize, const char *text, int x, int y,
                 std::vector<uint8_t> *mask, int w, int h)
{
    int pen = x;
    for (const char *c = text; *c; ++c) {
        FT_GlyphSlot g = renderChar(face, pixelSize, *c);
        if (!g)
            continue;
        const FT_Bitmap &b = g->bitmap;
        for (unsigned row = 0; row < b.rows; ++row)
            for (unsigned col = 0; col < b.width; ++col) {
                const int px = pen + g->bitmap_left + (int)col, py = y - g->bitmap_top + (int)row;
                if (px < 0 || py < 0 || px >= w || py >= h)
                    continue;
                uint8_t &dst = (*mask)[(size_t)py * w + px];
                const uint8_t v = b.buffer[row * b.pitch + col];
                dst = v > dst ? v : dst;
            }
        pen += (int)(g->advance.x >> 6);
    }
    return pen - x;
}

int measureText(TextFace *face, int pixelSize, const char *text)
{
    int width = 0;
    for (const char *c = text; *c; ++c) {
        FT_GlyphSlot g = renderChar(face, pixelSize, *c);
        if (g)
            width += (int)(g->advance.x >> 6);
    }
    return width;
}

// One font: every character in a cell of its advance by the line height, packed in rows on a
// 256-pixel-wide sheet. White letters with a soft bottom shade; the background exactly black,
// the key colour, and faint edge pixels lifted off black so they are not keyed into holes.
static void makeFont(AssetList *out, TextFace *face, const char *baseName, int pixelSize)
{
    FT_Set_Pixel_Sizes(face->face, 0, (FT_UInt)pixelSize);
    const int ascent = (int)(face->face->size->metrics.ascender >> 6);
    const int descent = (int)(-face->face->size->metrics.descender >> 6);
    const int lineHeight = ascent + descent + 2;
    const int sheetWidth = 256, pad = 1;

    struct Cell {
        int x, y, w;
    } cells[kLastChar + 1] = {};
    int x = 0, y = 0;
    for (int c = kFirstChar; c <= kLastChar; ++c) {
        FT_GlyphSlot g = renderChar(face, pixelSize, (char)c);
        const int advance = g ? (int)(g->advance.x >> 6) + 1 : pixelSize / 2;
        if (x + advance > sheetWidth) {
            x = 0;
            y += lineHeight + pad;
        }
        cells[c] = {x, y, advance};
        x += advance + pad;
    }
    int sheetHeight = 1;
    while (sheetHeight < y + lineHeight)
        sheetHeight *= 2;

    Image sheet(sheetWidth, sheetHeight);
    for (int c = kFirstChar; c <= kLastChar; ++c) {
        FT_GlyphSlot g = renderChar(face, pixelSize, (char)c);
        if (!g)
            continue;
        const FT_Bitmap &b = g->bitmap;
        for (unsigned row = 0; row < b.rows; ++row)
            for (unsigned col = 0; col < b.width; ++col) {
                const int v = b.buffer[row * b.pitch + col];
                if (v < 40)
                    continue;
                const int px = cells[c].x + g->bitmap_left + (int)col;
                const int py = cells[c].y + 1 + ascent - g->bitmap_top + (int)row;
                if (px < cells[c].x || px >= cells[c].x + cells[c].w)
                    continue;
                const float shade = 1.0f - 0.18f * (float)(py - cells[c].y) / lineHeight;
                const float k = (float)v / 255.0f * shade;
                sheet.set(px, py, {255 * k + 8, 255 * k + 8, 255 * k + 8});
            }
    }

    std::string met =
        "METRICS1\n" + std::string(baseName) + ".bmp\n" + std::to_string(pixelSize) + "\n";
    for (int c = kFirstChar; c <= kLastChar; ++c) {
        char line[64];
        snprintf(line, sizeof line, "%d %d %d %d %d\n", c, cells[c].x, cells[c].y,
                 cells[c].x + cells[c].w, cells[c].y + lineHeight);
        met += line;
    }
    out->push_back({std::string(baseName) + ".met", Bytes(met.begin(), met.end())});
    out->push_back({std::string(baseName) + ".bmp", bmpBytes(sheet)});
}

void makeFonts(AssetList *out, TextFace *face)
{
    // The menus want a wide face: the letters are stretched an eighth sideways.
    FT_Matrix wide = {0x12000, 0, 0, 0x10000};
    FT_Set_Transform(face->face, &wide, nullptr);
    makeFont(out, face, "BankGothic16", 16);
    makeFont(out, face, "BankGothic24", 24);
    FT_Set_Transform(face->face, nullptr, nullptr);
}
