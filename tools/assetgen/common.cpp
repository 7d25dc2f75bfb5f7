// Pictures, the bitmap writer and reader, the seeded generator and the noise every asset is made
// of. Noise is hashed from integer lattice coordinates, so it is the same on every run.
#include "assetgen.h"

#include <math.h>

enum { kBmpHeaderBytes = 54 };

Image::Image(int w, int h, Rgb fill) : width(w), height(h), rgb((size_t)w * h * 3)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            set(x, y, fill);
}

static uint8_t toByte(float v)
{
    v = clampf(v, 0.0f, 255.0f);
    return (uint8_t)(v + 0.5f);
}

void Image::set(int x, int y, Rgb c)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    uint8_t *p = &rgb[((size_t)y * width + x) * 3];
    p[0] = toByte(c.r);
    p[1] = toByte(c.g);
    p[2] = toByte(c.b);
}

Rgb Image::get(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return {0, 0, 0};
    const uint8_t *p = &rgb[((size_t)y * width + x) * 3];
    return {(float)p[0], (float)p[1], (float)p[2]};
}

void Image::blend(int x, int y, Rgb c, float amount)
{
    if (x < 0 || y < 0 || x >= width || y >= height || amount <= 0.0f)
        return;
    set(x, y, mixRgb(get(x, y), c, clampf(amount, 0.0f, 1.0f)));
}

static void put16(uint8_t *at, uint32_t v)
{
    at[0] = (uint8_t)(v & 0xFF);
    at[1] = (uint8_t)((v >> 8) & 0xFF);
}

static void put32(uint8_t *at, uint32_t v)
{
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
}

static uint32_t get32(const uint8_t *at)
{
    return (uint32_t)at[0] | ((uint32_t)at[1] << 8) | ((uint32_t)at[2] << 16) |
           ((uint32_t)at[3] << 24);
}

Bytes bmpBytes(const Image &image)
{
    const size_t row = ((size_t)image.width * 3 + 3) / 4 * 4;
    Bytes out(kBmpHeaderBytes + row * image.height, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(&out[2], (uint32_t)out.size());
    put32(&out[10], kBmpHeaderBytes);
    put32(&out[14], 40);
    put32(&out[18], (uint32_t)image.width);
    put32(&out[22], (uint32_t)image.height);
    put16(&out[26], 1);
    put16(&out[28], 24);
    for (int y = 0; y < image.height; ++y) {
        uint8_t *dst = &out[kBmpHeaderBytes + row * (image.height - 1 - y)];
        for (int x = 0; x < image.width; ++x) {
            const uint8_t *src = &image.rgb[((size_t)y * image.width + x) * 3];
            dst[x * 3 + 0] = src[2];
            dst[x * 3 + 1] = src[1];
            dst[x * 3 + 2] = src[0];
        }
    }
    return out;
}

int readBmp(const Bytes &bytes, Image *out)
{
    if (bytes.size() < kBmpHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M')
        return 0;
    const uint32_t offset = get32(&bytes[10]);
    const int32_t width = (int32_t)get32(&bytes[18]), height = (int32_t)get32(&bytes[22]);
    const int bits = bytes[28] | (bytes[29] << 8);
    if (bits != 24 || get32(&bytes[30]) != 0 || width <= 0 || height == 0 || width > 8192 ||
        height > 8192 || height < -8192)
        return 0;
    const int rows = height < 0 ? -height : height;
    const size_t row = ((size_t)width * 3 + 3) / 4 * 4;
    if (offset > bytes.size() || bytes.size() - offset < row * rows)
        return 0;
    *out = Image(width, rows);
    for (int y = 0; y < rows; ++y) {
        const uint8_t *src = &bytes[offset + row * (height < 0 ? y : rows - 1 - y)];
        for (int x = 0; x < width; ++x)
            out->set(x, y, {(float)src[x * 3 + 2], (float)src[x * 3 + 1], (float)src[x * 3]});
    }
    return 1;
}

int Lcg::draw()
{
    state = state * 214013u + 2531011u;
    return (int)((state >> 16) & 0x7FFF);
}

float Lcg::unit()
{
    return (float)draw() / 32767.0f;
}

float clampf(float v, float lo, float hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

float mixf(float a, float b, float t)
{
    return a + (b - a) * t;
}

float smoothstepf(float edge0, float edge1, float v)
{
    float t = clampf((v - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

Rgb mixRgb(Rgb a, Rgb b, float t)
{
    return {mixf(a.r, b.r, t), mixf(a.g, b.g, t), mixf(a.b, b.b, t)};
}

Rgb scaleRgb(Rgb c, float k)
{
    return {c.r * k, c.g * k, c.b * k};
}

static uint32_t hashMix(uint32_t h)
{
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

static float lattice(int x, int y, int z, uint32_t seed)
{
    uint32_t h = hashMix((uint32_t)x * 0x9E3779B1u ^ hashMix((uint32_t)y * 0x85EBCA77u) ^
                         hashMix((uint32_t)z * 0xC2B2AE3Du + seed));
    return (float)(h & 0xFFFFFF) / (float)0xFFFFFF;
}

static int wrapIndex(int i, int period)
{
    if (period <= 0)
        return i;
    i %= period;
    return i < 0 ? i + period : i;
}

static float fade(float t)
{
    return t * t * (3.0f - 2.0f * t);
}

float valueNoise(float x, float y, int periodX, int periodY, uint32_t seed)
{
    const float fx = floorf(x), fy = floorf(y);
    const int x0 = (int)fx, y0 = (int)fy;
    const float tx = fade(x - fx), ty = fade(y - fy);
    const int xa = wrapIndex(x0, periodX), xb = wrapIndex(x0 + 1, periodX);
    const int ya = wrapIndex(y0, periodY), yb = wrapIndex(y0 + 1, periodY);
    const float top = mixf(lattice(xa, ya, 0, seed), lattice(xb, ya, 0, seed), tx);
    const float bottom = mixf(lattice(xa, yb, 0, seed), lattice(xb, yb, 0, seed), tx);
    return mixf(top, bottom, ty);
}

float fractalNoise(float x, float y, int period, int octaves, float persistence, uint32_t seed)
{
    float total = 0.0f, norm = 0.0f, amplitude = 1.0f, frequency = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        const int p = period > 0 ? period << o : 0;
        total +=
            valueNoise(x * frequency, y * frequency, p, p, seed + (uint32_t)o * 1013u) * amplitude;
        norm += amplitude;
        amplitude *= persistence;
        frequency *= 2.0f;
    }
    return total / norm;
}

float valueNoise3(float x, float y, float z, uint32_t seed)
{
    const float fx = floorf(x), fy = floorf(y), fz = floorf(z);
    const int x0 = (int)fx, y0 = (int)fy, z0 = (int)fz;
    const float tx = fade(x - fx), ty = fade(y - fy), tz = fade(z - fz);
    float plane[2];
    for (int k = 0; k < 2; ++k) {
        const float top =
            mixf(lattice(x0, y0, z0 + k, seed), lattice(x0 + 1, y0, z0 + k, seed), tx);
        const float bottom =
            mixf(lattice(x0, y0 + 1, z0 + k, seed), lattice(x0 + 1, y0 + 1, z0 + k, seed), tx);
        plane[k] = mixf(top, bottom, ty);
    }
    return mixf(plane[0], plane[1], tz);
}

float fractalNoise3(float x, float y, float z, int octaves, float persistence, uint32_t seed)
{
    float total = 0.0f, norm = 0.0f, amplitude = 1.0f, frequency = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        total +=
            valueNoise3(x * frequency, y * frequency, z * frequency, seed + (uint32_t)o * 7919u) *
            amplitude;
        norm += amplitude;
        amplitude *= persistence;
        frequency *= 2.0f;
    }
    return total / norm;
}
