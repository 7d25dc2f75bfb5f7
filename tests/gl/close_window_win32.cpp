// Closing the window as its close button does, on the win32 backend: WM_CLOSE to it.
#include "video_support.h"

#include <windows.h>

void requestWindowClose(void *window)
{
    PostMessageA((HWND)window, WM_CLOSE, 0, 0);
}
