// The audio library the demo plays its soundtrack with: nine calls, decoding MP3 from
// memory with libmpg123 and playing through SDL2 audio (or a silent real-time output).
#pragma once
#include <cstdint>
#include "platform/win32.h"

typedef uint32_t HSTREAM;

enum : int {
    BASS_OK = 0, BASS_ERROR_MEM = 1, BASS_ERROR_FILEOPEN = 2, BASS_ERROR_DRIVER = 3,
    BASS_ERROR_HANDLE = 5, BASS_ERROR_FORMAT = 6, BASS_ERROR_POSITION = 7,
    BASS_ERROR_INIT = 8, BASS_ERROR_START = 9, BASS_ERROR_ALREADY = 14,
    BASS_ERROR_NOCHAN = 18, BASS_ERROR_ILLTYPE = 19, BASS_ERROR_ILLPARAM = 20,
    BASS_ERROR_DEVICE = 23, BASS_ERROR_NOPLAY = 24, BASS_ERROR_FREQ = 25,
    BASS_ERROR_UNKNOWN = -1,
};
enum : DWORD { BASS_SAMPLE_LOOP = 4 };

DWORD BASS_GetVersion();
BOOL BASS_Init(int device, DWORD freq, DWORD flags, HWND window);
BOOL BASS_Start();
int BASS_ErrorGetCode();
HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags);
BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD flags);
DWORD BASS_ChannelGetPosition(HSTREAM handle);
BOOL BASS_Stop();
BOOL BASS_StreamFree(HSTREAM handle);

// --- Beyond the nine calls: for tests and tools -----------------------------------------
// Devices BASS_Init accepts: -1 is the default output, 0 the silent output. The default
// output is SDL2 audio (mono 16-bit); where no usable sound device exists (SDL's "dummy"
// or "disk" drivers included) it is the silent output, which consumes the stream at exactly
// the output rate by the monotonic clock and plays nothing.

// What BASS_GetVersion reports; 0x80000 (version 0.8) unless a test says otherwise.
extern DWORD BassReportedVersion;

// Manual output: BassManualOutput(TRUE) before BASS_Init makes the next BASS_Init open no
// device at all, and the playing stream moves only when told:
// - BassManualAdvance plays `bytes` more of the stream (rounded down to whole samples), as
//   an output device would consume them: a looping stream wraps to 0 at its end, another
//   stops there. It does nothing while no stream plays.
// - BassManualSetPosition makes BASS_ChannelGetPosition report exactly `position` (odd and
//   out-of-range values included, so tools can probe any cue) until the next advance.
//   BASS_StreamPlay starts the position at 0.
void BassManualOutput(BOOL on);
void BassManualAdvance(DWORD bytes);
void BassManualSetPosition(DWORD position);

// The next BASS_Init or BASS_StreamCreateFile fails with `code` (fault injection).
void BassFailNext(int code);

// Closes the output, frees the stream and forgets BassManualOutput and BassFailNext, so
// BASS_Init may be called again.
void BassClose();

// The output BASS_Init opened: "sdl", "silent", "manual", or "none" before BASS_Init.
const char* BassOutputName();

// The position up to which the stream has been handed to the output so far; the position
// BASS_ChannelGetPosition reports never runs ahead of it. (DWORD)-1 for a bad handle.
DWORD BassDeliveredPosition(HSTREAM handle);
