// Lets a module that names a mesh's list before compiling its contents finish them when the mesh
// is first drawn, without the renderer depending on that module.
#ifndef O3D_RENDER_MESH_LISTS_H
#define O3D_RENDER_MESH_LISTS_H

#include "ostrel3d.h"

// Called before a mesh's list is called while some list is pending. Returns 1 when it drew the
// mesh itself (its list is then not called), 0 to call the list as usual.
typedef int (*MeshPendingListHook)(TMesh *mesh);

void meshSetPendingListHook(MeshPendingListHook hook);
// The owner counts its pending lists up and down; at 0 mesh drawing skips the hook.
void meshCountPendingLists(int change);

#endif
