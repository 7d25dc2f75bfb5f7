// Writes short uncompressed AVI films for the video tests: 24-bit bottom-up BGR frames and a
// 16-bit stereo PCM sound track, interleaved one sound chunk per frame, with the index that
// DirectShow and GStreamer both read. Each frame's picture comes from a function, so a test says
// what the film shows.
#ifndef O3D_TESTS_AVI_WRITER_H
#define O3D_TESTS_AVI_WRITER_H

#include <stdint.h>
#include <stdio.h>

#include <functional>
#include <string>
#include <vector>

struct AviColour {
    uint8_t r, g, b;
};

struct AviFilm {
    int width = 96, height = 64;
    int framesPerSecond = 10;
    int frames = 10;
    int soundRate = 22050;
    // The colour of pixel (x, y), y from the top, in frame `frame`.
    std::function<AviColour(int frame, int x, int y)> colourAt = [](int, int, int) {
        return AviColour{200, 40, 120};
    };
};

namespace avi_detail {

struct Bytes {
    std::vector<uint8_t> data;
    void u8(uint8_t v)
    {
        data.push_back(v);
    }
    void u16(uint32_t v)
    {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void u32(uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void tag(const char *fourcc)
    {
        data.insert(data.end(), fourcc, fourcc + 4);
    }
    void append(const Bytes &other)
    {
        data.insert(data.end(), other.data.begin(), other.data.end());
    }
};

inline Bytes chunk(const char *id, const Bytes &body)
{
    Bytes out;
    out.tag(id);
    out.u32((uint32_t)body.data.size());
    out.append(body);
    if (body.data.size() % 2)
        out.u8(0);
    return out;
}

inline Bytes list(const char *type, const Bytes &body)
{
    Bytes inner;
    inner.tag(type);
    inner.append(body);
    return chunk("LIST", inner);
}

inline Bytes streamHeader(const char *type, uint32_t scale, uint32_t rate, uint32_t length,
                          uint32_t bufferSize, uint32_t sampleSize, int width, int height)
{
    Bytes h;
    h.tag(type);
    h.u32(0);     // handler
    h.u32(0);     // flags
    h.u32(0);     // priority, language
    h.u32(0);     // initial frames
    h.u32(scale); // rate / scale: units per second
    h.u32(rate);
    h.u32(0);          // start
    h.u32(length);     // in units
    h.u32(bufferSize); // suggested buffer size
    h.u32(0xFFFFFFFF); // quality: default
    h.u32(sampleSize);
    h.u16(0);
    h.u16(0);
    h.u16((uint32_t)width);
    h.u16((uint32_t)height);
    return chunk("strh", h);
}

} // namespace avi_detail

// The bytes of a whole film.
inline std::vector<uint8_t> aviBytes(const AviFilm &film)
{
    using namespace avi_detail;
    const int rowBytes = (film.width * 3 + 3) & ~3;
    const uint32_t frameBytes = (uint32_t)rowBytes * film.height;
    const int soundFramesPerPicture = film.soundRate / film.framesPerSecond;
    const uint32_t soundChunkBytes = (uint32_t)soundFramesPerPicture * 4;
    const uint32_t kHasIndex = 0x10, kKeyFrame = 0x10;

    Bytes avih;
    avih.u32(1000000u / film.framesPerSecond);
    avih.u32((frameBytes + soundChunkBytes) * film.framesPerSecond);
    avih.u32(0);
    avih.u32(kHasIndex);
    avih.u32((uint32_t)film.frames);
    avih.u32(0);
    avih.u32(2); // streams
    avih.u32(frameBytes);
    avih.u32((uint32_t)film.width);
    avih.u32((uint32_t)film.height);
    for (int i = 0; i < 4; ++i)
        avih.u32(0);

    Bytes bitmapInfo;
    bitmapInfo.u32(40);
    bitmapInfo.u32((uint32_t)film.width);
    bitmapInfo.u32((uint32_t)film.height); // positive: rows from the bottom
    bitmapInfo.u16(1);
    bitmapInfo.u16(24);
    bitmapInfo.u32(0); // uncompressed
    bitmapInfo.u32(frameBytes);
    for (int i = 0; i < 4; ++i)
        bitmapInfo.u32(0);
    Bytes videoStream = streamHeader("vids", 1, (uint32_t)film.framesPerSecond,
                                     (uint32_t)film.frames, frameBytes, 0, film.width, film.height);
    videoStream.append(chunk("strf", bitmapInfo));

    Bytes waveFormat;
    waveFormat.u16(1); // PCM
    waveFormat.u16(2);
    waveFormat.u32((uint32_t)film.soundRate);
    waveFormat.u32((uint32_t)film.soundRate * 4);
    waveFormat.u16(4);
    waveFormat.u16(16);
    Bytes soundStream =
        streamHeader("auds", 4, (uint32_t)film.soundRate * 4,
                     (uint32_t)(soundFramesPerPicture * film.frames), soundChunkBytes, 4, 0, 0);
    soundStream.append(chunk("strf", waveFormat));

    Bytes headers = chunk("avih", avih);
    headers.append(list("strl", videoStream));
    headers.append(list("strl", soundStream));

    // Chunks of the movie list and their index, whose offsets count from the "movi" tag.
    Bytes movie, index;
    uint32_t offset = 4;
    for (int frame = 0; frame < film.frames; ++frame) {
        Bytes picture;
        for (int row = film.height - 1; row >= 0; --row) {
            for (int x = 0; x < film.width; ++x) {
                AviColour c = film.colourAt(frame, x, row);
                picture.u8(c.b);
                picture.u8(c.g);
                picture.u8(c.r);
            }
            for (int pad = film.width * 3; pad < rowBytes; ++pad)
                picture.u8(0);
        }
        Bytes sound;
        for (int i = 0; i < soundFramesPerPicture; ++i) {
            int16_t sample = (int16_t)(((i / 25) % 2) ? 3000 : -3000); // a quiet 441 Hz square
            sound.u16((uint16_t)sample);
            sound.u16((uint16_t)sample);
        }
        const Bytes parts[2] = {chunk("00db", picture), chunk("01wb", sound)};
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

    Bytes body;
    body.tag("AVI ");
    body.append(list("hdrl", headers));
    body.append(list("movi", movie));
    body.append(chunk("idx1", index));
    return chunk("RIFF", body).data;
}

inline bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

inline bool writeAvi(const std::string &path, const AviFilm &film)
{
    return writeFile(path, aviBytes(film));
}

#endif
