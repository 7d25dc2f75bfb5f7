// The win32 window seam: the window class and procedure, the main window with its own DC and WGL
// context, the message pump, and the frame changes behind windowed and full-screen presentation.
// It keeps only handles and the saved placement; every flag, size and rule of presentation is the
// engine's, above the seam. The procedure reports what it sees through the pump's dispatch.
#include "platform/seam.h"

#include <windows.h>

static const char kClassName[] = "OstrelClass";
// Fixed size, title bar, system menu and minimise box; no sizing border, no maximise box.
static const DWORD kWindowedStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
static const DWORD kFullscreenStyle = WS_POPUP | WS_VISIBLE;
// A resized window is measured as if it had a sizing frame, although it keeps its own style.
static const DWORD kResizeMeasureStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
static const UINT kPlacementLength = 44;
static const WORD kPixelFormatSize = 40;
// lParam bits of a key message: Alt held (context code) and key already down (auto-repeat).
static const LPARAM kKeyAltDown = 1 << 29;
static const LPARAM kKeyRepeat = 1 << 30;

static_assert(sizeof(WINDOWPLACEMENT) == kPlacementLength, "placement record size");
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == kPixelFormatSize, "pixel format record size");

struct Win32Window {
    HWND window;
    HDC dc;
    HGLRC context;
    WINDOWPLACEMENT placement;
    int classRegistered;
    // The engine's handler, kept from the last pump: the procedure also runs outside the pump
    // (creation, SetWindowPos, DestroyWindow), and what it sees there must reach the engine too.
    void (*dispatch)(PlatformEvent event, int value);
};

static Win32Window sWin;

static void report(PlatformEvent event, int value)
{
    if (sWin.dispatch)
        sWin.dispatch(event, value);
    else if (event == kEventCloseRequest)
        PostQuitMessage(0); // before the first pump there is no engine handler to post it
}

static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
    case WM_DESTROY:
        // WM_CLOSE is not passed on: the window stays until the engine shuts down.
        report(kEventCloseRequest, 0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN && (GetKeyState(VK_MENU) & 0x8000)) {
            report(kEventToggleFullscreen, 0);
            return 0;
        }
        break;
    case WM_SYSKEYDOWN:
        // Alt+Enter arrives here, not as WM_KEYDOWN. A held key toggles once, not at the repeat
        // rate, and none of it reaches the default procedure (no menu beep).
        if (wParam == VK_RETURN && (lParam & kKeyAltDown)) {
            if (!(lParam & kKeyRepeat))
                report(kEventToggleFullscreen, 0);
            return 0;
        }
        break;
    case WM_MOUSEWHEEL:
        // The raw signed delta; the engine turns it into whole notches.
        report(kEventWheel, (short)HIWORD(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static int registerClass(HINSTANCE instance)
{
    // The class outlives the window; a second window in the same process reuses it.
    if (sWin.classRegistered)
        return 1;
    WNDCLASSA wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    wc.lpszClassName = kClassName;
    sWin.classRegistered = RegisterClassA(&wc) != 0;
    return sWin.classRegistered;
}

// Outer rectangle of a window with a client area of width x height, centred on the primary
// screen. The halves truncate toward zero, so a window larger than the screen goes negative.
static RECT centredOuterRect(int width, int height, DWORD style)
{
    RECT rect = {0, 0, width, height};
    AdjustWindowRect(&rect, style, FALSE);
    int outerWidth = rect.right - rect.left;
    int outerHeight = rect.bottom - rect.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2;
    RECT outer = {x, y, x + outerWidth, y + outerHeight};
    return outer;
}

// Results are not checked: the engine runs on without a usable context.
static void createContext(void)
{
    sWin.dc = GetDC(sWin.window);
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = kPixelFormatSize;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 16;
    pfd.cStencilBits = 8;
    pfd.iLayerType = PFD_MAIN_PLANE;
    int format = ChoosePixelFormat(sWin.dc, &pfd);
    SetPixelFormat(sWin.dc, format, &pfd);
    sWin.context = wglCreateContext(sWin.dc);
    wglMakeCurrent(sWin.dc, sWin.context);
}

static void savePlacement(void)
{
    sWin.placement.length = kPlacementLength;
    GetWindowPlacement(sWin.window, &sWin.placement);
}

static void placeAtScreen(void)
{
    SetWindowPos(sWin.window, HWND_TOP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN), SWP_FRAMECHANGED);
}

static int create(const char *title, int width, int height)
{
    // Destroying an earlier window posted a quit (WM_DESTROY); it must not end the new one.
    MSG stale;
    while (PeekMessageA(&stale, NULL, WM_QUIT, WM_QUIT, PM_REMOVE))
        ;
    HINSTANCE instance = GetModuleHandleA(NULL);
    if (!registerClass(instance))
        return 0;
    RECT outer = centredOuterRect(width, height, kWindowedStyle);
    sWin.window = CreateWindowExA(0, kClassName, title, kWindowedStyle, outer.left, outer.top,
                                  outer.right - outer.left, outer.bottom - outer.top, NULL, NULL,
                                  instance, NULL);
    if (!sWin.window)
        return 0;
    savePlacement();
    createContext();
    return 1;
}

static void destroy(void)
{
    wglMakeCurrent(NULL, NULL);
    if (sWin.context) {
        wglDeleteContext(sWin.context);
        sWin.context = NULL;
    }
    if (sWin.dc && sWin.window) {
        ReleaseDC(sWin.window, sWin.dc);
        sWin.dc = NULL;
    }
    if (sWin.window) {
        DestroyWindow(sWin.window);
        sWin.window = NULL;
    }
}

static void *handle(void)
{
    return sWin.window;
}

static void swapBuffers(void)
{
    if (sWin.dc)
        SwapBuffers(sWin.dc);
}

static void pump(void (*dispatch)(PlatformEvent event, int value))
{
    sWin.dispatch = dispatch;
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT && dispatch)
            dispatch(kEventQuit, 0);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

static void postQuit(void)
{
    PostQuitMessage(0);
}

static void enterFullscreenFrame(void)
{
    SetWindowLongA(sWin.window, GWL_STYLE, (LONG)kFullscreenStyle);
    placeAtScreen();
}

static void restoreWindowed(void)
{
    SetWindowLongA(sWin.window, GWL_STYLE, (LONG)kWindowedStyle);
    SetWindowPlacement(sWin.window, &sWin.placement);
    SetWindowPos(sWin.window, NULL, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
}

static void placeCentred(int width, int height)
{
    RECT outer = centredOuterRect(width, height, kResizeMeasureStyle);
    SetWindowPos(sWin.window, NULL, outer.left, outer.top, outer.right - outer.left,
                 outer.bottom - outer.top, SWP_NOZORDER | SWP_FRAMECHANGED);
}

static void coverScreen(void)
{
    placeAtScreen();
}

static void clientSize(int *width, int *height)
{
    RECT rect = {};
    if (sWin.window)
        GetClientRect(sWin.window, &rect);
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
}

constexpr PlatformWindowSeam kNativeWindowSeam = {
    create,
    destroy,
    handle,
    swapBuffers,
    pump,
    postQuit,
    savePlacement,
    enterFullscreenFrame,
    restoreWindowed,
    placeCentred,
    coverScreen,
    clientSize,
};
PlatformWindowSeam gWindowSeam = kNativeWindowSeam;
