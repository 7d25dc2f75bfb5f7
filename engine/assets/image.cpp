// 2D images: the RGBA loaders over the platform's own bitmap reader (the seam's readBitmap), the
// colour key and its mask, freeing, and the modifiers that the image drawing reads. The picture
// goes into the top-left corner of a power-of-two texture with clamped edges; callers draw only
// the part it covers.
#include "ostrel3d.h"

#include "assets/bmp24.h"
#include "assets/texture.h"
#include "platform/seam.h"

#include <stdlib.h>

static const GLint kImageComponents = 4;
static const GLint kDefaultUnpackAlignment = 4;

// Fills the RGBA texture buffer and the mask from top-down B, G, R rows padded to 4 bytes.
static void buildPixels(const TTexture *img, const unsigned char *dib, unsigned char *rgba,
                        unsigned char *mask)
{
    size_t stride = ((size_t)img->width * 3 + 3) & ~(size_t)3;
    for (int y = 0; y < img->height; ++y) {
        const unsigned char *src = dib + stride * (size_t)y;
        unsigned char *dst = rgba + (size_t)img->texWidth * 4 * (size_t)y;
        for (int x = 0; x < img->width; ++x) {
            unsigned char b = src[x * 3 + 0], g = src[x * 3 + 1], r = src[x * 3 + 2];
            int keyed = img->colorKeyOn && r == img->keyR && g == img->keyG && b == img->keyB;
            dst[x * 4 + 0] = r;
            dst[x * 4 + 1] = g;
            dst[x * 4 + 2] = b;
            dst[x * 4 + 3] = keyed ? 0 : 255;
            mask[(size_t)y * (size_t)img->width + (size_t)x] = keyed ? 0 : 1;
        }
    }
}

static GLuint uploadRgba(const unsigned char *rgba, int texWidth, int texHeight)
{
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, textureNewFilter());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, textureNewFilter());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexImage2D(GL_TEXTURE_2D, 0, kImageComponents, texWidth, texHeight, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, rgba);
    glPixelStorei(GL_UNPACK_ALIGNMENT, kDefaultUnpackAlignment);
    return id;
}

// Clears everything a load sets while keeping the colour key the caller chose.
static void resetForLoad(TTexture *img)
{
    TTexture kept = *img;
    img->id = 0;
    img->width = img->height = 0;
    img->texWidth = img->texHeight = 0;
    img->loaded = 0;
    img->additive = 0;
    img->mask = nullptr;
    img->tintR = img->tintG = img->tintB = 1.0f;
    img->tintA = 1.0f;
    img->colorKeyOn = kept.colorKeyOn;
    img->keyR = kept.keyR;
    img->keyG = kept.keyG;
    img->keyB = kept.keyB;
}

int o3DLoadImage(TTexture *img, const char *path)
{
    if (!img)
        return 0;
    resetForLoad(img);
    int width = 0, height = 0;
    unsigned char *dib = path ? gImageSeam.readBitmap(path, &width, &height) : nullptr;
    if (!dib)
        return 0;
    // The platform's loader has its own limits; these keep the buffer sizes below sane.
    if (width <= 0 || height <= 0 || width > kMaxBitmapSidePixels ||
        height > kMaxBitmapSidePixels) {
        free(dib);
        return 0;
    }
    int texWidth = bmp24PowerOfTwo(width);
    int texHeight = bmp24PowerOfTwo(height);
    unsigned char *rgba = (unsigned char *)calloc((size_t)texWidth * (size_t)texHeight, 4);
    unsigned char *mask = rgba ? (unsigned char *)malloc((size_t)width * (size_t)height) : nullptr;
    if (!mask) {
        free(rgba);
        free(dib);
        return 0;
    }
    img->width = width;
    img->height = height;
    img->texWidth = texWidth;
    img->texHeight = texHeight;
    buildPixels(img, dib, rgba, mask);
    img->id = uploadRgba(rgba, texWidth, texHeight);
    free(rgba);
    free(dib);
    img->mask = mask;
    img->loaded = 1;
    return 1;
}

int o3DLoadImageKeyed(TTexture *img, const char *path, uint8_t r, uint8_t g, uint8_t b)
{
    if (!img)
        return 0;
    img->colorKeyOn = 1;
    img->keyR = r;
    img->keyG = g;
    img->keyB = b;
    return o3DLoadImage(img, path);
}

void o3DFreeTexture(TTexture *tex)
{
    if (!tex || !tex->loaded)
        return;
    if (tex->id != 0) {
        GLuint id = tex->id;
        glDeleteTextures(1, &id);
        tex->id = 0;
    }
    free(tex->mask);
    tex->mask = nullptr;
    tex->width = tex->height = 0;
    tex->texWidth = tex->texHeight = 0;
    tex->loaded = 0;
}

void o3DSetImageColorKey(TTexture *img, uint8_t r, uint8_t g, uint8_t b)
{
    if (!img || !img->loaded)
        return;
    img->colorKeyOn = 1;
    img->keyR = r;
    img->keyG = g;
    img->keyB = b;
}

void o3DClearImageColorKey(TTexture *img)
{
    if (img)
        img->colorKeyOn = 0;
}

void o3DSetImageAdditive(TTexture *img)
{
    if (img)
        img->additive = 1;
}

void o3DClearImageAdditive(TTexture *img)
{
    if (img)
        img->additive = 0;
}

void o3DSetImageTint(TTexture *img, float r, float g, float b)
{
    if (!img)
        return;
    img->tintR = r;
    img->tintG = g;
    img->tintB = b;
}

void o3DSetImageAlpha(TTexture *img, float a)
{
    if (!img)
        return;
    // Written so that not-a-number fails the first test and lands on 0.
    img->tintA = a >= 0.0f ? (a > 1.0f ? 1.0f : a) : 0.0f;
}
