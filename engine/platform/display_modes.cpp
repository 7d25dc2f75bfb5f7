// The resolution list: one entry per distinct size the display offers (at least 640x480 and
// 16 bits per pixel), kept in the order the system enumerates them, with one selected entry.
// Selecting only moves the selection; window.cpp applies it.
#include "ostrel3d.h"

#include "platform/seam.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const int kInitialCapacity = 64;
static const int kMinWidth = 640;
static const int kMinHeight = 480;
static const int kMinBitsPerPixel = 16;
static const float kAspectTolerance = 0.01f;
static const float kDefaultAspect = 1.333f;

struct AspectKind {
    float ratio;     // what the search by kind compares against
    float low, high; // what o3DGetAspectKind accepts
    const char *name;
};

static const AspectKind kAspectKinds[] = {
    {1.333f, 1.32f, 1.34f, "4:3"},
    {1.778f, 1.77f, 1.79f, "16:9"},
    {1.6f, 1.59f, 1.61f, "16:10"},
};
static const int kAspectKindCount = 3;

struct ModeList {
    TDisplayMode *modes;
    int count;
    int capacity;
    int selected;
};

static ModeList sList = {nullptr, 0, 0, 0};

static int findSize(int width, int height)
{
    for (int i = 0; i < sList.count; ++i)
        if (sList.modes[i].width == width && sList.modes[i].height == height)
            return i;
    return -1;
}

static int growList(void)
{
    int capacity = sList.capacity * 2;
    void *grown = realloc(sList.modes, (size_t)capacity * sizeof(TDisplayMode));
    if (!grown)
        return 0;
    sList.modes = (TDisplayMode *)grown;
    sList.capacity = capacity;
    return 1;
}

void o3DEnumDisplayModes(void)
{
    free(sList.modes);
    sList.count = 0;
    sList.capacity = 0;
    sList.modes = (TDisplayMode *)malloc(kInitialCapacity * sizeof(TDisplayMode));
    if (!sList.modes)
        return;
    sList.capacity = kInitialCapacity;

    int width, height, bits;
    for (int i = 0; gDisplaySeam.modeAt(i, &width, &height, &bits); ++i) {
        if (width < kMinWidth || height < kMinHeight || bits < kMinBitsPerPixel)
            continue;
        if (findSize(width, height) >= 0)
            continue;
        if (sList.count == sList.capacity && !growList())
            break;
        TDisplayMode *mode = &sList.modes[sList.count++];
        mode->width = width;
        mode->height = height;
        mode->aspect = (float)((double)width / (double)height);
        snprintf(mode->name, sizeof mode->name, "%dx%d", width, height);
    }

    if (gDisplaySeam.currentMode(&width, &height)) {
        int desktop = findSize(width, height);
        if (desktop >= 0)
            sList.selected = desktop;
    }
}

void o3DFreeDisplayModes(void)
{
    free(sList.modes);
    sList.modes = nullptr;
    sList.count = 0;
    sList.capacity = 0;
    sList.selected = 0;
}

int o3DGetDisplayModeCount(void)
{
    return sList.count;
}

TDisplayMode *o3DGetDisplayMode(int index)
{
    if (index < 0 || index >= sList.count)
        return nullptr;
    return &sList.modes[index];
}

TDisplayMode *o3DGetCurrentDisplayMode(void)
{
    if (!sList.modes || sList.count == 0)
        return nullptr;
    // A selection made before a rebuild may point past a shorter list.
    if (sList.selected < 0 || sList.selected >= sList.count)
        return nullptr;
    return &sList.modes[sList.selected];
}

int o3DGetResolutionIndex(void)
{
    return sList.selected;
}

int o3DSelectDisplayMode(int index)
{
    if (index < 0 || index >= sList.count)
        return 0;
    sList.selected = index;
    return 1;
}

int o3DSelectDisplayModeSize(int width, int height)
{
    int index = findSize(width, height);
    if (index < 0)
        return 0;
    sList.selected = index;
    return 1;
}

int o3DSelectDisplayModeName(const char *text)
{
    if (!text)
        return 0;
    for (int i = 0; i < sList.count; ++i) {
        if (strstr(sList.modes[i].name, text)) {
            sList.selected = i;
            return 1;
        }
    }
    return 0;
}

int o3DHasDisplayMode(int width, int height)
{
    return findSize(width, height) >= 0;
}

int o3DFindBestDisplayMode(int width, int height)
{
    int best = -1;
    long long bestSum = 0;
    for (int i = 0; i < sList.count; ++i) {
        const TDisplayMode *mode = &sList.modes[i];
        if (mode->width < width || mode->height < height)
            continue;
        long long sum = (long long)mode->width - width + ((long long)mode->height - height);
        if (best < 0 || sum < bestSum) {
            best = i;
            bestSum = sum;
        }
    }
    return best;
}

int o3DFindDisplayModesByAspect(int kind, int *indices, int capacity)
{
    if (!indices || capacity <= 0 || kind < 0 || kind >= kAspectKindCount)
        return 0;
    float ratio = kAspectKinds[kind].ratio;
    int written = 0;
    for (int i = 0; i < sList.count && written < capacity; ++i) {
        float aspect = sList.modes[i].aspect;
        if (aspect >= ratio - kAspectTolerance && aspect <= ratio + kAspectTolerance)
            indices[written++] = i;
    }
    return written;
}

float o3DGetAspectRatio(void)
{
    TDisplayMode *mode = o3DGetCurrentDisplayMode();
    return mode ? mode->aspect : kDefaultAspect;
}

int o3DGetAspectKind(void)
{
    float aspect = o3DGetAspectRatio();
    for (int kind = 0; kind < kAspectKindCount; ++kind)
        if (aspect >= kAspectKinds[kind].low && aspect <= kAspectKinds[kind].high)
            return kind;
    return -1;
}

const char *o3DGetAspectName(void)
{
    int kind = o3DGetAspectKind();
    return kind < 0 ? "Custom" : kAspectKinds[kind].name;
}

void o3DPrintDisplayModes(void)
{
    printf("Dostepne rozdzielczosci:\n");
    printf("========================\n");
    for (int i = 0; i < sList.count; ++i) {
        const TDisplayMode *mode = &sList.modes[i];
        printf("%2d. %s (%.2f:1)%s\n", i, mode->name, mode->aspect,
               i == sList.selected ? " [aktualna]" : "");
    }
}
