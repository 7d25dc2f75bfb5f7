// What the pack reader and the tests see of asset staging: the leftover-file sweeps, and the
// pure pieces of naming and of the font metrics rewrite.
#ifndef O3D_PACK_STAGING_H
#define O3D_PACK_STAGING_H

#include <stddef.h>
#include <stdint.h>

enum { kStagingNameChars = 256 };

// Deletes leftover staged files of the current directory: at start-up the staged sounds only, at
// shutdown every pattern that a crash between writing and deleting could leave.
void stagingSweepAtStartUp(void);
void stagingSweepAtShutdown(void);

// The address's low 32 bits as a signed number: the unique part of the names of staged files
// whose loader returns a new object (printing a pointer itself with %d is undefined).
int32_t stagingAddressNumber(const void *address);

// The glyph sheet's entry name from a metrics entry: its second line (after the first LF, up to
// the next CR, LF or the end), or "font.bmp" when that is empty or 255 characters or longer.
void stagingFontSheetName(const unsigned char *metrics, uint32_t size,
                          char name[kStagingNameChars]);

// The metrics entry with its second line (through its LF) replaced by `sheetName` and a LF, the
// first line ended by a LF whatever it had. A new buffer (free it) of *outSize bytes, or null.
unsigned char *stagingRewriteMetrics(const unsigned char *metrics, uint32_t size,
                                     const char *sheetName, size_t *outSize);

#endif
