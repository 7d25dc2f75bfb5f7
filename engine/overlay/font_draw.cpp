// Draws and measures bitmap-font text: one textured quad per character from the glyph sheet, in
// the 2D pass, in the shared text colour. The styled forms (shadow, outline, translucent) are the
// plain string drawn several times. Needs a font loaded by font_metrics.cpp; leaves the text
// colour current, texturing off, and blending off where a glyph switched it on.
#include "ostrel3d.h"

#include "overlay/font_internal.h"
#include "platform/gl_api.h"

#include <limits.h>
#include <stdarg.h>
#include <stdio.h>

static const int kSpaceCode = 32;
// How far a character moves when neither it nor the space has a glyph.
static const int kMissingAdvancePixels = 8;

static int usableBitmapFont(const TFont *font)
{
    return font && font->loaded && font->kind == kFontKindBitmap;
}

static int advanceOf(const TFont *font, unsigned char code)
{
    if (font->glyphs[code].present)
        return font->glyphs[code].width;
    if (font->glyphs[kSpaceCode].present)
        return font->glyphs[kSpaceCode].width;
    return kMissingAdvancePixels;
}

// A rectangle edge moved inside the picture, 0..side.
static int clampToSheet(int edge, int side)
{
    return edge < 0 ? 0 : edge > side ? side : edge;
}

// A rectangle reaching past the sheet keeps its quad size but samples only the picture, never
// the texture's padding.
static void glyphQuad(const TFont *font, const TFontGlyph *glyph, float x, float y, float scale)
{
    const TTexture *sheet = &font->sheet;
    float s0 = (float)clampToSheet(glyph->x0, sheet->width) / (float)sheet->texWidth;
    float t0 = (float)clampToSheet(glyph->y0, sheet->height) / (float)sheet->texHeight;
    float s1 = (float)clampToSheet(glyph->x1, sheet->width) / (float)sheet->texWidth;
    float t1 = (float)clampToSheet(glyph->y1, sheet->height) / (float)sheet->texHeight;
    float w = (float)glyph->width * scale;
    float h = (float)glyph->height * scale;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, sheet->id);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2f(x, y);
    glTexCoord2f(s1, t0);
    glVertex2f(x + w, y);
    glTexCoord2f(s1, t1);
    glVertex2f(x + w, y + h);
    glTexCoord2f(s0, t1);
    glVertex2f(x, y + h);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

static void drawGlyph(const TFont *font, const TFontGlyph *glyph, float x, float y, float scale)
{
    int keyed = font->sheet.colorKeyOn;
    if (keyed) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glyphQuad(font, glyph, x, y, scale);
    if (keyed)
        glDisable(GL_BLEND);
}

static void drawGlyphAlpha(const TFont *font, const TFontGlyph *glyph, float x, float y,
                           float scale, float alpha)
{
    TColor c = fontTextColor();
    glColor4f(c.r, c.g, c.b, alpha);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glyphQuad(font, glyph, x, y, scale);
    glDisable(GL_BLEND);
    glColor4f(c.r, c.g, c.b, 1.0f);
}

// The routine behind every form: one quad per present glyph, the pen carried in floats.
static void drawString(TFont *font, float x, float y, float scale, const char *text)
{
    if (!text || !usableBitmapFont(font))
        return;
    TColor c = fontTextColor();
    glColor4f(c.r, c.g, c.b, 1.0f);
    for (const unsigned char *p = (const unsigned char *)text; *p; ++p) {
        if (font->glyphs[*p].present)
            drawGlyph(font, &font->glyphs[*p], x, y, scale);
        x += (float)advanceOf(font, *p) * scale;
    }
}

static void drawStringAlpha(TFont *font, float x, float y, float scale, const char *text,
                            float alpha)
{
    if (!text || !usableBitmapFont(font))
        return;
    // Written so that not-a-number fails the first test and becomes 0.
    if (!(alpha >= 0.0f))
        alpha = 0.0f;
    else if (alpha > 1.0f)
        alpha = 1.0f;
    for (const unsigned char *p = (const unsigned char *)text; *p; ++p) {
        if (font->glyphs[*p].present)
            drawGlyphAlpha(font, &font->glyphs[*p], x, y, scale, alpha);
        x += (float)advanceOf(font, *p) * scale;
    }
}

// Every whole offset (i, j) within the square of `thickness`, i outer, j inner; the centre only
// when asked. The counters are wide so a huge thickness cannot overflow them.
static void drawSquare(TFont *font, float x, float y, float scale, const char *text, int thickness,
                       int withCentre)
{
    for (long long i = -(long long)thickness; i <= thickness; ++i)
        for (long long j = -(long long)thickness; j <= thickness; ++j)
            if (withCentre || i != 0 || j != 0)
                drawString(font, x + (float)i, y + (float)j, scale, text);
}

static void drawShadowed(TFont *font, float x, float y, float scale, const char *text, float dx,
                         float dy, float r, float g, float b, float sr, float sg, float sb)
{
    if (!font || !text)
        return;
    o3DSetTextColor(sr, sg, sb);
    drawString(font, x + dx, y + dy, scale, text);
    o3DSetTextColor(r, g, b);
    drawString(font, x, y, scale, text);
}

static void drawOutlined(TFont *font, float x, float y, float scale, const char *text,
                         int thickness, float r, float g, float b, float outR, float outG,
                         float outB)
{
    if (!font || !text)
        return;
    o3DSetTextColor(outR, outG, outB);
    drawSquare(font, x, y, scale, text, thickness, 0);
    o3DSetTextColor(r, g, b);
    drawString(font, x, y, scale, text);
}

static void drawShadowedAlpha(TFont *font, float x, float y, float scale, const char *text,
                              float dx, float dy, float r, float g, float b, float sr, float sg,
                              float sb, float alpha)
{
    if (!font || !text)
        return;
    o3DSetTextColor(sr, sg, sb);
    drawStringAlpha(font, x + dx, y + dy, scale, text, alpha);
    o3DSetTextColor(r, g, b);
    drawStringAlpha(font, x, y, scale, text, alpha);
}

void o3DDrawText(TFont *font, float x, float y, const char *text)
{
    drawString(font, x, y, 1.0f, text);
}

void o3DDrawTextf(TFont *font, float x, float y, const char *format, ...)
{
    if (!format)
        return;
    char text[kFormatBufferBytes];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    o3DDrawText(font, x, y, text);
}

void o3DDrawTextScaled(TFont *font, float x, float y, float scale, const char *text)
{
    drawString(font, x, y, scale, text);
}

void o3DDrawTextShadow(TFont *font, float x, float y, const char *text, float dx, float dy, float r,
                       float g, float b, float sr, float sg, float sb)
{
    drawShadowed(font, x, y, 1.0f, text, dx, dy, r, g, b, sr, sg, sb);
}

void o3DDrawTextShadowScaled(TFont *font, float x, float y, float scale, const char *text, float dx,
                             float dy, float r, float g, float b, float sr, float sg, float sb)
{
    drawShadowed(font, x, y, scale, text, dx, dy, r, g, b, sr, sg, sb);
}

void o3DDrawTextShadowf(TFont *font, float x, float y, float dx, float dy, float r, float g,
                        float b, float sr, float sg, float sb, const char *format, ...)
{
    if (!format)
        return;
    char text[kFormatBufferBytes];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    o3DDrawTextShadow(font, x, y, text, dx, dy, r, g, b, sr, sg, sb);
}

void o3DDrawTextOutline(TFont *font, float x, float y, const char *text, int thickness, float r,
                        float g, float b, float outR, float outG, float outB)
{
    drawOutlined(font, x, y, 1.0f, text, thickness, r, g, b, outR, outG, outB);
}

void o3DDrawTextOutlineScaled(TFont *font, float x, float y, float scale, const char *text,
                              int thickness, float r, float g, float b, float outR, float outG,
                              float outB)
{
    drawOutlined(font, x, y, scale, text, thickness, r, g, b, outR, outG, outB);
}

void o3DDrawTextOutlinef(TFont *font, float x, float y, int thickness, float r, float g, float b,
                         float outR, float outG, float outB, const char *format, ...)
{
    if (!format)
        return;
    char text[kFormatBufferBytes];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    o3DDrawTextOutline(font, x, y, text, thickness, r, g, b, outR, outG, outB);
}

void o3DDrawTextOutlineShadow(TFont *font, float x, float y, const char *text, int thickness,
                              float dx, float dy, float r, float g, float b, float outR, float outG,
                              float outB, float sr, float sg, float sb)
{
    if (!font || !text)
        return;
    o3DSetTextColor(sr, sg, sb);
    drawSquare(font, x + dx, y + dy, 1.0f, text, thickness, 1);
    drawOutlined(font, x, y, 1.0f, text, thickness, r, g, b, outR, outG, outB);
}

void o3DDrawTextAlpha(TFont *font, float x, float y, const char *text, float alpha)
{
    drawStringAlpha(font, x, y, 1.0f, text, alpha);
}

void o3DDrawTextScaledAlpha(TFont *font, float x, float y, float scale, const char *text,
                            float alpha)
{
    drawStringAlpha(font, x, y, scale, text, alpha);
}

void o3DDrawTextShadowAlpha(TFont *font, float x, float y, const char *text, float dx, float dy,
                            float r, float g, float b, float sr, float sg, float sb, float alpha)
{
    drawShadowedAlpha(font, x, y, 1.0f, text, dx, dy, r, g, b, sr, sg, sb, alpha);
}

void o3DDrawTextShadowScaledAlpha(TFont *font, float x, float y, float scale, const char *text,
                                  float dx, float dy, float r, float g, float b, float sr, float sg,
                                  float sb, float alpha)
{
    drawShadowedAlpha(font, x, y, scale, text, dx, dy, r, g, b, sr, sg, sb, alpha);
}

int o3DMeasureText(TFont *font, const char *text)
{
    if (!text || !usableBitmapFont(font))
        return 0;
    long long width = 0;
    for (const unsigned char *p = (const unsigned char *)text; *p; ++p)
        width += advanceOf(font, *p);
    if (width > INT_MAX)
        return INT_MAX;
    return width < INT_MIN ? INT_MIN : (int)width;
}

int o3DGetFontLineHeight(TFont *font)
{
    return usableBitmapFont(font) ? font->lineHeight : 0;
}
