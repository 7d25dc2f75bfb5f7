// The sounds, synthesised: eight effects and the music loop, all 16-bit mono PCM at 22050 Hz.
// Noise comes from the seeded generator, so every run writes the same samples.
#include "assetgen.h"

#include "sound_synth.h"

#include <math.h>

static const float kPi = 3.14159265f;

// ---- building blocks ---------------------------------------------------------------------------

float Synth::noise()
{
    return random.unit() * 2.0f - 1.0f;
}

float OnePole::lowPass(float x, float cutoffHz)
{
    const float a = 1.0f - expf(-2.0f * kPi * cutoffHz / kSoundRate);
    state += a * (x - state);
    return state;
}

float BandPass::run(float x, float centreHz, float damping)
{
    const float f = 2.0f * sinf(kPi * fminf(centreHz, kSoundRate * 0.24f) / kSoundRate);
    low += f * band;
    const float high = x - low - damping * band;
    band += f * high;
    return band;
}

static float envelope(float t, float attack, float decay)
{
    if (t < 0)
        return 0;
    return (t < attack ? t / attack : 1.0f) * expf(-fmaxf(t - attack, 0.0f) / decay);
}

Bytes wavBytes(const std::vector<float> &samples)
{
    const uint32_t dataBytes = (uint32_t)samples.size() * 2;
    Bytes b(44 + (size_t)dataBytes);
    size_t at = 0;
    auto tag = [&](const char *t) {
        for (int i = 0; i < 4; ++i)
            b[at++] = (uint8_t)t[i];
    };
    auto u16 = [&](uint32_t v) {
        b[at++] = (uint8_t)v;
        b[at++] = (uint8_t)(v >> 8);
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    tag("RIFF");
    u32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(kSoundRate);
    u32(kSoundRate * 2);
    u16(2);
    u16(16);
    tag("data");
    u32(dataBytes);
    for (float s : samples)
        u16((uint16_t)(int16_t)lrintf(clampf(s, -1.0f, 1.0f) * 32767.0f));
    return b;
}

// Scales to the given peak; a silent buffer stays silent.
static void normalise(std::vector<float> *s, float peak)
{
    float top = 0;
    for (float v : *s)
        top = fmaxf(top, fabsf(v));
    if (top > 0)
        for (float &v : *s)
            v *= peak / top;
}

static std::vector<float> buffer(float seconds)
{
    return std::vector<float>((size_t)(seconds * kSoundRate), 0.0f);
}

// A voice-like buzz: a sawtooth at `pitch(t)` through two formant filters.
template <typename Pitch>
static std::vector<float> voice(Synth *s, float seconds, Pitch pitch, float f1, float f2,
                                float attack, float decay, float rough)
{
    std::vector<float> out = buffer(seconds);
    BandPass a, b;
    OnePole breath;
    float phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = (float)i / kSoundRate;
        phase += pitch(t) * (1.0f + rough * s->noise() * 0.3f) / kSoundRate;
        phase -= floorf(phase);
        const float saw = phase * 2.0f - 1.0f + breath.lowPass(s->noise(), 3000) * 0.4f;
        out[i] = (a.run(saw, f1, 0.25f) + 0.6f * b.run(saw, f2, 0.3f)) * envelope(t, attack, decay);
    }
    return out;
}

// A soft body falling into snow.
static void addThud(Synth *s, std::vector<float> *out, float at, float gain)
{
    OnePole lp;
    for (size_t i = (size_t)(at * kSoundRate); i < out->size(); ++i) {
        const float t = (float)i / kSoundRate - at;
        const float boom = sinf(2 * kPi * (55.0f - 20.0f * t) * t) * envelope(t, 0.004f, 0.12f);
        (*out)[i] +=
            gain * (boom + 0.5f * lp.lowPass(s->noise(), 500) * envelope(t, 0.002f, 0.08f));
    }
}

// ---- the effects -------------------------------------------------------------------------------

static std::vector<float> shot(Synth *s)
{
    std::vector<float> out = buffer(0.45f);
    OnePole crack, tail;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = (float)i / kSoundRate;
        const float n = s->noise();
        const float thump = sinf(2 * kPi * (40.0f + 110.0f * expf(-t / 0.03f)) * t);
        out[i] = crack.lowPass(n, 6000) * envelope(t, 0.0005f, 0.025f) +
                 0.9f * thump * envelope(t, 0.001f, 0.07f) +
                 0.6f * tail.lowPass(n, 900) * envelope(t, 0.01f, 0.12f);
    }
    normalise(&out, 0.9f);
    return out;
}

static std::vector<float> footsteps(Synth *s)
{
    // Two steps in a 0.5 s loop: packed snow crunching in short grains, silent at both ends.
    std::vector<float> out = buffer(0.5f);
    for (float step : {0.02f, 0.27f}) {
        OnePole body;
        BandPass crunch;
        for (size_t i = (size_t)(step * kSoundRate); i < out.size(); ++i) {
            const float t = (float)i / kSoundRate - step;
            if (t > 0.2f)
                break;
            const float grain = s->random.draw() < 5000 ? s->noise() * 3.0f : s->noise() * 0.3f;
            out[i] += crunch.run(grain, 2500, 0.6f) * envelope(t, 0.012f, 0.05f) +
                      0.6f * body.lowPass(s->noise(), 400) * envelope(t, 0.005f, 0.04f);
        }
    }
    normalise(&out, 0.6f);
    return out;
}

static std::vector<float> jump(Synth *s)
{
    std::vector<float> out = voice(
        s, 0.35f, [](float t) { return 170.0f + 80.0f * t; }, 650, 1100, 0.02f, 0.08f, 0.2f);
    OnePole whoosh;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = (float)i / kSoundRate;
        out[i] += 0.5f * whoosh.lowPass(s->noise(), 1200 + 3000 * t) * envelope(t, 0.05f, 0.1f);
    }
    normalise(&out, 0.7f);
    return out;
}

static std::vector<float> growl(Synth *s)
{
    std::vector<float> out = voice(
        s, 1.3f, [](float t) { return 70.0f + 12.0f * sinf(t * 9.0f); }, 320, 700, 0.15f, 0.6f,
        1.0f);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = (float)i / kSoundRate;
        out[i] *= 0.7f + 0.3f * sinf(2 * kPi * 17.0f * t); // the rattle in its throat
    }
    normalise(&out, 0.85f);
    return out;
}

static std::vector<float> enemyDeath(Synth *s)
{
    std::vector<float> out = voice(
        s, 2.2f, [](float t) { return 130.0f * expf(-t * 0.8f) + 35.0f; }, 380, 800, 0.05f, 0.55f,
        1.2f);
    addThud(s, &out, 1.35f, 1.2f);
    normalise(&out, 0.9f);
    return out;
}

static std::vector<float> playerHurt(Synth *s)
{
    std::vector<float> out = voice(
        s, 0.4f, [](float t) { return 150.0f - 60.0f * t; }, 700, 1200, 0.01f, 0.09f, 0.3f);
    normalise(&out, 0.8f);
    return out;
}

static std::vector<float> playerDeath(Synth *s)
{
    std::vector<float> out = voice(
        s, 1.6f, [](float t) { return 135.0f - 45.0f * t; }, 600, 1000, 0.03f, 0.4f, 0.4f);
    addThud(s, &out, 0.9f, 0.9f);
    normalise(&out, 0.85f);
    return out;
}

static std::vector<float> select(Synth *)
{
    std::vector<float> out = buffer(0.09f);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = (float)i / kSoundRate;
        out[i] = (sinf(2 * kPi * 1320 * t) + 0.3f * sinf(2 * kPi * 2640 * t)) *
                 envelope(t, 0.002f, 0.018f);
    }
    normalise(&out, 0.5f);
    return out;
}

// ---- music -------------------------------------------------------------------------------------

static float noteHz(int midi)
{
    return 440.0f * powf(2.0f, (float)(midi - 69) / 12.0f);
}

// Adds a note into a looping buffer: whatever rings past the end continues at the start, so the
// loop has no seam.
static void addNote(std::vector<float> *loop, float start, float length, int midi, float gain,
                    bool bell)
{
    const size_t n = loop->size();
    const float hz = noteHz(midi);
    const float tail = bell ? 3.0f : 2.0f;
    const size_t count = (size_t)((length + tail) * kSoundRate);
    const size_t first = (size_t)(start * kSoundRate);
    for (size_t k = 0; k < count && k < n; ++k) {
        const float t = (float)k / kSoundRate;
        float v;
        if (bell) {
            v = (sinf(2 * kPi * hz * t) + 0.4f * sinf(2 * kPi * hz * 2.01f * t) +
                 0.15f * sinf(2 * kPi * hz * 3.0f * t)) *
                envelope(t, 0.004f, 0.9f);
        } else {
            // A pad: two detuned sines swelling in and fading after the note.
            const float swell = fminf(t / 0.8f, 1.0f);
            const float release = t < length ? 1.0f : expf(-(t - length) / 0.5f);
            v = (sinf(2 * kPi * hz * t) + sinf(2 * kPi * hz * 1.003f * t + 1.0f) +
                 0.25f * sinf(2 * kPi * hz * 2.0f * t)) *
                swell * release * 0.5f;
        }
        (*loop)[(first + k) % n] += v * gain;
    }
}

static std::vector<float> music(Synth *s)
{
    // Eight bars of 3 s (80 beats a minute): A minor, F, C, G, twice, under a slow bell melody
    // from the A minor pentatonic scale.
    const float bar = 3.0f, beat = 0.75f;
    std::vector<float> loop = buffer(8 * bar);
    static const int kChords[4][3] = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62}};
    static const int kBass[4] = {45, 41, 48, 43};
    static const int kScale[6] = {69, 72, 74, 76, 79, 81};
    for (int b = 0; b < 8; ++b) {
        const int chord = b % 4;
        for (int k = 0; k < 3; ++k)
            addNote(&loop, b * bar, bar, kChords[chord][k], 0.22f, false);
        addNote(&loop, b * bar, bar, kBass[chord], 0.3f, false);
        for (int q = 0; q < 4; ++q) {
            if (s->random.draw() % 3 == 0 && !(q == 0 && b % 2 == 1))
                continue;
            int degree = s->random.draw() % 6;
            if (q == 0)
                degree = chord == 1 ? 0 : (chord == 2 ? 3 : 2); // a chord tone on the downbeat
            addNote(&loop, b * bar + q * beat, beat, kScale[degree], 0.18f, true);
        }
    }
    normalise(&loop, 0.55f);
    return loop;
}

void makeSounds(AssetList *out)
{
    Synth s = {{2026u}};
    struct Entry {
        const char *name;
        std::vector<float> (*make)(Synth *);
    };
    static const Entry kSounds[] = {
        {"shot.wav", shot},
        {"walk.wav", footsteps},
        {"jump.wav", jump},
        {"enemysound.wav", growl},
        {"enemydeath.wav", enemyDeath},
        {"playerhurt.wav", playerHurt},
        {"playerdeath.wav", playerDeath},
        {"select.wav", select},
        {"day.wav", music},
    };
    for (const Entry &e : kSounds)
        out->push_back({e.name, wavBytes(e.make(&s))});
}
