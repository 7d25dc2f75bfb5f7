// The sdl image seam: SDL's BMP loader (1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up and
// top-down rows) converted to 24-bit B, G, R, then copied into top-down rows padded to 4 bytes,
// the layout GDI's GetDIBits gives on win32. Needs no window or video subsystem.
//
// SDL allocates and clears the whole surface from the header's size before it finds the pixels
// missing, so a few bytes claiming a huge picture would cost gigabytes: the engine's own header
// check comes first.
#include "assets/bmp24.h"
#include "platform/seam.h"

#include <SDL.h>
#include <stdlib.h>
#include <string.h>

static unsigned char *copyRows(const SDL_Surface *surface)
{
    size_t rowBytes = (size_t)surface->w * 3;
    size_t stride = (rowBytes + 3) & ~(size_t)3;
    // calloc: the row padding is zero, as GDI leaves it.
    unsigned char *rows = (unsigned char *)calloc(stride * (size_t)surface->h, 1);
    if (!rows)
        return nullptr;
    const unsigned char *src = (const unsigned char *)surface->pixels;
    for (int y = 0; y < surface->h; ++y)
        memcpy(rows + stride * (size_t)y, src + (size_t)surface->pitch * (size_t)y, rowBytes);
    return rows;
}

static unsigned char *readBitmap(const char *path, int *width, int *height)
{
    if (!bmpFileFitsItsHeader(path))
        return nullptr;
    SDL_Surface *loaded = SDL_LoadBMP(path);
    if (!loaded)
        return nullptr;
    // SDL names packed formats by byte order: BGR24 is B, G, R in memory.
    SDL_Surface *bgr = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_BGR24, 0);
    SDL_FreeSurface(loaded);
    if (!bgr)
        return nullptr;
    unsigned char *rows = nullptr;
    if (bgr->w > 0 && bgr->h > 0 && SDL_LockSurface(bgr) == 0) {
        rows = copyRows(bgr);
        SDL_UnlockSurface(bgr);
    }
    if (rows) {
        *width = bgr->w;
        *height = bgr->h;
    }
    SDL_FreeSurface(bgr);
    return rows;
}

constexpr PlatformImageSeam kNativeImageSeam = {readBitmap};
PlatformImageSeam gImageSeam = kNativeImageSeam;
