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

// ---- player (player.cpp) --------------------------------------------------------------------

// 1 when the circles at (x1, z1) and (x2, z2) overlap (centres closer than r1 + r2).
int circlesOverlap(float x1, float z1, float r1, float x2, float z2, float r2);
// Moves a body of radius r at (x, z) out of an obstacle of radius ro at (ox, oz) to the
// touching distance; a body on the very centre moves 1 along +x.
void pushOutOfCircle(float *x, float *z, float ox, float oz, float r, float ro);
void updatePlayer(float dt);
void applyPlayerPhysics(float dt);

// ---- enemy and combat (combat.cpp) ----------------------------------------------------------

// The game's own generator: state * 214013 + 2531011, output (state >> 16) & 0x7FFF; state 1 at
// program start, never reseeded, so every platform draws the same numbers.
extern unsigned int randomState;
int gameRandom(void);
// 1 with the entry distance when the ray enters the box (full edge lengths in size) at a
// distance from 0 to maxDistance; distanceOut may be null.
int rayHitsBox(const float origin[3], const float direction[3], float maxDistance,
               const float centre[3], const float size[3], float *distanceOut);
void fireWeapon(void);
void updateEnemy(float dt);
// The play frame's combat rules, in the order the frame runs them: the weapon's timers before
// the player and enemy steps, then the strike timers, the player's death, the enemy's death.
void updateWeaponTimers(float dt);
void updateStrikeTimers(float dt);
void updatePlayerDeath(float dt);
void updateEnemyDeath(float dt);

// ---- world and HUD (world_render.cpp) -------------------------------------------------------

void renderWorld(void);
void drawMuzzleFlash(void);
void drawGun(void);
void drawHud(void);
void drawCrosshair(void);

// ---- start-up, shutdown and the entry steps (startup.cpp, loop.cpp) --------------------------

int gameInit(void);
void gameShutdown(void);
// The whole program: engine start, game start-up, frame loop, shutdown. The exit code.
int gameMain(void *instance);

#endif
