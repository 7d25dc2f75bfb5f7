// Parsing OBJ text lines into the reader's working arrays. Only "v", "vt", "vn" and "f" lines
// count; every other line, and every line that does not hold what its kind needs, is skipped.
// Arrays grow by doubling up to bounds that keep every count within the mesh's int counts, so a
// huge file fails cleanly instead of overflowing a size.
#include "assets/obj_parse.h"

#include <limits.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

static const size_t kFaceTokenMaxChars = 63;
static const int kFaceMaxCorners = 4;

// A 1-based int32 index names at most INT_MAX entries; a triangle becomes three mesh vertices.
static const size_t kMaxIndexedEntries = (size_t)INT_MAX;
static const size_t kMaxTriangles = (size_t)INT_MAX / 3;

static int initArray(ObjArray *array, size_t entryBytes, size_t room, size_t maxEntries)
{
    array->count = 0;
    array->entryBytes = entryBytes;
    array->maxEntries = maxEntries;
    array->room = room < maxEntries ? room : maxEntries;
    if (array->room == 0)
        array->room = 1;
    array->data = (unsigned char *)malloc(array->room * entryBytes);
    return array->data != nullptr;
}

// Makes room for `needed` more entries, doubling; 0 when the bound or memory stops it.
static int reserve(ObjArray *array, size_t needed)
{
    if (array->room - array->count >= needed)
        return 1;
    if (array->maxEntries - array->count < needed)
        return 0;
    size_t room = array->room;
    while (room - array->count < needed)
        room = room > array->maxEntries / 2 ? array->maxEntries : room * 2;
    if (room > SIZE_MAX / array->entryBytes)
        return 0;
    unsigned char *grown = (unsigned char *)realloc(array->data, room * array->entryBytes);
    if (!grown)
        return 0;
    array->data = grown;
    array->room = room;
    return 1;
}

static int isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Skips leading blanks and tabs, cuts trailing blanks, tabs, CR and LF.
static char *trimLine(char *line)
{
    while (isBlank(*line))
        ++line;
    size_t length = strlen(line);
    while (length > 0 &&
           (isBlank(line[length - 1]) || line[length - 1] == '\r' || line[length - 1] == '\n'))
        line[--length] = '\0';
    return line;
}

// Reads up to `count` floats separated by white space; how many were read.
static int scanFloats(const char *text, float *out, int count)
{
    int read = 0;
    while (read < count) {
        char *end = nullptr;
        float value = strtof(text, &end);
        if (end == text)
            break;
        out[read++] = value;
        text = end;
    }
    return read;
}

// Decimal integer as atoi reads it (leading white space and a sign, stops at the first
// non-digit, nothing gives 0), saturating instead of overflowing.
static int32_t parseIndex(const char *text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    int negative = 0;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        if (value <= INT32_MAX)
            value = value * 10 + (*text - '0');
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return (int32_t)value;
}

static int appendFloats(ObjArray *array, const char *text, int count)
{
    float values[3];
    if (scanFloats(text, values, count) != count)
        return 1;
    if (!reserve(array, 1))
        return 0;
    memcpy(array->data + array->count * array->entryBytes, values, array->entryBytes);
    array->count++;
    return 1;
}

static void putTriangle(ObjArray *triangles, ObjCorner a, ObjCorner b, ObjCorner c)
{
    ObjCorner *out = (ObjCorner *)triangles->data + triangles->count * 3;
    out[0] = a;
    out[1] = b;
    out[2] = c;
    triangles->count++;
}

// Splits at blanks only: a tab stays inside its token.
static int readFace(ObjReader *reader, const char *text)
{
    ObjCorner corners[kFaceMaxCorners];
    int count = 0;
    while (count < kFaceMaxCorners) {
        while (*text == ' ')
            ++text;
        if (!*text)
            break;
        size_t length = strcspn(text, " ");
        char token[kFaceTokenMaxChars + 1];
        size_t kept = length < kFaceTokenMaxChars ? length : kFaceTokenMaxChars;
        memcpy(token, text, kept);
        token[kept] = '\0';
        corners[count++] = objParseCorner(token);
        text += length;
    }
    if (count != 3 && count != 4)
        return 1;
    if (!reserve(&reader->triangles, (size_t)count - 2))
        return 0;
    putTriangle(&reader->triangles, corners[0], corners[1], corners[2]);
    if (count == 4)
        putTriangle(&reader->triangles, corners[0], corners[2], corners[3]);
    return 1;
}

int objReaderInit(ObjReader *reader, size_t room, size_t maxEntries)
{
    size_t indexed =
        maxEntries && maxEntries < kMaxIndexedEntries ? maxEntries : kMaxIndexedEntries;
    size_t triangles = maxEntries && maxEntries < kMaxTriangles ? maxEntries : kMaxTriangles;
    memset(reader, 0, sizeof *reader);
    if (initArray(&reader->positions, 3 * sizeof(float), room, indexed) &&
        initArray(&reader->texCoords, 2 * sizeof(float), room, indexed) &&
        initArray(&reader->normals, 3 * sizeof(float), room, indexed) &&
        initArray(&reader->triangles, 3 * sizeof(ObjCorner), room, triangles))
        return 1;
    objReaderFree(reader);
    return 0;
}

void objReaderFree(ObjReader *reader)
{
    free(reader->positions.data);
    free(reader->texCoords.data);
    free(reader->normals.data);
    free(reader->triangles.data);
    memset(reader, 0, sizeof *reader);
}

int objReadLine(ObjReader *reader, char *line)
{
    line = trimLine(line);
    if (line[0] == '\0' || line[0] == '#')
        return 1;
    if (strncmp(line, "v ", 2) == 0)
        return appendFloats(&reader->positions, line + 2, 3);
    if (strncmp(line, "vt ", 3) == 0)
        return appendFloats(&reader->texCoords, line + 3, 2);
    if (strncmp(line, "vn ", 3) == 0)
        return appendFloats(&reader->normals, line + 3, 3);
    if (strncmp(line, "f ", 2) == 0)
        return readFace(reader, line + 2);
    return 1;
}

ObjCorner objParseCorner(const char *token)
{
    ObjCorner corner = {0, 0, 0};
    const char *first = strchr(token, '/');
    const char *second = first ? strchr(first + 1, '/') : nullptr;
    if (second && strchr(second + 1, '/'))
        return corner;
    corner.position = parseIndex(token);
    if (first && !second) {
        corner.texCoord = parseIndex(first + 1);
    } else if (second) {
        if (second != first + 1)
            corner.texCoord = parseIndex(first + 1);
        corner.normal = parseIndex(second + 1);
    }
    return corner;
}
