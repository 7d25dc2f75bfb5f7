// The sound seam: everything the engine asks of the sound device, one table. The engine's rules
// (the playing list, volume, pan and speed conversions, WAV acceptance, null and unloaded records)
// live above it and are written once; the win32 backend fills it with DirectSound, the sdl backend
// with an SDL audio device and the engine's own mixer. Tests replace the table with a fake device.
//
// A buffer is one sound's whole sample data with DirectSound's controls. Volumes and pans are in
// hundredths of a decibel: volume -10000 (silent) .. 0 (full); pan -10000 (left only) .. 10000
// (right only), attenuating the other side only.
#ifndef O3D_AUDIO_SEAM_H
#define O3D_AUDIO_SEAM_H

#include <stdint.h>

// Integer PCM; a frame is channels x bitsPerSample / 8 bytes.
struct AudioFormat {
    uint32_t channels;
    uint32_t sampleRate;
    uint32_t bitsPerSample;
};

struct PlatformAudioSeam {
    // Opens the default playback device for the window (null allowed) with 16-bit stereo output
    // at 44100 Hz; 1 on success, and 0 leaves nothing open.
    int (*open)(void *window);
    // Closes the device and unloads what open loaded; buffers still alive then fail every call.
    void (*close)(void);
    // Sets the whole output's volume; 1 on success.
    int (*setMasterVolume)(int hundredths);
    // A stopped buffer for `bytes` bytes of samples in this format, at position 0, full volume,
    // centred, playing at the format's rate; null on failure.
    void *(*createBuffer)(const AudioFormat *format, uint32_t bytes);
    // Stops and frees the buffer; also after close.
    void (*releaseBuffer)(void *buffer);
    // Write access to the whole buffer in one or two regions (the second may be null with size
    // 0); 1 on success, and then unlock with the same regions must follow.
    int (*lock)(void *buffer, void **first, uint32_t *firstBytes, void **second,
                uint32_t *secondBytes);
    void (*unlock)(void *buffer, void *first, uint32_t firstBytes, void *second,
                   uint32_t secondBytes);
    // Plays from the current position, to the end once (then stops with the position at 0) or
    // looping; 1 on success.
    int (*play)(void *buffer, int looping);
    // Stops where it is; 1 on success.
    int (*stop)(void *buffer);
    // Moves the play position to a byte offset, taken modulo the size and rounded down to a
    // whole frame; 1 on success.
    int (*setPosition)(void *buffer, uint32_t bytes);
    // The play position in bytes; 1 on success.
    int (*getPosition)(void *buffer, uint32_t *bytes);
    // Whether the buffer is playing now; 1 on success.
    int (*getStatus)(void *buffer, int *playing);
    int (*setVolume)(void *buffer, int hundredths);
    int (*setPan)(void *buffer, int hundredths);
    // The playback rate in hertz (100..100000), resampled to the output; 1 on success.
    int (*setFrequency)(void *buffer, uint32_t hertz);
};

// The live table. It starts as the backend's; tests may overwrite single entries.
extern PlatformAudioSeam gAudioSeam;
// The backend defines its table under this name.
extern const PlatformAudioSeam kNativeAudioSeam;

// Puts the table back to the backend's own entries.
void audioResetSeam(void);

#endif
