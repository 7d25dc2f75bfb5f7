// The win32 backend of the sound seam: DirectSound 8, loaded at run time from "dsound.dll" so the
// program starts (and runs silent) where it is missing. The device is opened for the main window
// at priority level with a 16-bit stereo 44100 Hz primary buffer; each sound is one secondary
// buffer with frequency, pan and volume control holding its whole sample data.
#include "audio/audio_seam.h"

#include <windows.h>
#include <mmreg.h>
#include <dsound.h>
#include <stdlib.h>
#include <string.h>

typedef HRESULT(WINAPI *DirectSoundCreate8Function)(LPCGUID, LPDIRECTSOUND8 *, LPUNKNOWN);

// IID_IDirectSoundBuffer8, spelt out here so no DirectX import library is needed.
static const GUID kBuffer8Interface = {
    0x6825A449, 0x7524, 0x4D82, {0x92, 0x0F, 0x50, 0xE3, 0x6A, 0xB3, 0xAB, 0x1E}};
static const WORD kOutputChannels = 2;
static const DWORD kOutputRate = 44100;
static const WORD kOutputBits = 16;

// A seam buffer: DirectSound's buffer, null once the device has been closed under it, in the
// list of live buffers that close walks.
struct Win32Buffer {
    IDirectSoundBuffer8 *sound;
    DWORD bytes; // the DirectSound buffer's size, which may exceed the samples (see createBuffer)
    DWORD frameBytes;
    Win32Buffer *previous, *next;
};

struct Win32Audio {
    HMODULE library;
    DirectSoundCreate8Function create;
    IDirectSound8 *device;
    IDirectSoundBuffer *primary;
    Win32Buffer *buffers;
};

static Win32Audio sAudio;

static WAVEFORMATEX waveFormat(WORD channels, DWORD rate, WORD bits)
{
    WAVEFORMATEX format;
    memset(&format, 0, sizeof format);
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = bits;
    format.nBlockAlign = (WORD)(bits / 8 * channels);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    return format;
}

static void unload(void)
{
    if (sAudio.primary)
        sAudio.primary->Release();
    if (sAudio.device)
        sAudio.device->Release();
    if (sAudio.library)
        FreeLibrary(sAudio.library);
    sAudio.primary = nullptr;
    sAudio.device = nullptr;
    sAudio.library = nullptr;
    sAudio.create = nullptr;
}

static int openDevice(void *window)
{
    if (sAudio.device)
        return 1;
    sAudio.library = LoadLibraryA("dsound.dll");
    if (!sAudio.library)
        return 0;
    FARPROC create = GetProcAddress(sAudio.library, "DirectSoundCreate8");
    sAudio.create = (DirectSoundCreate8Function)(void (*)(void))create;
    if (!create || FAILED(sAudio.create(nullptr, &sAudio.device, nullptr))) {
        sAudio.device = nullptr;
        unload();
        return 0;
    }
    // A console program has no window of its own; the desktop stands in for it.
    HWND owner = window ? (HWND)window : GetDesktopWindow();
    DSBUFFERDESC primary;
    memset(&primary, 0, sizeof primary);
    primary.dwSize = sizeof primary;
    primary.dwFlags = DSBCAPS_PRIMARYBUFFER;
    if (FAILED(sAudio.device->SetCooperativeLevel(owner, DSSCL_PRIORITY)) ||
        FAILED(sAudio.device->CreateSoundBuffer(&primary, &sAudio.primary, nullptr))) {
        sAudio.primary = nullptr;
        unload();
        return 0;
    }
    WAVEFORMATEX format = waveFormat(kOutputChannels, kOutputRate, kOutputBits);
    sAudio.primary->SetFormat(&format); // the device may keep its own; sounds play either way
    return 1;
}

static void closeDevice(void)
{
    for (Win32Buffer *buffer = sAudio.buffers; buffer; buffer = buffer->next) {
        if (buffer->sound)
            buffer->sound->Release();
        buffer->sound = nullptr;
    }
    unload();
}

static int setMasterVolume(int hundredths)
{
    return sAudio.primary && SUCCEEDED(sAudio.primary->SetVolume(hundredths));
}

static IDirectSoundBuffer8 *soundOf(void *buffer)
{
    return buffer ? ((Win32Buffer *)buffer)->sound : nullptr;
}

// Fills the whole buffer with silence, so bytes past the samples (see createBuffer) are quiet.
static void silence(IDirectSoundBuffer8 *sound, WORD bits)
{
    void *first = nullptr, *second = nullptr;
    DWORD firstBytes = 0, secondBytes = 0;
    if (FAILED(sound->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER)))
        return;
    memset(first, bits == 8 ? 0x80 : 0, firstBytes);
    if (second)
        memset(second, bits == 8 ? 0x80 : 0, secondBytes);
    sound->Unlock(first, firstBytes, second, secondBytes);
}

static void *createBuffer(const AudioFormat *format, uint32_t bytes)
{
    if (!sAudio.device || bytes == 0)
        return nullptr;
    WAVEFORMATEX wave =
        waveFormat((WORD)format->channels, format->sampleRate, (WORD)format->bitsPerSample);
    // DirectSound takes whole frames and at least DSBSIZE_MIN bytes: a shorter or ragged sample
    // block gets a silent tail.
    DWORD frameBytes = wave.nBlockAlign ? wave.nBlockAlign : 1;
    DWORD size = (bytes + frameBytes - 1) / frameBytes * frameBytes;
    while (size < DSBSIZE_MIN)
        size += frameBytes;
    DSBUFFERDESC desc;
    memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    desc.dwBufferBytes = size;
    desc.lpwfxFormat = &wave;
    IDirectSoundBuffer *first = nullptr;
    if (FAILED(sAudio.device->CreateSoundBuffer(&desc, &first, nullptr)))
        return nullptr;
    IDirectSoundBuffer8 *sound = nullptr;
    HRESULT asked = first->QueryInterface(kBuffer8Interface, (void **)&sound);
    first->Release();
    if (FAILED(asked))
        return nullptr;
    Win32Buffer *buffer = (Win32Buffer *)malloc(sizeof(Win32Buffer));
    if (!buffer) {
        sound->Release();
        return nullptr;
    }
    silence(sound, wave.wBitsPerSample);
    buffer->sound = sound;
    buffer->bytes = size;
    buffer->frameBytes = frameBytes;
    buffer->previous = nullptr;
    buffer->next = sAudio.buffers;
    if (sAudio.buffers)
        sAudio.buffers->previous = buffer;
    sAudio.buffers = buffer;
    return buffer;
}

static void releaseBuffer(void *handle)
{
    Win32Buffer *buffer = (Win32Buffer *)handle;
    if (!buffer)
        return;
    if (buffer->sound) {
        buffer->sound->Stop();
        buffer->sound->Release();
    }
    if (buffer->previous)
        buffer->previous->next = buffer->next;
    else
        sAudio.buffers = buffer->next;
    if (buffer->next)
        buffer->next->previous = buffer->previous;
    free(buffer);
}

static int lockBuffer(void *buffer, void **first, uint32_t *firstBytes, void **second,
                      uint32_t *secondBytes)
{
    IDirectSoundBuffer8 *sound = soundOf(buffer);
    DWORD one = 0, two = 0;
    if (!sound || FAILED(sound->Lock(0, 0, first, &one, second, &two, DSBLOCK_ENTIREBUFFER)))
        return 0;
    *firstBytes = one;
    *secondBytes = two;
    return 1;
}

static void unlockBuffer(void *buffer, void *first, uint32_t firstBytes, void *second,
                         uint32_t secondBytes)
{
    IDirectSoundBuffer8 *sound = soundOf(buffer);
    if (sound)
        sound->Unlock(first, firstBytes, second, secondBytes);
}

static int play(void *buffer, int looping)
{
    IDirectSoundBuffer8 *sound = soundOf(buffer);
    return sound && SUCCEEDED(sound->Play(0, 0, looping ? DSBPLAY_LOOPING : 0));
}

static int stop(void *buffer)
{
    IDirectSoundBuffer8 *sound = soundOf(buffer);
    return sound && SUCCEEDED(sound->Stop());
}

static int setPosition(void *handle, uint32_t bytes)
{
    IDirectSoundBuffer8 *sound = soundOf(handle);
    if (!sound)
        return 0;
    Win32Buffer *buffer = (Win32Buffer *)handle;
    DWORD position = bytes % buffer->bytes / buffer->frameBytes * buffer->frameBytes;
    return SUCCEEDED(sound->SetCurrentPosition(position));
}

static int getPosition(void *buffer, uint32_t *bytes)
{
    IDirectSoundBuffer8 *sound = soundOf(buffer);
    DWORD playCursor = 0, writeCursor = 0;
    if (!sound || FAILED(sound->GetCurrentPosition(&playCursor, &writeCursor)))
        return 0;
    *bytes = playCursor;
    return 1;
}

static int getStatus(void *buffer, int *playing)
{
    IDirectSoundBuffer8 *sound = soundOf(buffer);
    DWORD status = 0;
    if (!sound || FAILED(sound->GetStatus(&status)))
        return 0;
    *playing = (status & DSBSTATUS_PLAYING) ? 1 : 0;
    return 1;
}

static int setVolume(void *buffer, int hundredths)
{
    IDirectSoundBuffer8 *sound = soundOf(buffer);
    return sound && SUCCEEDED(sound->SetVolume(hundredths));
}

static int setPan(void *buffer, int hundredths)
{
    IDirectSoundBuffer8 *sound = soundOf(buffer);
    return sound && SUCCEEDED(sound->SetPan(hundredths));
}

static int setFrequency(void *buffer, uint32_t hertz)
{
    IDirectSoundBuffer8 *sound = soundOf(buffer);
    return sound && SUCCEEDED(sound->SetFrequency(hertz));
}

const PlatformAudioSeam kNativeAudioSeam = {
    openDevice,    closeDevice, setMasterVolume, createBuffer,
    releaseBuffer, lockBuffer,  unlockBuffer,    play,
    stop,          setPosition, getPosition,     getStatus,
    setVolume,     setPan,      setFrequency,
};
