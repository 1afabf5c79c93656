// Soundtrack playback: bringing the audio library up, the stream made from the pack's MP3
// entry, the library's error texts, and the release at the end.
#include <cstdlib>
#include "music/music.h"
#include "pack/tpack.h"

HSTREAM MusicStream = 0;
uint8_t* MusicBuffer = nullptr;

static const DWORD BASS_VERSION_0_8 = 0x80000;
static const DWORD STREAM_FLAGS = 0x20000;

struct AudioErrorText {
    int code;
    const char* text;
};

static const AudioErrorText AUDIO_ERRORS[] = {
    {1, "Memory error"},
    {2, "Unable to open file"},
    {3, "Can't find a free or a valid driver"},
    {4, "The sample buffer was lost"},
    {5, "Invalid handle"},
    {6, "Unsupported format"},
    {7, "Invalif playback position"},  // KEPT ON PURPOSE: the text users have always seen
    {8, "BASS_Init() has not been successfully called!"},
    {9, "BASS_Start has not been successfully called!"},
    {10, "Can't initialize CD"},
    {11, "BASS_CDInit() has not been successfully called"},
    {12, "You must insert a CD in drive..."},
    {13, "Can't play the selected CD track"},
    {14, "Already initialized"},
    {15, "CD has no volume control"},
    {16, "Not paused"},
    {17, "Not an audio track"},
    {18, "Can't get a free channel"},
    {19, "An illegal type was specified"},
    {20, "An illegal parameter was specified"},
    {21, "No 3D Sound support"},
    {22, "No EAX support"},
    {23, "Illegal device number"},
    {24, "Not playing..."},
    {25, "Illegal sample rate"},
    {26, "A3D.DLL is not installed"},
    {27, "The stream is not a file stream (WAV/MP3)"},
    {29, "No hardware voices available"},
    {30, "Synchronizers have been disabled"},
    {-1, "Unknown error or sound device error..."},
};

// Codes without a text (0, 28 and any other) show nothing.
static void ShowAudioError(int code) {
    for (const AudioErrorText& e : AUDIO_ERRORS) {
        if (e.code == code) {
            MessageBoxA(nullptr, e.text, "BASS Init Error", MB_ICONEXCLAMATION);
            return;
        }
    }
}

void AudioErrorBox() { ShowAudioError(BASS_ErrorGetCode()); }

BOOL AudioStart() {
    if (BASS_GetVersion() != BASS_VERSION_0_8) {
        MessageBoxA(nullptr, "BASS version 0.8 was not loaded", "Incorrect BASS.DLL",
                    MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!BASS_Init(-1, 44100, 0, GetForegroundWindow())) {
        MessageBoxA(nullptr, "Can't initialize digital sound system", "Error", MB_ICONEXCLAMATION);
        AudioErrorBox();
        return FALSE;
    }
    BASS_Start();
    return TRUE;
}

// The library decodes from the memory copy, never from the file. An entry that runs past
// the end of the file is refused before anything is allocated for it, and a read that comes
// up short fails the same way: like a stream the library refuses, reported as a file that
// could not be read.
static BOOL StreamFail(int code) {
    free(MusicBuffer);
    MusicBuffer = nullptr;
    MessageBoxA(nullptr, "Unable to create stream file!", "Error", MB_ICONEXCLAMATION);
    ShowAudioError(code);
    return FALSE;
}

BOOL MusicFromPack(FILE* file, int32_t offset, int32_t length) {
    if (length >= 0 && !PackFileHolds(file, offset, length)) return StreamFail(BASS_ERROR_FILEOPEN);
    MusicBuffer = length >= 0 ? (uint8_t*)malloc(length > 0 ? (size_t)length : 1) : nullptr;
    if (!MusicBuffer) {
        // KEPT ON PURPOSE: the message's spelling is the one users have always seen.
        MessageBoxA(nullptr, "No memory avaliable to play music!", "BASS Error",
                    MB_SYSTEMMODAL | MB_ICONSTOP);
        return FALSE;
    }
    bool complete = fseek(file, offset, SEEK_SET) == 0 &&
                    fread(MusicBuffer, 1, (size_t)length, file) == (size_t)length;
    if (!complete) return StreamFail(BASS_ERROR_FILEOPEN);
    MusicStream = BASS_StreamCreateFile(TRUE, MusicBuffer, 0, (DWORD)length, STREAM_FLAGS);
    int code = BASS_ErrorGetCode();
    if (code != BASS_OK) return StreamFail(code);
    return TRUE;
}

// The buffer goes last, after the stream. Our library decodes from a copy of its own, on a
// thread that freeing the stream stops (bass.cpp); the order is kept for a library that reads
// the caller's block while the stream lives.
void AudioShutdown() {
    BASS_Stop();
    BASS_StreamFree(MusicStream);
    MusicStream = 0;
    free(MusicBuffer);
    MusicBuffer = nullptr;
}
