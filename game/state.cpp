// The game's process-wide variables and their values at program start.
#include "game.h"

#include "platform/seam.h"

#include <string.h>

const char *const soundEffectNames[SoundEffectCount] = {
    "playerdeath.wav", "playerhurt.wav", "walk.wav", "jump.wav",
    "enemysound.wav",  "enemydeath.wav", "shot.wav", "select.wav",
};

int gameState;
int menuSelection;
int optionsReturnState;
char statusText[256];

float fov;
float drawDistance;
int shadowQuality;
int masterVolume;

TPack *packHandle;
TCamera gameCamera;
TFont smallFont, largeFont;
int smallFontLoaded, largeFontLoaded;
TTexture healthImage, titleImage;

TMusic music;
TSound soundEffects[SoundEffectCount];

TTerrain *terrainHandle;
TSkybox *skyboxHandle;
TMesh *treeMesh;
TTexture treeTexture;
float treeX, treeY, treeZ;
TMD2Model *enemyModel;
TMesh *gunMesh;
TTexture gunTexture, muzzleFlashTexture;
int levelLoaded;

PlayerState player;
EnemyState enemy;
float shotCooldown, recoil, muzzleFlashTimer, hurtFlash, playerDeathTimer;
int muzzleFlashOn, playerDead;
float frameDelta, skyAngle, healthPulsePhase, fpsValue;

// Static initialisation gives the same start as a reset, so the program needs no call.
static struct StartValues {
    StartValues()
    {
        resetGameState();
    }
} startValues;

void resetGameState(void)
{
    gameState = MainMenu;
    menuSelection = 0;
    optionsReturnState = MainMenu;
    setStatus("Wczytywanie...");
    fov = 60.0f;
    drawDistance = 1000.0f;
    shadowQuality = 1;
    masterVolume = 100;
    packHandle = nullptr;
    memset(&gameCamera, 0, sizeof gameCamera);
    memset(&smallFont, 0, sizeof smallFont);
    memset(&largeFont, 0, sizeof largeFont);
    smallFontLoaded = largeFontLoaded = 0;
    memset(&healthImage, 0, sizeof healthImage);
    memset(&titleImage, 0, sizeof titleImage);
    memset(&music, 0, sizeof music);
    memset(soundEffects, 0, sizeof soundEffects);
    terrainHandle = nullptr;
    skyboxHandle = nullptr;
    treeMesh = nullptr;
    memset(&treeTexture, 0, sizeof treeTexture);
    treeX = 55.0f, treeY = 0.0f, treeZ = 50.0f;
    enemyModel = nullptr;
    gunMesh = nullptr;
    memset(&gunTexture, 0, sizeof gunTexture);
    memset(&muzzleFlashTexture, 0, sizeof muzzleFlashTexture);
    levelLoaded = 0;
    player = PlayerState{50.0f, 50.0f, 1.8f, 0.0f, 1, 100, 100, 1, 0};
    enemy = EnemyState{30.0f, 0.0f, 30.0f, 0.0f, EnemyIdle, 0.0f, 0, 0.0f, 0.0f, 0, 100, 100, 1.0f};
    shotCooldown = recoil = muzzleFlashTimer = hurtFlash = playerDeathTimer = 0.0f;
    muzzleFlashOn = playerDead = 0;
    frameDelta = skyAngle = healthPulsePhase = fpsValue = 0.0f;
    randomState = 1;
}

void setStatus(const char *text)
{
    strncpy(statusText, text, sizeof statusText - 1);
    statusText[sizeof statusText - 1] = '\0';
}

void showMessageBox(const char *text, const char *caption, int icon)
{
    PlatformBoxIcon kind = kBoxNoIcon;
    if (icon == BoxError)
        kind = kBoxError;
    else if (icon == BoxWarning)
        kind = kBoxWarning;
    else if (icon == BoxInformation)
        kind = kBoxInformation;
    gDialogSeam.messageBox(text, caption, kind, 0);
}
