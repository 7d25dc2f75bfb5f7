// The OBJ reader's line parsing, apart from files and meshes so tests feed it lines directly: the
// working arrays of positions, texture coordinates, normals and triangles, the line dispatch and
// the face-corner parse. Plain memory: no GL.
#ifndef O3D_ASSETS_OBJ_PARSE_H
#define O3D_ASSETS_OBJ_PARSE_H

#include <stddef.h>
#include <stdint.h>

// The room each working array starts with; it doubles whenever it is full.
static const size_t kObjInitialRoom = 65536;

// One face corner as written in the file: 1-based indices, 0 where absent.
struct ObjCorner {
    int32_t position, texCoord, normal;
};

// One growable array of fixed-size entries.
struct ObjArray {
    unsigned char *data;
    size_t count;
    size_t room;
    size_t entryBytes;
    size_t maxEntries; // growth past this fails, so counts stay within what the mesh can hold
};

struct ObjReader {
    ObjArray positions; // 3 floats an entry
    ObjArray texCoords; // 2 floats
    ObjArray normals;   // 3 floats
    ObjArray triangles; // 3 ObjCorner
};

// Allocates the four arrays with `room` entries each; a nonzero `maxEntries` caps every array
// below its natural bound. 0 (with nothing left allocated) if an allocation fails.
int objReaderInit(ObjReader *reader, size_t room, size_t maxEntries);
void objReaderFree(ObjReader *reader);

// Reads one line (it is trimmed in place). 1 when the line was used or ignored, 0 when an array
// could not grow; the reader then still holds what it had and must be freed.
int objReadLine(ObjReader *reader, char *line);

// Parses one face token ("v", "v/t", "v//n" or "v/t/n"); any other shape leaves all three 0.
ObjCorner objParseCorner(const char *token);

// o3DLoadOBJ with the working arrays' first room and bound (0 for the natural bound) given, so
// tests can reach the bound with small files.
struct TMesh *objLoad(const char *path, size_t room, size_t maxEntries);

// The reader's entries, typed.
inline const float *objPosition(const ObjReader *reader, size_t i)
{
    return (const float *)reader->positions.data + i * 3;
}
inline const float *objTexCoord(const ObjReader *reader, size_t i)
{
    return (const float *)reader->texCoords.data + i * 2;
}
inline const float *objNormal(const ObjReader *reader, size_t i)
{
    return (const float *)reader->normals.data + i * 3;
}
inline const ObjCorner *objTriangle(const ObjReader *reader, size_t i)
{
    return (const ObjCorner *)reader->triangles.data + i * 3;
}

#endif
