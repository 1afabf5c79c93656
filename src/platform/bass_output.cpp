// The output that consumes the stream: the backend's sound device, a silent stand-in that
// keeps real time by the monotonic clock where no sound device exists, or nothing at all
// (manual). Also the position arithmetic, which depends on how the output hands data over.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include "platform/bass_internal.h"

// Frames per block of the silent output, and per block handed to the sound device. SDL keeps
// one block queued at the server, so a block is how late the callback may come before the
// sound drops out: 2048 (46 ms) rather than 1024, since on a busy machine the callback was
// measured coming up to 184 ms late. It costs nothing in sync (the position subtracts the
// queued block) but 23 ms more delay before a pause or resume is heard.
static const int BLOCK_FRAMES = 1024;
static const int DEVICE_BLOCK_FRAMES = 2048;
static const int64_t NS_PER_S = 1000000000;
static const int64_t SILENT_LEAD_NS = 2000000;

static BassOutputKind Kind = BASS_OUTPUT_NONE;
static DWORD OutputRate = 44100;
static std::thread SilentThread;
static std::condition_variable SilentWake;
static bool SilentQuit = false;  // guarded by BassLock
static bool Running = false;     // guarded by BassLock
static bool Lost = false;        // the device went away; main thread only
static int64_t NextTryNs = 0;    // when to try it again
static const int64_t RETRY_NS = 2 * NS_PER_S;

// libstdc++'s steady clock is CLOCK_MONOTONIC too: the silent output sleeps on the same clock.
int64_t BassNowNs() { return PlatformMonotonicNs(); }

BassOutputKind BassOutputCurrent() { return Kind; }

// Where in the stream, in whole frames, playback stands after `consumed` frames.
static uint64_t StreamFrame(const BassRamp& r, uint64_t consumed) {
    if (r.frames == 0) return 0;
    if (r.loop) return consumed % r.frames;
    return consumed < r.frames ? consumed : r.frames;
}

static DWORD BytePosition(const BassRamp& r, uint64_t consumed) {
    return (DWORD)(StreamFrame(r, consumed) * r.channels * 2);
}

BassRamp BassRampOf(const BassChannel& c) {
    // While the rest is still being decoded a looping stream does not wrap: it waits at the
    // end of what is decoded.
    return BassRamp{c.rampFrom,
                    c.rampTo,
                    c.rampStartNs,
                    c.rampLenNs,
                    c.lagFrames,
                    c.manualPos,
                    c.pcm.frames,
                    (uint64_t)c.pcm.channels,
                    c.loop && !c.decoding,
                    c.written};
}

// A sequence lock: the count is odd while a writer (always holding BassLock) changes the words.
enum { RAMP_WORDS = sizeof(BassRamp) / 8 };
static_assert(sizeof(BassRamp) % 8 == 0, "whole words");
static std::atomic<uint32_t> RampSequence{0};
static std::atomic<uint64_t> RampWords[RAMP_WORDS];

void BassPublish() {
    uint64_t words[RAMP_WORDS];
    BassRamp ramp = BassRampOf(BassStream);
    memcpy(words, &ramp, sizeof words);
    uint32_t sequence = RampSequence.load(std::memory_order_relaxed);
    RampSequence.store(sequence + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    for (int i = 0; i < RAMP_WORDS; i++) RampWords[i].store(words[i], std::memory_order_relaxed);
    RampSequence.store(sequence + 2, std::memory_order_release);
}

BassRamp BassPublished() {
    uint64_t words[RAMP_WORDS];
    for (;;) {
        uint32_t before = RampSequence.load(std::memory_order_acquire);
        for (int i = 0; i < RAMP_WORDS; i++)
            words[i] = RampWords[i].load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (before % 2 == 0 && RampSequence.load(std::memory_order_relaxed) == before) break;
        std::this_thread::yield();
    }
    BassRamp ramp;
    memcpy(&ramp, words, sizeof ramp);
    return ramp;
}

// The position is the sample being heard. Where the device reports what it has played, that
// is the position. Otherwise it glides at the output's pace along the last block handed over,
// reaching its end when the block's time is up, and stays behind by what the device holds
// ahead of that block (`lag`): readers see it move smoothly, yet never past what was handed
// over. A block handed before its time extends the line backwards from its start.
DWORD BassPositionNow(const BassRamp& r, int64_t nowNs) {
    if (Kind == BASS_OUTPUT_MANUAL) return (DWORD)r.manual;
    uint64_t consumed = r.to;
    if (Kind == BASS_OUTPUT_DEVICE && BassDeviceHeard(r, &consumed))
        return BytePosition(r, consumed);
    int64_t into = nowNs - r.startNs;
    if (r.lenNs > 0 && into < r.lenNs) {
        int64_t moved = (int64_t)(r.to - r.from) * into / r.lenNs;
        consumed = moved < 0 && (uint64_t)-moved > r.from ? 0 : r.from + moved;
    }
    consumed = consumed > r.lag ? consumed - r.lag : 0;
    return BytePosition(r, consumed);
}

DWORD BassPositionDelivered(const BassRamp& r) {
    if (Kind == BASS_OUTPUT_MANUAL) return (DWORD)r.manual;
    return BytePosition(r, r.to);
}

// Mono output: the channels are averaged.
static int16_t OutputSample(const BassChannel& c, uint64_t frame) {
    const int16_t* s = &c.pcm.samples[frame * c.pcm.channels];
    int sum = 0;
    for (int ch = 0; ch < c.pcm.channels; ch++) sum += s[ch];
    return (int16_t)(sum / c.pcm.channels);
}

// Nearest sample.
void BassMixBlock(int16_t* out, int frames, int64_t startNs, int64_t lenNs) {
    BassChannel& c = BassStream;
    BassTakeDecoded();
    uint64_t step = ((uint64_t)c.pcm.rate << 32) / OutputRate;
    uint64_t before = c.consumedFp >> 32;
    for (int i = 0; i < frames; i++) {
        out[i] = 0;
        if (!c.handle || !c.playing) continue;
        uint64_t consumed = c.consumedFp >> 32;
        if (c.decoding && consumed >= c.pcm.frames) continue;  // not decoded yet: wait, silent
        if (!c.loop && consumed >= c.pcm.frames) {
            c.playing = false;
            continue;
        }
        out[i] = OutputSample(c, c.loop ? consumed % c.pcm.frames : consumed);
        c.consumedFp += step;
    }
    c.rampFrom = before;
    c.rampTo = c.consumedFp >> 32;
    c.rampStartNs = startNs;
    c.rampLenNs = lenNs;
    c.lagFrames = (BassDeviceLagFrames() * step) >> 32;
    c.written = BassDeviceWritten();
    BassPublish();
}

// Block k is due exactly k blocks after the output (re)started, so the stream is consumed
// at the output rate however late the thread wakes; a late thread catches up at once. Each
// block is handed over a little before it is due, so that the position, which runs on its
// own line, does not stall while the thread wakes up.
static void SilentLoop() {
    static int16_t scratch[BLOCK_FRAMES];
    std::unique_lock<std::mutex> lock(BassLock);
    int64_t start = 0;
    int64_t block = -1;  // -1: restart the schedule
    while (!SilentQuit) {
        if (!Running) {
            block = -1;
            SilentWake.wait(lock);
            continue;
        }
        if (block < 0) {
            start = BassNowNs();
            block = 0;
        }
        int64_t due = start + (int64_t)((__int128)block * BLOCK_FRAMES * NS_PER_S / OutputRate);
        int64_t next =
            start + (int64_t)((__int128)(block + 1) * BLOCK_FRAMES * NS_PER_S / OutputRate);
        if (BassNowNs() < due - SILENT_LEAD_NS) {
            std::chrono::steady_clock::time_point wake{
                std::chrono::nanoseconds(due - SILENT_LEAD_NS)};
            SilentWake.wait_until(lock, wake);
            continue;
        }
        BassMixBlock(scratch, BLOCK_FRAMES, due, next - due);
        block++;
    }
}

static bool StartSilent() {
    {
        std::lock_guard<std::mutex> hold(BassLock);
        SilentQuit = false;
    }
    try {
        SilentThread = std::thread(SilentLoop);
    } catch (...) {
        return false;
    }
    return true;
}

static void StopSilent() {
    if (!SilentThread.joinable()) return;
    {
        std::lock_guard<std::mutex> hold(BassLock);
        SilentQuit = true;
    }
    SilentWake.notify_all();
    SilentThread.join();
}

int BassOutputOpen(BassOutputKind kind, DWORD rate) {
    // The library is never shut down explicitly: close the output before the process's
    // statics go, so the silent thread is joined rather than destroyed while running.
    static bool closeAtExit = atexit(BassOutputClose) == 0;
    (void)closeAtExit;
    OutputRate = rate;
    if (kind == BASS_OUTPUT_DEVICE && !BassDeviceOpen(rate, DEVICE_BLOCK_FRAMES)) {
        fprintf(stderr, "audio: no sound device, playing silently in real time\n");
        kind = BASS_OUTPUT_SILENT;
    }
    {
        std::lock_guard<std::mutex> hold(BassLock);
        Running = true;
    }
    if (kind == BASS_OUTPUT_SILENT && !StartSilent()) return BASS_ERROR_DRIVER;
    if (kind == BASS_OUTPUT_DEVICE) BassDeviceRun(true);
    Kind = kind;
    return BASS_OK;
}

void BassOutputClose() {
    if (Kind == BASS_OUTPUT_DEVICE) BassDeviceClose();
    StopSilent();
    std::lock_guard<std::mutex> hold(BassLock);
    Running = false;
    Kind = BASS_OUTPUT_NONE;
    Lost = false;
}

// The silent output carries on from the consumed frames where the device left off; on the
// way back the device does the same, so the position stays what is heard.
void BassOutputWatch() {
    if (Kind == BASS_OUTPUT_DEVICE && BassDeviceLost()) {
        fprintf(stderr,
                "audio: the sound device was lost; playing silently in real time, and trying to "
                "get it back every %d s\n",
                (int)(RETRY_NS / NS_PER_S));
        BassDeviceClose();
        Kind = StartSilent() ? BASS_OUTPUT_SILENT : BASS_OUTPUT_NONE;
        Lost = true;
        NextTryNs = BassNowNs() + RETRY_NS;
    } else if (Lost && BassNowNs() >= NextTryNs) {
        NextTryNs = BassNowNs() + RETRY_NS;
        if (!BassDeviceReopen(OutputRate, DEVICE_BLOCK_FRAMES)) return;
        StopSilent();
        Kind = BASS_OUTPUT_DEVICE;
        Lost = false;
        bool running;
        {
            std::lock_guard<std::mutex> hold(BassLock);
            running = Running;
        }
        BassDeviceRun(running);
        fprintf(stderr, "audio: the sound device is back\n");
    }
}

// Stopped output holds the position at what was handed over; it resumes from there.
void BassOutputRun(bool run) {
    if (Kind == BASS_OUTPUT_DEVICE) BassDeviceRun(run);
    {
        std::lock_guard<std::mutex> hold(BassLock);
        Running = run;
        if (!run) BassStream.rampFrom = BassStream.rampTo;
        BassPublish();
    }
    SilentWake.notify_all();
}
