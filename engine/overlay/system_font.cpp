// System-font text and what works on either kind of font: freeing, the shared text colour,
// printing, measuring and the font height. A system font is 256 display lists (one per byte
// value) that the platform's font seam fills, drawn at the raster position, plus the seam's
// handle kept for measuring. Needs the main window and its GL context; the caller owns the record.
#include "ostrel3d.h"

#include "overlay/font_internal.h"
#include "platform/gl_api.h"
#include "platform/seam.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

static const GLsizei kSystemGlyphLists = 256;
static const size_t kFaceNameChars = 255;
// What a zero-size bitmap that only moves the raster position hands GL.
static const GLubyte kNoPixels[1] = {0};

// Alignment flags of o3DPrintSystemAligned.
static const int kAlignCentreX = 1;
static const int kAlignRight = 2;
static const int kAlignCentreY = 4;
static const int kAlignBottom = 8;

struct TextState {
    float r, g, b;
};

static TextState sText = {1.0f, 1.0f, 1.0f};

static int usableSystemFont(const TFont *font)
{
    return font && font->loaded && font->kind == kFontKindSystem;
}

TColor fontTextColor(void)
{
    return o3DColor(sText.r, sText.g, sText.b);
}

int o3DCreateSystemFont(TFont *font, const char *faceName, int size, int weight, int italic)
{
    if (!font)
        return 0;
    memset(font, 0, sizeof *font);
    font->kind = kFontKindSystem;
    font->size = size;
    if (faceName) {
        strncpy(font->faceName, faceName, kFaceNameChars);
        font->faceName[kFaceNameChars] = '\0';
    }
    if (!o3DGetWindowHandle())
        return 0;
    GLuint listBase = glGenLists(kSystemGlyphLists);
    if (listBase == 0)
        return 0;
    void *handle = gFontSeam.create(font->faceName, size, weight, italic, listBase);
    if (!handle) {
        glDeleteLists(listBase, kSystemGlyphLists);
        return 0;
    }
    font->listBase = listBase;
    font->deviceContext = handle;
    font->loaded = 1;
    return 1;
}

void o3DFreeFont(TFont *font)
{
    if (!font || !font->loaded)
        return;
    if (font->kind == kFontKindSystem) {
        if (font->listBase != 0) {
            glDeleteLists(font->listBase, kSystemGlyphLists);
            font->listBase = 0;
        }
        if (font->deviceContext) {
            gFontSeam.release(font->deviceContext);
            font->deviceContext = NULL;
        }
    } else if (font->kind == kFontKindBitmap) {
        o3DFreeTexture(&font->sheet);
    }
    font->loaded = 0;
}

// Where (x, y) falls in window pixels; 0 if it lies outside the depth range or behind the eye.
// In double, so a whole-pixel point of the 2D pass lands on its pixel exactly.
static int windowPointOf(float x, float y, GLfloat *windowX, GLfloat *windowY, GLfloat *depth)
{
    GLdouble model[16], projection[16];
    GLint view[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, view);
    GLdouble eye[4], clip[4];
    for (int i = 0; i < 4; ++i)
        eye[i] = model[i] * x + model[4 + i] * y + model[12 + i];
    for (int i = 0; i < 4; ++i)
        clip[i] = projection[i] * eye[0] + projection[4 + i] * eye[1] + projection[8 + i] * eye[2] +
                  projection[12 + i] * eye[3];
    if (!(clip[3] > 0.0) || clip[2] < -clip[3] || clip[2] > clip[3])
        return 0;
    *windowX = (GLfloat)(view[0] + (clip[0] / clip[3] + 1.0) * 0.5 * view[2]);
    *windowY = (GLfloat)(view[1] + (clip[1] / clip[3] + 1.0) * 0.5 * view[3]);
    *depth = (GLfloat)(clip[2] / clip[3]);
    return 1;
}

// Sets the raster position to (x, y). GL drops every bitmap at an invalid position, which a
// point outside the window is, and a line starting left of or below the window would vanish
// whole: such a point is reached instead from the viewport's centre (always valid) by the move
// of a zero-size bitmap, and the glyphs are then clipped as they are drawn.
static void setTextRasterPos(float x, float y)
{
    glRasterPos2f(x, y);
    GLint valid = GL_FALSE;
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    GLfloat windowX, windowY, depth;
    if (valid || !windowPointOf(x, y, &windowX, &windowY, &depth))
        return;
    glPushAttrib(GL_TRANSFORM_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos3f(0.0f, 0.0f, depth);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
    GLfloat centre[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, centre);
    glBitmap(0, 0, 0.0f, 0.0f, windowX - centre[0], windowY - centre[1], kNoPixels);
}

void o3DSetTextColor(float r, float g, float b)
{
    sText.r = r;
    sText.g = g;
    sText.b = b;
}

void o3DPrintSystem(TFont *font, float x, float y, const char *text)
{
    if (!text || !usableSystemFont(font))
        return;
    glColor3f(sText.r, sText.g, sText.b);
    // The raster position is the baseline: size pixels below the top of the line.
    setTextRasterPos(x, y + (float)font->size);
    glPushAttrib(GL_LIST_BIT);
    glListBase(font->listBase);
    glCallLists((GLsizei)strlen(text), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}

void o3DPrintSystemf(TFont *font, float x, float y, const char *format, ...)
{
    if (!format)
        return;
    char text[kFormatBufferBytes];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    o3DPrintSystem(font, x, y, text);
}

void o3DPrintSystemAligned(TFont *font, float x, float y, int flags, const char *text)
{
    float width = (float)o3DMeasureSystemText(font, text);
    float height = (float)o3DGetFontHeight(font);
    if (flags & kAlignCentreX)
        x -= width / 2.0f;
    else if (flags & kAlignRight)
        x -= width;
    if (flags & kAlignCentreY)
        y -= height / 2.0f;
    else if (flags & kAlignBottom)
        y -= height;
    o3DPrintSystem(font, x, y, text);
}

int o3DMeasureSystemText(TFont *font, const char *text)
{
    if (!text || !usableSystemFont(font) || !font->deviceContext)
        return 0;
    return gFontSeam.measure(font->deviceContext, text);
}

int o3DGetFontHeight(TFont *font)
{
    if (!font || !font->loaded)
        return 0;
    if (font->kind == kFontKindSystem)
        return font->size;
    if (font->kind == kFontKindBitmap)
        return font->lineHeight;
    return 0;
}

void o3DPrint(TFont *font, float x, float y, const char *text)
{
    if (!font || !font->loaded)
        return;
    if (font->kind == kFontKindSystem)
        o3DPrintSystem(font, x, y, text);
    else if (font->kind == kFontKindBitmap)
        o3DDrawText(font, x, y, text);
}

int o3DGetTextWidth(TFont *font, const char *text)
{
    if (!font || !font->loaded)
        return 0;
    if (font->kind == kFontKindSystem)
        return o3DMeasureSystemText(font, text);
    if (font->kind == kFontKindBitmap)
        return o3DMeasureText(font, text);
    return 0;
}
