// The win32 backend's system fonts: a GDI font made with CreateFontA, its 256 character bitmaps
// turned into display lists by wglUseFontBitmapsA on the main window's device context, and text
// measured with GetTextExtentPoint32A on that kept context.
// The GDI font stays alive until release and is selected only while measuring: measuring with
// the context's default font (the font deleted right after building the lists) would report the
// widths of another font. The caller owns the display lists.
#include <windows.h>

#include "platform/gl_api.h"
#include "platform/seam.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

static const DWORD kGlyphCount = 256;
static const MAT2 kIdentityTransform = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
static const GLubyte kNoPixels[1] = {0};

struct Win32Font {
    HWND window; // the window whose device context this is
    HDC dc;
    HFONT font;
};

// Wine's wglUseFontBitmapsA compiles a glyph without pixels (the space) as a glBitmap with a null
// bitmap, which Mesa records as out of memory: that list never moves the raster position. Such
// lists are compiled again with an empty bitmap and the glyph's advance, as they were meant to be.
static void rebuildEmptyGlyphs(HDC dc, unsigned int listBase)
{
    for (UINT code = 0; code < kGlyphCount; ++code) {
        GLYPHMETRICS metrics;
        DWORD bytes =
            GetGlyphOutlineA(dc, code, GGO_BITMAP, &metrics, 0, NULL, &kIdentityTransform);
        if (bytes != 0)
            continue;
        glNewList(listBase + code, GL_COMPILE);
        glBitmap(0, 0, 0.0f, 0.0f, (GLfloat)metrics.gmCellIncX, (GLfloat)metrics.gmCellIncY,
                 kNoPixels);
        glEndList();
    }
}

static void *create(const char *face, int size, int weight, int italic, unsigned int listBase)
{
    HWND window = (HWND)kNativeWindowSeam.handle();
    if (!window)
        return NULL;
    HDC dc = GetDC(window);
    if (!dc)
        return NULL;
    // A negative height asks for the character height rather than the cell height. Widened:
    // INT_MIN has no negation, and asks for the tallest cell instead.
    long long height = -(long long)size;
    if (height > INT_MAX)
        height = INT_MAX;
    HFONT font = CreateFontA((int)height, 0, 0, 0, weight, (DWORD)italic, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                             ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    Win32Font *handle = font ? (Win32Font *)calloc(1, sizeof(Win32Font)) : NULL;
    if (!handle) {
        if (font)
            DeleteObject(font);
        ReleaseDC(window, dc);
        return NULL;
    }
    HGDIOBJ previous = SelectObject(dc, font);
    wglUseFontBitmapsA(dc, 0, kGlyphCount, listBase);
    rebuildEmptyGlyphs(dc, listBase);
    SelectObject(dc, previous);
    handle->window = window;
    handle->dc = dc;
    handle->font = font;
    return handle;
}

static int measure(void *handle, const char *text)
{
    Win32Font *f = (Win32Font *)handle;
    if (!f || !text)
        return 0;
    SIZE extent = {0, 0};
    HGDIOBJ previous = SelectObject(f->dc, f->font);
    GetTextExtentPoint32A(f->dc, text, (int)strlen(text), &extent);
    SelectObject(f->dc, previous);
    return (int)extent.cx;
}

static void release(void *handle)
{
    Win32Font *f = (Win32Font *)handle;
    if (!f)
        return;
    DeleteObject(f->font);
    // A context of a window already destroyed went with it.
    if (IsWindow(f->window))
        ReleaseDC(f->window, f->dc);
    free(f);
}

constexpr PlatformFontSeam kNativeFontSeam = {create, measure, release};
PlatformFontSeam gFontSeam = kNativeFontSeam;
