// sound_and_video: sounds and films with Ostrel3D.
//
//   sound_and_video [--video FILE] [WAV ...]
//
//   1-9 choose a sound    P play once    L loop    S stop    Space pause/resume    A stop all
//   Up/Down volume    Left/Right pan    PgUp/PgDn speed    +/- master volume    Esc quit
//   V pause/resume the film    R rewind the film
//
// Without WAV files it makes three tones of its own (16-bit mono, 16-bit stereo, 8-bit mono)
// and starts the first one looping. With --video it first plays the film with the blocking
// player (Esc, Space or Enter skips it), then opens it again with the per-film operations and
// shows it behind the sound panel with a position bar. Once a second it prints a status line.
#include "ostrel3d.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const int kMaxSounds = 9;
static const int kKeyEscape = 27, kKeySpace = 32, kKeyPageUp = 33, kKeyPageDown = 34;
static const int kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;
static const int kKeyPlus = 187, kKeyMinus = 189; // the '=' / '+' key and the '-' key

struct Channel { // one sound and the settings the keys change
    TSound sound;
    char label[64];
    int volume, pan, speed; // 0..100, -100..100, percent
};

static Channel sChannels[kMaxSounds];
static int sCount, sSelected, sMaster = 100;

// A canonical 44-byte WAV header followed by the samples, in one malloc'd block.
static unsigned char *wavBlock(int channels, int rate, int bits, int frames, int *size)
{
    int dataBytes = frames * channels * bits / 8;
    unsigned char *wav = (unsigned char *)calloc(1, 44 + (size_t)dataBytes);
    uint32_t fields[][3] = {{4, (uint32_t)(36 + dataBytes), 4},
                            {16, 16, 4},
                            {20, 1, 2},
                            {22, (uint32_t)channels, 2},
                            {24, (uint32_t)rate, 4},
                            {28, (uint32_t)(rate * channels * bits / 8), 4},
                            {32, (uint32_t)(channels * bits / 8), 2},
                            {34, (uint32_t)bits, 2},
                            {40, (uint32_t)dataBytes, 4}};
    memcpy(wav, "RIFF", 4), memcpy(wav + 8, "WAVEfmt ", 8), memcpy(wav + 36, "data", 4);
    for (auto &f : fields)
        for (uint32_t i = 0; i < f[2]; ++i)
            wav[f[0] + i] = (unsigned char)(f[1] >> (8 * i));
    *size = 44 + dataBytes;
    return wav;
}

static void putSample(unsigned char *at, int bits, float value) // value in -1..1
{
    if (bits == 8) {
        *at = (unsigned char)(128 + value * 127);
    } else {
        int16_t s = (int16_t)(value * 32767);
        at[0] = (unsigned char)s, at[1] = (unsigned char)((uint16_t)s >> 8);
    }
}

// Tone `kind`: 0 a 440 Hz sine (a whole number of cycles, so it loops without a click), 1 a
// stereo chord with different notes left and right, 2 a falling 8-bit square blip.
static int makeTone(TSound *sound, int kind)
{
    const int channels[] = {1, 2, 1}, rates[] = {44100, 22050, 11025}, bits[] = {16, 16, 8};
    const float seconds[] = {1.0f, 2.0f, 0.3f};
    int frames = (int)(rates[kind] * seconds[kind]), size = 0;
    unsigned char *wav = wavBlock(channels[kind], rates[kind], bits[kind], frames, &size);
    int frameBytes = channels[kind] * bits[kind] / 8;
    for (int i = 0; i < frames; ++i) {
        float t = (float)i / rates[kind];
        for (int c = 0; c < channels[kind]; ++c) {
            float v = 0.5f * sinf(6.2831853f * 440.0f * t);
            if (kind == 1)
                v = 0.25f *
                    (sinf(6.2831853f * 261.6f * t) + sinf(6.2831853f * (c ? 392.0f : 329.6f) * t)) *
                    (1.0f - t / seconds[1]);
            if (kind == 2)
                v = (fmodf(t * (900.0f - 2000.0f * t), 1.0f) < 0.5f ? 0.4f : -0.4f) *
                    (1.0f - t / seconds[2]);
            putSample(wav + 44 + i * frameBytes + c * bits[kind] / 8, bits[kind], v);
        }
    }
    int ok = o3DLoadSoundFromMemory(sound, wav, size);
    free(wav);
    return ok;
}

static void addChannel(int loaded, const char *label)
{
    if (!loaded) {
        fprintf(stderr, "sound_and_video: could not load %s\n", label);
        return;
    }
    Channel *c = &sChannels[sCount++];
    snprintf(c->label, sizeof c->label, "%s", label);
    c->volume = 100, c->pan = 0, c->speed = 100;
}

static int clampInt(int v, int lo, int hi)
{
    return v < lo ? lo : v > hi ? hi : v;
}

static void handleSoundKeys(void)
{
    for (int i = 0; i < sCount; ++i)
        if (o3DKeyPressed('1' + i))
            sSelected = i;
    if (sCount == 0)
        return;
    Channel *c = &sChannels[sSelected];
    if (o3DKeyPressed('P'))
        o3DPlaySound(&c->sound);
    if (o3DKeyPressed('L'))
        o3DPlaySoundLooped(&c->sound);
    if (o3DKeyPressed('S'))
        o3DStopSound(&c->sound);
    if (o3DKeyPressed(kKeySpace)) {
        if (o3DIsSoundPlaying(&c->sound))
            o3DPauseSound(&c->sound);
        else
            o3DResumeSound(&c->sound);
    }
    if (o3DKeyPressed('A'))
        o3DStopAllSounds();
    int volume = c->volume + 5 * (o3DKeyPressed(kKeyUp) - o3DKeyPressed(kKeyDown));
    int pan = c->pan + 10 * (o3DKeyPressed(kKeyRight) - o3DKeyPressed(kKeyLeft));
    int speed = c->speed + 10 * (o3DKeyPressed(kKeyPageUp) - o3DKeyPressed(kKeyPageDown));
    c->volume = clampInt(volume, 0, 100), c->pan = clampInt(pan, -100, 100);
    c->speed = clampInt(speed, 10, 400);
    o3DSetSoundVolume(&c->sound, c->volume);
    o3DSetSoundPan(&c->sound, c->pan);
    o3DSetSoundSpeed(&c->sound, c->speed);
    sMaster = clampInt(sMaster + 5 * (o3DKeyPressed(kKeyPlus) - o3DKeyPressed(kKeyMinus)), 0, 100);
    if (sMaster != o3DGetMasterVolume())
        o3DSetMasterVolume(sMaster);
}

// A bar of `fraction` (0..1) of `width` on a dark track.
static void drawBar(float x, float y, float width, float fraction, float r, float g, float b)
{
    o3DSetColor(0.15f, 0.15f, 0.2f);
    o3DFillRect(x, y, width, 10);
    o3DSetColor(r, g, b);
    o3DFillRect(x, y, width * (fraction < 0 ? 0 : fraction > 1 ? 1 : fraction), 10);
}

static void drawPanel(TFont *font)
{
    o3DSetTextColor(1, 1, 1);
    o3DPrintSystemf(font, 20, 16, "Sound %s   master volume %d",
                    o3DIsSoundAvailable() ? "on" : "unavailable (running silent)", sMaster);
    drawBar(420, 22, 200, sMaster / 100.0f, 0.9f, 0.8f, 0.2f);
    o3DPrintSystem(font, 20, 44, "volume        pan           speed       position");
    for (int i = 0; i < sCount; ++i) {
        Channel *c = &sChannels[i];
        float y = 80.0f + 56 * i;
        int playing = o3DIsSoundPlaying(&c->sound);
        o3DSetTextColor(i == sSelected ? 1.0f : 0.7f, i == sSelected ? 0.9f : 0.7f, 0.4f);
        o3DPrintSystemf(font, 20, y, "%d  %s   volume %d  pan %d  speed %d%%  %s", i + 1, c->label,
                        c->volume, c->pan, c->speed, playing ? "[playing]" : "");
        drawBar(20, y + 26, 100, c->volume / 100.0f, 0.3f, 0.8f, 0.3f);
        o3DSetColor(0.15f, 0.15f, 0.2f);
        o3DFillRect(140, y + 26, 100, 10);
        o3DSetColor(0.3f, 0.6f, 1.0f); // the pan marker: centre is the middle of the track
        o3DFillRect(186 + c->pan * 0.46f, y + 24, 8, 14);
        drawBar(260, y + 26, 100, c->speed / 400.0f, 0.9f, 0.5f, 0.2f);
        float done = c->sound.size ? (float)o3DGetSoundPosition(&c->sound) / c->sound.size : 0;
        drawBar(380, y + 26, 240, done, playing ? 0.9f : 0.5f, 0.9f, 0.9f);
    }
    o3DSetTextColor(0.6f, 0.6f, 0.7f);
    o3DPrintSystem(font, 20, 556, "1-9 choose  P play  L loop  S stop  Space pause  A stop all");
    o3DPrintSystem(font, 20, 576,
                   "Up/Down volume  Left/Right pan  PgUp/PgDn speed  +/- master  "
                   "V/R film  Esc quit");
}

int main(int argc, char **argv)
{
    const char *film = nullptr;
    if (!o3DInit(nullptr, 800, 600, "Ostrel3D - sound and video"))
        return 1;
    int sound = o3DSoundInit(o3DGetWindowHandle());
    printf("sound_and_video: sound %s\n", sound ? "on" : "unavailable");
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--video") == 0 && i + 1 < argc)
            film = argv[++i];
        else if (sCount < kMaxSounds)
            addChannel(o3DLoadSoundFile(&sChannels[sCount].sound, argv[i]), argv[i]);
    }
    if (sCount == 0) {
        const char *labels[] = {"tone 440 Hz (16-bit mono)", "chord (16-bit stereo)",
                                "blip (8-bit mono)"};
        for (int kind = 0; kind < 3; ++kind)
            addChannel(makeTone(&sChannels[sCount].sound, kind), labels[kind]);
        if (sCount > 0)
            o3DPlaySoundLooped(&sChannels[0].sound);
    }

    TVideo video = {};
    if (film) {
        int ended = o3DPlayVideo(o3DGetWindowHandle(), film, 1);
        printf("sound_and_video: blocking film returned %d\n", ended);
        if (ended && o3DOpenVideo(&video, o3DGetWindowHandle(), film)) {
            o3DVideoCenter(&video, o3DGetScreenWidth(), o3DGetScreenHeight());
            o3DVideoPlayLooped(&video);
        }
    }
    fflush(stdout);

    TFont font = {};
    o3DCreateSystemFont(&font, "Arial", 16, 700, 0);
    uint32_t nextStatus = 0;
    while (o3DIsRunning()) {
        o3DProcessMessages();
        o3DUpdateTimer();
        o3DUpdateMouse();
        o3DUpdateKeyboard();
        handleSoundKeys();
        if (o3DKeyPressed('V') && o3DVideoIsPaused(&video))
            o3DVideoResume(&video);
        else if (o3DKeyPressed('V'))
            o3DVideoPause(&video);
        if (o3DKeyPressed('R'))
            o3DVideoRewind(&video);
        if (o3DKeyPressed(kKeyEscape))
            o3DQuit();

        o3DClearScreen(0.06f, 0.06f, 0.1f);
        o3DVideoUpdate(&video); // the film's newest frame, under the panel
        o3DBegin2D();
        drawPanel(&font);
        if (video.open) {
            double length = o3DVideoGetDuration(&video);
            o3DSetTextColor(1, 1, 1);
            o3DPrintSystemf(&font, 20, 516, "film %.1f / %.1f s", o3DVideoGetPosition(&video),
                            length);
            drawBar(200, 522, 560, length > 0 ? (float)(o3DVideoGetPosition(&video) / length) : 0,
                    0.8f, 0.3f, 0.3f);
        }
        o3DSwapBuffers();
        o3DLimitFrame(1.0f / 60); // sound mixes on its own; 60 pictures a second are plenty

        if (o3DGetElapsedMs() >= nextStatus && sCount > 0) {
            Channel *c = &sChannels[sSelected];
            printf("status: sound %d playing %d position %u volume %d pan %d speed %d master %d",
                   sSelected + 1, o3DIsSoundPlaying(&c->sound), o3DGetSoundPosition(&c->sound),
                   c->volume, c->pan, c->speed, o3DGetMasterVolume());
            if (video.open)
                printf(" film %.2f", o3DVideoGetPosition(&video));
            printf("\n");
            fflush(stdout);
            nextStatus = o3DGetElapsedMs() + 1000;
        }
    }

    o3DCloseVideo(&video);
    for (int i = 0; i < sCount; ++i)
        o3DFreeSound(&sChannels[i].sound);
    o3DSoundShutdown();
    o3DFreeFont(&font);
    o3DShutdown();
    printf("sound_and_video: done\n");
    return 0;
}
