// What the font modules share: the two kinds of TFont, the one length that formatted text of either
// kind is cut to, and the one text colour that both kinds draw with (o3DSetTextColor sets it;
// bitmap text reads it).
#ifndef O3D_OVERLAY_FONT_INTERNAL_H
#define O3D_OVERLAY_FONT_INTERNAL_H

#include "ostrel3d.h"

static const int kFontKindSystem = 0;
static const int kFontKindBitmap = 1;
// Text of the *f operations is formatted into a buffer of this size and cut to fit.
static const int kFormatBufferBytes = 1024;

TColor fontTextColor(void);

#endif
