// The remembered 2D drawing colour, for operations that change the GL colour and must put it back.
#ifndef O3D_OVERLAY_DRAW2D_H
#define O3D_OVERLAY_DRAW2D_H

void overlayRestoreColor(void);

#endif
