// o3DLoadOBJ: reads a Wavefront OBJ file line by line into the working arrays (obj_parse.cpp) and
// expands its triangles into an unindexed mesh, one vertex per face corner. Corners that name no
// entry of the file (0, negative, beyond the count) take the defaults, so the mesh never reads
// outside the arrays. Needs no GL: the caller compiles the mesh.
#include "ostrel3d.h"

#include "assets/obj_parse.h"

#include <stdio.h>
#include <string.h>

// fgets reads at most 255 characters of a line; a longer line goes on as a line of its own.
static const int kLineBufferBytes = 256;

static const float kDefaultPosition[3] = {0.0f, 0.0f, 0.0f};
static const float kDefaultTexCoord[2] = {0.0f, 0.0f};
static const float kDefaultNormal[3] = {0.0f, 1.0f, 0.0f};

// The entry a 1-based index names, or null when it names none.
static const float *entryAt(const ObjArray *array, int32_t oneBased, size_t floats)
{
    int64_t i = (int64_t)oneBased - 1;
    if (i < 0 || (uint64_t)i >= array->count)
        return nullptr;
    return (const float *)array->data + (size_t)i * floats;
}

static int readFile(FILE *file, ObjReader *reader)
{
    char line[kLineBufferBytes];
    while (fgets(line, sizeof line, file))
        if (!objReadLine(reader, line))
            return 0;
    return !ferror(file);
}

static TMesh *buildMesh(const ObjReader *reader)
{
    size_t triangles = reader->triangles.count;
    if (triangles == 0)
        return nullptr;
    int corners = (int)(triangles * 3);
    TMesh *mesh = o3DCreateMesh(corners, corners);
    if (!mesh)
        return nullptr;
    for (int i = 0; i < corners; ++i) {
        const ObjCorner &corner = objTriangle(reader, 0)[i];
        const float *p = entryAt(&reader->positions, corner.position, 3);
        const float *t = entryAt(&reader->texCoords, corner.texCoord, 2);
        const float *n = entryAt(&reader->normals, corner.normal, 3);
        memcpy(mesh->vertices + (size_t)i * 3, p ? p : kDefaultPosition, 3 * sizeof(float));
        memcpy(mesh->texCoords + (size_t)i * 2, t ? t : kDefaultTexCoord, 2 * sizeof(float));
        memcpy(mesh->normals + (size_t)i * 3, n ? n : kDefaultNormal, 3 * sizeof(float));
        mesh->indices[i] = (uint32_t)i;
    }
    mesh->hasNormals = 1;
    mesh->hasTexCoords = 1;
    return mesh;
}

TMesh *objLoad(const char *path, size_t room, size_t maxEntries)
{
    if (!path)
        return nullptr;
    FILE *file = fopen(path, "r");
    if (!file)
        return nullptr;
    ObjReader reader;
    if (!objReaderInit(&reader, room, maxEntries)) {
        fclose(file);
        return nullptr;
    }
    int complete = readFile(file, &reader);
    fclose(file);
    TMesh *mesh = complete ? buildMesh(&reader) : nullptr;
    objReaderFree(&reader);
    return mesh;
}

TMesh *o3DLoadOBJ(const char *path)
{
    return objLoad(path, kObjInitialRoom, 0);
}
