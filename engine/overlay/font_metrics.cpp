// Loads bitmap fonts: reads the .met metrics file (header, sheet name, header number, one glyph
// rectangle per line) into a TFont and loads the glyph sheet it names with its key colour.
// Needs the image loader; drawing and freeing belong to font_draw.cpp and system_font.cpp.
// Every line is read with a limit and a longer line's rest is skipped, so no line spills into
// the next. Glyph rectangles are kept as written, even where they reach past the sheet: drawing
// clamps what it samples to the sheet.
#include "ostrel3d.h"

#include "overlay/font_internal.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char kMetricsHeader[] = "METRICS1";
static const size_t kMetricsHeaderLength = 8;
// Characters kept of line 1, of line 2 and of every later line.
static const int kHeaderLineLimit = 63;
static const int kSheetLineLimit = 255;
static const int kGlyphLineLimit = 511;
static const int kGlyphLineFields = 5;
static const int kGlyphCount = 256;

// Reads one line of at most `limit` characters into `line` (limit + 1 bytes), without its line
// feed, and skips what is left of a longer line. 0 at the end of the file.
static int readLine(FILE *file, char *line, int limit)
{
    int c = fgetc(file);
    if (c == EOF)
        return 0;
    int length = 0;
    while (c != EOF && c != '\n') {
        if (length < limit)
            line[length++] = (char)c;
        c = fgetc(file);
    }
    line[length] = '\0';
    return 1;
}

static int clampToInt(long long value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return (int)value;
}

// "%d %d %d %d %d": five integers separated by blanks; anything after them is ignored.
static int parseGlyphLine(const char *line, int values[kGlyphLineFields])
{
    const char *p = line;
    for (int i = 0; i < kGlyphLineFields; ++i) {
        char *end = NULL;
        long long value = strtoll(p, &end, 10);
        if (end == p)
            return 0;
        values[i] = clampToInt(value);
        p = end;
    }
    return 1;
}

static void storeGlyph(TFont *font, const int values[kGlyphLineFields])
{
    int code = values[0];
    if (code < 0 || code >= kGlyphCount)
        return;
    TFontGlyph *glyph = &font->glyphs[code];
    glyph->x0 = values[1];
    glyph->y0 = values[2];
    glyph->x1 = values[3];
    glyph->y1 = values[4];
    glyph->width = clampToInt((long long)glyph->x1 - glyph->x0);
    glyph->height = clampToInt((long long)glyph->y1 - glyph->y0);
    glyph->present = 1;
    if (glyph->height > font->lineHeight)
        font->lineHeight = glyph->height;
}

// Line 2 cut at its first CR or LF, behind the metrics file's folder: up to its last separator,
// backslash or slash, whichever comes last (paths may mix them). The caller frees the result.
static char *sheetPathFor(const char *metricsPath, const char *line)
{
    size_t nameLength = strcspn(line, "\r\n");
    const char *backslash = strrchr(metricsPath, '\\');
    const char *slash = strrchr(metricsPath, '/');
    const char *cut = backslash > slash ? backslash : slash;
    size_t folderLength = cut ? (size_t)(cut - metricsPath) + 1 : 0;
    char *path = (char *)malloc(folderLength + nameLength + 1);
    if (!path)
        return NULL;
    memcpy(path, metricsPath, folderLength);
    memcpy(path + folderLength, line, nameLength);
    path[folderLength + nameLength] = '\0';
    return path;
}

// Lines 1 to 3; builds the sheet path. 0 for a missing line or a wrong header.
static int readHeader(FILE *file, const char *metricsPath, TFont *font, char **sheetPath)
{
    char line[kGlyphLineLimit + 1];
    if (!readLine(file, line, kHeaderLineLimit) ||
        strncmp(line, kMetricsHeader, kMetricsHeaderLength) != 0)
        return 0;
    if (!readLine(file, line, kSheetLineLimit))
        return 0;
    *sheetPath = sheetPathFor(metricsPath, line);
    if (!*sheetPath || !readLine(file, line, kGlyphLineLimit)) {
        free(*sheetPath);
        *sheetPath = NULL;
        return 0;
    }
    font->headerNumber = clampToInt(strtoll(line, NULL, 10));
    return 1;
}

int o3DLoadFont(TFont *font, const char *metricsPath)
{
    return o3DLoadFontKeyed(font, metricsPath, 0, 0, 0);
}

int o3DLoadFontKeyed(TFont *font, const char *metricsPath, uint8_t r, uint8_t g, uint8_t b)
{
    if (!font || !metricsPath)
        return 0;
    memset(font, 0, sizeof *font);
    font->kind = kFontKindBitmap;
    FILE *file = fopen(metricsPath, "r");
    if (!file)
        return 0;
    char *sheetPath = NULL;
    if (!readHeader(file, metricsPath, font, &sheetPath)) {
        fclose(file);
        return 0;
    }
    char line[kGlyphLineLimit + 1];
    int values[kGlyphLineFields];
    while (readLine(file, line, kGlyphLineLimit))
        if (parseGlyphLine(line, values))
            storeGlyph(font, values);
    fclose(file);
    int sheetLoaded = o3DLoadImageKeyed(&font->sheet, sheetPath, r, g, b);
    free(sheetPath);
    if (!sheetLoaded)
        return 0;
    font->loaded = 1;
    return 1;
}
