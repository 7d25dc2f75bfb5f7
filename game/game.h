// The game's process-wide state and its functions, one instance of each. The program (main) and
// the tests link the same library; nothing here is tied to one platform.
#ifndef GAME_GAME_H
#define GAME_GAME_H

#include "ostrel3d.h"

enum GameState { MainMenu = 0, Paused = 1, Playing = 2, Options = 3 };

enum EnemyAIState { EnemyIdle = 0, EnemyChase = 1, EnemyAttack = 2, EnemyPain = 3, EnemyDead = 4 };

struct PlayerState {
    float posX, posZ;
    float eyeY;
    float velY;
    int onGround;
    int health;
    int maxHealth;
    int mouseLook;
    int footstepsPlaying;
};

struct EnemyState {
    float posX, posY, posZ;
    float yaw;
    int aiState;
    float painTimer;
    int deathPoseHeld;
    float attackCooldown;
    float deathTimer;
    int removed;
    int health;
    int maxHealth;
    float alpha;
};

// Sound effects in the order every loop over them uses.
enum SoundEffect {
    SoundPlayerDeath,
    SoundPlayerHurt,
    SoundWalk,
    SoundJump,
    SoundEnemy,
    SoundEnemyDeath,
    SoundShot,
    SoundSelect,
    SoundEffectCount
};
extern const char *const soundEffectNames[SoundEffectCount];

// ---- state (state.cpp) ---------------------------------------------------------------------

extern int gameState;
extern int menuSelection;
extern int optionsReturnState;
extern char statusText[256];

// Settings; ranges in config.cpp.
extern float fov;
extern float drawDistance;
extern int shadowQuality;
extern int masterVolume;

extern TPack *packHandle;
extern TCamera gameCamera;
extern TFont smallFont, largeFont;
extern int smallFontLoaded, largeFontLoaded;
extern TTexture healthImage, titleImage;

extern TMusic music;
extern TSound soundEffects[SoundEffectCount];

extern TTerrain *terrainHandle;
extern TSkybox *skyboxHandle;
extern TMesh *treeMesh;
extern TTexture treeTexture;
extern float treeX, treeY, treeZ;
extern TMD2Model *enemyModel;
extern TMesh *gunMesh;
extern TTexture gunTexture, muzzleFlashTexture;
extern int levelLoaded;

extern PlayerState player;
extern EnemyState enemy;
extern float shotCooldown, recoil, muzzleFlashTimer, hurtFlash, playerDeathTimer;
extern int muzzleFlashOn, playerDead;
extern float frameDelta, skyAngle, healthPulsePhase, fpsValue;

// Puts every variable back to its value at program start (tests run many games in one process).
void resetGameState(void);
// Sets statusText to the text (at most 255 characters kept).
void setStatus(const char *text);

// ---- message boxes (state.cpp) --------------------------------------------------------------

enum BoxIcon { BoxError = 0x10, BoxWarning = 0x30, BoxInformation = 0x40 };
// A modal box with an OK button and no owner window.
void showMessageBox(const char *text, const char *caption, int icon);

// ---- settings file (config.cpp) -------------------------------------------------------------

void loadConfig(void);
void saveConfig(void);
// The settings file's lines for the current settings, as saveConfig writes them (with "\n"; the
// file is written in text mode).
void formatConfig(char *out, int size);

// ---- menus (menus.cpp) ----------------------------------------------------------------------

void updateMenus(void);
void drawMenus(void);

// ---- level and sounds (level.cpp) ------------------------------------------------------------

void loadSounds(void);
void applyVolume(void);
// The volume curve: 100 - (100 - v)^3 / 10000, truncated, limited to 0..100.
int volumeCurve(int volume);
int loadLevel(void);
int loadTerrain(void);
int loadSkybox(void);
void loadTrees(void);
void loadEnemy(void);
void loadGun(void);

// ---- play (play.cpp) ------------------------------------------------------------------------

void startNewGame(void);
void gameUpdate(void);
void gameRender(void);

// ---- start-up, shutdown and the entry steps (startup.cpp, loop.cpp) --------------------------

int gameInit(void);
void gameShutdown(void);
// The whole program: engine start, game start-up, frame loop, shutdown. The exit code.
int gameMain(void *instance);

#endif
