// The win32 dialog seam: a modal MessageBoxA with an OK button and the asked-for icon, owned by
// the main window or by no window.
#include "platform/seam.h"

#include <windows.h>

static UINT iconFlag(PlatformBoxIcon icon)
{
    switch (icon) {
    case kBoxError:
        return MB_ICONERROR;
    case kBoxWarning:
        return MB_ICONWARNING;
    case kBoxInformation:
        return MB_ICONINFORMATION;
    case kBoxNoIcon:
        break;
    }
    return 0;
}

static void messageBox(const char *text, const char *caption, PlatformBoxIcon icon, int owned)
{
    HWND owner = owned ? (HWND)kNativeWindowSeam.handle() : NULL;
    MessageBoxA(owner, text, caption, MB_OK | iconFlag(icon));
}

constexpr PlatformDialogSeam kNativeDialogSeam = {
    messageBox,
};
PlatformDialogSeam gDialogSeam = kNativeDialogSeam;
