// The Linux sound device: SDL2 audio, mono 16-bit, fed from SDL's audio thread.
#include <SDL2/SDL.h>
#include <cstring>
#include "platform/bass_internal.h"

static const int64_t NS_PER_S = 1000000000;

static SDL_AudioDeviceID Device = 0;
static DWORD DeviceRate = 44100;
// SDL keeps one buffer of `samples` frames ahead of the block just handed over, and says
// nothing of the sound server's own buffer.
static uint64_t LagFrames = 0;  // written before the device runs and after it stops

static void SDLCALL Feed(void*, Uint8* stream, int len) {
    int frames = len / 2;
    std::lock_guard<std::mutex> hold(BassLock);
    BassMixBlock((int16_t*)stream, frames, BassNowNs(), frames * NS_PER_S / DeviceRate);
}

// SDL's "dummy" driver keeps poor time and "disk" writes a file: neither is a sound device.
bool BassDeviceOpen(DWORD rate, int blockFrames) {
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
        LagFrames = Device ? have.samples : 0;
        if (Device) return true;
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
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
