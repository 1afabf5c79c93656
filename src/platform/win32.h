// The platform contract: the Win32 subset (messages, windows, display mode, pixel format and
// context, message boxes, caption font, clocks) that the shell, music, pack, loaders, effects
// and scenes are written against. The Windows build gets the real thing; the Linux build gets
// our stand-in over SDL2. The build picks the backend; nothing outside src/platform does.
#pragma once
#include <cstdint>
#include <cstdio>
#ifdef _WIN32
#include "platform/win32/win32_api.h"
#else
#include "platform/sdl/win32_api.h"
#endif

// --- Beyond Win32, the same on both backends ----------------------------------------------

// fopen for the demo's own relative paths: a backslash separates folders, as on Windows
// ("Data\\Tubo.3ds" opens Data/Tubo.3ds); callers keep the text as given for their messages.
FILE* PlatformOpenFile(const char* path, const char* mode);

// The one monotonic clock of the system, in nanoseconds: the performance counter, timeGetTime,
// the audio position and the tools' timings all read it.
int64_t PlatformMonotonicNs();

// Why the last wglUseFontOutlinesA failed, for the caption font's message.
const char* PlatformFontFailure();
