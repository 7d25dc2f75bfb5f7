// The sdl backend's video: a GStreamer playbin per film. Its sound goes to the default audio
// sink; its pictures come out of an appsink as RGB frames, which are drawn as a textured quad
// into the main window's OpenGL context where the DirectShow renderer would show its child
// window. GStreamer runs its own streaming threads; this file is called on the main thread only
// and never waits on them except for a seek or the first frame to settle.
#include "video/video_seam.h"

#include <SDL.h>
#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>
#include <string.h>

#include "platform/gl_api.h"

static const GstClockTime kSettleTimeout = 5 * GST_SECOND; // opening and seeking a local file
static const int kNanosecondsPerUnit = 100;
static const int kBytesPerPixel = 3;
// Where a film's sound goes, in order of preference: the desktop's sound server, then ALSA's
// default device. autoaudiosink would make the same choice, but while it probes it swallows the
// errors of the rest of the pipeline, so a damaged file would hang opening until the timeout.
static const char *const kSoundSinks[] = {"pulsesink", "alsasink"};

struct GstVideoSystem {
    const char *soundSink; // the first of kSoundSinks that opened, or null for none
};

struct GstFilm {
    GstElement *playbin;
    GstElement *frames; // the appsink, owned by playbin
    GstBus *bus;
    SDL_Window *owner;
    int width, height; // native picture size
    int x, y, placedWidth, placedHeight;
    int visible, fullscreen;
    GLuint texture;
    int textureWidth, textureHeight; // powers of two, as OpenGL 1.1 asks
    int haveFrame;
};

static GstVideoSystem sGst;

static int nextPowerOfTwo(int value)
{
    int power = 1;
    while (power < value)
        power <<= 1;
    return power;
}

// Waits until a state change or a flushing seek has finished: 0 if the pipeline reported an error
// instead. The wait is bounded because decodebin can swallow a demuxer's error that comes while
// it is still plugging the demuxer in (seen with tiny damaged files): no message ever arrives.
static int settle(GstFilm *film)
{
    GstMessage *message = gst_bus_timed_pop_filtered(
        film->bus, kSettleTimeout, (GstMessageType)(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR));
    if (!message)
        return 0;
    int done = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ASYNC_DONE;
    gst_message_unref(message);
    return done;
}

// Copies the picture's last column and row into the texture's spare texels beside it, so linear
// filtering at the picture's edges blends only with the picture itself.
static void repeatEdges(GstFilm *film, const unsigned char *pixels, int width, int height,
                        int stride)
{
    if (width < film->textureWidth) {
        unsigned char *column = (unsigned char *)g_malloc((size_t)height * kBytesPerPixel);
        for (int row = 0; row < height; ++row)
            memcpy(column + (size_t)row * kBytesPerPixel,
                   pixels + (size_t)row * stride + (size_t)(width - 1) * kBytesPerPixel,
                   kBytesPerPixel);
        glTexSubImage2D(GL_TEXTURE_2D, 0, width, 0, 1, height, GL_RGB, GL_UNSIGNED_BYTE, column);
        g_free(column);
    }
    const unsigned char *lastRow = pixels + (size_t)(height - 1) * stride;
    if (height < film->textureHeight)
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, height, width, 1, GL_RGB, GL_UNSIGNED_BYTE, lastRow);
    if (width < film->textureWidth && height < film->textureHeight)
        glTexSubImage2D(GL_TEXTURE_2D, 0, width, height, 1, 1, GL_RGB, GL_UNSIGNED_BYTE,
                        lastRow + (size_t)(width - 1) * kBytesPerPixel);
}

static void uploadFrame(GstFilm *film, GstSample *sample)
{
    GstVideoInfo info;
    GstCaps *caps = gst_sample_get_caps(sample);
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    if (!film->owner || !caps || !buffer || !gst_video_info_from_caps(&info, caps))
        return;
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ))
        return;
    int width = GST_VIDEO_FRAME_WIDTH(&frame);
    int height = GST_VIDEO_FRAME_HEIGHT(&frame);
    int stride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
    const unsigned char *pixels = (const unsigned char *)GST_VIDEO_FRAME_PLANE_DATA(&frame, 0);

    glPushAttrib(GL_TEXTURE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    if (!film->texture)
        glGenTextures(1, &film->texture);
    glBindTexture(GL_TEXTURE_2D, film->texture);
    if (film->textureWidth < width || film->textureHeight < height) {
        film->textureWidth = nextPowerOfTwo(width);
        film->textureHeight = nextPowerOfTwo(height);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, film->textureWidth, film->textureHeight, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, nullptr);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (stride == width * kBytesPerPixel) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    } else {
        for (int row = 0; row < height; ++row)
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, row, width, 1, GL_RGB, GL_UNSIGNED_BYTE,
                            pixels + (size_t)row * stride);
    }
    repeatEdges(film, pixels, width, height, stride);
    glPopClientAttrib();
    glPopAttrib();
    gst_video_frame_unmap(&frame);
    film->haveFrame = 1;
}

// The newest frame the sink holds; older ones are dropped.
static void takeNewestFrame(GstFilm *film)
{
    GstSample *newest = nullptr;
    while (GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(film->frames), 0)) {
        if (newest)
            gst_sample_unref(newest);
        newest = sample;
    }
    if (newest) {
        uploadFrame(film, newest);
        gst_sample_unref(newest);
    }
}

// The picture as a quad in window pixels, whatever state the caller's drawing left behind.
static void drawPicture(GstFilm *film)
{
    int areaWidth = 0, areaHeight = 0;
    SDL_GL_GetDrawableSize(film->owner, &areaWidth, &areaHeight);
    int x = film->x, y = film->y, width = film->placedWidth, height = film->placedHeight;
    if (film->fullscreen) {
        x = y = 0;
        width = areaWidth;
        height = areaHeight;
    }
    float right = (float)film->width / (float)film->textureWidth;
    float bottom = (float)film->height / (float)film->textureHeight;

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glViewport(0, 0, areaWidth, areaHeight);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, areaWidth, areaHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, film->texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(x, y);
    glTexCoord2f(right, 0);
    glVertex2i(x + width, y);
    glTexCoord2f(right, bottom);
    glVertex2i(x + width, y + height);
    glTexCoord2f(0, bottom);
    glVertex2i(x, y + height);
    glEnd();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glPopAttrib();
}

static void releaseFilm(GstFilm *film)
{
    if (film->playbin) {
        gst_element_set_state(film->playbin, GST_STATE_NULL);
        gst_object_unref(film->playbin);
    }
    if (film->bus)
        gst_object_unref(film->bus);
    if (film->texture)
        glDeleteTextures(1, &film->texture);
    g_free(film);
}

// The appsink hands out RGB frames; it keeps only the newest one, so the streaming thread never
// waits for the main thread, and it shows each at its time on the pipeline's clock.
static GstElement *makeFrameSink(void)
{
    GstElement *sink = gst_element_factory_make("appsink", nullptr);
    if (!sink)
        return nullptr;
    GstCaps *caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "RGB", nullptr);
    g_object_set(sink, "caps", caps, "max-buffers", 1u, "drop", TRUE, "sync", TRUE, nullptr);
    gst_caps_unref(caps);
    return sink;
}

// The native size from the first frame, which also becomes the picture shown before running.
static void readFirstFrame(GstFilm *film)
{
    GstSample *sample = gst_app_sink_try_pull_preroll(GST_APP_SINK(film->frames), 0);
    if (!sample)
        return; // no picture stream: the size stays 0 x 0
    GstVideoInfo info;
    GstCaps *caps = gst_sample_get_caps(sample);
    if (caps && gst_video_info_from_caps(&info, caps)) {
        film->width = GST_VIDEO_INFO_WIDTH(&info);
        film->height = GST_VIDEO_INFO_HEIGHT(&info);
        uploadFrame(film, sample);
    }
    gst_sample_unref(sample);
}

// The first sound sink that opens its device, tried once per start of the video system.
static const char *findSoundSink(void)
{
    for (const char *name : kSoundSinks) {
        GstElement *sink = gst_element_factory_make(name, nullptr);
        if (!sink)
            continue;
        int opens = gst_element_set_state(sink, GST_STATE_READY) == GST_STATE_CHANGE_SUCCESS;
        gst_element_set_state(sink, GST_STATE_NULL);
        gst_object_unref(sink);
        if (opens)
            return name;
    }
    return nullptr;
}

// Without a sound device (a machine without a sound card, the tests) the sound is dropped by a
// fakesink that still keeps to the clock, so the film plays at its own pace and ends as it would.
static GstElement *makeSoundSink(void)
{
    if (sGst.soundSink)
        return gst_element_factory_make(sGst.soundSink, nullptr);
    GstElement *sink = gst_element_factory_make("fakesink", nullptr);
    if (sink)
        g_object_set(sink, "sync", TRUE, nullptr);
    return sink;
}

static int startFramework(void)
{
    GError *error = nullptr;
    if (!gst_init_check(nullptr, nullptr, &error)) {
        g_clear_error(&error);
        return 0;
    }
    sGst.soundSink = findSoundSink();
    return 1;
}

static void stopFramework(void)
{
    // GStreamer cannot be started again once deinitialised, so it stays up for the process.
}

static void ownerSize(void *owner, int *width, int *height)
{
    *width = 0;
    *height = 0;
    if (owner)
        SDL_GL_GetDrawableSize((SDL_Window *)owner, width, height);
}

static void *openFilm(void *owner, const char *fileName, int *width, int *height)
{
    gchar *uri = gst_filename_to_uri(fileName, nullptr);
    if (!uri)
        return nullptr;
    GstFilm *film = g_new0(GstFilm, 1);
    film->owner = (SDL_Window *)owner;
    film->playbin = gst_element_factory_make("playbin", nullptr);
    film->frames = makeFrameSink();
    if (!film->playbin || !film->frames) {
        if (film->frames)
            gst_object_unref(gst_object_ref_sink(film->frames)); // still floating: no owner took it
        g_free(uri);
        releaseFilm(film);
        return nullptr;
    }
    GstElement *sound = makeSoundSink();
    g_object_set(film->playbin, "uri", uri, "video-sink", film->frames, nullptr);
    if (sound)
        g_object_set(film->playbin, "audio-sink", sound, nullptr);
    g_free(uri);
    film->bus = gst_element_get_bus(film->playbin);

    GstStateChangeReturn change = gst_element_set_state(film->playbin, GST_STATE_PAUSED);
    if (change == GST_STATE_CHANGE_FAILURE || (change == GST_STATE_CHANGE_ASYNC && !settle(film))) {
        releaseFilm(film);
        return nullptr;
    }
    readFirstFrame(film);
    film->x = film->y = 0;
    ownerSize(owner, &film->placedWidth, &film->placedHeight);
    *width = film->width;
    *height = film->height;
    return film;
}

static void closeFilm(void *media)
{
    releaseFilm((GstFilm *)media);
}

static void runFilm(void *media)
{
    gst_element_set_state(((GstFilm *)media)->playbin, GST_STATE_PLAYING);
}

static void pauseFilm(void *media)
{
    gst_element_set_state(((GstFilm *)media)->playbin, GST_STATE_PAUSED);
}

static void stopFilm(void *media)
{
    // Paused rather than READY: a stopped DirectShow graph keeps its position and can seek.
    gst_element_set_state(((GstFilm *)media)->playbin, GST_STATE_PAUSED);
}

static void setPosition(void *media, int64_t units)
{
    GstFilm *film = (GstFilm *)media;
    if (units < 0)
        units = 0;
    // The position reads back right away afterwards, as DirectShow's does.
    if (gst_element_seek_simple(film->playbin, GST_FORMAT_TIME,
                                (GstSeekFlags)(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                (gint64)units * kNanosecondsPerUnit))
        settle(film);
}

static int64_t position(void *media)
{
    gint64 nanoseconds = 0;
    if (!gst_element_query_position(((GstFilm *)media)->playbin, GST_FORMAT_TIME, &nanoseconds))
        return 0;
    return nanoseconds / kNanosecondsPerUnit;
}

static int64_t duration(void *media)
{
    gint64 nanoseconds = 0;
    if (!gst_element_query_duration(((GstFilm *)media)->playbin, GST_FORMAT_TIME, &nanoseconds))
        return 0;
    return nanoseconds / kNanosecondsPerUnit;
}

static void setVolume(void *media, int attenuation)
{
    // playbin's volume is a linear gain.
    g_object_set(((GstFilm *)media)->playbin, "volume", videoGainFromAttenuation(attenuation),
                 nullptr);
}

static void setRect(void *media, int x, int y, int width, int height)
{
    GstFilm *film = (GstFilm *)media;
    film->x = x;
    film->y = y;
    film->placedWidth = width;
    film->placedHeight = height;
}

static void setVisible(void *media, int visible)
{
    ((GstFilm *)media)->visible = visible;
}

static void setFullscreen(void *media, int fullscreen)
{
    // The main window is the only surface; full screen means its whole client area.
    ((GstFilm *)media)->fullscreen = fullscreen;
}

static int takeEvent(void *media, int *ended)
{
    GstFilm *film = (GstFilm *)media;
    GstMessage *message =
        gst_bus_pop_filtered(film->bus, (GstMessageType)(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    if (!message)
        return 0;
    // A stream that fails while playing will never reach its end: it counts as ended, so the
    // blocking player cannot wait forever.
    *ended = 1;
    gst_message_unref(message);
    return 1;
}

static int present(void *media, int wholeFrame)
{
    GstFilm *film = (GstFilm *)media;
    if (!film->owner)
        return 0;
    takeNewestFrame(film);
    if (wholeFrame) {
        GLfloat clear[4];
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(clear[0], clear[1], clear[2], clear[3]);
    }
    if (film->visible && film->haveFrame)
        drawPicture(film);
    return 1;
}

const VideoSeam kNativeVideoSeam = {
    startFramework, stopFramework, openFilm,  closeFilm, runFilm,   pauseFilm,
    stopFilm,       setPosition,   position,  duration,  setVolume, setRect,
    setVisible,     setFullscreen, takeEvent, present,   ownerSize,
};
