// The sdl backend's key translation: what a key types on its layout (SDL's key symbol) decides
// for letters, digits and punctuation, as the virtual-key codes of Windows do; the key's position
// (scancode) decides for keys without such a symbol.
#include "platform/sdl/sdl_state.h"

#include <gtest/gtest.h>

TEST(SdlKeys, SymbolsDecideWherePresentAndPositionsElsewhere)
{
    const SDL_Keycode kCyrillicEf = 0x444, kUGrave = 0xF9;
    struct Case {
        SDL_Keycode symbol;
        SDL_Scancode scancode;
        int code;
        const char *what;
    } cases[] = {
        {SDLK_w, SDL_SCANCODE_W, 'W', "US letter"},
        {SDLK_z, SDL_SCANCODE_W, 'Z', "AZERTY z on the US W key"},
        {SDLK_m, SDL_SCANCODE_SEMICOLON, 'M', "AZERTY m right of L"},
        {SDLK_COMMA, SDL_SCANCODE_M, 188, "AZERTY comma on the US M key"},
        {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 186, "US semicolon"},
        {SDLK_PLUS, SDL_SCANCODE_MINUS, 187, "plus wherever it lies"},
        {SDLK_AMPERSAND, SDL_SCANCODE_1, '1', "AZERTY digit row"},
        {SDLK_7, SDL_SCANCODE_7, '7', "US digit"},
        {kUGrave, SDL_SCANCODE_APOSTROPHE, 222, "a character without a code: by position"},
        {kCyrillicEf, SDL_SCANCODE_A, 'A', "another script's letter: by position"},
        {SDLK_F5, SDL_SCANCODE_F5, 116, "function key"},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 37, "arrow"},
        {SDLK_KP_1, SDL_SCANCODE_KP_1, 97, "keypad digit stays the keypad's"},
        {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, 107, "keypad plus"},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 13, "Enter"},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 160, "left Shift"},
        {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0, "nothing at all"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(sdlVirtualKey(c.symbol, c.scancode), c.code) << c.what;
}
