// The main menu, the pause menu and the options screen: keyboard handling and drawing.
#include "game.h"

#include <stdio.h>

static const int kOptionRows = 7;
static const int kBackRow = 6;

static void click(void)
{
    if (soundEffects[SoundSelect].loaded)
        o3DPlaySound(&soundEffects[SoundSelect]);
}

static void startMusic(void)
{
    if (music.loaded)
        o3DPlayMusic(&music, 1);
}

static void newGame(void)
{
    click();
    if (!loadLevel()) {
        showMessageBox(statusText, "Blad ladowania", BoxError);
        return;
    }
    startNewGame();
    startMusic();
    if (player.mouseLook)
        o3DCaptureMouse();
    gameState = Playing;
    menuSelection = 0;
}

static void enterOptions(int from)
{
    click();
    optionsReturnState = from;
    gameState = Options;
    menuSelection = 0;
}

static void quitGame(void)
{
    click();
    if (music.loaded)
        o3DStopMusic(&music);
    if (soundEffects[SoundWalk].loaded)
        o3DStopSound(&soundEffects[SoundWalk]);
    o3DQuit();
}

static void leaveOptions(void)
{
    saveConfig();
    gameState = optionsReturnState;
    menuSelection = optionsReturnState == Paused ? 2 : 1;
}

static void moveSelection(int count)
{
    if (o3DKeyPressed(O3D_KEY_UP)) {
        if (--menuSelection < 0)
            menuSelection = count - 1;
        click();
    }
    if (o3DKeyPressed(O3D_KEY_DOWN)) {
        if (++menuSelection >= count)
            menuSelection = 0;
        click();
    }
}

static void updateMainMenu(void)
{
    moveSelection(3);
    if (!o3DKeyPressed(O3D_KEY_ENTER))
        return;
    switch (menuSelection) {
    case 0:
        newGame();
        break;
    case 1:
        enterOptions(MainMenu);
        break;
    case 2:
        quitGame();
        break;
    }
}

static void updatePauseMenu(void)
{
    moveSelection(4);
    if (!o3DKeyPressed(O3D_KEY_ENTER))
        return;
    switch (menuSelection) {
    case 0:
        click();
        startMusic();
        if (player.mouseLook)
            o3DCaptureMouse();
        gameState = Playing;
        menuSelection = 0;
        break;
    case 1:
        newGame();
        break;
    case 2:
        enterOptions(Paused);
        break;
    case 3:
        quitGame();
        break;
    }
}

static float lowered(float value, float high)
{
    return value > high ? high : value;
}

static float raised(float value, float low)
{
    return value < low ? low : value;
}

static void changeOptionRow(void)
{
    const float dt = (float)o3DGetDeltaTime();
    const int heldLeft = o3DKeyDown(O3D_KEY_LEFT), heldRight = o3DKeyDown(O3D_KEY_RIGHT);
    const int left = o3DKeyPressed(O3D_KEY_LEFT), right = o3DKeyPressed(O3D_KEY_RIGHT);
    switch (menuSelection) {
    case 0: {
        // An empty mode list has nothing to cycle through.
        const int count = o3DGetDisplayModeCount();
        if (count <= 0 || !(left || right))
            break;
        const int current = o3DGetResolutionIndex();
        o3DSetResolution(left ? (current + count - 1) % count : (current + 1) % count);
        click();
        break;
    }
    case 1:
        if (left || right) {
            o3DToggleFullscreen();
            click();
        }
        break;
    case 2:
        if (heldLeft || heldRight) {
            fov = heldLeft ? raised(fov - 60.0f * dt, 45.0f) : lowered(fov + 60.0f * dt, 120.0f);
            o3DSetCameraFov(&gameCamera, fov);
        }
        if (left || right) {
            fov = left ? raised(fov - 5.0f, 45.0f) : lowered(fov + 5.0f, 120.0f);
            o3DSetCameraFov(&gameCamera, fov);
            click();
        }
        break;
    case 3:
        if (heldLeft || heldRight)
            drawDistance = heldLeft ? raised(drawDistance - 120.0f * dt, 50.0f)
                                    : lowered(drawDistance + 120.0f * dt, 1000.0f);
        if (left || right) {
            drawDistance =
                left ? raised(drawDistance - 10.0f, 50.0f) : lowered(drawDistance + 10.0f, 1000.0f);
            click();
        }
        break;
    case 4:
        if (left || right) {
            shadowQuality = shadowQuality == 0 ? 1 : 0;
            click();
        }
        break;
    case 5:
        if (heldLeft || heldRight) {
            masterVolume = heldLeft ? (masterVolume - 2 < 0 ? 0 : masterVolume - 2)
                                    : (masterVolume + 2 > 100 ? 100 : masterVolume + 2);
            applyVolume();
        }
        if (left || right) {
            masterVolume = left ? (masterVolume - 5 < 0 ? 0 : masterVolume - 5)
                                : (masterVolume + 5 > 100 ? 100 : masterVolume + 5);
            applyVolume();
            click();
        }
        break;
    }
}

static void updateOptions(void)
{
    moveSelection(kOptionRows);
    changeOptionRow();
    if (o3DKeyPressed(O3D_KEY_ENTER) && menuSelection == kBackRow) {
        click();
        leaveOptions();
    }
    if (o3DKeyPressed(O3D_KEY_ESCAPE))
        leaveOptions();
}

void updateMenus(void)
{
    if (gameState == MainMenu)
        updateMainMenu();
    else if (gameState == Paused)
        updatePauseMenu();
    else if (gameState == Options)
        updateOptions();
}

// ---- drawing ---------------------------------------------------------------------------------

struct MenuColour {
    float r, g, b;
};
static const MenuColour kHighlight = {1.0f, 1.0f, 0.0f};
static const MenuColour kNormal = {0.8f, 0.8f, 0.8f};
static const MenuColour kValue = {0.0f, 1.0f, 0.5f};
static const MenuColour kTitle = {0.0f, 0.8f, 1.0f};
static const MenuColour kFrame = {0.3f, 0.3f, 0.3f};
static const MenuColour kHint = {0.5f, 0.5f, 0.5f};

static void text(float x, float y, const char *s, float offset, MenuColour c)
{
    o3DDrawTextShadow(&smallFont, x, y, s, offset, offset, c.r, c.g, c.b, 0.0f, 0.0f, 0.0f);
}

static void bar(float x, float y, float fill, int highlighted)
{
    o3DSetColor(kFrame.r, kFrame.g, kFrame.b);
    o3DDrawRect(x, y + 5.0f, 150.0f, 10.0f);
    const MenuColour c = highlighted ? kHighlight : kValue;
    o3DSetColor(c.r, c.g, c.b);
    o3DFillRect(x, y + 5.0f, fill, 10.0f);
}

static void drawOptions(float w, float h)
{
    static const char *const labels[kOptionRows] = {
        "Rozdzielczosc:", "Tryb:",     "Pole widzenia:", "Odleglosc rysowania:",
        "Jakosc cienia:", "Glosnosc:", "Powrot"};
    for (int i = 0; i < kOptionRows; ++i) {
        const float y = h / 2.0f - 125.0f + 50.0f * (float)i;
        const float x = i == 3 ? w / 2.0f - 295.0f : w / 2.0f - 200.0f;
        const int on = menuSelection == i;
        text(x, y, labels[i], 2.0f, on ? kHighlight : kNormal);
        char value[64];
        value[0] = '\0';
        const float vx = w / 2.0f + 50.0f;
        switch (i) {
        case 0: {
            TDisplayMode *mode = o3DGetCurrentDisplayMode();
            if (mode) {
                snprintf(value, sizeof value, "%s", mode->name);
                text(vx, y, value, 2.0f, kValue);
            }
            break;
        }
        case 1:
            text(vx, y, o3DIsFullscreen() ? "Pelny ekran" : "Okienkowy", 2.0f, kValue);
            break;
        case 2:
            snprintf(value, sizeof value, "%.0f", (double)fov);
            text(vx, y, value, 2.0f, kValue);
            bar(w / 2.0f + 100.0f, y, (fov - 45.0f) / 75.0f * 150.0f, on);
            break;
        case 3:
            snprintf(value, sizeof value, "%.0f", (double)drawDistance);
            text(vx, y, value, 2.0f, kValue);
            bar(w / 2.0f + 120.0f, y, (drawDistance - 50.0f) / 950.0f * 150.0f, on);
            break;
        case 4:
            text(vx, y, shadowQuality ? "Wysoka" : "Niska", 2.0f, kValue);
            break;
        case 5:
            snprintf(value, sizeof value, "%d", masterVolume);
            text(vx, y, value, 2.0f, kValue);
            bar(w / 2.0f + 110.0f, y, (float)masterVolume / 100.0f * 150.0f, on);
            break;
        }
    }
    text(w / 2.0f - 240.0f, h - 50.0f, "Strzalki: Wybor/Zmiana   Enter/ESC: Powrot", 2.0f, kHint);
}

static void drawItems(float w, float h, const char *const *items, int count, float top)
{
    for (int i = 0; i < count; ++i)
        text(w / 2.0f - 70.0f, h / 2.0f - top + 50.0f * (float)i, items[i], 2.0f,
             menuSelection == i ? kHighlight : kNormal);
    text(w / 2.0f - 200.0f, h - 50.0f, "Strzalki: Wybor   Enter: Akceptuj", 2.0f, kHint);
}

void drawMenus(void)
{
    if (!smallFontLoaded)
        return;
    const float w = (float)o3DGetScreenWidth(), h = (float)o3DGetScreenHeight();
    o3DClearScreen(0.1f, 0.1f, 0.15f);
    if (titleImage.loaded)
        o3DDrawImage(&titleImage, w / 2.0f - (float)(titleImage.width / 2), 25.0f);
    else
        text(w / 2.0f - 80.0f, 100.0f, "OSTREL3D", 3.0f, kTitle);
    static const char *const mainItems[] = {"Nowa gra", "Opcje", "Wyjscie"};
    static const char *const pauseItems[] = {"Wznow", "Nowa gra", "Opcje", "Wyjscie"};
    if (gameState == Options)
        drawOptions(w, h);
    else if (gameState == MainMenu)
        drawItems(w, h, mainItems, 3, 50.0f);
    else if (gameState == Paused)
        drawItems(w, h, pauseItems, 4, 75.0f);
}
