// The audio library the demo plays its soundtrack with: nine calls. The MP3 is decoded from
// memory (libmpg123 on Linux, the system's codec through the Audio Compression Manager on
// Windows) and played through the sound device (SDL2 audio, waveOut) or a silent real-time
// output. Test seams: platform/platform_testing.h.
#pragma once
#include <cstdint>
#include "platform/win32.h"

typedef uint32_t HSTREAM;

enum : int {
    BASS_OK = 0,
    BASS_ERROR_MEM = 1,
    BASS_ERROR_FILEOPEN = 2,
    BASS_ERROR_DRIVER = 3,
    BASS_ERROR_HANDLE = 5,
    BASS_ERROR_FORMAT = 6,
    BASS_ERROR_POSITION = 7,
    BASS_ERROR_INIT = 8,
    BASS_ERROR_START = 9,
    BASS_ERROR_ALREADY = 14,
    BASS_ERROR_NOCHAN = 18,
    BASS_ERROR_ILLTYPE = 19,
    BASS_ERROR_ILLPARAM = 20,
    BASS_ERROR_DEVICE = 23,
    BASS_ERROR_NOPLAY = 24,
    BASS_ERROR_FREQ = 25,
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
