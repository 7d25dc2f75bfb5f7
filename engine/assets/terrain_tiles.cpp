// The terrain's drawing tiles: the grid cut into square blocks of cells, each compiled into a list
// of its own with the box round its vertices, and at draw time only the tiles whose box may reach
// into the clip volume of the current matrices are called. A tile holds the same vertices,
// triangles, texture coordinates and normals as the single list would, in the same order within
// the tile, and tiles meet on shared vertices, so the rasteriser makes the same fragments; a tile
// left out is one of which no fragment could have been made. The layout and the frustum test need
// no GL; compiling and drawing need the context. The tiles' contents are compiled at the terrain's
// first draw, so a repeat or scale set between its creation and then is compiled only once.
#include "assets/terrain.h"

#include "platform/gl_api.h"
#include "render/mesh_lists.h"

#include <math.h>
#include <stdlib.h>

const int kTerrainTileCells = 32;

// How far outside a plane, relative to the size of the products that place it there, a box must
// lie to be left out. GL transforms in single precision, whose rounding stays near 1e-6 of that
// size; the margin is ten times more, so GL never finds inside what is left out here.
static const double kOutsideMargin = 1e-5;
// The rows of the clip matrix: x, y, z and w.
enum { kRowW = 3 };

static int gridCellsAcross(const TTerrain *t)
{
    return (t->width - 1) / t->step;
}

static int gridCellsDown(const TTerrain *t)
{
    return (t->depth - 1) / t->step;
}

// The index of grid cell (i, j)'s first of six indices, as the terrain's build lays them out.
static size_t firstIndexOfCell(const TTerrain *t, int i, int j)
{
    return ((size_t)i * (size_t)gridCellsAcross(t) + (size_t)j) * 6;
}

static int indexValid(const TMesh *mesh, uint32_t index)
{
    return mesh->vertexCount > 0 && index < (uint32_t)mesh->vertexCount;
}

// Grows the box by a vertex; a coordinate that is not a number is noted instead.
struct BoxGrowth {
    float lo[3], hi[3];
    int notANumber;
};

static BoxGrowth emptyBox(void)
{
    return {{INFINITY, INFINITY, INFINITY}, {-INFINITY, -INFINITY, -INFINITY}, 0};
}

static void growBox(BoxGrowth *box, const float *v)
{
    for (int a = 0; a < 3; ++a) {
        box->lo[a] = v[a] < box->lo[a] ? v[a] : box->lo[a];
        box->hi[a] = v[a] > box->hi[a] ? v[a] : box->hi[a];
        box->notANumber |= v[a] != v[a];
    }
}

// A coordinate that is not a number makes a box that is never left out.
static void setBox(TerrainTile *tile, const BoxGrowth *box)
{
    for (int a = 0; a < 3; ++a) {
        tile->lo[a] = box->notANumber ? -INFINITY : box->lo[a];
        tile->hi[a] = box->notANumber ? INFINITY : box->hi[a];
    }
}

// The box round every vertex of the tile's cells' corners, each visited once: what the cells draw
// while their indices are the ones the build lays out.
static void boxOfCorners(const TTerrain *t, TerrainTile *tile)
{
    const int gw = gridCellsAcross(t) + 1;
    BoxGrowth box = emptyBox();
    for (int i = tile->firstRow; i <= tile->firstRow + tile->rows; ++i)
        for (int j = tile->firstColumn; j <= tile->firstColumn + tile->columns; ++j)
            growBox(&box, t->mesh->vertices + ((size_t)i * gw + j) * 3);
    setBox(tile, &box);
}

// The box round the vertices that the cells' indices name, whatever they are.
static void boxOfIndices(const TTerrain *t, TerrainTile *tile)
{
    const TMesh *mesh = t->mesh;
    BoxGrowth box = emptyBox();
    for (int i = tile->firstRow; i < tile->firstRow + tile->rows; ++i)
        for (int j = tile->firstColumn; j < tile->firstColumn + tile->columns; ++j) {
            const uint32_t *idx = mesh->indices + firstIndexOfCell(t, i, j);
            for (int q = 0; q < 6; ++q)
                if (indexValid(mesh, idx[q]))
                    growBox(&box, mesh->vertices + (size_t)idx[q] * 3);
        }
    setBox(tile, &box);
}

// Walks the tile's cells, when compiling handing each corner to GL as the mesh's own list does
// (normal, texture coordinate, vertex), and finds the tile's box: from the corners while every
// cell holds the indices the build lays out, else from the indices.
static void walkTile(const TTerrain *t, TerrainTile *tile, int emit)
{
    const TMesh *mesh = t->mesh;
    const uint32_t gw = (uint32_t)gridCellsAcross(t) + 1;
    // Held here rather than read from the mesh after every GL call.
    const float *vertices = mesh->vertices;
    const float *normals = mesh->hasNormals ? mesh->normals : nullptr;
    const float *texCoords = mesh->hasTexCoords ? mesh->texCoords : nullptr;
    int asBuilt = 1;
    if (emit)
        glBegin(GL_TRIANGLES);
    for (int i = tile->firstRow; i < tile->firstRow + tile->rows; ++i)
        for (int j = tile->firstColumn; j < tile->firstColumn + tile->columns; ++j) {
            const uint32_t *idx = mesh->indices + firstIndexOfCell(t, i, j);
            const uint32_t a = (uint32_t)i * gw + (uint32_t)j, d1 = a + gw + 1;
            asBuilt &= idx[0] == a && idx[1] == a + 1 && idx[2] == d1 && idx[3] == a &&
                       idx[4] == d1 && idx[5] == d1 - 1;
            if (!emit)
                continue;
            for (int q = 0; q < 6; ++q) {
                uint32_t v = idx[q];
                if (!indexValid(mesh, v))
                    continue;
                if (normals)
                    glNormal3fv(normals + (size_t)v * 3);
                if (texCoords)
                    glTexCoord2fv(texCoords + (size_t)v * 2);
                glVertex3fv(vertices + (size_t)v * 3);
            }
        }
    if (emit)
        glEnd();
    if (asBuilt)
        boxOfCorners(t, tile);
    else
        boxOfIndices(t, tile);
}

static int tileCount(const TerrainTiles *tiles)
{
    return tiles->across * tiles->down;
}

static int tileEmpty(const TerrainTile *tile)
{
    return tile->lo[0] > tile->hi[0];
}

// Terrains whose tiles are pending, so that drawing their mesh alone can find and finish them.
static struct {
    TTerrain *first;
} sPending = {nullptr};

static void stopPending(TTerrain *t)
{
    TerrainTiles *tiles = terrainTilesOf(t);
    if (!tiles->pending)
        return;
    for (TTerrain **p = &sPending.first; *p; p = &terrainTilesOf(*p)->nextPending)
        if (*p == t) {
            *p = tiles->nextPending;
            break;
        }
    tiles->nextPending = nullptr;
    tiles->pending = 0;
    meshCountPendingLists(-1);
}

static int drawMeshOfPending(TMesh *mesh);

static void startPending(TTerrain *t)
{
    TerrainTiles *tiles = terrainTilesOf(t);
    if (tiles->pending)
        return;
    meshSetPendingListHook(drawMeshOfPending);
    tiles->pending = 1;
    tiles->nextPending = sPending.first;
    sPending.first = t;
    meshCountPendingLists(1);
}

// Pending tiles are drawn by their mesh's list only while it is still the one calling them.
static int drawnFromTiles(const TTerrain *t, const TerrainTiles *tiles)
{
    return tiles->firstList != 0 && t->mesh->hasDisplayList &&
           t->mesh->displayList == tiles->callList;
}

static int compilingCallersList(void)
{
    GLint list = 0;
    glGetIntegerv(GL_LIST_INDEX, &list);
    return list != 0;
}

// Lists do not nest: while the caller compiles one, the tiles' triangles go into it as they are.
static void emitEveryTile(TTerrain *t, TerrainTiles *tiles)
{
    for (int k = 0; k < tileCount(tiles); ++k)
        walkTile(t, &tiles->tiles[k], 1);
}

// Finishes the pending tiles of the terrain this mesh belongs to before the mesh's list is
// called; 1 when the triangles went straight into a list the caller is compiling instead.
static int drawMeshOfPending(TMesh *mesh)
{
    TTerrain *t = sPending.first;
    while (t && t->mesh != mesh)
        t = terrainTilesOf(t)->nextPending;
    if (!t || !drawnFromTiles(t, terrainTilesOf(t)))
        return 0;
    if (compilingCallersList()) {
        emitEveryTile(t, terrainTilesOf(t));
        return 1;
    }
    terrainCompilePending(t);
    return 0;
}

static void deleteTileLists(TTerrain *t)
{
    TerrainTiles *tiles = terrainTilesOf(t);
    stopPending(t);
    if (tiles->firstList != 0)
        glDeleteLists(tiles->firstList, tileCount(tiles));
    tiles->firstList = 0;
    tiles->callList = 0;
}

// Cuts the grid into tiles of cells x cells grid cells, their boxes not yet found.
static int cutIntoTiles(TTerrain *t, int cells)
{
    TerrainTiles *tiles = terrainTilesOf(t);
    free(tiles->tiles);
    tiles->tiles = nullptr;
    tiles->across = tiles->down = 0;
    tiles->cells = cells < 1 ? 1 : cells;
    int cellsAcross = gridCellsAcross(t), cellsDown = gridCellsDown(t);
    // Indices the terrain did not lay out itself have no cells to cut.
    if ((int64_t)cellsAcross * cellsDown * 6 != t->mesh->indexCount)
        return 0;
    int across = (cellsAcross + tiles->cells - 1) / tiles->cells;
    int down = (cellsDown + tiles->cells - 1) / tiles->cells;
    if (across * down == 0)
        return 1;
    tiles->tiles = (TerrainTile *)calloc((size_t)across * down, sizeof(TerrainTile));
    if (!tiles->tiles)
        return 0;
    tiles->across = across;
    tiles->down = down;
    for (int ti = 0; ti < down; ++ti)
        for (int tj = 0; tj < across; ++tj) {
            TerrainTile *tile = &tiles->tiles[ti * across + tj];
            tile->firstRow = ti * tiles->cells;
            tile->rows = cellsDown - tile->firstRow < tiles->cells ? cellsDown - tile->firstRow
                                                                   : tiles->cells;
            tile->firstColumn = tj * tiles->cells;
            tile->columns = cellsAcross - tile->firstColumn < tiles->cells
                                ? cellsAcross - tile->firstColumn
                                : tiles->cells;
        }
    return 1;
}

// The mesh's list becomes one that calls every tile's, in tile order.
static int compileCallList(TTerrain *t, TerrainTiles *tiles)
{
    TMesh *mesh = t->mesh;
    if (mesh->hasDisplayList && mesh->displayList != 0)
        glDeleteLists(mesh->displayList, 1);
    mesh->displayList = 0;
    mesh->hasDisplayList = 0;
    GLuint list = glGenLists(1);
    if (list == 0)
        return 0;
    glNewList(list, GL_COMPILE);
    for (int k = 0; k < tileCount(tiles); ++k)
        glCallList(tiles->firstList + (GLuint)k);
    glEndList();
    mesh->displayList = list;
    mesh->hasDisplayList = 1;
    tiles->callList = list;
    return 1;
}

// The largest value of the plane's linear function over the box, at the corner it points to.
static double planeReach(const double *p, const float lo[3], const float hi[3])
{
    double reach = p[3];
    for (int a = 0; a < 3; ++a)
        reach += p[a] * (p[a] > 0.0 ? hi[a] : lo[a]);
    return reach;
}

static double planeScale(const double *s, const float lo[3], const float hi[3])
{
    double size = s[3];
    for (int a = 0; a < 3; ++a)
        size += s[a] * fmax(fabs((double)lo[a]), fabs((double)hi[a]));
    return size;
}

TerrainTiles *terrainTilesOf(TTerrain *t)
{
    return &reinterpret_cast<TerrainRecord *>(t)->tiles;
}

int terrainLayoutTiles(TTerrain *t, int cells)
{
    if (!cutIntoTiles(t, cells))
        return 0;
    TerrainTiles *tiles = terrainTilesOf(t);
    for (int k = 0; k < tileCount(tiles); ++k)
        walkTile(t, &tiles->tiles[k], 0);
    return 1;
}

void terrainCompile(TTerrain *t, int cells)
{
    TerrainTiles *tiles = terrainTilesOf(t);
    deleteTileLists(t);
    int cut = cutIntoTiles(t, cells);
    int count = tileCount(tiles);
    tiles->firstList = cut && count > 0 ? glGenLists(count) : 0;
    if (tiles->firstList == 0) {
        o3DBuildMeshList(t->mesh);
        return;
    }
    // The boxes now, for culling; the contents at the first draw, from the mesh as it is then,
    // so that a new repeat or scale set straight after costs no second compile.
    for (int k = 0; k < count; ++k)
        walkTile(t, &tiles->tiles[k], 0);
    if (!compileCallList(t, tiles)) {
        deleteTileLists(t);
        o3DBuildMeshList(t->mesh);
        return;
    }
    startPending(t);
}

void terrainCompilePending(TTerrain *t)
{
    TerrainTiles *tiles = terrainTilesOf(t);
    if (!tiles->pending)
        return;
    for (int k = 0; k < tileCount(tiles); ++k) {
        glNewList(tiles->firstList + (GLuint)k, GL_COMPILE);
        walkTile(t, &tiles->tiles[k], 1);
        glEndList();
    }
    ++tiles->compiles;
    stopPending(t);
}

int terrainsPending(void)
{
    int n = 0;
    for (TTerrain *t = sPending.first; t; t = terrainTilesOf(t)->nextPending)
        ++n;
    return n;
}

void terrainReleaseTiles(TTerrain *t)
{
    TerrainTiles *tiles = terrainTilesOf(t);
    deleteTileLists(t);
    free(tiles->tiles);
    tiles->tiles = nullptr;
    tiles->across = tiles->down = 0;
}

void terrainFrustumOf(const float projection[16], const float modelview[16], TerrainFrustum *f)
{
    // Row r of projection x modelview and of their absolute values, column-major inputs.
    double row[4][4], size[4][4];
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 4; ++k) {
            row[r][k] = size[r][k] = 0.0;
            for (int m = 0; m < 4; ++m) {
                double p = projection[m * 4 + r], v = modelview[k * 4 + m];
                row[r][k] += p * v;
                size[r][k] += fabs(p) * fabs(v);
            }
        }
    // -w <= x, y, z <= w, and w >= 0, each as plane . (x, y, z, 1) >= 0.
    for (int a = 0; a < 3; ++a)
        for (int k = 0; k < 4; ++k) {
            f->plane[2 * a][k] = row[kRowW][k] - row[a][k];
            f->plane[2 * a + 1][k] = row[kRowW][k] + row[a][k];
            f->scale[2 * a][k] = f->scale[2 * a + 1][k] = size[kRowW][k] + size[a][k];
        }
    for (int k = 0; k < 4; ++k) {
        f->plane[6][k] = row[kRowW][k];
        f->scale[6][k] = size[kRowW][k];
    }
}

int terrainBoxOutside(const TerrainFrustum *f, const float lo[3], const float hi[3])
{
    for (int i = 0; i < 7; ++i)
        if (planeReach(f->plane[i], lo, hi) < -kOutsideMargin * planeScale(f->scale[i], lo, hi))
            return 1;
    return 0;
}

void terrainDrawTiles(TTerrain *t)
{
    TerrainTiles *tiles = terrainTilesOf(t);
    TMesh *mesh = t->mesh;
    tiles->drawn = 0;
    // A mesh list compiled again on its own has a new name (GL hands out a name not in use, and
    // Mesa does not hand a deleted one straight back) and is drawn as the mesh, whole; so is a
    // blended mesh, for the blend state the mesh's drawing sets.
    if (tiles->firstList == 0 || !mesh->hasDisplayList || mesh->displayList != tiles->callList ||
        mesh->blended) {
        o3DDrawMesh(mesh);
        return;
    }
    // Inside a list the caller is compiling, the view it will be called with is unknown: every
    // tile goes in.
    if (compilingCallersList()) {
        if (tiles->pending)
            emitEveryTile(t, tiles);
        else
            for (int k = 0; k < tileCount(tiles); ++k)
                glCallList(tiles->firstList + (GLuint)k);
        tiles->drawn = tileCount(tiles);
        return;
    }
    terrainCompilePending(t);
    GLfloat projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    TerrainFrustum frustum;
    terrainFrustumOf(projection, modelview, &frustum);
    for (int k = 0; k < tileCount(tiles); ++k) {
        const TerrainTile *tile = &tiles->tiles[k];
        if (tileEmpty(tile) || terrainBoxOutside(&frustum, tile->lo, tile->hi))
            continue;
        glCallList(tiles->firstList + (GLuint)k);
        ++tiles->drawn;
    }
}
