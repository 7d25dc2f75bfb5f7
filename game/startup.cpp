// The game's one-time start-up, before the first frame, and its shutdown after the last.
#include "game.h"

int gameInit(void)
{
    o3DInitPacks();
    packHandle = o3DOpenPack("game.dat");
    if (!packHandle) {
        setStatus("BLAD: Nie mozna otworzyc paczki game.dat!");
        showMessageBox(statusText, "Blad", BoxError);
        return 0;
    }
    o3DSetActivePack(packHandle);
    loadConfig();
    if (!o3DSoundInit(o3DGetWindowHandle()))
        showMessageBox("UWAGA: Nie mozna zainicjalizowac systemu dzwieku!\n"
                       "Gra bedzie dzialac bez dzwieku.",
                       "Ostrzezenie", BoxWarning);
    else
        o3DSetMasterVolume(masterVolume);
    if (!o3DVideoInit())
        setStatus("BLAD: Nie mozna zainicjalizowac systemu AVI!");
    if (o3DIsVideoAvailable()) {
        // A window closed during the film leaves its quit queued: taking it at once lets the
        // program end after start-up without drawing a single frame of the menu.
        if (!o3DPlayVideo(o3DGetWindowHandle(), "intro.avi", 1))
            o3DProcessMessages();
        o3DClearScreen(0.0f, 0.0f, 0.0f);
        o3DSwapBuffers();
    }
    o3DSetCamera(&gameCamera, 50.0f, 20.0f, 50.0f, 45.0f, 0.0f);
    o3DSetCameraFov(&gameCamera, fov);
    if (!o3DLoadFontFromPack(packHandle, &smallFont, "BankGothic16.met", 0, 0, 0)) {
        setStatus("BLAD: Nie mozna zaladowac czcionki BankGothic16.met z paczki!");
        return 0;
    }
    smallFontLoaded = 1;
    if (!o3DLoadFontFromPack(packHandle, &largeFont, "BankGothic24.met", 0, 0, 0)) {
        setStatus("BLAD: Nie mozna zaladowac czcionki BankGothic24.met z paczki!");
        return 0;
    }
    largeFontLoaded = 1;
    if (o3DLoadImageFromPack(packHandle, &healthImage, "health.bmp", 255, 0, 255))
        o3DSetImageAdditive(&healthImage);
    else
        healthImage.loaded = 0;
    if (o3DLoadImageFromPack(packHandle, &titleImage, "title.bmp", 255, 0, 255)) {
        o3DSetImageAdditive(&titleImage);
    } else {
        titleImage.loaded = 0;
        showMessageBox("UWAGA: Nie znaleziono title.bmp w paczce!\nUzywam tekstu jako fallback.",
                       "Info", BoxInformation);
    }
    loadSounds();
    player.posX = 50.0f;
    player.posZ = 50.0f;
    player.eyeY = 1.8f;
    player.velY = 0.0f;
    player.onGround = 1;
    o3DSetCameraPosition(&gameCamera, 50.0f, 1.8f, 50.0f);
    o3DUpdateCamera(&gameCamera);
    gameState = MainMenu;
    menuSelection = 0;
    if (o3DIsMouseCaptured())
        o3DReleaseMouse();
    setStatus("Gra zaladowana. Uzyj WASD do ruchu, Spacja - skok, M - mysz, H - pomoc.");
    return 1;
}

void gameShutdown(void)
{
    saveConfig();
    if (o3DIsMouseCaptured())
        o3DReleaseMouse();
    if (smallFontLoaded) {
        o3DFreeFont(&smallFont);
        smallFontLoaded = 0;
    }
    if (largeFontLoaded) {
        o3DFreeFont(&largeFont);
        largeFontLoaded = 0;
    }
    if (healthImage.loaded)
        o3DFreeTexture(&healthImage);
    if (titleImage.loaded)
        o3DFreeTexture(&titleImage);
    if (skyboxHandle) {
        o3DFreeSkybox(skyboxHandle);
        skyboxHandle = nullptr;
    }
    if (terrainHandle) {
        o3DFreeTerrain(terrainHandle);
        terrainHandle = nullptr;
    }
    if (treeMesh) {
        o3DFreeTexture(&treeTexture);
        o3DFreeMesh(treeMesh);
        treeMesh = nullptr;
    }
    if (gunMesh) {
        o3DFreeTexture(&gunTexture);
        o3DFreeTexture(&muzzleFlashTexture);
        o3DFreeMesh(gunMesh);
        gunMesh = nullptr;
    }
    if (enemyModel) {
        o3DFreeMD2Skin(enemyModel);
        o3DFreeMD2(enemyModel);
        enemyModel = nullptr;
    }
    if (music.loaded)
        o3DFreeMusic(&music);
    for (int i = 0; i < SoundEffectCount; ++i)
        if (soundEffects[i].loaded)
            o3DFreeSound(&soundEffects[i]);
    o3DSoundShutdown();
    o3DVideoShutdown();
    if (packHandle) {
        o3DClosePack(packHandle);
        packHandle = nullptr;
    }
    o3DCleanupTempFiles();
}
