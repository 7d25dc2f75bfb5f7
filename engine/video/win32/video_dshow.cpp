// The win32 backend's video: a DirectShow filter graph per film, reached through COM. The graph
// renders the file with both streams; its renderer window is made a child of the owner, so the
// picture is drawn by DirectShow itself and nothing of it passes through OpenGL.
#include "video/video_seam.h"

#include <windows.h>

#include <dshow.h>
#include <stdlib.h>

static const char kVideoClassName[] = "OstrelVideoWindow";
static const int kMaxWideName = 260;
// The renderer window is a child clipped by its siblings (together 0x44000000).
static const long kRendererStyle = WS_CHILD | WS_CLIPSIBLINGS;

struct DshowSystem {
    int comInitialized;
    int classRegistered;
};

// One open film: the graph and the six interfaces asked of it, in the order they are obtained.
struct DshowFilm {
    IGraphBuilder *graph;
    IMediaControl *control;
    IMediaEvent *events;
    IMediaSeeking *seeking;
    IBasicAudio *audio;
    IVideoWindow *window;
    IBasicVideo *video;
};

static DshowSystem sDshow;

static DshowFilm *film(void *media)
{
    return (DshowFilm *)media;
}

template <typename T> static void release(T **com)
{
    if (*com) {
        (*com)->Release();
        *com = nullptr;
    }
}

// Newest first, the graph last.
static void releaseAll(DshowFilm *f)
{
    release(&f->video);
    release(&f->window);
    release(&f->audio);
    release(&f->seeking);
    release(&f->events);
    release(&f->control);
    release(&f->graph);
}

static int startFramework(void)
{
    if (FAILED(CoInitialize(nullptr)))
        return 0;
    sDshow.comInitialized = 1;
    if (!sDshow.classRegistered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
        windowClass.lpszClassName = kVideoClassName;
        // A failed registration is harmless: no window of this class is ever made.
        if (RegisterClassA(&windowClass))
            sDshow.classRegistered = 1;
    }
    return 1;
}

static void stopFramework(void)
{
    if (sDshow.classRegistered) {
        UnregisterClassA(kVideoClassName, GetModuleHandleA(nullptr));
        sDshow.classRegistered = 0;
    }
    if (sDshow.comInitialized) {
        CoUninitialize();
        sDshow.comInitialized = 0;
    }
}

static void ownerSize(void *owner, int *width, int *height)
{
    RECT client = {0, 0, 0, 0};
    if (owner)
        GetClientRect((HWND)owner, &client);
    *width = client.right - client.left;
    *height = client.bottom - client.top;
}

static int queryInterfaces(DshowFilm *f)
{
    return SUCCEEDED(f->graph->QueryInterface(IID_IMediaControl, (void **)&f->control)) &&
           SUCCEEDED(f->graph->QueryInterface(IID_IMediaEvent, (void **)&f->events)) &&
           SUCCEEDED(f->graph->QueryInterface(IID_IMediaSeeking, (void **)&f->seeking)) &&
           SUCCEEDED(f->graph->QueryInterface(IID_IBasicAudio, (void **)&f->audio)) &&
           SUCCEEDED(f->graph->QueryInterface(IID_IVideoWindow, (void **)&f->window)) &&
           SUCCEEDED(f->graph->QueryInterface(IID_IBasicVideo, (void **)&f->video));
}

static void *openFilm(void *owner, const char *fileName, int *width, int *height)
{
    DshowFilm *f = (DshowFilm *)calloc(1, sizeof(DshowFilm));
    if (!f)
        return nullptr;
    WCHAR wideName[kMaxWideName];
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                (void **)&f->graph)) ||
        !queryInterfaces(f) ||
        !MultiByteToWideChar(CP_ACP, 0, fileName, -1, wideName, kMaxWideName) ||
        FAILED(f->graph->RenderFile(wideName, nullptr))) {
        releaseAll(f);
        free(f);
        return nullptr;
    }
    long nativeWidth = 0, nativeHeight = 0;
    f->video->get_VideoWidth(&nativeWidth);
    f->video->get_VideoHeight(&nativeHeight);
    *width = (int)nativeWidth;
    *height = (int)nativeHeight;

    int areaWidth, areaHeight;
    ownerSize(owner, &areaWidth, &areaHeight);
    f->window->put_Owner((OAHWND)owner);
    f->window->put_WindowStyle(kRendererStyle);
    f->window->SetWindowPosition(0, 0, areaWidth, areaHeight);
    f->window->put_Visible(OAFALSE);
    return f;
}

static void closeFilm(void *media)
{
    DshowFilm *f = film(media);
    release(&f->video);
    if (f->window) {
        f->window->put_Visible(OAFALSE);
        f->window->put_Owner((OAHWND)NULL);
    }
    release(&f->window);
    release(&f->audio);
    release(&f->seeking);
    release(&f->events);
    release(&f->control);
    release(&f->graph);
    free(f);
}

static void runFilm(void *media)
{
    film(media)->control->Run();
}

static void pauseFilm(void *media)
{
    film(media)->control->Pause();
}

static void stopFilm(void *media)
{
    film(media)->control->Stop();
}

static void setPosition(void *media, int64_t units)
{
    LONGLONG current = units;
    film(media)->seeking->SetPositions(&current, AM_SEEKING_AbsolutePositioning, nullptr,
                                       AM_SEEKING_NoPositioning);
}

static int64_t position(void *media)
{
    LONGLONG current = 0;
    if (FAILED(film(media)->seeking->GetCurrentPosition(&current)))
        return 0;
    return current;
}

static int64_t duration(void *media)
{
    LONGLONG length = 0;
    if (FAILED(film(media)->seeking->GetDuration(&length)))
        return 0;
    return length;
}

static void setVolume(void *media, int attenuation)
{
    // DirectShow takes hundredths of a decibel as they are.
    film(media)->audio->put_Volume(attenuation);
}

static void setRect(void *media, int x, int y, int width, int height)
{
    film(media)->window->SetWindowPosition(x, y, width, height);
}

static void setVisible(void *media, int visible)
{
    film(media)->window->put_Visible(visible ? OATRUE : OAFALSE);
}

static void setFullscreen(void *media, int fullscreen)
{
    film(media)->window->put_FullScreenMode(fullscreen ? OATRUE : OAFALSE);
}

static int takeEvent(void *media, int *ended)
{
    DshowFilm *f = film(media);
    long code = 0;
    LONG_PTR first = 0, second = 0;
    if (f->events->GetEvent(&code, &first, &second, 0) != S_OK)
        return 0;
    f->events->FreeEventParams(code, first, second);
    *ended = code == EC_COMPLETE;
    return 1;
}

static int present(void *, int)
{
    return 0; // the renderer window paints itself
}

const VideoSeam kNativeVideoSeam = {
    startFramework, stopFramework, openFilm,  closeFilm, runFilm,   pauseFilm,
    stopFilm,       setPosition,   position,  duration,  setVolume, setRect,
    setVisible,     setFullscreen, takeEvent, present,   ownerSize,
};
