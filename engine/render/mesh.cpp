// Meshes: indexed triangles in engine-owned arrays, drawn from a compiled display list or, until
// one is built, from client-side vertex arrays. Needs a current GL context to build, draw and free
// a mesh with a list; creation and the setters touch no GL state.
//
// The arrays are public, so an index may name a vertex that does not exist. Both paths leave such
// an index out of the one GL_TRIANGLES stream (the list path as it always did, the array path
// through a filtered copy of the indices), so they draw the same triangles and never read past the
// arrays.
#include "ostrel3d.h"

#include "platform/gl_api.h"
#include "render/mesh_lists.h"

#include <math.h>
#include <stdint.h>
#include <stdlib.h>

static const float kOpaqueAlpha = 1.0f;

// Zeroed storage for `count` elements of `size` bytes; at least one element, so a mesh of zero
// vertices or indices still has all four arrays. Null when the size does not fit in memory.
static void *allocZeroed(int count, size_t size)
{
    size_t n = count > 0 ? (size_t)count : 1;
    if (n > SIZE_MAX / size)
        return NULL;
    return calloc(n, size);
}

static void freeArrays(TMesh *mesh)
{
    free(mesh->vertices);
    free(mesh->normals);
    free(mesh->texCoords);
    free(mesh->indices);
}

static int inRange(int i, int count)
{
    return i >= 0 && i < count;
}

// Lists named but not yet compiled, and who finishes them.
static struct {
    MeshPendingListHook hook;
    int count;
} sPendingLists = {nullptr, 0};

void meshSetPendingListHook(MeshPendingListHook hook)
{
    sPendingLists.hook = hook;
}

void meshCountPendingLists(int change)
{
    sPendingLists.count += change;
}

static int indexValid(const TMesh *mesh, uint32_t index)
{
    return mesh->vertexCount > 0 && index < (uint32_t)mesh->vertexCount;
}

// The number of indices that name an existing vertex.
static int countValidIndices(const TMesh *mesh)
{
    int valid = 0;
    for (int i = 0; i < mesh->indexCount; ++i)
        valid += indexValid(mesh, mesh->indices[i]);
    return valid;
}

static void deleteList(TMesh *mesh)
{
    if (mesh->hasDisplayList && mesh->displayList != 0)
        glDeleteLists(mesh->displayList, 1);
    mesh->displayList = 0;
    mesh->hasDisplayList = 0;
}

// The array path: every valid index in order, drawn as one triangle stream. When some index is
// out of range the valid ones are copied first, so GL never sees an index past the arrays.
static void drawArrays(const TMesh *mesh)
{
    int valid = countValidIndices(mesh);
    if (valid == 0)
        return;
    uint32_t *filtered = NULL;
    const uint32_t *indices = mesh->indices;
    if (valid != mesh->indexCount) {
        filtered = (uint32_t *)malloc((size_t)valid * sizeof(uint32_t));
        if (!filtered)
            return;
        int n = 0;
        for (int i = 0; i < mesh->indexCount; ++i)
            if (indexValid(mesh, mesh->indices[i]))
                filtered[n++] = mesh->indices[i];
        indices = filtered;
    }

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, mesh->vertices);
    if (mesh->hasNormals) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, mesh->normals);
    }
    if (mesh->hasTexCoords) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, mesh->texCoords);
    }
    glDrawElements(GL_TRIANGLES, valid, GL_UNSIGNED_INT, indices);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    free(filtered);
}

TMesh *o3DCreateMesh(int vertexCount, int indexCount)
{
    if (vertexCount < 0 || indexCount < 0)
        return NULL;
    TMesh *mesh = (TMesh *)calloc(1, sizeof(TMesh));
    if (!mesh)
        return NULL;
    mesh->vertices = (float *)allocZeroed(vertexCount, 3 * sizeof(float));
    mesh->normals = (float *)allocZeroed(vertexCount, 3 * sizeof(float));
    mesh->texCoords = (float *)allocZeroed(vertexCount, 2 * sizeof(float));
    mesh->indices = (uint32_t *)allocZeroed(indexCount, sizeof(uint32_t));
    if (!mesh->vertices || !mesh->normals || !mesh->texCoords || !mesh->indices) {
        freeArrays(mesh);
        free(mesh);
        return NULL;
    }
    mesh->vertexCount = vertexCount;
    mesh->indexCount = indexCount;
    mesh->alpha = kOpaqueAlpha;
    return mesh;
}

void o3DFreeMesh(TMesh *mesh)
{
    if (!mesh)
        return;
    freeArrays(mesh);
    deleteList(mesh);
    free(mesh);
}

void o3DSetMeshVertex(TMesh *mesh, int i, float x, float y, float z)
{
    if (!mesh || !inRange(i, mesh->vertexCount))
        return;
    float *v = mesh->vertices + (size_t)i * 3;
    v[0] = x;
    v[1] = y;
    v[2] = z;
}

void o3DSetMeshNormal(TMesh *mesh, int i, float x, float y, float z)
{
    if (!mesh || !inRange(i, mesh->vertexCount))
        return;
    float *n = mesh->normals + (size_t)i * 3;
    n[0] = x;
    n[1] = y;
    n[2] = z;
    mesh->hasNormals = 1;
}

void o3DSetMeshTexCoord(TMesh *mesh, int i, float u, float v)
{
    if (!mesh || !inRange(i, mesh->vertexCount))
        return;
    float *t = mesh->texCoords + (size_t)i * 2;
    t[0] = u;
    t[1] = v;
    mesh->hasTexCoords = 1;
}

void o3DSetMeshIndex(TMesh *mesh, int i, uint32_t vertexIndex)
{
    if (!mesh || !inRange(i, mesh->indexCount))
        return;
    mesh->indices[i] = vertexIndex;
}

void o3DBuildMeshList(TMesh *mesh)
{
    if (!mesh)
        return;
    deleteList(mesh);
    GLuint list = glGenLists(1);
    if (list == 0)
        return; // no name to compile into (no context): the arrays keep drawing
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < mesh->indexCount; ++i) {
        uint32_t v = mesh->indices[i];
        if (!indexValid(mesh, v))
            continue;
        if (mesh->hasNormals)
            glNormal3fv(mesh->normals + (size_t)v * 3);
        if (mesh->hasTexCoords)
            glTexCoord2fv(mesh->texCoords + (size_t)v * 2);
        glVertex3fv(mesh->vertices + (size_t)v * 3);
    }
    glEnd();
    glEndList();
    mesh->displayList = list;
    mesh->hasDisplayList = 1;
}

void o3DDrawMesh(TMesh *mesh)
{
    if (!mesh)
        return;
    GLboolean blendWasOn = GL_FALSE;
    if (mesh->blended) {
        blendWasOn = glIsEnabled(GL_BLEND);
        if (!blendWasOn) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
        glColor4f(1.0f, 1.0f, 1.0f, mesh->alpha);
    }
    if (mesh->hasDisplayList) {
        if (!(sPendingLists.count > 0 && sPendingLists.hook && sPendingLists.hook(mesh)))
            glCallList(mesh->displayList);
    } else {
        drawArrays(mesh);
    }
    if (mesh->blended) {
        if (!blendWasOn)
            glDisable(GL_BLEND);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
}

void o3DSetMeshAlpha(TMesh *mesh, float alpha)
{
    if (!mesh)
        return;
    if (isnan(alpha) || alpha < 0.0f)
        alpha = 0.0f;
    mesh->alpha = alpha > 1.0f ? 1.0f : alpha;
}

void o3DSetMeshBlended(TMesh *mesh)
{
    if (mesh)
        mesh->blended = 1;
}

void o3DSetMeshOpaque(TMesh *mesh)
{
    if (!mesh)
        return;
    mesh->blended = 0;
    mesh->alpha = kOpaqueAlpha;
}
