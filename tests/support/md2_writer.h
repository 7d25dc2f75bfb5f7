// Writes MD2 fixtures from models held in memory, so a test shows what its file contains: the
// header is computed from the sections (texture coordinates, triangles, frames, laid out in that
// order after the header), and header fields can be patched afterwards for damaged files.
#ifndef O3D_TESTS_MD2_WRITER_H
#define O3D_TESTS_MD2_WRITER_H

#include "bmp_writer.h"

#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

struct Md2Vertex {
    uint8_t x, y, z, normal;
};

struct Md2FrameSpec {
    float scale[3] = {1.0f, 1.0f, 1.0f};
    float translate[3] = {0.0f, 0.0f, 0.0f};
    std::string name;
    std::vector<Md2Vertex> vertices;
};

struct Md2TriangleSpec {
    uint16_t vertex[3];
    uint16_t texCoord[3];
};

struct Md2Spec {
    int skinWidth = 64, skinHeight = 32;
    std::vector<std::pair<int16_t, int16_t>> texCoords; // (s, t) in skin pixels
    std::vector<Md2TriangleSpec> triangles;
    std::vector<Md2FrameSpec> frames;
};

// Indices of the 17 header values, for patching with putMd2Header.
enum Md2HeaderField {
    kMd2Ident,
    kMd2Version,
    kMd2SkinWidth,
    kMd2SkinHeight,
    kMd2FrameSize,
    kMd2NumSkins,
    kMd2NumVertices,
    kMd2NumTexCoords,
    kMd2NumTriangles,
    kMd2NumGLCommands,
    kMd2NumFrames,
    kMd2OffsetSkins,
    kMd2OffsetTexCoords,
    kMd2OffsetTriangles,
    kMd2OffsetFrames,
    kMd2OffsetGLCommands,
    kMd2OffsetEnd,
};

inline void putMd2Header(std::vector<uint8_t> &bytes, Md2HeaderField field, int32_t value)
{
    putLe32(bytes, (size_t)field * 4, (uint32_t)value);
}

inline int32_t md2HeaderValue(const std::vector<uint8_t> &bytes, Md2HeaderField field)
{
    const uint8_t *p = bytes.data() + (size_t)field * 4;
    return (int32_t)((uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 |
                     (uint32_t)p[3] << 24);
}

inline void putMd2Float(std::vector<uint8_t> &bytes, size_t at, float value)
{
    uint32_t bits;
    memcpy(&bits, &value, sizeof bits);
    putLe32(bytes, at, bits);
}

inline std::vector<uint8_t> md2Bytes(const Md2Spec &fixture)
{
    const size_t header = 68;
    size_t numVertices = fixture.frames.empty() ? 0 : fixture.frames[0].vertices.size();
    size_t frameSize = 40 + 4 * numVertices;
    size_t offsetTexCoords = header;
    size_t offsetTriangles = offsetTexCoords + 4 * fixture.texCoords.size();
    size_t offsetFrames = offsetTriangles + 12 * fixture.triangles.size();
    size_t end = offsetFrames + frameSize * fixture.frames.size();
    std::vector<uint8_t> bytes(end, 0);
    const int32_t values[17] = {0x32504449,
                                8,
                                fixture.skinWidth,
                                fixture.skinHeight,
                                (int32_t)frameSize,
                                0,
                                (int32_t)numVertices,
                                (int32_t)fixture.texCoords.size(),
                                (int32_t)fixture.triangles.size(),
                                0,
                                (int32_t)fixture.frames.size(),
                                (int32_t)header,
                                (int32_t)offsetTexCoords,
                                (int32_t)offsetTriangles,
                                (int32_t)offsetFrames,
                                (int32_t)end,
                                (int32_t)end};
    for (int i = 0; i < 17; ++i)
        putMd2Header(bytes, (Md2HeaderField)i, values[i]);
    for (size_t i = 0; i < fixture.texCoords.size(); ++i) {
        putLe16(bytes, offsetTexCoords + 4 * i, (uint16_t)fixture.texCoords[i].first);
        putLe16(bytes, offsetTexCoords + 4 * i + 2, (uint16_t)fixture.texCoords[i].second);
    }
    for (size_t i = 0; i < fixture.triangles.size(); ++i) {
        for (int k = 0; k < 3; ++k) {
            putLe16(bytes, offsetTriangles + 12 * i + 2 * k, fixture.triangles[i].vertex[k]);
            putLe16(bytes, offsetTriangles + 12 * i + 6 + 2 * k, fixture.triangles[i].texCoord[k]);
        }
    }
    for (size_t f = 0; f < fixture.frames.size(); ++f) {
        const Md2FrameSpec &frame = fixture.frames[f];
        size_t at = offsetFrames + frameSize * f;
        for (int k = 0; k < 3; ++k) {
            putMd2Float(bytes, at + 4 * k, frame.scale[k]);
            putMd2Float(bytes, at + 12 + 4 * k, frame.translate[k]);
        }
        memcpy(bytes.data() + at + 24, frame.name.data(), std::min<size_t>(frame.name.size(), 16));
        for (size_t v = 0; v < frame.vertices.size() && v < numVertices; ++v) {
            const Md2Vertex &vertex = frame.vertices[v];
            uint8_t *p = bytes.data() + at + 40 + 4 * v;
            p[0] = vertex.x;
            p[1] = vertex.y;
            p[2] = vertex.z;
            p[3] = vertex.normal;
        }
    }
    return bytes;
}

// A square of two triangles in the z = 0 plane of the model, 2 x 2 units centred on the origin
// in every frame (bytes 0 and 2 at scale 1, translate -1), with frame f's square moved f units
// along x. Texture coordinates are the skin's corners; normals are table entries 0 and 1 in
// turn, so interpolation between frames shows in the normals too.
inline Md2Spec squareModel(int frameCount)
{
    Md2Spec fixture;
    fixture.texCoords = {{0, 32}, {64, 32}, {64, 0}, {0, 0}};
    fixture.triangles = {{{0, 1, 2}, {0, 1, 2}}, {{0, 2, 3}, {0, 2, 3}}};
    for (int f = 0; f < frameCount; ++f) {
        Md2FrameSpec frame;
        frame.translate[0] = -1.0f + (float)f;
        frame.translate[1] = -1.0f;
        frame.name = "frame" + std::to_string(f);
        uint8_t normal = (uint8_t)(f % 2);
        frame.vertices = {
            {0, 0, 0, normal}, {2, 0, 0, normal}, {2, 2, 0, normal}, {0, 2, 0, normal}};
        fixture.frames.push_back(frame);
    }
    return fixture;
}

#endif
