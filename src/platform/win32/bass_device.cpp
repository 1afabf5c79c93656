// The Windows sound device: waveOut (winmm), mono 16-bit, fed by a thread of ours that the
// device wakes through an event each time it has played a block. The position is what
// waveOutGetPosition says has been played.
#include <atomic>
#include <thread>
#include "platform/bass_internal.h"

enum { BLOCKS = 4 };

static HWAVEOUT Wave = nullptr;
static HANDLE Wake = nullptr;
static WAVEHDR Headers[BLOCKS];
static std::vector<int16_t> Blocks[BLOCKS];
static std::thread Feeder;
static bool Quit = false;     // guarded by BassLock
static uint64_t Handed = 0;   // output samples written to the device, guarded by BassLock
static uint64_t Writing = 0;  // the same once the block being mixed is written, guarded by BassLock
static uint64_t QueuedAhead = 0;         // output samples queued ahead of the block being mixed
static std::atomic<uint64_t> StepFp{0};  // stream frames per output sample, 32.32
static std::atomic<bool> NoSamplePosition{false};  // waveOutGetPosition cannot count samples
static DWORD DeviceRate = 44100;

// Refills every block the device has finished with (or never had). The block's ramp is
// published with the device's count of samples written as it will be once the block is
// written, so a reader gets both from one consistent copy.
static void FeedLoop() {
    for (;;) {
        WaitForSingleObject(Wake, 100);
        std::lock_guard<std::mutex> hold(BassLock);
        if (Quit) return;
        for (WAVEHDR& h : Headers) {
            if ((h.dwFlags & WHDR_INQUEUE) && !(h.dwFlags & WHDR_DONE)) continue;
            int frames = (int)(h.dwBufferLength / 2);
            QueuedAhead = 0;
            for (const WAVEHDR& other : Headers)
                if (&other != &h && (other.dwFlags & WHDR_INQUEUE) && !(other.dwFlags & WHDR_DONE))
                    QueuedAhead += other.dwBufferLength / 2;
            StepFp = BassStream.pcm.rate ? ((uint64_t)BassStream.pcm.rate << 32) / DeviceRate : 0;
            Writing = Handed + (uint64_t)frames;
            int64_t now = BassNowNs();
            BassMixBlock((int16_t*)h.lpData, frames, now,
                         frames * (int64_t)1000000000 / DeviceRate);
            h.dwFlags &= ~WHDR_DONE;
            if (waveOutWrite(Wave, &h, sizeof h) == MMSYSERR_NOERROR) Handed = Writing;
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
        Blocks[i].assign((size_t)blockFrames, 0);
        Headers[i] = WAVEHDR{};
        Headers[i].lpData = (LPSTR)Blocks[i].data();
        Headers[i].dwBufferLength = (DWORD)(Blocks[i].size() * 2);
        if (waveOutPrepareHeader(Wave, &Headers[i], sizeof Headers[i]) != MMSYSERR_NOERROR) {
            CloseWave();
            return false;
        }
    }
    Quit = false;
    Handed = Writing = QueuedAhead = 0;
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

// waveOut reports a vanished device through failed writes only; the silent output is not
// switched to here.
bool BassDeviceLost() { return false; }

bool BassDeviceReopen(DWORD, int) { return false; }

// Used only where the device cannot say what it has played: then what it holds queued ahead
// of the block just handed is still to be heard before it.
uint64_t BassDeviceLagFrames() { return QueuedAhead; }

uint64_t BassDeviceWritten() { return Writing; }

void BassDeviceForgetSamplePosition(bool forget) { NoSamplePosition = forget; }

// What is still queued in the device has been consumed from the stream but not yet heard:
// waveOutGetPosition says what has been played. The ramp's consumed frames and samples
// written come from one published copy, so no lock is taken and a block handed over between
// two reads moves both alike.
bool BassDeviceHeard(const BassRamp& r, uint64_t* consumed) {
    MMTIME time = {};
    time.wType = TIME_SAMPLES;
    if (NoSamplePosition || !Wave ||
        waveOutGetPosition(Wave, &time, sizeof time) != MMSYSERR_NOERROR ||
        time.wType != TIME_SAMPLES)
        return false;
    *consumed = BassHeardFrames(r.to, r.written, time.u.sample, StepFp);
    return true;
}

uint64_t BassHeardFrames(uint64_t consumed, uint64_t written, uint64_t played, uint64_t stepFp) {
    uint64_t queued = played < written ? written - played : 0;
    uint64_t back = (queued * stepFp) >> 32;
    return back < consumed ? consumed - back : 0;
}
