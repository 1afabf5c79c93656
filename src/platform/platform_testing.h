// Test seams of the platform layer, on both backends: tests and tools include this; the demo
// itself never does. None of them changes anything until it is set.
#pragma once
#include <atomic>
#include <cstdint>
#include "platform/bass.h"
#include "platform/win32.h"

// Message boxes: the hook sees each box (after it went to stderr) and returns its answer.
typedef int (*MessageBoxHook)(HWND owner, const char* text, const char* caption, UINT type);
void SetMessageBoxHook(MessageBoxHook hook);

// GetModuleFileNameA reports this path instead of the running executable's.
extern const char* PlatformExePathOverride;

// When >= 0, QueryPerformanceCounter reads that many nanoseconds (at a frequency of 10^9)
// instead of the system's counter: tools render at chosen times with it.
extern int64_t PlatformCounterOverride;

// Fault injection: the call whose name this holds fails as its Win32 counterpart can. The
// Linux backend honours it for its window, display and context calls; both honour it for
// BASS_StreamPlay.
extern const char* PlatformFailCall;
bool PlatformShouldFail(const char* call);

// Empties the posted message queue (Linux backend; the Windows queue belongs to the system).
void PlatformClearMessages();

// The caption font is read from this file instead of looked up (Linux backend), and the
// file the outlines came from.
extern const char* FontFileOverride;
extern char FontFile[512];

// --- The audio library, beyond its nine calls -----------------------------------------------
// Devices BASS_Init accepts: -1 is the default output, 0 the silent output. The default
// output is the system's sound device (SDL2 audio on Linux, waveOut on Windows), mono
// 16-bit; where no usable device exists it is the silent output, which consumes the stream
// at exactly the output rate by the monotonic clock and plays nothing.

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

// A stream made from memory may be decoded on a thread from its first samples on (the Linux
// backend does; the Windows one decodes it whole at once); the position never runs past what
// is decoded. BassWaitDecoded waits until the whole stream is decoded; while BassDecodeHeld
// is true, the thread appends nothing more.
void BassWaitDecoded();
extern std::atomic<bool> BassDecodeHeld;

// The next BASS_Init or BASS_StreamCreateFile fails with `code` (fault injection).
void BassFailNext(int code);

// Closes the output, frees the stream and forgets BassManualOutput and BassFailNext, so
// BASS_Init may be called again.
void BassClose();

// The output BASS_Init opened: "sdl" or "waveout" (the device), "silent", "manual", or
// "none" before BASS_Init.
const char* BassOutputName();

// The position up to which the stream has been handed to the output so far; the position
// BASS_ChannelGetPosition reports never runs ahead of it. (DWORD)-1 for a bad handle.
DWORD BassDeliveredPosition(HSTREAM handle);
