// The OpenGL 1.1 and GLU declarations every drawing module uses. GL_CLAMP_TO_EDGE is the one
// OpenGL 1.2 value the engine needs; old headers may lack it.
#ifndef O3D_PLATFORM_GL_API_H
#define O3D_PLATFORM_GL_API_H

#include <GL/gl.h>
#include <GL/glu.h>

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

#endif
