// The audio library's nine calls on Web Audio, with no thread of ours: the browser decodes the
// stream (decodeAudioData) and plays it from its own threads. The position is read from the
// output's timestamp, so it follows what is heard; it never goes back within a lap and wraps
// to 0 where a looping stream starts again. Errors are those of the other builds.
#include <emscripten/emscripten.h>
#include <vector>
#include "platform/bass_internal.h"
#include "platform/bass_mp3.h"
#include "platform/web/web.h"

static bool Initialised = false;
static bool ManualRequested = false, Manual = false;
static HSTREAM Handle = 0, HandleCounter = 0;
static bool Playing = false, Looping = false;
static uint64_t Frames = 0, FrameBytes = 2;  // the decoded stream's length and frame size
static uint64_t LastHeard = 0;               // frames heard since play, as last reported
static DWORD ManualPosition = 0;

static BOOL Fail(int code) { return BassFail(code); }
static BOOL Succeed() { return BassSucceed(); }

static bool ValidHandle(HSTREAM handle) { return handle != 0 && handle == Handle; }

// Devices -1 and 0 both play through Web Audio: a page has no other output, and Web Audio
// runs in real time with or without a sound card.
BOOL BASS_Init(int device, DWORD freq, DWORD, HWND) {
    if (int code = BassInitCheck(device, freq, Initialised)) return Fail(code);
    Manual = ManualRequested;
    if (!Manual && !web_audio_open((int)freq)) return Fail(BASS_ERROR_DRIVER);
    Initialised = true;
    return Succeed();
}

BOOL BASS_Start() {
    if (!Initialised) return Fail(BASS_ERROR_INIT);
    if (!Manual) web_audio_run(1);
    return Succeed();
}

BOOL BASS_Stop() {
    if (!Initialised) return Fail(BASS_ERROR_INIT);
    if (!Manual) web_audio_run(0);
    return Succeed();
}

// The framing is checked here, as the other builds' decoders check it, before the browser is
// given the bytes; what it then refuses is a format error too.
static int Decode(const uint8_t* data, size_t size) {
    Mp3Layout layout;
    if (!data || size == 0 || Mp3Scan(data, size, &layout) != BASS_OK) return BASS_ERROR_FORMAT;
    FrameBytes = 2 * (uint64_t)layout.first.channels;
    if (Manual) {  // nothing is heard: the length is what the frames hold
        uint64_t skip, keep;
        Mp3Trim(layout, (uint64_t)layout.frames * layout.first.samples, &skip, &keep);
        Frames = keep;
        return BASS_OK;
    }
    double frames = web_audio_decode(data, (int)size);
    if (frames <= 0) return BASS_ERROR_FORMAT;
    Frames = (uint64_t)frames;
    FrameBytes = 2 * (uint64_t)web_audio_channels();
    return Frames * FrameBytes > 0xFFFFFFFFu ? BASS_ERROR_MEM : BASS_OK;
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD) {
    int code = BassCreateCheck(mem, file, Initialised, Handle != 0);
    std::vector<uint8_t> bytes;
    if (!code && !mem && !BassReadFile((const char*)file, offset, length, &bytes))
        code = BASS_ERROR_FILEOPEN;
    if (!code)
        code = mem ? Decode((const uint8_t*)file + offset, length)
                   : Decode(bytes.data(), bytes.size());
    if (code) {
        Fail(code);
        return 0;
    }
    if (++HandleCounter == 0) ++HandleCounter;
    Handle = HandleCounter;
    Playing = false;
    Succeed();
    return Handle;
}

// A stream that is not playing starts from its beginning; one that plays restarts only when
// flushed, and otherwise just takes the new loop flag.
BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD flags) {
    if (int code = BassPlayCheck(Initialised, ValidHandle(handle))) return Fail(code);
    Looping = (flags & BASS_SAMPLE_LOOP) != 0;
    if (flush || !Playing) {
        LastHeard = 0;
        ManualPosition = 0;
    }
    if (!Manual && (flush || !Playing)) web_audio_play(Looping);
    Playing = true;
    return Succeed();
}

// Frames heard never fall back (the output clock's first readings may); a looping stream's
// position wraps, another stops at its end.
static DWORD HeardPosition() {
    double heard = Playing ? web_audio_heard() : 0;
    if (heard > (double)LastHeard) LastHeard = (uint64_t)heard;
    uint64_t frames = LastHeard;
    if (Frames == 0) return 0;
    if (frames >= Frames) frames = Looping ? frames % Frames : Frames;
    return (DWORD)(frames * FrameBytes);
}

DWORD BASS_ChannelGetPosition(HSTREAM handle) {
    if (!ValidHandle(handle)) {
        Fail(BASS_ERROR_HANDLE);
        return (DWORD)-1;
    }
    BassSucceed();
    return Manual ? ManualPosition : HeardPosition();
}

BOOL BASS_StreamFree(HSTREAM handle) {
    if (!ValidHandle(handle)) return Fail(BASS_ERROR_HANDLE);
    if (!Manual) web_audio_free();
    Handle = 0;
    Playing = false;
    Frames = 0;
    return Succeed();
}

// --- For tools: the still is drawn at a position set here -----------------------------------

void BassManualOutput(BOOL on) { ManualRequested = on != FALSE; }
void BassManualSetPosition(DWORD position) { ManualPosition = position; }

// The page's window.vernalis.position(): the playing stream's position now, 0 without one.
extern "C" EMSCRIPTEN_KEEPALIVE double WebPosition() {
    return Handle ? (double)BASS_ChannelGetPosition(Handle) : 0;
}
