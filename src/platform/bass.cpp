// The audio library's calls: version, start-up and output control, the one stream and its
// position. All of them are made from the main thread; only the channel is shared with the
// output's thread, under BassLock, and its samples with the thread that decodes the rest of
// the stream, which takes no lock (see DecodeRest).
#include <atomic>
#include <cstdio>
#include <new>
#include <thread>
#include "platform/bass_internal.h"

std::mutex BassLock;
BassChannel BassStream;

static bool Initialised = false;
static bool ManualRequested = false;
static HSTREAM HandleCounter = 0;

static BOOL Fail(int code) { return BassFail(code); }
static BOOL Succeed() { return BassSucceed(); }

// A handle names the stream only while that very stream exists. Handles change only on the
// main thread, so reading one here needs no lock.
static bool ValidHandle(HSTREAM handle) { return handle != 0 && handle == BassStream.handle; }

// Device -1 is the default output, 0 the silent output; flags and window are not needed.
BOOL BASS_Init(int device, DWORD freq, DWORD, HWND) {
    if (int code = BassInitCheck(device, freq, Initialised)) return Fail(code);
    BassOutputKind kind = ManualRequested ? BASS_OUTPUT_MANUAL
                          : device == 0   ? BASS_OUTPUT_SILENT
                                          : BASS_OUTPUT_DEVICE;
    int code = BassOutputOpen(kind, freq);
    if (code != BASS_OK) return Fail(code);
    Initialised = true;
    return Succeed();
}

// The output runs from BASS_Init on; BASS_Stop pauses it and BASS_Start resumes it.
BOOL BASS_Start() {
    if (!Initialised) return Fail(BASS_ERROR_INIT);
    BassOutputRun(true);
    return Succeed();
}

BOOL BASS_Stop() {
    if (!Initialised) return Fail(BASS_ERROR_INIT);
    BassOutputRun(false);
    return Succeed();
}

void BassPcmSettle(BassPcm* pcm) {
    if (pcm->channels <= 0) return;
    pcm->frames = (uint32_t)(pcm->samples.size() / pcm->channels);
    pcm->samples.resize((size_t)pcm->frames * pcm->channels);
}

static int DecodeFromFile(const char* path, DWORD offset, DWORD length, BassPcm* pcm) {
    std::vector<uint8_t> data;
    if (!BassReadFile(path, offset, length, &data)) return BASS_ERROR_FILEOPEN;
    return BassDecodeMp3(data.data(), data.size(), pcm);
}

// A stream from memory plays from its first decoded samples on; where the backend hands back
// a decoder for the rest, a thread decodes it from a copy of the block while the position
// waits at the end of what is decoded so far (see bass_output.cpp). The samples are sized
// once, from the stream's length, before the thread starts: the thread fills them in place
// and publishes how many frames are done with a release store, so it never takes BassLock,
// and the audio callback never waits on a thread that decodes or is preempted mid-append.
// A stream whose length cannot be known beforehand is decoded whole at creation instead.
std::atomic<bool> BassDecodeHeld{false};
static std::thread DecodeThread;
static std::atomic<bool> DecodeStop{false};
static std::atomic<uint32_t> DecodedFrames{0};  // frames of BassStream.pcm filled so far
static std::atomic<bool> DecodeDone{false};     // no more will come

// The stream is not freed while this runs: freeing joins it first.
static void DecodeRest(BassDecoder* decoder, int16_t* samples, size_t filled, size_t room,
                       int channels) {
    int code = BASS_OK;
    while (code == BASS_OK && filled < room && !DecodeStop) {
        if (BassDecodeHeld) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        size_t got = 0;
        code = BassDecodeInto(decoder, samples + filled, room - filled, &got);
        filled += got;
        DecodedFrames.store((uint32_t)(filled / channels), std::memory_order_release);
    }
    BassDecodeEnd(decoder);
    DecodeDone.store(true, std::memory_order_release);
}

void BassTakeDecoded() {
    BassChannel& c = BassStream;
    if (!c.decoding) return;
    bool done = DecodeDone.load(std::memory_order_acquire);
    c.pcm.frames = DecodedFrames.load(std::memory_order_acquire);
    c.decoding = !done;
}

void BassWaitDecoded() {
    if (DecodeThread.joinable()) DecodeThread.join();
    std::lock_guard<std::mutex> hold(BassLock);
    BassTakeDecoded();
    BassPublish();
}

// Joins the decoder; the stream keeps what was decoded so far.
static void StopDecoding() {
    if (!DecodeThread.joinable()) return;
    DecodeStop = true;
    DecodeThread.join();
    DecodeStop = false;
}

// `first` holds the first samples and room for the whole stream; where the length cannot be
// known, the rest is decoded here and no decoder is handed back.
static int DecodeInBackground(const uint8_t* data, DWORD length, BassPcm* first,
                              BassDecoder** decoder) {
    static bool stopAtExit = atexit(StopDecoding) == 0;  // a process may end with a stream made
    (void)stopAtExit;
    int code = BassDecodeBegin(data, length, decoder, first);
    if (code != BASS_OK || !*decoder) return code;
    first->frames = (uint32_t)(first->samples.size() / first->channels);
    uint64_t total = BassDecodeLength(*decoder);
    if (total * first->channels * 2 > 0xFFFFFFFFu) total = 0;  // positions are 32-bit
    if (total > first->frames) {
        try {
            first->samples.resize((size_t)total * first->channels);
            return BASS_OK;
        } catch (const std::bad_alloc&) {
            BassDecodeEnd(*decoder);
            *decoder = nullptr;
            return BASS_ERROR_MEM;
        }
    }
    int more;
    while ((more = BassDecodeMore(*decoder, &first->samples)) == BASS_OK) {
    }
    BassDecodeEnd(*decoder);
    *decoder = nullptr;
    if (more == BASS_ERROR_FORMAT || more == BASS_ERROR_MEM) return more;
    BassPcmSettle(first);
    return BASS_OK;
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD) {
    int code = BassCreateCheck(mem, file, Initialised, BassStream.handle != 0);
    BassPcm pcm;
    BassDecoder* decoder = nullptr;
    if (!code && mem)
        code = DecodeInBackground((const uint8_t*)file + offset, length, &pcm, &decoder);
    if (!code && !mem) code = DecodeFromFile((const char*)file, offset, length, &pcm);
    if (code) {
        Fail(code);
        return 0;
    }
    if (++HandleCounter == 0) ++HandleCounter;
    DecodedFrames = pcm.frames;
    DecodeDone = false;
    int16_t* samples = pcm.samples.data();
    size_t filled = (size_t)pcm.frames * pcm.channels, room = pcm.samples.size();
    int channels = pcm.channels;
    {
        std::lock_guard<std::mutex> hold(BassLock);
        BassStream = BassChannel{};
        BassStream.pcm = std::move(pcm);
        BassStream.handle = HandleCounter;
        BassStream.decoding = decoder != nullptr;
        BassPublish();
    }
    if (decoder) DecodeThread = std::thread(DecodeRest, decoder, samples, filled, room, channels);
    Succeed();
    return HandleCounter;
}

// A stream that is not playing starts from its beginning; one that plays restarts only when
// flushed, and otherwise just takes the new loop flag.
BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD flags) {
    if (int code = BassPlayCheck(Initialised, ValidHandle(handle))) return Fail(code);
    std::lock_guard<std::mutex> hold(BassLock);
    BassChannel& c = BassStream;
    if (flush || !c.playing) {
        c.consumedFp = 0;
        c.rampFrom = c.rampTo = 0;
        c.rampLenNs = 0;
        c.manualPos = 0;
    }
    c.loop = (flags & BASS_SAMPLE_LOOP) != 0;
    c.playing = true;
    BassPublish();
    return Succeed();
}

DWORD BASS_ChannelGetPosition(HSTREAM handle) {
    if (!ValidHandle(handle)) {
        Fail(BASS_ERROR_HANDLE);
        return (DWORD)-1;
    }
    BassSucceed();
    BassOutputWatch();
    return BassPositionNow(BassPublished(), BassNowNs());
}

BOOL BASS_StreamFree(HSTREAM handle) {
    if (!ValidHandle(handle)) return Fail(BASS_ERROR_HANDLE);
    StopDecoding();
    BassPcm gone;  // released outside the lock
    {
        std::lock_guard<std::mutex> hold(BassLock);
        gone = std::move(BassStream.pcm);
        BassStream = BassChannel{};
        BassPublish();
    }
    return Succeed();
}

// --- For tests and tools ---------------------------------------------------------------

void BassManualOutput(BOOL on) { ManualRequested = on != FALSE; }

void BassManualAdvance(DWORD bytes) {
    if (BassOutputCurrent() != BASS_OUTPUT_MANUAL) return;
    std::lock_guard<std::mutex> hold(BassLock);
    BassChannel& c = BassStream;
    if (!c.handle || !c.playing) return;
    BassTakeDecoded();
    uint64_t frameBytes = (uint64_t)c.pcm.channels * 2;
    uint64_t total = (uint64_t)c.pcm.frames * frameBytes;
    c.manualPos += bytes - bytes % frameBytes;
    if (c.manualPos >= total && c.decoding) {  // the rest is not decoded yet: wait at the end
        c.manualPos = total;
    } else if (c.manualPos >= total && c.loop) {
        c.manualPos %= total;
    } else if (c.manualPos >= total) {
        c.manualPos = total;
        c.playing = false;
    }
    BassPublish();
}

void BassManualSetPosition(DWORD position) {
    if (BassOutputCurrent() != BASS_OUTPUT_MANUAL) return;
    std::lock_guard<std::mutex> hold(BassLock);
    if (BassStream.handle) BassStream.manualPos = position;
    BassPublish();
}

void BassClose() {
    StopDecoding();
    BassOutputClose();
    {
        std::lock_guard<std::mutex> hold(BassLock);
        BassStream = BassChannel{};
        BassPublish();
    }
    Initialised = false;
    ManualRequested = false;
    BassForgetErrors();
}

const char* BassOutputName() {
    switch (BassOutputCurrent()) {
    case BASS_OUTPUT_DEVICE: return BassDeviceName();
    case BASS_OUTPUT_SILENT: return "silent";
    case BASS_OUTPUT_MANUAL: return "manual";
    default: return "none";
    }
}

DWORD BassDeliveredPosition(HSTREAM handle) {
    if (!ValidHandle(handle)) return (DWORD)-1;
    return BassPositionDelivered(BassPublished());
}
