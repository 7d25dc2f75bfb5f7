// What the camera needs of the global view.
#ifndef O3D_RENDER_VIEW_H
#define O3D_RENDER_VIEW_H

// Projection := identity x perspective(fov, global aspect, near, far); modelview current after.
void viewLoadPerspective(float fov, float nearPlane, float farPlane);

// The viewport size of the view state (as o3DSetViewportSize stored it).
void viewSize(int *width, int *height);

#endif
