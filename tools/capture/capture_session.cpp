// The demo brought up offscreen: the program's own start-up, frame and shutdown, with the
// stream position and the frame clock set per frame instead of running in real time.
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <algorithm>
#include "capture/capture.h"
#include "demo/demo.h"
#include "fx/font.h"
#include "music/music.h"
#include "pack/tpack.h"
#include "platform/platform_testing.h"
#include "shell/shell.h"

static std::string ExePath;  // keeps the override's text alive
static bool WindowMade = false;

// No person answers here: every box is already on stderr; questions get No.
static int AnswerBox(HWND, const char*, const char*, UINT type) {
    return (type & 0xF) == MB_YESNO ? IDNO : IDOK;
}

bool CaptureStart(const std::string& exePath) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    SetMessageBoxHook(AnswerBox);
    ExePath = exePath;
    PlatformExePathOverride = ExePath.c_str();
    PlatformCounterOverride = 0;
    BassManualOutput(TRUE);
    if (!AudioStart()) return false;
    if (!CreateDemoWindow("Aurora - Vernalis", CAPTURE_WIDTH, CAPTURE_HEIGHT, 16, false)) return false;
    WindowMade = true;
    if (!DemoInit()) return false;
    if (!BASS_StreamPlay(MusicStream, FALSE, BASS_SAMPLE_LOOP)) return false;
    ClockStart();
    return true;
}

bool CaptureFrame(uint32_t position, bool holdP) {
    BassManualSetPosition(position);
    // Half a millisecond in, so the truncated clock reads exactly the frame's milliseconds.
    PlatformCounterOverride = (int64_t)CaptureElapsedMs(position) * 1000000 + 500000;
    KeyState['P'] = holdP ? 1 : 0;
    return DemoFrame();
}

void CaptureRead(std::vector<uint8_t>* rgb) {
    std::vector<uint8_t> bottomUp((size_t)CAPTURE_WIDTH * CAPTURE_HEIGHT * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, CAPTURE_WIDTH, CAPTURE_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    size_t row = (size_t)CAPTURE_WIDTH * 3;
    rgb->resize(bottomUp.size());
    for (int y = 0; y < CAPTURE_HEIGHT; y++)
        std::copy_n(bottomUp.data() + (CAPTURE_HEIGHT - 1 - y) * row, row, rgb->data() + y * row);
}

void CaptureStop() {
    DemoFree();
    FontDelete();
    AudioShutdown();
    if (WindowMade) DestroyDemoWindow();
    WindowMade = false;
    SetMessageBoxHook(nullptr);
}

bool CaptureSoundtrack(const std::string& path, std::string* error) {
    if (!TPACK_Open(nullptr, 0) || !TPACK_Find("Zozivuv.mp3")) {
        TPACK_Close();
        *error = "the pack has no soundtrack";
        return false;
    }
    bool fits = PackFileHolds(PackFile.file, PackFile.entryOffset, PackFile.entrySize);
    std::vector<uint8_t> bytes(fits ? (size_t)PackFile.entrySize : 0);
    bool read = fits && fseek(PackFile.file, PackFile.entryOffset, SEEK_SET) == 0 &&
                fread(bytes.data(), 1, bytes.size(), PackFile.file) == bytes.size();
    TPACK_Close();
    FILE* out = read ? fopen(path.c_str(), "wb") : nullptr;
    bool written = out && fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (out && fclose(out) != 0) written = false;
    if (!written) *error = read ? "cannot write " + path : "cannot read the soundtrack from the pack";
    return written;
}
