// The intro film: five seconds of snow falling over hills under the winter sky, the title fading
// in over it, the whole fading from and to black, with wind and a chord as its sound. Written as
// an uncompressed AVI (24-bit bottom-up BGR frames and 16-bit PCM, one sound chunk per frame,
// with an index), the layout both video backends play.
#include "assetgen.h"

#include "sound_synth.h"

#include <math.h>

namespace {

const int kWidth = 320, kHeight = 180, kFramesPerSecond = 10, kFrames = 50;
const int kSamplesPerFrame = kSoundRate / kFramesPerSecond;
const int kSnowflakes = 160;

struct Writer {
    Bytes data;
    void u8(uint8_t v)
    {
        data.push_back(v);
    }
    void u16(uint32_t v)
    {
        u8((uint8_t)v);
        u8((uint8_t)(v >> 8));
    }
    void u32(uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void tag(const char *t)
    {
        data.insert(data.end(), t, t + 4);
    }
    void append(const Writer &w)
    {
        data.insert(data.end(), w.data.begin(), w.data.end());
    }
};

Writer chunk(const char *id, const Writer &body)
{
    Writer out;
    out.tag(id);
    out.u32((uint32_t)body.data.size());
    out.append(body);
    if (body.data.size() % 2)
        out.u8(0);
    return out;
}

Writer list(const char *type, const Writer &body)
{
    Writer inner;
    inner.tag(type);
    inner.append(body);
    return chunk("LIST", inner);
}

Writer streamHeader(const char *type, uint32_t scale, uint32_t rate, uint32_t length,
                    uint32_t bufferSize, uint32_t sampleSize, int width, int height)
{
    Writer h;
    h.tag(type);
    h.u32(0); // handler
    h.u32(0); // flags
    h.u32(0); // priority, language
    h.u32(0); // initial frames
    h.u32(scale);
    h.u32(rate);
    h.u32(0); // start
    h.u32(length);
    h.u32(bufferSize);
    h.u32(0xFFFFFFFF); // quality: default
    h.u32(sampleSize);
    h.u16(0);
    h.u16(0);
    h.u16((uint32_t)width);
    h.u16((uint32_t)height);
    return chunk("strh", h);
}

// A spruce seen from afar: stacked tiers, dark needles with snow along each tier's top.
void drawSpruce(Image *image, float centre, float ground, float h)
{
    for (int y = (int)(ground - h); y <= (int)ground; ++y) {
        const float up = (ground - (float)y) / h; // 0 at the foot, 1 at the tip
        const float tier = fmodf(up * 4.0f, 1.0f);
        const float half = h * 0.3f * (1.0f - up) * (0.55f + 0.45f * (1.0f - tier));
        for (int x = (int)(centre - half); x <= (int)(centre + half); ++x) {
            const bool snow = tier > 0.7f || valueNoise(x * 0.6f, y * 0.6f, 0, 0, 130u) > 0.75f;
            image->set(x, y, snow ? Rgb{226, 233, 243} : Rgb{52, 72, 78});
        }
    }
    for (int y = (int)ground; y < (int)(ground + h * 0.06f) + 1; ++y)
        for (int x = (int)(centre - h * 0.03f); x <= (int)(centre + h * 0.03f); ++x)
            image->set(x, y, {70, 56, 48});
}

// The far hills' skyline, as a height above the horizon (in picture rows) along the pan.
float skyline(float x, float layer)
{
    return fractalNoise(x * (0.010f + layer * 0.006f), layer * 7.0f, 0, 2, 0.35f,
                        120u + (int)layer);
}

Image frameImage(int frame, const std::vector<uint8_t> &title, int titleW, int titleH)
{
    const float t = (float)frame / kFramesPerSecond;
    Image image(kWidth, kHeight);
    const float pan = t * 6.0f; // pixels the far layer moves per second of film
    const int horizon = 112;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            // A camera looking along +z, slightly up, turning slowly.
            const float dx = ((float)x - kWidth / 2 + pan * 2.0f) / kHeight * 1.1f;
            const float dy = (float)(horizon - y) / kHeight * 1.1f;
            image.set(x, y, skyColour(dx, dy, 1.0f));
        }
    // Three hill layers, far to near: paler with distance, the nearest white with blue shade.
    const Rgb far = {182, 188, 198}, mid = {206, 212, 224}, nearSnow = {238, 242, 248};
    for (int layer = 0; layer < 3; ++layer) {
        const Rgb colour = layer == 0 ? far : (layer == 1 ? mid : nearSnow);
        const float speed = 1.0f + layer * 1.5f;
        const float base = (float)horizon - 18.0f + layer * 22.0f;
        const float rise = 34.0f - layer * 6.0f;
        for (int x = 0; x < kWidth; ++x) {
            const float top = base - rise * skyline((float)x + pan * speed, (float)layer);
            for (int y = (int)top; y < kHeight; ++y) {
                const float depth = clampf((y - top) / 40.0f, 0.0f, 1.0f);
                image.set(x, y, scaleRgb(colour, 1.0f - 0.12f * depth * (layer == 2 ? 0.5f : 1)));
            }
        }
        // Spruces on the middle and near hills, scrolling with their hill; nearer ones larger.
        if (layer == 0)
            continue;
        const float spacing = layer == 1 ? 19.0f : 90.0f;
        const int firstSlot = (int)floorf((pan * speed - 40.0f) / spacing);
        for (int slot = firstSlot; slot * spacing < pan * speed + kWidth + 40.0f; ++slot) {
            Lcg r = {(uint32_t)(slot * 7919 + 13 + layer * 101)};
            if (r.draw() % 3 == 0)
                continue;
            const float centre = slot * spacing + (float)(r.draw() % 9) - 4.0f;
            const float h =
                layer == 1 ? 10.0f + (float)(r.draw() % 12) : 34.0f + (float)(r.draw() % 20);
            const float ground = base - rise * skyline(centre, (float)layer) + h * 0.05f;
            drawSpruce(&image, centre - pan * speed, ground, h);
        }
    }
    // Snow falling slowly, drifting left.
    Lcg flakes = {4711u};
    for (int i = 0; i < kSnowflakes; ++i) {
        const float x0 = flakes.unit() * kWidth, y0 = flakes.unit() * kHeight;
        const float fall = 8.0f + flakes.unit() * 16.0f, size = flakes.unit();
        const float x = fmodf(x0 - t * 6.0f + 3.0f * sinf(t * 1.3f + i) + kWidth, (float)kWidth);
        const float y = fmodf(y0 + t * fall, (float)kHeight);
        image.blend((int)x, (int)y, {255, 255, 255}, 0.6f + 0.4f * size);
        if (size > 0.6f)
            image.blend((int)x + 1, (int)y, {255, 255, 255}, 0.5f);
    }
    // The title fades in from 1 s to 2 s.
    const float titleAlpha = clampf(t - 1.0f, 0.0f, 1.0f);
    const int ox = (kWidth - titleW) / 2, oy = 24;
    for (int y = 0; y < titleH; ++y)
        for (int x = 0; x < titleW; ++x) {
            const float c = title[(size_t)y * titleW + x] / 255.0f;
            if (c <= 0)
                continue;
            const Rgb ice = mixRgb({255, 255, 255}, {150, 190, 235}, (float)y / titleH);
            image.blend(ox + x + 2, oy + y + 2, {40, 50, 70}, c * titleAlpha * 0.6f);
            image.blend(ox + x, oy + y, ice, c * titleAlpha);
        }
    // Fade from black over the first second and to black over the last.
    const float duration = (float)kFrames / kFramesPerSecond;
    const float light = clampf(fminf(t / 1.0f, (duration - 0.1f - t) / 1.0f), 0.0f, 1.0f);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            image.set(x, y, scaleRgb(image.get(x, y), light));
    return image;
}

std::vector<float> soundTrack()
{
    const int n = kFrames * kSamplesPerFrame;
    std::vector<float> out((size_t)n, 0.0f);
    Synth s = {{99u}};
    OnePole wind, gust;
    const float duration = (float)n / kSoundRate;
    for (int i = 0; i < n; ++i) {
        const float t = (float)i / kSoundRate;
        const float swell = 0.6f + 0.4f * sinf(t * 1.7f) * sinf(t * 0.6f + 1.0f);
        float v = wind.lowPass(s.noise(), 500.0f + 300.0f * swell) * swell * 0.8f;
        v += gust.lowPass(s.noise(), 2500.0f) * 0.05f;
        // An A minor chord swelling under the title.
        const float chord = clampf((t - 0.8f) / 1.5f, 0.0f, 1.0f);
        for (float hz : {220.0f, 261.63f, 329.63f, 110.0f})
            v += 0.12f * chord * sinf(2.0f * 3.14159265f * hz * t);
        const float fade = clampf(fminf(t / 0.8f, (duration - t) / 1.0f), 0.0f, 1.0f);
        out[(size_t)i] = v * fade * 0.7f;
    }
    return out;
}

} // namespace

void makeFilm(AssetList *out, TextFace *face)
{
    const int titleW = 280, titleH = 60, size = 46;
    std::vector<uint8_t> title((size_t)titleW * titleH, 0);
    const int width = measureText(face, size, "Ostrel3D");
    drawTextMask(face, size, "Ostrel3D", (titleW - width) / 2, 48, &title, titleW, titleH);

    const uint32_t rowBytes = (kWidth * 3 + 3) & ~3u;
    const uint32_t frameBytes = rowBytes * kHeight, soundBytes = kSamplesPerFrame * 2;
    const uint32_t kHasIndex = 0x10, kInterleaved = 0x100, kKeyFrame = 0x10;

    Writer avih;
    avih.u32(1000000u / kFramesPerSecond);
    avih.u32((frameBytes + soundBytes) * kFramesPerSecond);
    avih.u32(0);
    avih.u32(kHasIndex | kInterleaved);
    avih.u32(kFrames);
    avih.u32(0);
    avih.u32(2); // streams
    avih.u32(frameBytes);
    avih.u32(kWidth);
    avih.u32(kHeight);
    for (int i = 0; i < 4; ++i)
        avih.u32(0);

    Writer bitmapInfo;
    bitmapInfo.u32(40);
    bitmapInfo.u32(kWidth);
    bitmapInfo.u32(kHeight); // positive: rows from the bottom
    bitmapInfo.u16(1);
    bitmapInfo.u16(24);
    bitmapInfo.u32(0); // uncompressed
    bitmapInfo.u32(frameBytes);
    for (int i = 0; i < 4; ++i)
        bitmapInfo.u32(0);
    Writer video =
        streamHeader("vids", 1, kFramesPerSecond, kFrames, frameBytes, 0, kWidth, kHeight);
    video.append(chunk("strf", bitmapInfo));

    Writer wave;
    wave.u16(1); // PCM
    wave.u16(1); // mono
    wave.u32(kSoundRate);
    wave.u32(kSoundRate * 2);
    wave.u16(2);
    wave.u16(16);
    Writer audio =
        streamHeader("auds", 2, kSoundRate * 2, kFrames * kSamplesPerFrame, soundBytes, 2, 0, 0);
    audio.append(chunk("strf", wave));

    Writer headers = chunk("avih", avih);
    headers.append(list("strl", video));
    headers.append(list("strl", audio));

    const std::vector<float> sound = soundTrack();
    Writer movie, index;
    uint32_t offset = 4; // index offsets count from the "movi" tag
    for (int frame = 0; frame < kFrames; ++frame) {
        const Image image = frameImage(frame, title, titleW, titleH);
        Writer picture;
        for (int y = kHeight - 1; y >= 0; --y) {
            for (int x = 0; x < kWidth; ++x) {
                const Rgb c = image.get(x, y);
                picture.u8((uint8_t)c.b);
                picture.u8((uint8_t)c.g);
                picture.u8((uint8_t)c.r);
            }
            for (uint32_t pad = kWidth * 3; pad < rowBytes; ++pad)
                picture.u8(0);
        }
        Writer pcm;
        for (int i = 0; i < kSamplesPerFrame; ++i) {
            const float v = clampf(sound[(size_t)(frame * kSamplesPerFrame + i)], -1, 1);
            pcm.u16((uint16_t)(int16_t)lrintf(v * 32767.0f));
        }
        const Writer parts[2] = {chunk("00db", picture), chunk("01wb", pcm)};
        const char *ids[2] = {"00db", "01wb"};
        for (int p = 0; p < 2; ++p) {
            index.tag(ids[p]);
            index.u32(kKeyFrame);
            index.u32(offset);
            index.u32((uint32_t)parts[p].data.size() - 8); // both bodies have even sizes
            offset += (uint32_t)parts[p].data.size();
            movie.append(parts[p]);
        }
    }

    Writer body;
    body.tag("AVI ");
    body.append(list("hdrl", headers));
    body.append(list("movi", movie));
    body.append(chunk("idx1", index));
    out->push_back({"intro.avi", chunk("RIFF", body).data});
}
