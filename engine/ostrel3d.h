/*
 * Ostrel3D: a small engine of plain functions over fixed-function OpenGL.
 *
 * This header is the whole public interface. Operations are named o3D + verb + noun, records
 * T + noun. Engine state lives inside the library; no operation takes a context argument.
 * Operations that take a record pointer do nothing for a null pointer (getters then return 0 or
 * the documented default). Results: int 1 for success and 0 for failure, a null record or handle
 * for a failed creation, -1 for a lookup that finds nothing. The engine never prints or shows
 * errors, except where an operation says so.
 *
 * Units: world units, y up, angles in degrees. The 2D pass works in pixels with the origin at the
 * top-left corner of the window and y growing downwards.
 */
#ifndef OSTREL3D_H
#define OSTREL3D_H

#include <stdint.h>

/* Lets GCC and Clang check the arguments of the formatted text operations against their format
 * (argument f is the format, the values start at argument a, counting from 1). The engine
 * formats by the C99 rules on every platform, MinGW included. */
#if defined(__clang__)
#define O3D_PRINTF_FORMAT(f, a) __attribute__((__format__(__printf__, f, a)))
#elif defined(__GNUC__)
#define O3D_PRINTF_FORMAT(f, a) __attribute__((__format__(__gnu_printf__, f, a)))
#else
#define O3D_PRINTF_FORMAT(f, a)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---------------------------------------------------------------------------------------------
 * Platform: the one window with its OpenGL context, the message pump and running flag,
 * windowed and full-screen presentation, display modes, keyboard and mouse, frame timing.
 * ------------------------------------------------------------------------------------------- */

/* Opens a fixed-size window of width x height client pixels, centred on the primary screen,
 * with an OpenGL context (24-bit colour, 16-bit depth, 8-bit stencil, double-buffered), builds
 * the display-mode list and starts the timer and input. `instance` is the program's module
 * handle on Windows and may be null elsewhere; a null title keeps "Ostrel" (or the last title).
 * 1 on success; 0, with nothing changed, for a size below 1 or while the window already runs. */
int o3DInit(void *instance, int width, int height, const char *title);
/* Restores the desktop display mode if full screen, destroys the context and the window. */
void o3DShutdown(void);
int o3DIsRunning(void);
/* Posts a quit message; the running flag drops at the next o3DProcessMessages. */
void o3DQuit(void);
/* Handles every window message queued so far, never waits. Alt+Enter toggles full screen. */
void o3DProcessMessages(void);
/* Hook between the game update and the game drawing; does nothing. */
void o3DPreRender(void);
void o3DSwapBuffers(void);
/* The current drawable size in pixels. */
int o3DGetScreenWidth(void);
int o3DGetScreenHeight(void);
int o3DIsFullscreen(void);
/* The main window (HWND on Windows, SDL_Window* elsewhere); null before o3DInit. */
void *o3DGetWindowHandle(void);
/* Switches to full screen (changing the display mode to the mode size) or back to the window.
 * Shows "Nie mozna zmienic rozdzielczosci!" when the display mode can't be changed. */
void o3DSetFullscreen(int on);
void o3DToggleFullscreen(void);
/* Selects display mode `index` of the list and applies it to the window or the full screen. The
 * o3DSelectDisplayMode operations below only move the selection; the o3DSetResolution ones also
 * apply it. */
int o3DSetResolution(int index);
/* Selects the listed mode of exactly this size and applies it; 0 if none is listed. */
int o3DSetResolutionSize(int width, int height);

/* One entry of the resolution list: a distinct width x height offered by the display. */
typedef struct TDisplayMode {
    int width;
    int height;
    float aspect;  /* width / height */
    char name[32]; /* "%dx%d" */
} TDisplayMode;

/* (Re)builds the list from the display's modes: at least 640x480 and 16 bits per pixel, one entry
 * per size in the order the system gives them; selects the desktop's mode if listed. */
void o3DEnumDisplayModes(void);
void o3DFreeDisplayModes(void);
int o3DGetDisplayModeCount(void);
/* The entry at `index`, or null out of range. The list owns it. */
TDisplayMode *o3DGetDisplayMode(int index);
TDisplayMode *o3DGetCurrentDisplayMode(void);
int o3DGetResolutionIndex(void);
int o3DSelectDisplayMode(int index);
int o3DSelectDisplayModeSize(int width, int height);
/* Selects the first entry whose name contains `text` (case-sensitive). */
int o3DSelectDisplayModeName(const char *text);
int o3DHasDisplayMode(int width, int height);
/* The smallest listed mode at least width x height (by the sum of the differences); -1 if none. */
int o3DFindBestDisplayMode(int width, int height);
/* Writes the indices of the modes of aspect kind 0 (4:3), 1 (16:9) or 2 (16:10) into `indices`,
 * at most `capacity`; returns how many were written. */
int o3DFindDisplayModesByAspect(int kind, int *indices, int capacity);
/* The selected mode's aspect; 1.333 without a list. */
float o3DGetAspectRatio(void);
/* 0 for 4:3, 1 for 16:9, 2 for 16:10, -1 for anything else. */
int o3DGetAspectKind(void);
/* "4:3", "16:9", "16:10" or "Custom". */
const char *o3DGetAspectName(void);
/* Prints the list to standard output, marking the selected entry. */
void o3DPrintDisplayModes(void);

/* Named virtual-key codes for the keyboard operations below. A letter's code is its upper-case
 * character and a digit's its character (O3D_KEY_W is 'W'; 'w' would be F8). The mouse buttons
 * are keys 1, 2 and 4 here but buttons 0, 1 and 2 for the o3DMouseButton operations. */
#define O3D_KEY_LBUTTON 1
#define O3D_KEY_RBUTTON 2
#define O3D_KEY_MBUTTON 4
#define O3D_KEY_BACKSPACE 8
#define O3D_KEY_TAB 9
#define O3D_KEY_ENTER 13
#define O3D_KEY_SHIFT 16 /* either side */
#define O3D_KEY_CONTROL 17
#define O3D_KEY_ALT 18
#define O3D_KEY_PAUSE 19
#define O3D_KEY_CAPSLOCK 20
#define O3D_KEY_ESCAPE 27
#define O3D_KEY_SPACE 32
#define O3D_KEY_PAGEUP 33
#define O3D_KEY_PAGEDOWN 34
#define O3D_KEY_END 35
#define O3D_KEY_HOME 36
#define O3D_KEY_LEFT 37
#define O3D_KEY_UP 38
#define O3D_KEY_RIGHT 39
#define O3D_KEY_DOWN 40
#define O3D_KEY_INSERT 45
#define O3D_KEY_DELETE 46
#define O3D_KEY_0 '0'
#define O3D_KEY_1 '1'
#define O3D_KEY_2 '2'
#define O3D_KEY_3 '3'
#define O3D_KEY_4 '4'
#define O3D_KEY_5 '5'
#define O3D_KEY_6 '6'
#define O3D_KEY_7 '7'
#define O3D_KEY_8 '8'
#define O3D_KEY_9 '9'
#define O3D_KEY_A 'A'
#define O3D_KEY_B 'B'
#define O3D_KEY_C 'C'
#define O3D_KEY_D 'D'
#define O3D_KEY_E 'E'
#define O3D_KEY_F 'F'
#define O3D_KEY_G 'G'
#define O3D_KEY_H 'H'
#define O3D_KEY_I 'I'
#define O3D_KEY_J 'J'
#define O3D_KEY_K 'K'
#define O3D_KEY_L 'L'
#define O3D_KEY_M 'M'
#define O3D_KEY_N 'N'
#define O3D_KEY_O 'O'
#define O3D_KEY_P 'P'
#define O3D_KEY_Q 'Q'
#define O3D_KEY_R 'R'
#define O3D_KEY_S 'S'
#define O3D_KEY_T 'T'
#define O3D_KEY_U 'U'
#define O3D_KEY_V 'V'
#define O3D_KEY_W 'W'
#define O3D_KEY_X 'X'
#define O3D_KEY_Y 'Y'
#define O3D_KEY_Z 'Z'
#define O3D_KEY_NUMPAD0 96
#define O3D_KEY_NUMPAD1 97
#define O3D_KEY_NUMPAD2 98
#define O3D_KEY_NUMPAD3 99
#define O3D_KEY_NUMPAD4 100
#define O3D_KEY_NUMPAD5 101
#define O3D_KEY_NUMPAD6 102
#define O3D_KEY_NUMPAD7 103
#define O3D_KEY_NUMPAD8 104
#define O3D_KEY_NUMPAD9 105
#define O3D_KEY_F1 112
#define O3D_KEY_F2 113
#define O3D_KEY_F3 114
#define O3D_KEY_F4 115
#define O3D_KEY_F5 116
#define O3D_KEY_F6 117
#define O3D_KEY_F7 118
#define O3D_KEY_F8 119
#define O3D_KEY_F9 120
#define O3D_KEY_F10 121
#define O3D_KEY_F11 122
#define O3D_KEY_F12 123
#define O3D_KEY_LSHIFT 160
#define O3D_KEY_RSHIFT 161
#define O3D_KEY_LCONTROL 162
#define O3D_KEY_RCONTROL 163
#define O3D_KEY_LALT 164
#define O3D_KEY_RALT 165
/* Buttons of the o3DMouseButton operations. */
#define O3D_MOUSE_LEFT 0
#define O3D_MOUSE_RIGHT 1
#define O3D_MOUSE_MIDDLE 2

/* Keyboard: polled once per frame. Codes are Windows virtual-key codes 0..255 (13 Enter,
 * 27 Escape, 32 Space, 37..40 arrows, 'A'..'Z', '0'..'9'); the mouse buttons appear as 1, 2, 4.
 * Codes outside 0..255 read as 0. */
void o3DInitKeyboard(void);
void o3DClearKeys(void);
void o3DUpdateKeyboard(void);
int o3DKeyDown(int code);
/* Down now and up at the sample before. */
int o3DKeyPressed(int code);
/* Up now and down at the sample before. */
int o3DKeyReleased(int code);
int o3DAnyKeyPressed(void);

/* Mouse: positions in client pixels; buttons 0 left, 1 right, 2 middle; the wheel in steps. */
void o3DInitMouse(void);
void o3DUpdateMouse(void);
int o3DGetMouseX(void);
int o3DGetMouseY(void);
/* Either pointer may be null. */
void o3DGetMousePos(int *x, int *y);
int o3DGetMouseDX(void);
int o3DGetMouseDY(void);
int o3DMouseButtonDown(int button);
int o3DMouseButtonPressed(int button);
int o3DMouseButtonReleased(int button);
int o3DGetMouseWheel(void);
int o3DGetMouseWheelDelta(void);
void o3DAddMouseWheel(int steps);
/* Edges count as inside. */
int o3DMouseInRect(int x, int y, int width, int height);
int o3DMouseInCircle(int centreX, int centreY, int radius);
/* One step of the system's cursor show counter; the cursor shows while the counter is >= 0. */
void o3DShowCursor(void);
void o3DHideCursor(void);
/* Mouse look: hides the cursor and recentres it every frame; deltas measure from the centre. */
void o3DCaptureMouse(void);
void o3DReleaseMouse(void);
int o3DIsMouseCaptured(void);

/* Frame timer: call o3DUpdateTimer once per frame. */
void o3DInitTimer(void);
void o3DUpdateTimer(void);
/* Milliseconds since the first call. */
uint32_t o3DGetTicks(void);
/* Milliseconds since o3DInitTimer. */
uint32_t o3DGetElapsedMs(void);
/* Seconds between the last two o3DUpdateTimer calls; 0 before the first update. */
double o3DGetDeltaTime(void);
/* 1 / delta, or 0 for a delta below 0.0001 s. */
float o3DGetFPS(void);
/* Waits until `targetSeconds` have passed since the last o3DUpdateTimer (sleeps, then spins). */
void o3DLimitFrame(float targetSeconds);
/* The local date and time taken at the last o3DUpdateTimer; 0 before the first. */
int o3DGetSecond(void);
int o3DGetMinute(void);
int o3DGetHour(void);
int o3DGetDay(void);
int o3DGetMonth(void); /* 1..12 */
int o3DGetYear(void);  /* e.g. 2026 */

/* ---------------------------------------------------------------------------------------------
 * Resource packs: flat archives of named entries (the game's assets live in game.dat).
 * Up to 16 packs are open at once; entries are found by exact name and read into memory.
 * ------------------------------------------------------------------------------------------- */

/* One 72-byte directory entry as stored in the pack. */
typedef struct TPackEntry {
    char name[64];   /* zero-terminated within the 64 bytes (a pack breaking that is refused) */
    uint32_t size;   /* bytes */
    uint32_t offset; /* from the start of the pack file */
} TPackEntry;

/* An open pack: a slot of the engine's table of 16; the handle is valid until closed. */
typedef struct TPack {
    char path[256];
    void *file; /* the open file (FILE*), null when closed */
    int32_t magic;
    int32_t count;
    TPackEntry *entries;
    int loaded; /* 0 = free slot */
} TPack;

/* Marks every slot free, clears the active pack and deletes leftover staged sound files
 * (temp_sound_*.wav) from the current directory. */
void o3DInitPacks(void);
/* Closes every pack, clears the active pack and deletes leftover staging files from the current
 * directory: temp_sound_*.wav, temp_bitmap_*.bmp, temp_font_*.bmp, temp_md2_*.md2 and
 * temp_obj_*.obj (the other staging names are never left behind). */
void o3DCleanupTempFiles(void);
/* Opens a pack file; null if it is missing, malformed or all 16 slots are taken. The first pack
 * opened while none is active becomes the active pack. */
TPack *o3DOpenPack(const char *path);
void o3DClosePack(TPack *pack);
void o3DSetActivePack(TPack *pack);
TPack *o3DGetActivePack(void);
/* The first entry named exactly `name` (case-sensitive), or null. */
TPackEntry *o3DFindPackEntry(TPack *pack, const char *name);
int o3DPackHasFile(TPack *pack, const char *name);
int o3DGetPackFileCount(TPack *pack);
TPackEntry *o3DGetPackEntry(TPack *pack, int index);
/* The entry's size in bytes, -1 if there is none. */
int o3DGetPackFileSize(TPack *pack, const char *name);
/* Reads an entry into a new buffer (zero-filled where the file ends early) and stores its size in
 * `outSize` if given. The caller frees it with o3DFreePackData. Null on failure, and for an entry
 * larger than the whole pack file (corrupt). */
unsigned char *o3DReadPackEntry(TPack *pack, const char *name, uint32_t *outSize);
void o3DFreePackData(void *data);
/* Reads an entry as zero-terminated text; the caller frees it with o3DFreePackData. */
char *o3DReadPackText(TPack *pack, const char *name);
/* Writes an entry's bytes to `destPath` (created or truncated). */
int o3DExtractPackFile(TPack *pack, const char *name, const char *destPath);
/* Prints the directory to standard output. */
void o3DPrintPack(TPack *pack);

/* Staging: each operation reads one entry, writes it to a temporary file in the current directory
 * ("temp_..."), calls the file loader named beside it on that file and deletes the file again,
 * whatever the loader returned, so every loader works on pack entries. The result is the loader's;
 * a null pack, target or name, or a missing entry, gives 0 or null without touching the target.
 * The records are declared with their loaders further down. */
struct TTexture;
struct TBackground;
struct TFont;
struct TMesh;
struct TSkybox;
struct TMD2Model;
struct TSound;
struct TMusic;
/* o3DLoadImage. */
int o3DLoadTextureFromPack(TPack *pack, struct TTexture *img, const char *name);
/* o3DLoadImageKeyed. */
int o3DLoadImageFromPack(TPack *pack, struct TTexture *img, const char *name, uint8_t r, uint8_t g,
                         uint8_t b);
/* o3DLoadTexture. */
int o3DLoadTextureImageFromPack(TPack *pack, struct TTexture *tex, const char *name);
/* Loads a face (0..5) with o3DLoadTexture into a new record with clamped edges, releasing the
 * face's old texture; ready is left alone (set it once all six faces are in). 0 for a face outside
 * 0..5, before anything is read. */
int o3DLoadSkyboxFaceFromPack(TPack *pack, struct TSkybox *sky, int face, const char *name);
/* o3DLoadFont on a metrics entry whose second line names the glyph sheet's entry (an empty or
 * overlong name means "font.bmp"); both are staged and the second line rewritten to match. */
int o3DLoadFontFromPackDefault(TPack *pack, struct TFont *font, const char *name);
/* The same with o3DLoadFontKeyed and this key colour. */
int o3DLoadFontFromPack(TPack *pack, struct TFont *font, const char *name, uint8_t r, uint8_t g,
                        uint8_t b);
/* o3DLoadOBJ: the new mesh, or null. */
struct TMesh *o3DLoadOBJFromPack(TPack *pack, const char *name);
/* o3DLoadMD2: the new model (without skin), or null. */
struct TMD2Model *o3DLoadMD2FromPack(TPack *pack, const char *name);
/* o3DLoadSoundFromMemory straight on the entry's bytes: no temporary file. */
int o3DLoadSoundFromPack(TPack *pack, struct TSound *sound, const char *name);
/* o3DLoadMusic; the music's name is then the temporary file's, which no longer exists. */
int o3DLoadMusicFromPack(TPack *pack, struct TMusic *music, const char *name);
/* o3DLoadBackground, o3DLoadBackgroundKeyed. */
int o3DLoadBackgroundFromPack(TPack *pack, struct TBackground *bg, const char *name);
int o3DLoadBackgroundKeyedFromPack(TPack *pack, struct TBackground *bg, const char *name, uint8_t r,
                                   uint8_t g, uint8_t b);

/* ---------------------------------------------------------------------------------------------
 * Rendering core: vectors, the viewport and projection, the first-person camera, the modelview
 * matrix stack, lights, materials, fog and render state, meshes and primitives.
 * ------------------------------------------------------------------------------------------- */

typedef struct TVector3 {
    float x, y, z;
} TVector3;

typedef struct TColor {
    float r, g, b;
} TColor;

TVector3 o3DVector3(float x, float y, float z);
TColor o3DColor(float r, float g, float b);
TVector3 o3DVectorAdd(TVector3 a, TVector3 b);
TVector3 o3DVectorSub(TVector3 a, TVector3 b);
TVector3 o3DVectorScale(TVector3 a, float s);
float o3DVectorDot(TVector3 a, TVector3 b);
TVector3 o3DVectorCross(TVector3 a, TVector3 b);
float o3DVectorLength(TVector3 a);
/* (0, 0, 0) for a zero-length vector. */
TVector3 o3DVectorNormalize(TVector3 a);

/* The first-person camera. Angles in degrees: yaw 0 looks along +x, -90 along -z; pitch up. */
typedef struct TCamera {
    float posX, posY, posZ;
    float targetX, targetY, targetZ; /* position + forward after every update */
    float upX, upY, upZ;
    float fov; /* vertical, degrees */
    float nearPlane;
    float farPlane;
    float yaw;
    float pitch; /* kept within -89.9..89.9 by the rotate operations */
    float roll;  /* stored only; it does not turn the view */
    float forwardX, forwardY, forwardZ;
    float rightX, rightY, rightZ;
} TCamera;

/* The global viewport size (aspect = width / height, 1.333 for a height below 1). */
void o3DSetViewportSize(int width, int height);
/* glViewport plus o3DSetViewportSize. */
void o3DSetViewport(int x, int y, int width, int height);
/* The global perspective: fov accepted within (0, 180), near within (0, far), far above near. */
void o3DSetFov(float fov);
float o3DGetFov(void);
void o3DSetNearPlane(float nearPlane);
float o3DGetNearPlane(void);
void o3DSetFarPlane(float farPlane);
float o3DGetFarPlane(void);
void o3DApplyProjection(void);
/* Starts the 3D pass: global perspective, identity modelview, depth test on, depth cleared. */
void o3DBegin3D(void);
/* Starts the 2D pass: pixel projection with the origin top-left, identity modelview, no depth. */
void o3DBegin2D(void);
void o3DSetOrtho(float left, float right, float bottom, float top, float nearPlane, float farPlane);

/* At (0, 0, 5) looking along -z, fov 60, near 0.1, far 1000. */
void o3DInitCamera(TCamera *cam);
void o3DSetCamera(TCamera *cam, float x, float y, float z, float yaw, float pitch);
void o3DSetCameraLookAt(TCamera *cam, float px, float py, float pz, float tx, float ty, float tz,
                        float fov, float nearPlane, float farPlane);
void o3DSetCameraVectors(TCamera *cam, float px, float py, float pz, float tx, float ty, float tz,
                         float ux, float uy, float uz);
/* Each pair below is one operation under two names. */
void o3DSetCameraPosition(TCamera *cam, float x, float y, float z);
void o3DMoveCameraTo(TCamera *cam, float x, float y, float z);
/* Turns towards the point: target, yaw and pitch follow from the direction. */
void o3DCameraLookAt(TCamera *cam, float x, float y, float z);
void o3DPointCameraAt(TCamera *cam, float x, float y, float z);
/* Adds to the position, whatever the view direction. */
void o3DMoveCamera(TCamera *cam, float dx, float dy, float dz);
void o3DTranslateCamera(TCamera *cam, float dx, float dy, float dz);
/* Along the view direction, pitch included. */
void o3DMoveCameraForward(TCamera *cam, float distance);
void o3DStrafeCamera(TCamera *cam, float distance);
void o3DMoveCameraUp(TCamera *cam, float distance);
/* Adds the angles; pitch is clamped to -89.9..89.9 and yaw wrapped into 0..360. */
void o3DRotateCamera(TCamera *cam, float dyaw, float dpitch, float droll);
void o3DYawCamera(TCamera *cam, float angle);
void o3DPitchCamera(TCamera *cam, float angle);
void o3DRollCamera(TCamera *cam, float angle);
/* Sets the angles; pitch is clamped, yaw is kept as given. */
void o3DSetCameraRotation(TCamera *cam, float yaw, float pitch, float roll);
void o3DSetCameraProjection(TCamera *cam, float fov, float nearPlane, float farPlane);
void o3DSetCameraFov(TCamera *cam, float fov);
void o3DSetCameraFar(TCamera *cam, float farPlane);
/* Recomputes forward, right, up and target from yaw and pitch. */
void o3DUpdateCamera(TCamera *cam);
/* Loads the camera's perspective and look-at into the projection and modelview matrices. */
void o3DApplyCamera(TCamera *cam);
TVector3 o3DGetCameraPosition(TCamera *cam);
TVector3 o3DGetCameraTarget(TCamera *cam);
TVector3 o3DGetCameraForward(TCamera *cam); /* (0, 0, -1) for a null camera */
TVector3 o3DGetCameraRight(TCamera *cam);   /* (1, 0, 0) for a null camera */
TVector3 o3DGetCameraUp(TCamera *cam);      /* (0, 1, 0) for a null camera */

/* The current OpenGL matrix (the modelview outside the projection operations). */
void o3DPushMatrix(void);
void o3DPopMatrix(void);
void o3DLoadIdentity(void);
/* 16 floats in OpenGL column order; null does nothing. */
void o3DMultMatrix(const float *m);
void o3DTranslate(float x, float y, float z);
void o3DRotate(float angle, float x, float y, float z);
void o3DScale(float x, float y, float z);

/* Lights, materials, fog and render state: the fixed-function state the engine keeps for
 * everybody. Eight light slots live in engine memory and reach OpenGL only on o3DEnableLight. */

/* One light slot. type: 0 directional, 1 point, 2 spot. */
typedef struct TLight {
    int enabled;
    int type;
    TVector3 position;  /* world position (point and spot) */
    TVector3 direction; /* unit direction the light travels (directional and spot) */
    TColor ambient;
    TColor diffuse;
    TColor specular;
    float constantAttenuation;
    float linearAttenuation;
    float quadraticAttenuation;
    float spotCutoff; /* degrees */
    float spotExponent;
} TLight;

/* Colours of a surface under the lights; each colour reaches OpenGL with alpha 1. */
typedef struct TMaterial {
    float ambient[3];
    float diffuse[3];
    float specular[3];
    float emission[3];
    float shininess;
} TMaterial;

/* For programs that use the engine's lighting and depth-tested 3D state (the window does not call
 * it): sets the viewport size, resets the eight light slots (off, point type at the origin,
 * direction (0, -1, 0), ambient 0.2 grey, diffuse and specular white, attenuation 1, 0, 0, cutoff
 * 180, exponent 0), depth test with GL_LEQUAL, GL_NORMALIZE, smooth shading, nicest perspective.
 * Until then every field of every slot is 0. */
void o3DInitRenderer(int width, int height);
/* GL_LIGHTING and the engine's lighting flag, which debug drawing reads to restore lighting. */
void o3DEnableLighting(void);
void o3DDisableLighting(void);
int o3DIsLightingEnabled(void);
/* The light model's global ambient, alpha 1. */
void o3DSetAmbientLight(float r, float g, float b);
/* The three setters change only the slot (index 0..7; others do nothing); OpenGL sees the change
 * at the next o3DEnableLight. Each sets ambient 0.2 grey; point and spot set attenuation 1, 0.09,
 * 0.032. Directions are normalised ((0, 0, 0) stays). A spot gets exponent 32. */
void o3DSetDirectionalLight(int index, float dx, float dy, float dz, float dr, float dg, float db,
                            float sr, float sg, float sb);
void o3DSetPointLight(int index, float x, float y, float z, float dr, float dg, float db, float sr,
                      float sg, float sb);
void o3DSetSpotLight(int index, float x, float y, float z, float dx, float dy, float dz,
                     float cutoff, float dr, float dg, float db, float sr, float sg, float sb);
/* Hands the slot to GL_LIGHT0 + index and enables it. Positions and directions are transformed
 * by the modelview current at the call: enable world-space lights after applying the camera. */
void o3DEnableLight(int index);
void o3DDisableLight(int index);
/* The slot itself, for direct changes; null outside 0..7. */
TLight *o3DGetLight(int index);

/* Sets front and back ambient, diffuse, specular, emission, shininess; null does nothing. */
void o3DSetMaterial(const TMaterial *material);
/* o3DSetMaterial with these colours and no emission. */
void o3DSetMaterialColors(float ar, float ag, float ab, float dr, float dg, float db, float sr,
                          float sg, float sb, float shininess);

void o3DEnableFog(void);
void o3DDisableFog(void);
/* mode 0 linear (start, end), 1 exponential, 2 exponential squared (density); any other mode sets
 * only the colour. Does not enable fog. */
void o3DSetFog(int mode, float r, float g, float b, float density, float start, float end);

void o3DEnableDepthTest(void);
void o3DDisableDepthTest(void);
void o3DEnableTexturing(void);
void o3DDisableTexturing(void);
void o3DEnableCulling(void);
void o3DDisableCulling(void);
/* Culls front faces if `front` is not 0, back faces otherwise. */
void o3DSetCullFace(int front);
/* Polygon mode of front and back faces: lines, or filled. */
void o3DSetWireframe(void);
void o3DSetSolid(void);

/* Meshes, primitives and debug drawing. A mesh holds indexed triangles with optional normals and
 * texture coordinates; it draws from its compiled display list or, until one is built, from
 * vertex arrays. Indices that are not below vertexCount are left out on both paths. */

/* Created and freed by the engine; the arrays are the mesh's and may be written directly. */
typedef struct TMesh {
    float *vertices;   /* vertexCount x (x, y, z) */
    float *normals;    /* vertexCount x (x, y, z), used once hasNormals is set */
    float *texCoords;  /* vertexCount x (u, v), used once hasTexCoords is set */
    uint32_t *indices; /* indexCount vertex indices, three per triangle */
    int vertexCount;
    int indexCount;
    int hasNormals;
    int hasTexCoords;
    uint32_t displayList; /* OpenGL display list name */
    int hasDisplayList;
    int blended; /* draw with alpha blending and `alpha` */
    float alpha; /* 0..1 */
} TMesh;

/* All arrays zero-filled, flags 0, alpha 1. Null for a negative count or when memory runs out. */
TMesh *o3DCreateMesh(int vertexCount, int indexCount);
/* Frees the arrays, the display list and the record (needs the context that built the list). */
void o3DFreeMesh(TMesh *mesh);
/* The setters ignore an out-of-range i. Setting a normal or texture coordinate turns on its use
 * for every vertex (unset ones are 0). */
void o3DSetMeshVertex(TMesh *mesh, int i, float x, float y, float z);
void o3DSetMeshNormal(TMesh *mesh, int i, float x, float y, float z);
void o3DSetMeshTexCoord(TMesh *mesh, int i, float u, float v);
void o3DSetMeshIndex(TMesh *mesh, int i, uint32_t vertexIndex);
/* Compiles (or recompiles) the display list from the arrays; later changes to the arrays show only
 * after the next build. */
void o3DBuildMeshList(TMesh *mesh);
/* Draws from the list if built, else from the arrays. A blended mesh draws in white at its alpha,
 * switching blending on (standard alpha function) for the draw only if it was off; an opaque mesh
 * draws in the current colour. */
void o3DDrawMesh(TMesh *mesh);
/* Clamped to 0..1; not a number gives 0. */
void o3DSetMeshAlpha(TMesh *mesh, float alpha);
void o3DSetMeshBlended(TMesh *mesh);
/* Blending off and alpha back to 1. */
void o3DSetMeshOpaque(TMesh *mesh);

/* Primitives around the origin of the current modelview, with normals and no texture
 * coordinates; cylinder and cone run along +z from z = 0 without caps, the torus lies in the xy
 * plane, the plane in y = 0. */
void o3DDrawCube(float size);
void o3DDrawBox(float width, float height, float depth);
void o3DDrawSphere(float radius, int slices, int stacks);
void o3DDrawCylinder(float radius, float height, int slices);
void o3DDrawCone(float radius, float height, int slices);
void o3DDrawTorus(float tubeRadius, float ringRadius, int sides, int rings);
void o3DDrawPlane(float width, float depth, int divisionsX, int divisionsZ);

/* Debug drawing. Lines and points use the current colour; axes and grid draw unlit and leave the
 * colour white, lighting back on if the engine's lighting flag is set. */
void o3DDrawLine3D(float x1, float y1, float z1, float x2, float y2, float z2);
/* The point size is restored after the draw. */
void o3DDrawPoint3D(float x, float y, float z, float size);
/* x red, y green, z blue, from the origin. */
void o3DDrawAxes(float length);
/* divisions + 1 lines along x and as many along z, in grey, covering size x size in y = 0. */
void o3DDrawGrid(float size, int divisions);

/* ---------------------------------------------------------------------------------------------
 * Assets: textures and 2D images read from BMP files, and full-screen background pictures.
 * ------------------------------------------------------------------------------------------- */

/* One OpenGL texture: a 3D surface texture or a 2D image. The holder zeroes it before the first
 * load and owns the record's own memory; the engine owns the GL texture and the mask. */
typedef struct TTexture {
    uint32_t id; /* OpenGL texture name; 0 = none */
    int width;   /* picture size in pixels (o3DLoadTexture: the uploaded power-of-two size) */
    int height;
    int texWidth; /* uploaded power-of-two size (image loaders only) */
    int texHeight;
    int loaded;     /* binding, drawing and freeing do nothing while 0 */
    int colorKeyOn; /* pixels of the key colour load transparent */
    uint8_t keyR, keyG, keyB;
    int additive; /* draw with additive blending and the tint */
    float tintR, tintG, tintB;
    float tintA;         /* tint intensity, 0..1 */
    unsigned char *mask; /* width x height bytes from the top row: 1 opaque, 0 keyed out */
} TTexture;

/* Reads a 24-bit uncompressed bottom-up BMP into an opaque, repeating RGB texture, resized to
 * powers of two by nearest neighbour. Other BMP kinds and malformed headers fail with 0. */
int o3DLoadTexture(TTexture *tex, const char *path);
/* Reads any BMP the platform's loader reads into an RGBA texture with clamped edges; the picture
 * sits in the top-left corner of its power-of-two texture. Uses the record's colour key as it
 * stands; resets tint, alpha and the additive flag. */
int o3DLoadImage(TTexture *img, const char *path);
/* Turns the colour key on with this colour, then o3DLoadImage. */
int o3DLoadImageKeyed(TTexture *img, const char *path, uint8_t r, uint8_t g, uint8_t b);
/* Deletes the GL texture and the mask and clears the sizes and the loaded flag; colour key,
 * additive flag and tint stay. Loading into a loaded record without freeing first leaks. */
void o3DFreeTexture(TTexture *tex);
/* Enables 2D texturing and binds a loaded texture. */
void o3DBindTexture(TTexture *tex);
void o3DDisableTexture(void);
/* On the bound texture: 1 = GL_LINEAR, anything else GL_NEAREST. */
void o3DSetTextureFilter(int min, int mag);
/* On the bound texture: 1 = GL_CLAMP, anything else GL_REPEAT. */
void o3DSetTextureWrap(int s, int t);
/* Filtering of textures created from now on (initially linear). */
void o3DEnableLinearFiltering(void);
void o3DDisableLinearFiltering(void);
int o3DIsLinearFiltering(void);

/* Takes effect at the next load into this record; only for a loaded record. */
void o3DSetImageColorKey(TTexture *img, uint8_t r, uint8_t g, uint8_t b);
void o3DClearImageColorKey(TTexture *img);
void o3DSetImageAdditive(TTexture *img);
void o3DClearImageAdditive(TTexture *img);
/* The tint colours an image only in additive mode. */
void o3DSetImageTint(TTexture *img, float r, float g, float b);
/* The tint's intensity: clamped to 0..1, not a number gives 0. Like the tint it acts only in
 * additive mode; a translucent image in any mode takes the alpha argument of the draw below. */
void o3DSetImageAlpha(TTexture *img, float a);

/* 2D images in screen pixels (after o3DBegin2D): x, y is the top-left corner of the unrotated
 * rectangle, angle in degrees about its centre. Keyed, translucent and additive images switch
 * blending on for the draw; blending ends as it was, with the standard alpha function if on (an
 * opaque image on a blended caller draws with the caller's function). Texturing ends off and the
 * 2D drawing colour is put back. A surface texture from o3DLoadTexture is drawn whole. */
void o3DDrawImage(TTexture *img, float x, float y);
void o3DDrawImageSized(TTexture *img, float x, float y, float w, float h);
void o3DDrawImageRotated(TTexture *img, float x, float y, float w, float h, float angle,
                         float alpha);
void o3DDrawImageEx(TTexture *img, float x, float y, float w, float h, float angle, float alpha,
                    float r, float g, float b);

/* A picture over the whole viewport, drawn first in a frame without depth test; still or
 * scrolling with the camera's turning like a distant panorama. The caller owns the record. */
typedef struct TBackground {
    TTexture image;
    int loaded;
    float speed;            /* scroll multiplier */
    float yawRange;         /* degrees of yaw that scroll one picture width */
    float pitchRange;       /* degrees of pitch that scroll one picture height */
    int scrollX;            /* the horizontal offset follows the yaw */
    int scrollY;            /* the vertical offset follows the pitch */
    float offsetX, offsetY; /* in picture pixels */
    TColor color;
    float alpha;
    int blend;   /* alpha blending */
    int stretch; /* 1 = covers the viewport once; 0 = repeats at one texel per pixel */
} TBackground;

/* Zeroes the record: speed 1, ranges 360 and 180, both scrolls on, white, alpha 1, blend and
 * stretch on. */
void o3DInitBackground(TBackground *bg);
int o3DLoadBackground(TBackground *bg, const char *path);
int o3DLoadBackgroundKeyed(TBackground *bg, const char *path, uint8_t r, uint8_t g, uint8_t b);
void o3DFreeBackground(TBackground *bg);
void o3DSetBackgroundSpeed(TBackground *bg, float speed);
void o3DSetBackgroundRanges(TBackground *bg, float yawRange, float pitchRange);
void o3DSetBackgroundScrollX(TBackground *bg, int on);
void o3DSetBackgroundScrollY(TBackground *bg, int on);
void o3DSetBackgroundScroll(TBackground *bg, int x, int y);
void o3DSetBackgroundColor(TBackground *bg, float r, float g, float b);
/* Clamped to 0..1; not a number gives 0. */
void o3DSetBackgroundAlpha(TBackground *bg, float a);
void o3DSetBackgroundBlend(TBackground *bg, int on);
void o3DSetBackgroundStretch(TBackground *bg, int on);
void o3DSetBackgroundOffset(TBackground *bg, float x, float y);
void o3DResetBackgroundOffset(TBackground *bg);
int o3DIsBackgroundLoaded(TBackground *bg);
/* Offsets from the camera's yaw and pitch (pitch counted within -90..90). */
void o3DUpdateBackground(TBackground *bg, TCamera *cam);
/* o3DUpdateBackground, then o3DDrawBackground. */
void o3DDrawBackgroundForCamera(TBackground *bg, TCamera *cam);
/* Draws with the stored offsets. Leaves the image bound with repeat wrapping and, if blend is
 * on, the standard alpha blend function. */
void o3DDrawBackground(TBackground *bg);
/* Resets the offsets to 0, 0, then draws. */
void o3DDrawBackgroundStatic(TBackground *bg);

/* Heightmap terrain: a greyscale bitmap turned into one textured, lit triangle mesh centred on
 * the origin in the x-z plane. Sample (row r, column k) stands at
 * x = k * cellSize - (width - 1) * cellSize / 2, z = r * cellSize - (depth - 1) * cellSize / 2,
 * y = height * heightScale; row 0 (the picture's top row) lies at the smallest z. The mesh takes
 * every step-th sample; heights and queries use every sample. Created and freed by the engine. */
typedef struct TTerrain {
    float *heights; /* width x depth values 0..1 (byte / 255), row-major; owned */
    int width;      /* heightmap columns */
    int depth;      /* heightmap rows */
    float cellSize;
    float heightScale; /* world height of a sample of 1.0 */
    TMesh *mesh;       /* owned; its display list calls the lists of the terrain's tiles */
    TTexture *texture; /* owned by the terrain once attached; null for none */
    int hasTexture;
    float repeatU; /* texture tiling along x, initially 1 */
    float repeatV; /* texture tiling along z, initially 1 */
    int step;      /* the sampling step the mesh was built with */
} TTerrain;

/* The sampling step of terrains created from now on (initially 2; values below 1 count as 1). */
void o3DSetTerrainStep(int step);
int o3DGetTerrainStep(void);
/* Reads a bitmap as a heightmap (height byte = (B + G + R) / 3) and builds the terrain; null if
 * the file can't be read or memory runs out. */
TTerrain *o3DCreateTerrain(const char *path, float cellSize, float heightScale);
/* The same from width x depth height bytes, row 0 first; the caller keeps the bytes. */
TTerrain *o3DCreateTerrainFromBytes(const unsigned char *bytes, int width, int depth,
                                    float cellSize, float heightScale);
/* Frees the mesh, the heights, the held texture record (as o3DFreeTerrainTexture) and the
 * terrain. */
void o3DFreeTerrain(TTerrain *terrain);
/* Frees the current texture, then loads the file into a new record the terrain owns. 1 on
 * success; on failure the terrain has no texture. */
int o3DLoadTerrainTexture(TTerrain *terrain, const char *path);
/* The terrain takes the record as its own (freed with the terrain); it is used while loaded. A
 * record held before is let go without freeing, as by o3DDetachTerrainTexture. */
void o3DSetTerrainTexture(TTerrain *terrain, TTexture *tex);
/* Lets go of the record without freeing it: for a caller that keeps its own. */
void o3DDetachTerrainTexture(TTerrain *terrain);
/* Deletes the held texture and frees its record. */
void o3DFreeTerrainTexture(TTerrain *terrain);
int o3DHasTerrainTexture(TTerrain *terrain);
/* Tiles the texture repeatU times across x and repeatV times across z (and recompiles). */
void o3DSetTerrainTextureRepeat(TTerrain *terrain, float repeatU, float repeatV);
/* Moves every vertex to the new cell size and height scale, recomputes normals and recompiles. */
void o3DSetTerrainScale(TTerrain *terrain, float cellSize, float heightScale);
/* Draws in the current colour, lighting, fog and culling, textured (modulated) if it has a
 * loaded texture; texturing ends as it was. Its triangles face down, so draw with culling off.
 * The terrain is compiled in square tiles, and tiles that the current projection and modelview
 * matrices put wholly outside the view are skipped; the pixels are those of drawing it whole. */
void o3DDrawTerrain(TTerrain *terrain);
/* Draws the mesh as lines, untextured, skipping tiles outside the view likewise; polygon modes
 * end as they were. */
void o3DDrawTerrainWireframe(TTerrain *terrain);
/* The ground height at (x, z), bilinear between samples; 0 outside the covered area, whose far
 * row and column count as outside. 0 for a null terrain. */
float o3DGetTerrainHeight(TTerrain *terrain, float x, float z);
/* The unit surface normal at (x, z) from heights one unit apart; (0, 1, 0) for a null terrain. */
TVector3 o3DGetTerrainNormal(TTerrain *terrain, float x, float z);

/* Reads a Wavefront OBJ file (positions, texture coordinates, normals, faces of three or four
 * corners; everything else is ignored) into an unindexed triangle mesh: every face corner is a
 * vertex of its own. Missing or out-of-range data takes position (0, 0, 0), texture coordinate
 * (0, 0) and normal (0, 1, 0). Null if the file can't be read or holds no usable face. The mesh
 * has no display list yet; free it with o3DFreeMesh. */
TMesh *o3DLoadOBJ(const char *path);

/* The sky: a cube of six textured faces drawn around the camera before the scene, without depth
 * writes, so everything drawn afterwards covers it. Created and freed by the engine. */
typedef struct TSkybox {
    TTexture *faces[6]; /* owned: 0 front (+z), 1 back (-z), 2 left (-x), 3 right (+x), 4 top,
                           5 bottom */
    float size;         /* edge length */
    int ready;          /* 1 when all six faces are loaded; drawing and compiling need it */
    uint32_t listId;    /* compiled display list, 0 if none */
    int hasList;
} TSkybox;

/* Face names in face order, for building file names. */
#define O3D_SKYBOX_FRONT 0
#define O3D_SKYBOX_BACK 1
#define O3D_SKYBOX_LEFT 2
#define O3D_SKYBOX_RIGHT 3
#define O3D_SKYBOX_TOP 4
#define O3D_SKYBOX_BOTTOM 5

/* A skybox of this edge length with no faces; null when memory runs out. */
TSkybox *o3DCreateSkybox(float size);
/* Deletes the list and every face texture, then the skybox. */
void o3DFreeSkybox(TSkybox *sky);
/* Loads one face (0..5) with o3DLoadTexture, replacing the old one; ready becomes 1 when all six
 * are loaded. 1 on success, also while faces are still missing; 0 if the file fails. */
int o3DLoadSkyboxFace(TSkybox *sky, int face, const char *path);
/* Loads the six faces in order, stopping at the first failure with 0 (earlier faces stay). */
int o3DLoadSkyboxFaces(TSkybox *sky, const char *front, const char *back, const char *left,
                       const char *right, const char *top, const char *bottom);
/* The six faces from "<prefix>front.<extension>", "<prefix>back.<extension>", ... in face order. */
int o3DLoadSkybox(TSkybox *sky, const char *prefix, const char *extension);
/* Installs a record the caller allocated with malloc (the skybox then owns it) as a face; ready
 * is left as it is. */
void o3DSetSkyboxFace(TSkybox *sky, int face, TTexture *tex);
/* Stores a new edge length and drops the compiled list, so drawing uses the new size at once. */
void o3DSetSkyboxSize(TSkybox *sky, float size);
int o3DIsSkyboxReady(TSkybox *sky);
/* Compiles the six faces into one display list; only when ready. */
void o3DBuildSkybox(TSkybox *sky);
/* Draws the cube centred on `position` (three floats; null for the origin), only when ready,
 * with lighting off and depth writes off; both end as they were, the matrix too. Texturing ends
 * on and the colour white. The depth test is left alone: draw the sky first, with fog off. */
void o3DDrawSkybox(TSkybox *sky, const float *position);
void o3DDrawSkyboxAtOrigin(TSkybox *sky);
/* The same turned by `angle` degrees about the vertical axis through the position. */
void o3DDrawSkyboxRotated(TSkybox *sky, const float *position, float angle);

/* MD2 animated models: key frames kept compressed as read, the pose to draw interpolated between
 * two of them, animation ranges played in a loop. Positions are the model's own (z up in usual
 * MD2 content); the caller rotates and scales. Created and freed by the engine. */

/* The 17 little-endian values that open an MD2 file, in file order. */
typedef struct TMD2Header {
    int32_t ident;   /* "IDP2" */
    int32_t version; /* 8 */
    int32_t skinWidth, skinHeight;
    int32_t frameSize;
    int32_t numSkins, numVertices, numTexCoords, numTriangles, numGLCommands, numFrames;
    int32_t offsetSkins, offsetTexCoords, offsetTriangles, offsetFrames, offsetGLCommands;
    int32_t offsetEnd;
} TMD2Header;

/* One key frame: a vertex is (x, y, z, normal index) in bytes, placed at byte * scale +
 * translate. */
typedef struct TMD2Frame {
    float scale[3];
    float translate[3];
    char name[16];     /* always terminated */
    uint8_t *vertices; /* numVertices x 4 bytes, owned */
} TMD2Frame;

typedef struct TMD2Triangle {
    uint16_t vertexIndex[3];
    uint16_t texCoordIndex[3];
} TMD2Triangle;

/* In skin pixels. */
typedef struct TMD2TexCoord {
    int16_t s, t;
} TMD2TexCoord;

/* A range of key frames played in a loop. */
typedef struct TMD2Animation {
    int32_t first, last, fps;
} TMD2Animation;

typedef struct TMD2Model {
    TMD2Header header;
    TMD2Frame *frames;
    TMD2Triangle *triangles;
    TMD2TexCoord *texCoords;
    TTexture *skin;         /* drawn with; freed by o3DFreeMD2Skin, not by o3DFreeMD2 */
    float *cornerPositions; /* numTriangles x 3 corners x (x, y, z): the drawn pose */
    float *cornerNormals;   /* likewise, not renormalised */
    float *cornerTexCoords; /* numTriangles x 3 corners x (u, v) */
    float *vertexPositions; /* numVertices x 3: the interpolated pose per vertex */
    float *vertexNormals;
    int32_t currentFrame;      /* key frame interpolated from */
    int32_t nextFrame;         /* key frame interpolated to */
    float interpolation;       /* 0..1 between the two */
    float frameTime;           /* seconds spent in the current step */
    TMD2Animation *animation;  /* the range being played, owned; null before the first range */
    int32_t cachedFrame;       /* currentFrame of the last computed pose; -1 after load */
    float cachedInterpolation; /* its interpolation; -1 after load */
    float poseTimer;           /* seconds gathered towards the next pose computation */
    int32_t poseCurrent; /* 1 after a draw posed the model; clear it once a frame to re-pose */
    float alpha;         /* opacity, 1 after load */
    int32_t translucent; /* alpha < 1 */
    int32_t valid;       /* 1 after a successful load; every operation needs it */
} TMD2Model;

/* The engine's animation table has this many rows; the pose is recomputed at most this many
 * times a second (from o3DGetDeltaTime), and only when the frame or interpolation changed. */
#define O3D_MD2_ANIMATION_ROWS 18
#define O3D_MD2_POSE_RATE 60

/* Reads an MD2 file (ident "IDP2", version 8). Null for a missing or damaged file: counts that are
 * negative or absurd, sections reaching past the end of the file, triangles naming vertices or
 * texture coordinates beyond their counts, normal indices beyond the table's 162 entries. */
TMD2Model *o3DLoadMD2(const char *path);
/* Frees everything the model owns and the model; the skin is dropped, not freed (free it first
 * with o3DFreeMD2Skin). */
void o3DFreeMD2(TMD2Model *model);
/* Loads a surface texture (o3DLoadTexture) into a new record that becomes the skin (a previous
 * skin is dropped, not freed). On failure the skin is unchanged. 1 on success. */
int o3DLoadMD2Skin(TMD2Model *model, const char *path);
/* Sets the skin reference; null draws without a skin. A record handed in here is freed by
 * o3DFreeMD2Skin like a loaded one, so it must come from malloc or calloc if that is called. */
void o3DSetMD2Skin(TMD2Model *model, TTexture *skin);
/* Frees the skin's texture and its record, and drops it. */
void o3DFreeMD2Skin(TMD2Model *model);
/* Plays first..last in a loop at fps: a first outside the frames gives 0, a last outside them
 * the final frame, a last below first gives first, fps below 1 gives 10. */
void o3DSetMD2FrameRange(TMD2Model *model, int first, int last, int fps);
/* Plays a row of the animation table; rows outside 0..17 play row 0. */
void o3DSetMD2Animation(TMD2Model *model, int row);
/* Writes a table row's first frame, last frame and frames per second to the outputs given; rows
 * outside 0..17 give row 0. */
void o3DGetMD2AnimationInfo(int row, int *first, int *last, int *fps);
/* Advances the range being played by dt seconds (nothing without a range). */
void o3DAnimateMD2(TMD2Model *model, float dt);
/* Holds one frame (0..numFrames - 1): current and next frame, no interpolation. */
void o3DSetMD2Frame(TMD2Model *model, int frame);
int o3DGetMD2FrameCount(TMD2Model *model);
int o3DGetMD2CurrentFrame(TMD2Model *model);
/* The frame's name as stored, or null for a bad index. */
const char *o3DGetMD2FrameName(TMD2Model *model, int frame);
/* Clamped to 0..1; below 1 the model draws blended without depth writes. */
void o3DSetMD2Alpha(TMD2Model *model, float alpha);
/* Draws the pose as independent triangles with both sides in the current colour, modulating the
 * skin if it has one; culling, texturing, blending and depth writes end as they were. Between
 * o3DBeginShadow and o3DEndShadow it draws unskinned and unblended, so the shadow's colour and
 * flattening apply. */
void o3DDrawMD2(TMD2Model *model);
/* Holds the frame (as o3DSetMD2Frame), then draws. */
void o3DDrawMD2Frame(TMD2Model *model, int frame);
/* The index (0..161) of the MD2 normal table's vector nearest the direction (x, y, z), for tools
 * that write MD2 files; 0 for a zero vector. */
int o3DGetMD2NormalIndex(float x, float y, float z);
/* The pose's triangle edges as lines in the current colour, with texturing and lighting
 * switched off (they stay off). */
void o3DDrawMD2Wireframe(TMD2Model *model);

/* Billboards: textured rectangles in the world that turn towards the viewer, always drawn with
 * additive blending and without depth writes, so black texels leave the scene unchanged. */

typedef struct TBillboard {
    TVector3 position; /* centre */
    float width, height;
    TTexture *texture;
    TColor color;
    float alpha;
    int mode;      /* 0 faces the camera position, 1 turns about `axis`, 2 parallel to the screen */
    TVector3 axis; /* mode 1's up, as given */
    int colorKeyed;
    int textureReady; /* texture set and loaded; drawing needs it */
    int ownsTexture;  /* the texture came from a load operation and is freed with the billboard */
} TBillboard;

/* White, alpha 1, mode 0, axis (0, 1, 0), at the origin, no texture; null without memory. */
TBillboard *o3DCreateBillboard(float width, float height);
/* Frees the billboard and a texture it loaded itself; a texture handed in stays the caller's. */
void o3DFreeBillboard(TBillboard *bb);
/* Loads an image (o3DLoadImage) that the billboard owns, replacing its texture. 1 on success; on
 * failure the billboard keeps its texture. The keyed form loads with that colour key. */
int o3DLoadBillboardTexture(TBillboard *bb, const char *path);
int o3DLoadBillboardTextureKeyed(TBillboard *bb, const char *path, uint8_t r, uint8_t g, uint8_t b);
/* The caller keeps the texture; null leaves the billboard without one. */
void o3DSetBillboardTexture(TBillboard *bb, TTexture *tex);
void o3DSetBillboardPosition(TBillboard *bb, float x, float y, float z);
void o3DSetBillboardSize(TBillboard *bb, float width, float height);
void o3DSetBillboardColor(TBillboard *bb, float r, float g, float b);
/* Clamped to 0..1; not a number gives 0. */
void o3DSetBillboardAlpha(TBillboard *bb, float alpha);
/* Only 0, 1 and 2 are taken. */
void o3DSetBillboardMode(TBillboard *bb, int mode);
void o3DSetBillboardAxis(TBillboard *bb, float x, float y, float z);
/* Draws one billboard for this camera; the GL state it changes ends as it was, with depth writes
 * on. The texture is left with clamp-to-edge wrapping. */
void o3DRenderBillboard(TBillboard *bb, TCamera *cam);
/* A white camera-facing billboard drawn once with this texture. */
void o3DDrawBillboard(float x, float y, float z, float width, float height, TTexture *tex,
                      TCamera *cam);
/* A batch sets the drawing state once for many billboards; batches do not nest. */
void o3DBeginBillboards(TCamera *cam);
void o3DDrawBatchedBillboard(TBillboard *bb);
void o3DEndBillboards(void);
/* o3DRenderBillboard and o3DDrawBillboard with the batch's camera; nothing outside a batch. */
void o3DRenderBillboardBatchCamera(TBillboard *bb);
void o3DDrawBillboardBatchCamera(float x, float y, float z, float width, float height,
                                 TTexture *tex);

/* Ground shadows: a dark disc (blob) under an object, or the object's own geometry flattened onto
 * the ground along a light direction. Both lie 0.1 above groundY, blended black at `alpha`, with
 * polygon offset and without depth writes. */

/* Opens a shadow. blob 1 draws a disc of this radius under (x, z); blob 0 sets up a projected
 * shadow: the caller then draws the object as it would at the origin, and it lands flattened,
 * shifted away from the light (lightX, lightY, lightZ) by its height above the ground, each pixel
 * darkened once however often the object covers it (the stencil buffer is cleared and used). A
 * projected shadow with lightY 0 draws nothing. Every begin needs one o3DEndShadow. */
void o3DBeginShadow(float x, float y, float z, float groundY, float lightX, float lightZ,
                    float lightY, float alpha, int blob, float radius);
/* Closes the shadow: matrix and GL state end as before the begin. */
void o3DEndShadow(void);
/* (Re)builds the disc's table of (cos, sin) pairs with this many segments (3..4096). */
void o3DBuildShadowCircle(int segments);
/* The table's pairs, built with 16 segments on first use; null when memory runs out. */
const float *o3DGetShadowCircle(void);
int o3DGetShadowCircleSegments(void);
void o3DFreeShadowCircle(void);

/* ---------------------------------------------------------------------------------------------
 * 2D overlay: flat shapes in screen pixels, full-screen fades and text, drawn after o3DBegin2D.
 * ------------------------------------------------------------------------------------------- */

/* Clears the colour buffer only. */
void o3DClearScreen(float r, float g, float b);
/* The 2D drawing colour; images and fades restore it when they finish. Initially white. */
void o3DSetColor(float r, float g, float b);
void o3DDrawPoint(float x, float y);
void o3DDrawLine(float x1, float y1, float x2, float y2);
void o3DDrawRect(float x, float y, float w, float h);
void o3DFillRect(float x, float y, float w, float h);
void o3DDrawCircle(float cx, float cy, float radius, int segments);
void o3DFillCircle(float cx, float cy, float radius, int segments);
void o3DDrawTriangle(float x1, float y1, float x2, float y2, float x3, float y3);
void o3DFillTriangle(float x1, float y1, float x2, float y2, float x3, float y3);
/* `points` holds x0, y0, x1, y1, ...; the caller owns it. */
void o3DDrawPolygon(const float *points, int count);
/* The polygon must be convex; a concave one fills wrongly. */
void o3DFillPolygon(const float *points, int count);

/* Full-screen quads; t is clamped to 0..1 (NaN counts as 0). Blending stays enabled. */
void o3DDrawFadeIn(float t);      /* black, alpha 1 - t */
void o3DDrawFadeInAlias(float t); /* the same as o3DDrawFadeIn */
void o3DDrawFadeOut(float t);     /* black, alpha t */
void o3DDrawFade(float r, float g, float b, float t);
/* Timed fades driven by o3DGetDeltaTime: start one, call o3DUpdateFade and o3DDrawCurrentFade
 * every frame. A finished fade keeps drawing its final state until the next start. */
void o3DStartFadeIn(float duration);
void o3DStartFadeOut(float duration);
void o3DStartFadeToColor(float r, float g, float b, float duration);
void o3DUpdateFade(void);
void o3DDrawCurrentFade(void);
int o3DIsFading(void);
/* elapsed / duration; 1 for a duration of 0. */
float o3DGetFadeProgress(void);

/* Text: bitmap fonts (a glyph sheet and a .met metrics file, one textured quad per character)
 * and system fonts (a face installed in the system, drawn from display lists at the raster
 * position). Both kinds share one text colour and the operations that take either kind. */

/* One character's rectangle on the glyph sheet, in pixels from the sheet's top-left corner. */
typedef struct TFontGlyph {
    int x0, y0; /* top-left */
    int x1, y1; /* bottom-right */
    int width;  /* x1 - x0: the advance */
    int height; /* y1 - y0 */
    int present;
} TFontGlyph;

/* A font of either kind; the holder owns the record and the loaders zero it first. */
typedef struct TFont {
    int kind;               /* 0 = system font, 1 = bitmap font */
    uint32_t listBase;      /* system: the first of its 256 display lists */
    void *deviceContext;    /* system: the platform's measuring handle, kept until freed */
    int size;               /* system: character height in pixels */
    char faceName[256];     /* system */
    TTexture sheet;         /* bitmap: the glyph sheet */
    TFontGlyph glyphs[256]; /* bitmap: by byte value */
    int lineHeight;         /* bitmap: the tallest glyph */
    int headerNumber;       /* bitmap: line 3 of the metrics file, kept unread */
    int loaded;
} TFont;

/* Loads a bitmap font: line 1 "METRICS1", line 2 the sheet's file name (relative to the metrics
 * file's folder), line 3 a number, then "code x0 y0 x1 y1" lines. The sheet's black pixels are
 * transparent. Glyph rectangles reaching outside the sheet are dropped. 0 on failure; when only
 * the sheet fails, the glyph table stays filled. */
int o3DLoadFont(TFont *font, const char *metricsPath);
/* The same with another key colour for the sheet's background. */
int o3DLoadFontKeyed(TFont *font, const char *metricsPath, uint8_t r, uint8_t g, uint8_t b);

/* Bitmap text in the text colour at x, y (the top-left corner of the first character), one line,
 * no line breaks. A character without a glyph advances by the space's width, or 8. Texturing
 * ends off; blending ends off when the sheet is keyed. The text colour stays current. */
void o3DDrawText(TFont *font, float x, float y, const char *text);
/* Formats into 1024 bytes (longer output is cut to 1023 characters), then draws. */
void o3DDrawTextf(TFont *font, float x, float y, const char *format, ...) O3D_PRINTF_FORMAT(4, 5);
void o3DDrawTextScaled(TFont *font, float x, float y, float scale, const char *text);
/* The shadow, outline and alpha forms leave the text colour set to (r, g, b). The shadow is drawn
 * first, dx, dy away. Arguments come in the order font, position, scale, text, then thickness,
 * shadow offset, text colour, outline colour, shadow colour, alpha (each where the form has it);
 * the f forms take the format and its values last. */
void o3DDrawTextShadow(TFont *font, float x, float y, const char *text, float dx, float dy, float r,
                       float g, float b, float sr, float sg, float sb);
void o3DDrawTextShadowScaled(TFont *font, float x, float y, float scale, const char *text, float dx,
                             float dy, float r, float g, float b, float sr, float sg, float sb);
void o3DDrawTextShadowf(TFont *font, float x, float y, float dx, float dy, float r, float g,
                        float b, float sr, float sg, float sb, const char *format, ...)
    O3D_PRINTF_FORMAT(12, 13);
/* The outline is the text drawn at every whole-pixel offset up to `thickness` away in both axes,
 * in the outline colour (outR, outG, outB), under the text. */
void o3DDrawTextOutline(TFont *font, float x, float y, const char *text, int thickness, float r,
                        float g, float b, float outR, float outG, float outB);
void o3DDrawTextOutlineScaled(TFont *font, float x, float y, float scale, const char *text,
                              int thickness, float r, float g, float b, float outR, float outG,
                              float outB);
void o3DDrawTextOutlinef(TFont *font, float x, float y, int thickness, float r, float g, float b,
                         float outR, float outG, float outB, const char *format, ...)
    O3D_PRINTF_FORMAT(11, 12);
/* The outline's whole square in the shadow colour dx, dy away, then the outline, then the text. */
void o3DDrawTextOutlineShadow(TFont *font, float x, float y, const char *text, int thickness,
                              float dx, float dy, float r, float g, float b, float outR, float outG,
                              float outB, float sr, float sg, float sb);
/* Translucent text: alpha is clamped to 0..1 (not a number gives 0); blending ends off. */
void o3DDrawTextAlpha(TFont *font, float x, float y, const char *text, float alpha);
void o3DDrawTextScaledAlpha(TFont *font, float x, float y, float scale, const char *text,
                            float alpha);
void o3DDrawTextShadowAlpha(TFont *font, float x, float y, const char *text, float dx, float dy,
                            float r, float g, float b, float sr, float sg, float sb, float alpha);
void o3DDrawTextShadowScaledAlpha(TFont *font, float x, float y, float scale, const char *text,
                                  float dx, float dy, float r, float g, float b, float sr, float sg,
                                  float sb, float alpha);
/* Width in pixels at scale 1; 0 unless a loaded bitmap font. */
int o3DMeasureText(TFont *font, const char *text);
int o3DGetFontLineHeight(TFont *font);

/* Makes a system font: face name (an unknown face gets the system's choice), character height in
 * pixels, weight (400 normal, 700 bold), italic 0 or 1. Needs the window. 0 on failure. */
int o3DCreateSystemFont(TFont *font, const char *faceName, int size, int weight, int italic);
/* Frees a loaded font of either kind; an unloaded one is left alone. */
void o3DFreeFont(TFont *font);
/* The text colour of both kinds (initially white). Sets no GL state until text is drawn. */
void o3DSetTextColor(float r, float g, float b);
/* System-font text with x, y the top-left corner of the line; the text colour stays current. */
void o3DPrintSystem(TFont *font, float x, float y, const char *text);
/* Formats into 1024 bytes (longer output is cut to 1023 characters), then prints. */
void o3DPrintSystemf(TFont *font, float x, float y, const char *format, ...)
    O3D_PRINTF_FORMAT(4, 5);
/* flags: 1 centres x on the point, else 2 puts the text's right end there; 4 centres y, else 8
 * puts the line's bottom there. Draws only with a system font. */
void o3DPrintSystemAligned(TFont *font, float x, float y, int flags, const char *text);
/* The flags by name, or-ed together; with none, x, y is the line's top-left corner. */
#define O3D_ALIGN_CENTER_X 1 /* x is the middle of the text */
#define O3D_ALIGN_RIGHT 2    /* x is the right end of the text */
#define O3D_ALIGN_CENTER_Y 4 /* y is the middle of the line */
#define O3D_ALIGN_BOTTOM 8   /* y is the bottom of the line */
/* Width in pixels as the system measures it; 0 unless a loaded system font. */
int o3DMeasureSystemText(TFont *font, const char *text);
/* The size of a system font, the line height of a bitmap font; 0 unless loaded. */
int o3DGetFontHeight(TFont *font);
/* Draws or measures with a loaded font of either kind. */
void o3DPrint(TFont *font, float x, float y, const char *text);
int o3DGetTextWidth(TFont *font, const char *text);

/* ---------------------------------------------------------------------------------------------
 * Audio: whole PCM sounds held by the sound device, each played, stopped, moved, made louder or
 * softer, panned and pitched on its own; WAV files and blocks read into them.
 * ------------------------------------------------------------------------------------------- */

/* A sound effect. The holder owns the record (zeroed before the first load); the engine fills
 * it. Every sound operation does nothing on a null or unloaded record, so all of them are
 * harmless when the device could not be opened. */
typedef struct TSound {
    void *buffer;           /* the device's buffer holding the whole sample data */
    uint32_t size;          /* sample data in bytes */
    uint32_t sampleRate;    /* samples per second, from the WAV header */
    uint32_t channels;      /* from the WAV header */
    uint32_t bitsPerSample; /* from the WAV header */
    int loaded;
    char name[256]; /* the source path, or "[memory]" */
} TSound;

/* The music: one long sound with its own playing and loop flags. */
typedef struct TMusic {
    void *buffer;
    uint32_t size;
    uint32_t sampleRate;
    uint32_t channels;
    uint32_t bitsPerSample;
    int playing; /* set by o3DPlayMusic, cleared by o3DStopMusic */
    int loop;    /* the loop flag of the last o3DPlayMusic */
    int loaded;
    char name[256];
} TMusic;

/* Opens the default sound device for the window (16-bit stereo at 44100 Hz); 1 on success or if
 * already open, 0 without a device (the program runs on silent). */
int o3DSoundInit(void *window);
/* Stops every listed sound and closes the device. Free sounds and music before. */
void o3DSoundShutdown(void);
int o3DIsSoundAvailable(void);

/* Loaders of canonical RIFF WAVE data: "fmt " first at offset 12, then chunks up to "data". The
 * samples play as integer PCM of 1 or 2 channels and 8, 16, 24 or 32 bits at 100..200000 Hz,
 * whatever the format tag says. Refused (0, the record zeroed): no open device, a damaged header,
 * no "data" chunk, an empty one, or one declaring more bytes than follow it. */
int o3DLoadSoundFile(TSound *sound, const char *path);
int o3DLoadSoundFromMemory(TSound *sound, const void *bytes, int size);
/* Stops and releases a loaded sound, then zeroes the record. */
void o3DFreeSound(TSound *sound);

/* Volume 0..100 (1 dB a step, 0 silent), pan -100 (left only) .. 100 (right only), speed in
 * percent of the sound's own rate (100..100000 Hz). The engine lists up to 64 sounds started by
 * play, loop or resume for the stop, pause and resume of all; a sound ending by itself stays
 * listed until stopped or freed. */
void o3DPlaySound(TSound *sound);       /* from the start, once; restarts a playing sound */
void o3DPlaySoundLooped(TSound *sound); /* from the start, looping */
void o3DStopSound(TSound *sound);       /* stops, rewinds and unlists */
void o3DPauseSound(TSound *sound);      /* stops where it is */
void o3DResumeSound(TSound *sound);     /* plays once from where it is, even if it looped */
void o3DRewindSound(TSound *sound);     /* back to the start; a playing sound goes on playing */
void o3DSetSoundVolume(TSound *sound, int volume);
void o3DSetSoundPan(TSound *sound, int pan);
/* Nothing for percent <= 0. */
void o3DSetSoundSpeed(TSound *sound, int percent);
int o3DIsSoundPlaying(TSound *sound);
/* The play position in bytes of sample data. */
unsigned int o3DGetSoundPosition(TSound *sound);
/* Byte positions past the end are cut to the size (which is the start again). */
void o3DSetSoundPosition(TSound *sound, unsigned int position);

/* The music: a WAV file loaded with o3DLoadSoundFile's rules, the path kept as its name. */
int o3DLoadMusic(TMusic *music, const char *path);
void o3DFreeMusic(TMusic *music);
/* From the start; loops while `loop` is non-zero. Sets playing. */
void o3DPlayMusic(TMusic *music, int loop);
void o3DStopMusic(TMusic *music);  /* stops, rewinds, clears playing */
void o3DPauseMusic(TMusic *music); /* stops where it is; playing stays */
void o3DResumeMusic(TMusic *music);
void o3DSetMusicVolume(TMusic *music, int volume);
int o3DIsMusicPlaying(TMusic *music);

/* The volume of everything, 0..100 (clamped); nothing without a device. Starts at 100. */
void o3DSetMasterVolume(int volume);
int o3DGetMasterVolume(void);
/* On the listed sounds: stop and rewind all and empty the list; pause all; resume all. */
void o3DStopAllSounds(void);
void o3DPauseAllSounds(void);
void o3DResumeAllSounds(void);

/* ---------------------------------------------------------------------------------------------
 * Video: films played inside the main window through the system's media framework. The blocking
 * player shows the intro; the per-record operations below it are what it is built from.
 * ------------------------------------------------------------------------------------------- */

/* One open film; the holder owns the record, o3DOpenVideo fills it, o3DCloseVideo empties it.
 * `media` is the backend's open file (the DirectShow filter graph with its interfaces on
 * Windows, a GStreamer pipeline elsewhere). Every operation does nothing (getters return 0) for
 * a null record or one that is not open. */
typedef struct TVideo {
    void *media;
    void *owner;       /* the window the film is shown in */
    int width, height; /* native picture size in pixels (0 x 0 for a film without picture) */
    int open;
    int playing; /* running, also while paused */
    int paused;
    int looping;  /* restarts at its end */
    int finished; /* reached its end without looping, or was stopped */
    char fileName[260];
} TVideo;

/* Starts the video system once; 1 on success or when already started. */
int o3DVideoInit(void);
/* Undoes o3DVideoInit; nothing when not started. */
void o3DVideoShutdown(void);
int o3DIsVideoAvailable(void);
/* Opens a file with its picture and sound into the record (started lazily if needed). The
 * picture is placed over the owner's whole client area and starts hidden, at position 0. */
int o3DOpenVideo(TVideo *video, void *owner, const char *fileName);
/* Stops a playing film and releases everything. */
void o3DCloseVideo(TVideo *video);
/* From the current position: shows the picture and runs. */
void o3DVideoPlay(TVideo *video);
void o3DVideoPlayLooped(TVideo *video);
/* Stops, hides the picture, rewinds to 0; the record counts as finished. */
void o3DVideoStop(TVideo *video);
/* Pause only while playing, resume only while paused. */
void o3DVideoPause(TVideo *video);
void o3DVideoResume(TVideo *video);
void o3DVideoRewind(TVideo *video);
/* Positions and durations in seconds (kept in 100-ns units inside). */
void o3DVideoSeek(TVideo *video, double seconds);
double o3DVideoGetPosition(TVideo *video);
double o3DVideoGetDuration(TVideo *video);
/* Attenuation in hundredths of a decibel, clamped to -10000 (silent) .. 0 (full). */
void o3DVideoSetVolumeRaw(TVideo *video, int attenuation);
/* Percent clamped to 0..100: 0 is silent, otherwise (percent - 100) x 100 hundredths of a dB. */
void o3DVideoSetVolume(TVideo *video, int percent);
void o3DVideoMute(TVideo *video, int mute);
/* Places the picture inside the owner's client area, in pixels. */
void o3DVideoSetRect(TVideo *video, int x, int y, int width, int height);
/* The framework's own full-screen picture on or off. */
void o3DVideoSetFullscreen(TVideo *video, int fullscreen);
void o3DVideoSetVisible(TVideo *video, int visible);
/* Native size, centred in an area of that size (a larger picture is cropped, never scaled). */
void o3DVideoCenter(TVideo *video, int areaWidth, int areaHeight);
/* 1 when playing and not paused. */
int o3DVideoIsPlaying(TVideo *video);
int o3DVideoIsPaused(TVideo *video);
int o3DVideoIsFinished(TVideo *video);
/* Takes the film's pending events (its end: finished, or a rewind when looping) and, where the
 * picture is drawn through OpenGL, draws the newest frame into the back buffer: in a frame loop
 * call it after clearing the screen and before drawing anything over the film. */
void o3DVideoUpdate(TVideo *video);
/* Plays a file at native size, centred in the owner, and returns when it ends (1), when Esc, Space
 * or Enter skips it (1, if skippable), or when it cannot be opened (0). Closing the window stops
 * it and returns 0; the quit stays queued, so the next o3DProcessMessages still sees it. */
int o3DPlayVideo(void *owner, const char *fileName, int skippable);
/* The same with the picture stretched over the owner's whole client area. */
int o3DPlayVideoStretched(void *owner, const char *fileName, int skippable);

#ifdef __cplusplus
}
#endif

#endif
