// The whole game on damaged data: every entry of the built game.dat in turn replaced by a
// damaged copy (cut short, garbage, garbage after intact headers, empty, a bitmap of other sides
// or with a header claiming huge sides, a file of another format), a damaged intro film and a
// garbage config.ini. Each run goes through the program's entry steps with a player who starts a
// game, walks and shoots, then quits; the start-up must go on or fail exactly as the game's
// failure rules say, and never crash. The runs of one entry share a child process, so a crash or
// a hang fails that entry's test with the run named, and the other entries still run.
#include "game_gl_support.h"

#include "bmp_writer.h"
#include "wav_writer.h"

#include "video/video_seam.h"

#include <stdio.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

// ---- what a run shows -------------------------------------------------------------------------

// Assets as bits of one set.
const unsigned kSmallFont = 1u << 0;
const unsigned kLargeFont = 1u << 1;
const unsigned kHealthIcon = 1u << 2;
const unsigned kTitleImage = 1u << 3;
const unsigned kMusic = 1u << 4;
const unsigned kFirstSound = 1u << 5; // the eight effects in the game's order
const unsigned kTerrain = 1u << 13;
const unsigned kTerrainTexture = 1u << 14;
const unsigned kSky = 1u << 15;
const unsigned kTree = 1u << 16;
const unsigned kTreeTexture = 1u << 17;
const unsigned kEnemy = 1u << 18;
const unsigned kEnemySkin = 1u << 19;
const unsigned kGun = 1u << 20;
const unsigned kGunTexture = 1u << 21;
const unsigned kMuzzleFlash = 1u << 22;
const unsigned kAllAssets = (1u << 23) - 1;
const unsigned kStartUpAssets = (1u << 13) - 1;
const unsigned kLevelAssets = kAllAssets & ~kStartUpAssets;

unsigned soundAsset(SoundEffect effect)
{
    return kFirstSound << effect;
}

std::string assetNames(unsigned assets)
{
    static const char *const names[] = {"small font", "large font", "health icon", "title",
                                        "music"};
    static const char *const levelNames[] = {
        "terrain", "terrain texture", "sky", "tree",        "tree texture",
        "enemy",   "enemy skin",      "gun", "gun texture", "muzzle flash"};
    std::string text;
    for (int i = 0; i < 23; ++i) {
        if (!(assets & (1u << i)))
            continue;
        text += text.empty() ? "" : ", ";
        if (i < 5)
            text += names[i];
        else if (i < 13)
            text += soundEffectNames[i - 5];
        else
            text += levelNames[i - 13];
    }
    return text.empty() ? "none" : text;
}

unsigned presentAssets(void)
{
    unsigned a = 0;
    a |= smallFontLoaded ? kSmallFont : 0;
    a |= largeFontLoaded ? kLargeFont : 0;
    a |= healthImage.loaded ? kHealthIcon : 0;
    a |= titleImage.loaded ? kTitleImage : 0;
    a |= music.loaded ? kMusic : 0;
    for (int i = 0; i < SoundEffectCount; ++i)
        a |= soundEffects[i].loaded ? soundAsset((SoundEffect)i) : 0;
    a |= terrainHandle ? kTerrain : 0;
    a |= terrainHandle && o3DHasTerrainTexture(terrainHandle) ? kTerrainTexture : 0;
    a |= skyboxHandle && skyboxHandle->ready ? kSky : 0;
    a |= treeMesh ? kTree : 0;
    a |= treeTexture.loaded ? kTreeTexture : 0;
    a |= enemyModel ? kEnemy : 0;
    a |= enemyModel && enemyModel->skin && enemyModel->skin->loaded ? kEnemySkin : 0;
    a |= gunMesh ? kGun : 0;
    a |= gunTexture.loaded ? kGunTexture : 0;
    a |= muzzleFlashTexture.loaded ? kMuzzleFlash : 0;
    return a;
}

struct Settings {
    float fov = 60.0f, drawDistance = 1000.0f;
    int volume = 100, shadows = 1;
};

// One run as the player sees it, written out as text so that the child process can hand it over
// and a mismatch shows line by line.
struct Outcome {
    int exitCode = 0;
    std::vector<std::string> boxes; // caption, text and icon of each box in order
    int menuShown = 1;
    unsigned missingAtMenu = 0; // start-up assets not loaded when the main menu shows
    int levelTried = 1, levelLoaded = 1;
    std::string status = "Teren wczytany."; // statusText after "Nowa gra"
    unsigned missingInPlay = 0;
    std::string film = "no film system";
    Settings settings;
    std::string configAtExit = "the settings in force";
    int leftovers = 0;
    int soundBuffers = 0; // left on the sound device after the run
};

std::string escaped(const std::string &text)
{
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

std::string describe(const Outcome &o)
{
    char settings[160];
    snprintf(settings, sizeof settings, "fov %.1f, draw distance %.1f, volume %d, shadows %d",
             (double)o.settings.fov, (double)o.settings.drawDistance, o.settings.volume,
             o.settings.shadows);
    std::ostringstream text;
    text << "exit code " << o.exitCode << "\n";
    for (const std::string &box : o.boxes)
        text << "box " << escaped(box) << "\n";
    if (o.menuShown)
        text << "missing at the main menu: " << assetNames(o.missingAtMenu) << "\n";
    else
        text << "no main menu\n";
    if (o.levelTried)
        text << (o.levelLoaded ? "level loaded" : "level failed") << ", status \""
             << escaped(o.status) << "\"\n"
             << "missing in play: " << assetNames(o.missingInPlay) << "\n";
    else
        text << "no game started\n";
    text << "intro: " << o.film << "\n"
         << "settings: " << settings << "\n"
         << "config.ini at exit: " << o.configAtExit << "\n"
         << "temporary files left: " << o.leftovers << "\n"
         << "sound buffers left: " << o.soundBuffers << "\n";
    return text.str();
}

std::string boxLine(const char *caption, const char *text, PlatformBoxIcon icon)
{
    return std::string(caption) + " | " + text + " | icon " + std::to_string((int)icon);
}

// ---- the failure rules ------------------------------------------------------------------------

enum FailureKind {
    kStartUpFails, // the box with statusText, exit code 1
    kInfoBox,      // an information box at start-up, then the game goes on
    kLevelFails,   // "Nowa gra" shows the loading error box and stays in the menu
    kGoesOn,       // the game goes on without the asset
};

struct Failure {
    FailureKind kind;
    const char *message; // the box text, or the status after "Nowa gra" (null: unchanged)
    unsigned missing;
};

enum Damage {
    kFirstHalf,
    kTenBytes,
    kGarbage,
    kGarbageBody,
    kEmpty,
    kOtherSides,
    kHugeSides,
    kOtherFormat,
    kDamageCount
};

const char *const kDamageNames[kDamageCount] = {"cut to its first half",
                                                "cut to 10 bytes",
                                                "garbage of the same length",
                                                "garbage after its first 68 bytes",
                                                "empty",
                                                "a 45 x 29 bitmap",
                                                "claiming 16384 x 16384 pixels",
                                                "a file of another format"};

unsigned damages(std::initializer_list<Damage> list)
{
    unsigned set = 0;
    for (Damage d : list)
        set |= 1u << d;
    return set;
}

// The bytes kept before garbage: the longest header of the formats (MD2's).
const size_t kKeptHeaderBytes = 68;

// Every bitmap loader takes a bitmap of any sides, and any pixels after a valid header.
const unsigned kAnyPicture = damages({kOtherSides, kGarbageBody});
const unsigned kMetricsHeadKept = damages({kFirstHalf, kGarbageBody});
// Samples are not checked: garbage after the header plays as noise.
const unsigned kAnySamples = damages({kGarbageBody});

// Where an entry is used: start-up and the menus only, or in play (the level, the HUD). A run
// that damages a start-up entry starts a game only when the damaged file was taken, so that it
// is drawn; the level never reads such an entry.
enum Use { kMenus, kPlay };

// Per entry: what its failure does, the damaged versions that its reader still takes (every
// other damaged version counts as the entry failing), and where it is used.
struct EntryRule {
    const char *entry;
    Failure failure;
    unsigned stillLoads;
    Use use;
};

const char kTitleFallback[] =
    "UWAGA: Nie znaleziono title.bmp w paczce!\nUzywam tekstu jako fallback.";
const char kFont16[] = "BLAD: Nie mozna zaladowac czcionki BankGothic16.met z paczki!";
const char kFont24[] = "BLAD: Nie mozna zaladowac czcionki BankGothic24.met z paczki!";

const EntryRule kEntryRules[] = {
    // Start-up: a font is fatal, the title falls back to text, the rest is left out silently. The
    // first half of a metrics file, or its first lines before garbage, still hold its header and
    // sheet name: the font loads with fewer glyphs.
    {"BankGothic16.met", {kStartUpFails, kFont16, 0}, kMetricsHeadKept, kMenus},
    {"BankGothic16.bmp", {kStartUpFails, kFont16, 0}, kAnyPicture, kMenus},
    {"BankGothic24.met", {kStartUpFails, kFont24, 0}, kMetricsHeadKept, kMenus},
    {"BankGothic24.bmp", {kStartUpFails, kFont24, 0}, kAnyPicture, kMenus},
    {"title.bmp", {kInfoBox, kTitleFallback, kTitleImage}, kAnyPicture, kMenus},
    {"health.bmp", {kGoesOn, nullptr, kHealthIcon}, kAnyPicture, kPlay},
    // A sound whose data chunk claims more than the file holds is refused, so a cut sound is
    // silent; the warnings are replaced by start-up's closing line.
    {"day.wav", {kGoesOn, nullptr, kMusic}, kAnySamples, kMenus},
    {"playerdeath.wav", {kGoesOn, nullptr, soundAsset(SoundPlayerDeath)}, kAnySamples, kMenus},
    {"playerhurt.wav", {kGoesOn, nullptr, soundAsset(SoundPlayerHurt)}, kAnySamples, kMenus},
    {"walk.wav", {kGoesOn, nullptr, soundAsset(SoundWalk)}, kAnySamples, kMenus},
    {"jump.wav", {kGoesOn, nullptr, soundAsset(SoundJump)}, kAnySamples, kMenus},
    {"enemysound.wav", {kGoesOn, nullptr, soundAsset(SoundEnemy)}, kAnySamples, kMenus},
    {"enemydeath.wav", {kGoesOn, nullptr, soundAsset(SoundEnemyDeath)}, kAnySamples, kMenus},
    {"shot.wav", {kGoesOn, nullptr, soundAsset(SoundShot)}, kAnySamples, kMenus},
    {"select.wav", {kGoesOn, nullptr, soundAsset(SoundSelect)}, kAnySamples, kMenus},
    // The level: only the terrain is fatal to it. The terrain texture's warning is replaced by
    // the terrain's closing line. The models' face lines come last, so half a model has none.
    {"heightmap.bmp", {kLevelFails, "BLAD: Nie mozna utworzyc terenu!", 0}, kAnyPicture, kPlay},
    {"terrain.bmp", {kGoesOn, nullptr, kTerrainTexture}, kAnyPicture, kPlay},
    {"skybox_front.bmp", {kGoesOn, nullptr, kSky}, kAnyPicture, kPlay},
    {"skybox_back.bmp", {kGoesOn, nullptr, kSky}, kAnyPicture, kPlay},
    {"skybox_left.bmp", {kGoesOn, nullptr, kSky}, kAnyPicture, kPlay},
    {"skybox_right.bmp", {kGoesOn, nullptr, kSky}, kAnyPicture, kPlay},
    {"skybox_top.bmp", {kGoesOn, nullptr, kSky}, kAnyPicture, kPlay},
    {"skybox_bottom.bmp", {kGoesOn, nullptr, kSky}, kAnyPicture, kPlay},
    {"tree_winter.obj",
     {kGoesOn, "BLAD: Nie mozna zaladowac tree_winter.obj z paczki!", kTree | kTreeTexture},
     0,
     kPlay},
    {"tree_winter.bmp", {kGoesOn, nullptr, kTreeTexture}, kAnyPicture, kPlay},
    {"tris.md2", {kGoesOn, nullptr, kEnemy | kEnemySkin}, 0, kPlay},
    {"skin.bmp",
     {kGoesOn, "UWAGA: Nie mozna zaladowac skin.bmp z paczki!", kEnemySkin},
     kAnyPicture,
     kPlay},
    {"gun.obj",
     {kGoesOn, "BLAD: Nie mozna zaladowac gun.obj z paczki!", kGun | kGunTexture | kMuzzleFlash},
     0,
     kPlay},
    {"gun.bmp", {kGoesOn, nullptr, kGunTexture}, kAnyPicture, kPlay},
    {"fire.bmp",
     {kGoesOn, "UWAGA: Nie mozna zaladowac fire.bmp z paczki (efekt strzalu nieaktywny)",
      kMuzzleFlash},
     kAnyPicture,
     kPlay},
};

const EntryRule *ruleFor(const std::string &entry)
{
    for (const EntryRule &rule : kEntryRules)
        if (entry == rule.entry)
            return &rule;
    return nullptr;
}

// The outcome of a run whose damaged file was refused (the entry fails) or taken; `startsGame`
// says whether the player starts a game after the menu shows.
Outcome expectedOutcome(const Failure &failure, int refused, int startsGame)
{
    Outcome o;
    o.levelTried = startsGame;
    if (!refused)
        return o;
    switch (failure.kind) {
    case kStartUpFails:
        o.exitCode = 1;
        o.boxes = {boxLine("Blad inicjalizacji gry", failure.message, kBoxError)};
        o.menuShown = 0;
        o.levelTried = 0;
        o.configAtExit = "none";
        break;
    case kInfoBox:
        o.boxes = {boxLine("Info", failure.message, kBoxInformation)};
        break;
    case kLevelFails:
        o.boxes = {boxLine("Blad ladowania", failure.message, kBoxError)};
        o.levelLoaded = 0;
        o.status = failure.message;
        o.missingInPlay = kLevelAssets;
        break;
    case kGoesOn:
        if (failure.message)
            o.status = failure.message;
        break;
    }
    o.missingAtMenu |= failure.missing & kStartUpAssets;
    o.missingInPlay |= failure.missing;
    return o;
}

// ---- damaged files ----------------------------------------------------------------------------

bool isBitmap(const std::string &name)
{
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".bmp") == 0;
}

bool appliesTo(Damage damage, const std::string &name)
{
    return isBitmap(name) || (damage != kOtherSides && damage != kHugeSides);
}

std::string asText(const std::vector<uint8_t> &bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::string validBitmap(int width, int height)
{
    Picture picture = makePicture(width, height, [](int x, int y) {
        return Rgb{(uint8_t)(x * 5), (uint8_t)(y * 7), (uint8_t)(x * y)};
    });
    return asText(bmpBytes(picture, 24));
}

std::string shortWav(void)
{
    WavSpec fixture;
    fixture.samples = samples16({0, 1000, -1000, 0, 500, -500, 0, 0});
    return asText(makeWav(fixture));
}

// mt19937's output is the same on every platform, so each file's garbage is too.
std::string garbage(size_t size, const std::string &name)
{
    uint32_t seed = 2166136261u;
    for (char c : name)
        seed = (seed ^ (uint8_t)c) * 16777619u;
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char &c : bytes)
        c = (char)(random() >> 24);
    return bytes;
}

std::string damaged(const std::string &name, const std::string &bytes, Damage damage)
{
    switch (damage) {
    case kFirstHalf:
        return bytes.substr(0, bytes.size() / 2);
    case kTenBytes:
        return bytes.substr(0, 10);
    case kGarbage:
        return garbage(bytes.size(), name);
    case kGarbageBody: {
        const size_t kept = std::min(bytes.size(), kKeptHeaderBytes);
        return bytes.substr(0, kept) + garbage(bytes.size() - kept, name);
    }
    case kEmpty:
        return std::string();
    case kOtherSides:
        return validBitmap(45, 29);
    case kHugeSides: {
        std::vector<uint8_t> patched(bytes.begin(), bytes.end());
        if (patched.size() >= kBmpHeaderBytes) {
            putLe32(patched, kBmpWidth, 16384);
            putLe32(patched, kBmpHeight, 16384);
        }
        return asText(patched);
    }
    case kOtherFormat:
        return isBitmap(name) ? shortWav() : validBitmap(8, 8);
    case kDamageCount:
        break;
    }
    return bytes;
}

std::string readWhole(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeWhole(const fs::path &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
    out.close();
    return out.good();
}

// ---- one run ----------------------------------------------------------------------------------

struct BadCase {
    std::string label;
    std::string entry, entryBytes; // the entry of game.dat replaced, with its new bytes
    // Without a film system, as the other game tests run; or the system's own player with
    // intro.avi holding filmBytes, or with no intro.avi at all.
    enum { kNoFilmSystem, kFilmWritten, kFilmAbsent } film = kNoFilmSystem;
    std::string filmBytes;
    int withConfig = 0; // config.ini holds configBytes
    std::string configBytes;
    int startsGame = 1;
    Outcome expected;
};

// The player, at 0.1 s a frame: at the main menu "Nowa gra" (or the quit, for a run that starts no
// game); once playing, one frame walking and shooting, which is also the frame that sees the
// quit. A level that fails ends the run at the menu.
enum Phase { kAtMenu, kStartingGame, kQuitting };

const int kMostSwaps = 20;

struct Run {
    Phase phase = kAtMenu;
    int startsGame = 1;
    int swaps = 0;
    Outcome seen;
    std::string settingsInForce;
};

Run gRun;

void hold(std::initializer_list<int> keys)
{
    for (unsigned char &k : gFake.keys)
        k = 0;
    for (int key : keys)
        gFake.keys[key] = 1;
}

bool levelErrorShown(void)
{
    for (const ShownBox &box : gScript.boxes)
        if (box.caption == "Blad ladowania")
            return true;
    return false;
}

void keepSettingsInForce(void)
{
    char text[512];
    formatConfig(text, sizeof text);
    gRun.settingsInForce = text;
}

void takeLevelSnapshot(int loaded)
{
    gRun.seen.levelTried = 1;
    gRun.seen.levelLoaded = loaded;
    gRun.seen.status = statusText;
    gRun.seen.missingInPlay = kAllAssets & ~presentAssets();
    keepSettingsInForce();
}

void quitOnce(void)
{
    if (gRun.phase != kQuitting)
        o3DQuit();
    gRun.phase = kQuitting;
}

void playerStep(int)
{
    // The intro's pictures come before the fonts load; every later swap ends a frame of the game.
    if (!smallFontLoaded)
        return;
    gFake.counter += gFake.frequency / 10;
    Run &r = gRun;
    if (++r.swaps > kMostSwaps)
        quitOnce();
    switch (r.phase) {
    case kAtMenu:
        r.seen.menuShown = 1;
        r.seen.missingAtMenu = kStartUpAssets & ~presentAssets();
        keepSettingsInForce();
        if (r.startsGame) {
            hold({O3D_KEY_ENTER});
            r.phase = kStartingGame;
        } else {
            quitOnce();
        }
        break;
    case kStartingGame:
        // The loading screen's swap comes while the menu still shows.
        hold({});
        if (gameState == Playing) {
            takeLevelSnapshot(1);
            hold({O3D_KEY_W, O3D_KEY_LBUTTON});
            quitOnce();
        } else if (levelErrorShown()) {
            takeLevelSnapshot(0);
            quitOnce();
        }
        break;
    case kQuitting:
        break;
    }
}

void *recordingFilmOpen(void *owner, const char *fileName, int *width, int *height)
{
    void *media = kNativeVideoSeam.open(owner, fileName, width, height);
    gRun.seen.film = media ? "opened" : "refused";
    return media;
}

std::string withoutCarriageReturns(const std::string &text)
{
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

int temporaryFilesIn(const fs::path &folder)
{
    int count = 0;
    for (const auto &entry : fs::directory_iterator(folder))
        count += entry.path().filename().string().rfind("temp_", 0) == 0;
    return count;
}

// Runs the program once in the current folder on the case's files; returns what it showed.
std::string runCase(const BadCase &c, const fs::path &folder)
{
    std::vector<DataEntry> pack = builtGameData();
    for (DataEntry &e : pack)
        if (e.name == c.entry)
            e.bytes = c.entryBytes;
    if (!writePackFile("game.dat", pack) ||
        (c.film == BadCase::kFilmWritten && !writeWhole("intro.avi", c.filmBytes)) ||
        (c.withConfig && !writeWhole("config.ini", c.configBytes)))
        return "the case's files could not be written\n";

    installGameSeams();
    resetGameState();
    gRun = Run();
    gRun.startsGame = c.startsGame;
    gRun.seen.menuShown = 0;
    gRun.seen.levelTried = 0;
    if (c.film != BadCase::kNoFilmSystem) {
        gVideoSeam = kNativeVideoSeam;
        gVideoSeam.open = recordingFilmOpen;
        gRun.seen.film = "not opened";
    } else {
        gScript.videoStarts = 0;
    }
    // The cursor rests at the window's centre, so mouse look turns nothing by itself.
    gFake.cursorX = 400;
    gFake.cursorY = 300;
    gScript.onSwap = playerStep;

    Outcome &seen = gRun.seen;
    seen.exitCode = gameMain(nullptr);
    for (const ShownBox &box : gScript.boxes)
        seen.boxes.push_back(boxLine(box.caption.c_str(), box.text.c_str(), box.icon));
    seen.leftovers = temporaryFilesIn(folder);
    seen.soundBuffers = gFakeAudio.liveBuffers;
    seen.settings = Settings{fov, drawDistance, masterVolume, shadowQuality};
    const std::string config = withoutCarriageReturns(readWhole("config.ini"));
    if (!fs::exists("config.ini"))
        seen.configAtExit = "none";
    else if (config != gRun.settingsInForce)
        seen.configAtExit = "\"" + escaped(config) + "\"";
    if (seen.exitCode != 0)
        releaseFailedStartUp();

    platformResetSeam();
    audioResetSeam();
    videoResetSeam();
    resetGameState();
    std::error_code ignored;
    for (const auto &entry : fs::directory_iterator(folder))
        fs::remove_all(entry.path(), ignored);
    return describe(seen);
}

// ---- runs in a child process ------------------------------------------------------------------

// The child hands each run's outcome over on its standard error, which the death test gives to
// its matcher: no file name has to be agreed on, since on Windows the child is a new process that
// runs the test from its start. Every line of a record carries the tag, so that whatever else
// the libraries print stays apart.
const char kRecordTag[] = "@@ ";
const char kRecordEnd[] = "@@ end";
// A run takes well under a second natively and a few under Wine; this long without progress
// means the program hangs.
const int kHangSeconds = 120;

std::atomic<int> gCasesDone{0};

void report(const std::string &text)
{
    fwrite(text.data(), 1, text.size(), stderr);
    fflush(stderr);
}

void reportRecord(const std::string &record)
{
    std::string tagged;
    std::istringstream lines(record);
    for (std::string line; std::getline(lines, line);)
        tagged += kRecordTag + line + "\n";
    report(tagged + kRecordEnd + "\n");
}

void watchForHang(void)
{
    int last = -1, idleSeconds = 0;
    for (;;) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const int done = gCasesDone.load();
        if (done != last) {
            last = done;
            idleSeconds = 0;
        } else if (++idleSeconds >= kHangSeconds) {
            report("the run above hangs\n");
            std::_Exit(3);
        }
    }
}

// The child's whole life: every case in order in a folder of its own, each named before it runs,
// so that a crash shows where it happened.
void runCasesThenExit(const std::vector<BadCase> &cases, const std::string &group)
{
    std::thread(watchForHang).detach();
    const fs::path folder = fs::temp_directory_path() / ("game_bad_data_" + group + "_" +
                                                         std::to_string(std::random_device{}()));
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    fs::current_path(folder, ignored);
    for (const BadCase &c : cases) {
        report("running " + c.label + "\n");
        reportRecord(runCase(c, folder));
        gCasesDone.fetch_add(1);
    }
    fs::current_path(fs::temp_directory_path(), ignored);
    fs::remove_all(folder, ignored);
    std::_Exit(0);
}

std::vector<std::string> recordsIn(const std::string &output)
{
    std::vector<std::string> records;
    std::string record;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') // a text-mode stream on Windows
            line.pop_back();
        if (line == kRecordEnd) {
            records.push_back(record);
            record.clear();
        } else if (line.rfind(kRecordTag, 0) == 0) {
            record += line.substr(sizeof kRecordTag - 1) + "\n";
        }
    }
    return records;
}

// What a child left on its standard error, once it ended with the expected exit code.
struct ChildOutput {
    int ended = 0;
    std::string text;
};

// A matcher that takes any text and keeps it. The death test asks it only of a child that ended
// with the expected exit code.
class KeepsOutput : public ::testing::MatcherInterface<const std::string &> {
  public:
    explicit KeepsOutput(ChildOutput *kept) : kept_(kept)
    {
    }
    bool MatchAndExplain(const std::string &text, ::testing::MatchResultListener *) const override
    {
        kept_->ended = 1;
        kept_->text = text;
        return true;
    }
    void DescribeTo(std::ostream *out) const override
    {
        *out << "any output";
    }

  private:
    ChildOutput *kept_;
};

// Runs the cases in one child process and checks each outcome against the expected one. A child
// that crashes or hangs fails the test; its output, which the failure shows, names the run.
void runAndCheck(const std::string &group, const std::vector<BadCase> &cases)
{
    ASSERT_FALSE(cases.empty());
    ChildOutput output;
    EXPECT_EXIT(runCasesThenExit(cases, group), ::testing::ExitedWithCode(0),
                ::testing::Matcher<const std::string &>(new KeepsOutput(&output)))
        << "the game crashed or hung on damaged " << group << ": the last run named above";
    if (!output.ended)
        return; // the child crashed or hung, which the death test has reported
    const std::vector<std::string> records = recordsIn(output.text);
    if (records.size() != cases.size()) {
        ADD_FAILURE() << records.size() << " outcomes came back for " << cases.size() << " runs:\n"
                      << output.text;
        return;
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].label);
        EXPECT_EQ(records[i], describe(cases[i].expected));
    }
}

// ---- the tests --------------------------------------------------------------------------------

std::vector<std::string> packEntryNames(void)
{
    std::vector<std::string> names;
    for (const DataEntry &e : builtGameData())
        names.push_back(e.name);
    return names;
}

class DamagedEntry : public ::testing::TestWithParam<std::string> {};

TEST_P(DamagedEntry, StartsOrFailsAsTheFailureRulesSay)
{
    const std::string entry = GetParam();
    const EntryRule *rule = ruleFor(entry);
    ASSERT_NE(rule, nullptr) << "game.dat has an entry the table does not know: " << entry
                             << "; add what its failure does";
    std::string bytes;
    for (const DataEntry &e : builtGameData())
        if (e.name == entry)
            bytes = e.bytes;
    std::vector<BadCase> cases;
    for (int d = 0; d < kDamageCount; ++d) {
        const Damage damage = (Damage)d;
        if (!appliesTo(damage, entry))
            continue;
        const int refused = !(rule->stillLoads & (1u << d));
        BadCase c;
        c.label = entry + " " + kDamageNames[d];
        c.entry = entry;
        c.entryBytes = damaged(entry, bytes, damage);
        c.startsGame = rule->use == kPlay || !refused;
        c.expected = expectedOutcome(rule->failure, refused, c.startsGame);
        cases.push_back(c);
    }
    runAndCheck(entry, cases);
}

std::string testNameOf(const ::testing::TestParamInfo<std::string> &info)
{
    std::string name;
    for (char c : info.param)
        name += isalnum((unsigned char)c) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(GameDat, DamagedEntry, ::testing::ValuesIn(packEntryNames()), testNameOf);

TEST(DamagedData, EveryRowOfTheTableNamesAnEntryOfThePack)
{
    const std::vector<std::string> names = packEntryNames();
    ASSERT_FALSE(names.empty()) << "no game.dat at " << O3D_TEST_GAME_DAT;
    for (const EntryRule &rule : kEntryRules)
        EXPECT_NE(std::find(names.begin(), names.end(), rule.entry), names.end()) << rule.entry;
}

TEST(DamagedData, TheIntactDataPlaysWithEveryAsset)
{
    BadCase c;
    c.label = "intact data";
    runAndCheck("intact", {c});
}

TEST(DamagedData, ADamagedIntroIsSkippedWithoutAMessage)
{
    const std::string film = readWhole(O3D_TEST_INTRO_AVI);
    ASSERT_FALSE(film.empty()) << "no intro at " << O3D_TEST_INTRO_AVI;
    struct FilmCase {
        const char *what;
        int written;
        std::string bytes;
        const char *opened; // what the film system made of it
    };
    // The first half still holds the headers and half the pictures: it plays until they end.
    const std::vector<FilmCase> films = {
        {kDamageNames[kFirstHalf], 1, damaged("intro.avi", film, kFirstHalf), "opened"},
        {kDamageNames[kTenBytes], 1, damaged("intro.avi", film, kTenBytes), "refused"},
        {kDamageNames[kGarbage], 1, damaged("intro.avi", film, kGarbage), "refused"},
        {kDamageNames[kGarbageBody], 1, damaged("intro.avi", film, kGarbageBody), "refused"},
        {kDamageNames[kEmpty], 1, "", "refused"},
        {"a bitmap", 1, validBitmap(8, 8), "refused"},
        {"missing", 0, "", "refused"},
    };
    std::vector<BadCase> cases;
    for (const FilmCase &f : films) {
        BadCase c;
        c.label = std::string("intro.avi ") + f.what;
        c.film = f.written ? BadCase::kFilmWritten : BadCase::kFilmAbsent;
        c.filmBytes = f.bytes;
        // The film plays before the menus and the level never looks at it.
        c.startsGame = 0;
        c.expected.levelTried = 0;
        c.expected.film = f.opened;
        cases.push_back(c);
    }
    runAndCheck("intro", cases);
}

TEST(DamagedData, AGarbageSettingsFileLeavesDefaultsOrLimitsAndIsRewrittenWhole)
{
    struct ConfigCase {
        const char *what;
        std::string bytes;
        Settings settings;
    };
    const std::vector<ConfigCase> configs = {
        {"garbage", garbage(600, "config.ini"), Settings()},
        {"empty", "", Settings()},
        {"a bitmap", validBitmap(16, 16), Settings()},
        {"one line of 100000 nines after FOV=", "FOV=" + std::string(100000, '9'),
         Settings{120.0f, 1000.0f, 100, 1}},
        {"numbers beyond every type",
         "FOV=1e999\nDrawDistance=-1e999\nMasterVolume=99999999999999999999\n"
         "ShadowQuality=-99999999999999999999\nResolutionIndex=2147483648\nFullscreen=\n",
         Settings{120.0f, 50.0f, 100, -2147483647 - 1}},
        {"no line ends, only carriage returns", "FOV=90\rMasterVolume=20\rShadowQuality=0\r",
         Settings{90.0f, 1000.0f, 100, 1}},
    };
    std::vector<BadCase> cases;
    for (const ConfigCase &config : configs) {
        BadCase c;
        c.label = std::string("config.ini ") + config.what;
        c.withConfig = 1;
        c.configBytes = config.bytes;
        c.expected.settings = config.settings;
        cases.push_back(c);
    }
    runAndCheck("config", cases);
}

} // namespace
