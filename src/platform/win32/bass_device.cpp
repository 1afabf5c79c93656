// The Windows sound device: waveOut (winmm), mono 16-bit, fed by a thread of ours that the
// device wakes through an event each time it has played a block. The position is what
// waveOutGetPosition says has been played.
#include <thread>
#include "platform/bass_internal.h"

enum { BLOCKS = 4 };

static HWAVEOUT Wave = nullptr;
static HANDLE Wake = nullptr;
static WAVEHDR Headers[BLOCKS];
static std::vector<int16_t> Blocks[BLOCKS];
static std::thread Feeder;
static bool Quit = false;          // guarded by BassLock
static uint64_t Handed = 0;        // output samples written to the device, guarded by BassLock
static uint64_t StepFp = 0;        // stream frames per output sample, 32.32, guarded by BassLock
static DWORD DeviceRate = 44100;

// Refills every block the device has finished with (or never had).
static void FeedLoop() {
    for (;;) {
        WaitForSingleObject(Wake, 100);
        std::lock_guard<std::mutex> hold(BassLock);
        if (Quit) return;
        for (WAVEHDR& h : Headers) {
            if ((h.dwFlags & WHDR_INQUEUE) && !(h.dwFlags & WHDR_DONE)) continue;
            int frames = (int)(h.dwBufferLength / 2);
            int64_t now = BassNowNs();
            BassMixBlock((int16_t*)h.lpData, frames, now, frames * (int64_t)1000000000 / DeviceRate);
            StepFp = BassStream.pcm.rate ? ((uint64_t)BassStream.pcm.rate << 32) / DeviceRate : 0;
            h.dwFlags &= ~WHDR_DONE;
            if (waveOutWrite(Wave, &h, sizeof h) == MMSYSERR_NOERROR) Handed += (uint64_t)frames;
        }
    }
}

static void CloseWave() {
    for (WAVEHDR& h : Headers)
        if (h.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(Wave, &h, sizeof h);
    waveOutClose(Wave);
    Wave = nullptr;
    CloseHandle(Wake);
    Wake = nullptr;
}

bool BassDeviceOpen(DWORD rate, int blockFrames) {
    DeviceRate = rate;
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = rate * 2;
    Wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!Wake) return false;
    if (waveOutOpen(&Wave, WAVE_MAPPER, &format, (DWORD_PTR)Wake, 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
        CloseHandle(Wake);
        Wake = nullptr;
        Wave = nullptr;
        return false;
    }
    for (int i = 0; i < BLOCKS; i++) {
        Blocks[i].assign((size_t)blockFrames * 2, 0);  // two device blocks per header
        Headers[i] = WAVEHDR{};
        Headers[i].lpData = (LPSTR)Blocks[i].data();
        Headers[i].dwBufferLength = (DWORD)(Blocks[i].size() * 2);
        if (waveOutPrepareHeader(Wave, &Headers[i], sizeof Headers[i]) != MMSYSERR_NOERROR) {
            CloseWave();
            return false;
        }
    }
    Quit = false;
    Handed = 0;
    waveOutPause(Wave);  // BassDeviceRun starts it
    try {
        Feeder = std::thread(FeedLoop);
    } catch (...) {
        CloseWave();
        return false;
    }
    return true;
}

void BassDeviceClose() {
    {
        std::lock_guard<std::mutex> hold(BassLock);
        Quit = true;
    }
    SetEvent(Wake);
    if (Feeder.joinable()) Feeder.join();
    waveOutReset(Wave);
    CloseWave();
}

void BassDeviceRun(bool run) {
    if (run) waveOutRestart(Wave);
    else waveOutPause(Wave);
}

const char* BassDeviceName() { return "waveout"; }

// What is still queued in the device has been consumed from the stream but not yet heard.
// waveOutGetPosition says what has been played: what is heard is measured, not estimated.
uint64_t BassDeviceLagFrames() { return 0; }

bool BassDeviceHeard(uint64_t handedFrames, uint64_t* consumed) {
    std::lock_guard<std::mutex> hold(BassLock);
    MMTIME time = {};
    time.wType = TIME_SAMPLES;
    if (!Wave || waveOutGetPosition(Wave, &time, sizeof time) != MMSYSERR_NOERROR ||
        time.wType != TIME_SAMPLES)
        return false;
    uint64_t played = time.u.sample;
    uint64_t queued = played < Handed ? Handed - played : 0;
    uint64_t back = (queued * StepFp) >> 32;
    *consumed = back < handedFrames ? handedFrames - back : 0;
    return true;
}
