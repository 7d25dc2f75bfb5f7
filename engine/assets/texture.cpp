// Surface textures read by the engine's own 24-bit BMP reader (o3DLoadTexture), texture binding
// and the per-texture filter and wrap, and the linear-filtering flag that every loader reads
// when it creates a texture. Needs a current GL context for everything but the flag.
#include "ostrel3d.h"

#include "assets/bmp24.h"
#include "assets/texture.h"

#include <stdlib.h>

struct TextureState {
    int linearFiltering;
};

static TextureState sTexture = {1};

static GLint filterFor(int linear)
{
    return linear == 1 ? GL_LINEAR : GL_NEAREST;
}

// Uploads tightly packed RGB rows; the row alignment is 1 for the upload only, since a texture
// one or two pixels wide has rows that are not a multiple of 4 bytes.
static GLuint uploadRgb(const unsigned char *rgb, int width, int height)
{
    GLuint id = 0;
    GLint alignment = 4;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, textureNewFilter());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, textureNewFilter());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return id;
}

GLint textureNewFilter(void)
{
    return filterFor(sTexture.linearFiltering);
}

int o3DLoadTexture(TTexture *tex, const char *path)
{
    if (!tex)
        return 0;
    tex->id = 0;
    tex->width = 0;
    tex->height = 0;
    tex->loaded = 0;

    int width = 0, height = 0;
    unsigned char *rgb = bmp24Read(path, &width, &height);
    if (!rgb)
        return 0;
    int potWidth = bmp24PowerOfTwo(width);
    int potHeight = bmp24PowerOfTwo(height);
    if (potWidth != width || potHeight != height) {
        unsigned char *resized = bmp24Resample(rgb, width, height, potWidth, potHeight);
        free(rgb);
        if (!resized)
            return 0;
        rgb = resized;
    }
    tex->id = uploadRgb(rgb, potWidth, potHeight);
    free(rgb);
    tex->width = potWidth;
    tex->height = potHeight;
    tex->loaded = 1;
    return 1;
}

void o3DBindTexture(TTexture *tex)
{
    if (!tex || !tex->loaded)
        return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, tex->id);
}

void o3DDisableTexture(void)
{
    glDisable(GL_TEXTURE_2D);
}

void o3DSetTextureFilter(int min, int mag)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filterFor(min));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filterFor(mag));
}

void o3DSetTextureWrap(int s, int t)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, s == 1 ? GL_CLAMP : GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, t == 1 ? GL_CLAMP : GL_REPEAT);
}

void o3DEnableLinearFiltering(void)
{
    sTexture.linearFiltering = 1;
}

void o3DDisableLinearFiltering(void)
{
    sTexture.linearFiltering = 0;
}

int o3DIsLinearFiltering(void)
{
    return sTexture.linearFiltering == 1;
}
