// The Linux sound device: SDL2 audio, mono 16-bit, fed from SDL's audio thread.
#include <SDL2/SDL.h>
#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <cstring>
#include "platform/bass_internal.h"

static const int64_t NS_PER_S = 1000000000;

static SDL_AudioDeviceID Device = 0;
static DWORD DeviceRate = 44100;
// Ahead of the block just handed over the sound server holds part of a buffer of `samples`
// frames; SDL says nothing of how much, so it was measured (OpenDevice).
static uint64_t LagFrames = 0;  // written before the device runs and after it stops
static char DriverName[32];     // the driver of the device opened last

static void SDLCALL Feed(void*, Uint8* stream, int len) {
    int frames = len / 2;
    std::lock_guard<std::mutex> hold(BassLock);
    BassMixBlock((int16_t*)stream, frames, BassNowNs(), frames * NS_PER_S / DeviceRate);
}

// ALSA's library writes its own lines to stderr while SDL probes for a card that is not there;
// our one-line notice says all that matters, so stderr is closed over the probe. Only the
// main thread runs at start-up, and while reconnecting no other thread writes to stderr.
static int QuietStderr() {
    fflush(stderr);
    int saved = dup(2), null = open("/dev/null", O_WRONLY);
    if (saved >= 0 && null >= 0) dup2(null, 2);
    if (null >= 0) close(null);
    return saved;
}

static void RestoreStderr(int saved) {
    if (saved < 0) return;
    dup2(saved, 2);
    close(saved);
}

// SDL's "dummy" driver keeps poor time and "disk" writes a file: neither is a sound device.
static bool OpenDevice(DWORD rate, int blockFrames) {
    DeviceRate = rate;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver && strcmp(driver, "dummy") != 0 && strcmp(driver, "disk") != 0) {
        SDL_AudioSpec want, have;
        SDL_zero(want);
        want.freq = (int)rate;
        want.format = AUDIO_S16SYS;
        want.channels = 1;
        want.samples = (Uint16)blockFrames;
        want.callback = Feed;
        Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        // Measured against what reaches a PulseAudio sink: the server holds about 5/8 of a
        // block on average beyond the block just handed (with a whole block subtracted the
        // position ran 8.4 ms behind at 1024 frames, 17 ms at 2048).
        LagFrames = Device ? (uint64_t)have.samples * 5 / 8 : 0;
        if (Device) {
            snprintf(DriverName, sizeof DriverName, "%s", driver);
            return true;
        }
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

bool BassDeviceOpen(DWORD rate, int blockFrames) {
    int saved = QuietStderr();
    bool opened = OpenDevice(rate, blockFrames);
    RestoreStderr(saved);
    return opened;
}

// SDL marks a device whose server went away as stopped (and goes on calling the callback on
// its own timer, into nothing). Reading the status takes no lock.
bool BassDeviceLost() { return Device && SDL_GetAudioDeviceStatus(Device) == SDL_AUDIO_STOPPED; }

// A lost server is only found again by starting SDL's audio afresh, with the driver that was
// lost, so that no other driver's probe runs (and writes) each time.
bool BassDeviceReopen(DWORD rate, int blockFrames) {
    if (DriverName[0]) SDL_SetHint(SDL_HINT_AUDIODRIVER, DriverName);
    return BassDeviceOpen(rate, blockFrames);
}

void BassDeviceClose() {
    SDL_CloseAudioDevice(Device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    Device = 0;
    LagFrames = 0;
}

void BassDeviceRun(bool run) { SDL_PauseAudioDevice(Device, run ? 0 : 1); }

const char* BassDeviceName() { return "sdl"; }

uint64_t BassDeviceLagFrames() { return LagFrames; }

// SDL says nothing of what has been heard: the position glides along the blocks handed over.
bool BassDeviceHeard(const BassRamp&, uint64_t*) { return false; }

uint64_t BassDeviceWritten() { return 0; }
