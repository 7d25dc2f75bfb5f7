// The sdl backend's shared state and its translation of SDL keys into the Windows virtual-key
// codes the engine uses everywhere. As on Windows, letters, digits and punctuation follow the
// keyboard layout (the symbol a key types); keys without a symbol follow their position.
#include "platform/sdl/sdl_state.h"

#include <string.h>

SdlBackend gSdl;

// Virtual-key codes of the keys that are not letters or digits, by position.
struct KeyMapping {
    SDL_Scancode scancode;
    int code;
};

// The punctuation codes by the character the key types unshifted: plus, comma, minus and period
// are the same on every Windows layout, the others as on the US layout.
struct SymbolMapping {
    SDL_Keycode symbol;
    int code;
};

static const SymbolMapping kSymbolMappings[] = {
    {SDLK_SEMICOLON, 186},   {SDLK_EQUALS, 187},    {SDLK_PLUS, 187},         {SDLK_COMMA, 188},
    {SDLK_MINUS, 189},       {SDLK_PERIOD, 190},    {SDLK_SLASH, 191},        {SDLK_BACKQUOTE, 192},
    {SDLK_LEFTBRACKET, 219}, {SDLK_BACKSLASH, 220}, {SDLK_RIGHTBRACKET, 221}, {SDLK_QUOTE, 222},
};

static const KeyMapping kKeyMappings[] = {
    {SDL_SCANCODE_BACKSPACE, 8},      {SDL_SCANCODE_TAB, 9},
    {SDL_SCANCODE_RETURN, 13},        {SDL_SCANCODE_KP_ENTER, 13},
    {SDL_SCANCODE_PAUSE, 19},         {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_ESCAPE, 27},        {SDL_SCANCODE_SPACE, 32},
    {SDL_SCANCODE_PAGEUP, 33},        {SDL_SCANCODE_PAGEDOWN, 34},
    {SDL_SCANCODE_END, 35},           {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_LEFT, 37},          {SDL_SCANCODE_UP, 38},
    {SDL_SCANCODE_RIGHT, 39},         {SDL_SCANCODE_DOWN, 40},
    {SDL_SCANCODE_PRINTSCREEN, 44},   {SDL_SCANCODE_INSERT, 45},
    {SDL_SCANCODE_DELETE, 46},        {SDL_SCANCODE_LGUI, 91},
    {SDL_SCANCODE_RGUI, 92},          {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_KP_0, 96},          {SDL_SCANCODE_KP_1, 97},
    {SDL_SCANCODE_KP_2, 98},          {SDL_SCANCODE_KP_3, 99},
    {SDL_SCANCODE_KP_4, 100},         {SDL_SCANCODE_KP_5, 101},
    {SDL_SCANCODE_KP_6, 102},         {SDL_SCANCODE_KP_7, 103},
    {SDL_SCANCODE_KP_8, 104},         {SDL_SCANCODE_KP_9, 105},
    {SDL_SCANCODE_KP_MULTIPLY, 106},  {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109},     {SDL_SCANCODE_KP_PERIOD, 110},
    {SDL_SCANCODE_KP_DIVIDE, 111},    {SDL_SCANCODE_NUMLOCKCLEAR, 144},
    {SDL_SCANCODE_SCROLLLOCK, 145},   {SDL_SCANCODE_LSHIFT, 160},
    {SDL_SCANCODE_RSHIFT, 161},       {SDL_SCANCODE_LCTRL, 162},
    {SDL_SCANCODE_RCTRL, 163},        {SDL_SCANCODE_LALT, 164},
    {SDL_SCANCODE_RALT, 165},         {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_EQUALS, 187},       {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},        {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191},        {SDL_SCANCODE_GRAVE, 192},
    {SDL_SCANCODE_LEFTBRACKET, 219},  {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_RIGHTBRACKET, 221}, {SDL_SCANCODE_APOSTROPHE, 222},
};

// The generic Shift, Ctrl and Alt codes are down while either side is.
static const int kVkShift = 16, kVkControl = 17, kVkMenu = 18;
static const int kVkLeftShift = 160, kVkLeftControl = 162, kVkLeftMenu = 164;

int sdlEnsureVideo(void)
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return 1;
    // Our quit comes only from the window's close request, as on Windows.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return 0;
    // Without a reachable display SDL falls back to drivers that show nothing; a program would
    // then run invisibly. Those count only when asked for by name (SDL_VIDEODRIVER).
    const char *driver = SDL_GetCurrentVideoDriver();
    int invisible = driver && (strcmp(driver, "offscreen") == 0 || strcmp(driver, "dummy") == 0);
    if (invisible && !SDL_GetHint(SDL_HINT_VIDEODRIVER)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return 0;
    }
    return 1;
}

int sdlVirtualKey(SDL_Keycode symbol, SDL_Scancode scancode)
{
    if (symbol >= SDLK_a && symbol <= SDLK_z)
        return 'A' + (symbol - SDLK_a);
    if (symbol >= SDLK_0 && symbol <= SDLK_9)
        return '0' + (symbol - SDLK_0);
    // The digit row gives digits on every layout, also where it types other characters
    // unshifted (AZERTY's & é " ' ...), as Windows does.
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0)
        return '0';
    for (const SymbolMapping &mapping : kSymbolMappings)
        if (mapping.symbol == symbol)
            return mapping.code;
    // No symbol with a code of its own (function keys, arrows, the keypad, modifiers, letters
    // of other scripts, characters such as é or ù): the key's position decides.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return 112 + (scancode - SDL_SCANCODE_F1);
    for (const KeyMapping &mapping : kKeyMappings)
        if (mapping.scancode == scancode)
            return mapping.code;
    return 0;
}

void sdlSetKey(int code, int down)
{
    if (code <= 0 || code > 255)
        return;
    gSdl.keys[code] = down ? 1 : 0;
    if (code == kVkLeftShift || code == kVkLeftShift + 1)
        gSdl.keys[kVkShift] = gSdl.keys[kVkLeftShift] | gSdl.keys[kVkLeftShift + 1];
    if (code == kVkLeftControl || code == kVkLeftControl + 1)
        gSdl.keys[kVkControl] = gSdl.keys[kVkLeftControl] | gSdl.keys[kVkLeftControl + 1];
    if (code == kVkLeftMenu || code == kVkLeftMenu + 1)
        gSdl.keys[kVkMenu] = gSdl.keys[kVkLeftMenu] | gSdl.keys[kVkLeftMenu + 1];
}

void sdlScreenSize(int *width, int *height)
{
    SDL_Rect bounds = {0, 0, 0, 0};
    SDL_GetDisplayBounds(0, &bounds);
    *width = bounds.w;
    *height = bounds.h;
}
