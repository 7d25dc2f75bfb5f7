// The win32 display seam: the primary display's mode enumeration and the full-screen mode change
// through ChangeDisplaySettingsA. The filters, the list and its selection are the engine's.
#include "platform/seam.h"

#include <string.h>
#include <windows.h>

// The mode record as first sized for display changes (no panning fields); the system reads only
// this much of it, and the engine asks for the mode with exactly this size.
static const WORD kModeRecordSize = 148;
static const DWORD kFullscreenBitsPerPixel = 32;

static_assert(sizeof(DEVMODEA) >= kModeRecordSize, "mode record shorter than its size field");

static int modeAt(int index, int *width, int *height, int *bitsPerPixel)
{
    DEVMODEA dm;
    memset(&dm, 0, sizeof dm);
    dm.dmSize = sizeof dm;
    if (index < 0 || !EnumDisplaySettingsA(NULL, (DWORD)index, &dm))
        return 0;
    *width = (int)dm.dmPelsWidth;
    *height = (int)dm.dmPelsHeight;
    *bitsPerPixel = (int)dm.dmBitsPerPel;
    return 1;
}

static int currentMode(int *width, int *height)
{
    DEVMODEA dm;
    memset(&dm, 0, sizeof dm);
    dm.dmSize = sizeof dm;
    if (!EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &dm))
        return 0;
    *width = (int)dm.dmPelsWidth;
    *height = (int)dm.dmPelsHeight;
    return 1;
}

static int changeMode(int width, int height)
{
    DEVMODEA dm;
    memset(&dm, 0, sizeof dm);
    dm.dmSize = kModeRecordSize;
    dm.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    dm.dmBitsPerPel = kFullscreenBitsPerPixel;
    dm.dmPelsWidth = (DWORD)width;
    dm.dmPelsHeight = (DWORD)height;
    return ChangeDisplaySettingsA(&dm, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

static void restoreMode(void)
{
    ChangeDisplaySettingsA(NULL, 0);
}

constexpr PlatformDisplaySeam kNativeDisplaySeam = {
    modeAt,
    currentMode,
    changeMode,
    restoreMode,
};
PlatformDisplaySeam gDisplaySeam = kNativeDisplaySeam;
