// Inside the MD2 module: the normal table that a compressed vertex's fourth byte indexes, and the
// pose computation, shared by the reader, the drawer and the tests that check the pose cache
// without a display.
#ifndef O3D_ASSETS_MD2_H
#define O3D_ASSETS_MD2_H

#include "ostrel3d.h"

static const int kMd2NormalCount = 162;
extern const float kMd2Normals[kMd2NormalCount][3];

// Recomputes the drawn pose when the frame or interpolation changed and the pose rate allows
// (a model never posed is posed at once). 1 if it computed a new pose.
int md2UpdatePose(TMD2Model *model);

#endif
