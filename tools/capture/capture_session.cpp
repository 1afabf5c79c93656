// The demo brought up offscreen: the program's own start-up, frame and shutdown, with the
// stream position and the frame clock set per frame instead of running in real time.
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <SDL2/SDL.h>
#include <algorithm>
#include "capture/capture.h"
#include "demo/demo.h"
#include "fx/font.h"
#include "fx/mesh.h"
#include "music/music.h"
#include "pack/tpack.h"
#include "platform/platform_testing.h"
#include "shell/shell.h"

static std::string ExePath;  // keeps the override's text alive
static bool WindowMade = false;
static int Scale = 1;

// No person answers here: every box is already on stderr; questions get No.
static int AnswerBox(HWND, const char*, const char*, UINT type) {
    return (type & 0xF) == MB_YESNO ? IDNO : IDOK;
}

int CaptureWidth() { return CAPTURE_WIDTH * Scale; }
int CaptureHeight() { return CAPTURE_HEIGHT * Scale; }

// The program's letterbox and projection at `scale` times the size: bands of 40 * scale rows
// and the aspect of the 640x400 picture, so the framing stays exactly the same.
static void ApplyScale(int scale) {
    int band = 40 * scale, width = CAPTURE_WIDTH * scale,
        picture = CAPTURE_HEIGHT * scale - 2 * band;
    glViewport(0, band, width, picture);
    glScissor(0, band, width, picture);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 640.0 / 400.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLineWidth((GLfloat)scale);
    glPointSize((GLfloat)scale);
}

void CapturePrepare(const std::string& exePath, int scale) {
    Scale = scale;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    // No events are taken here, so Ctrl-C and SIGTERM must keep ending the process.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SetMessageBoxHook(AnswerBox);
    ExePath = exePath;
    PlatformExePathOverride = ExePath.c_str();
    PlatformCounterOverride = 0;
    BassManualOutput(TRUE);
}

bool CaptureOpenWindow() {
    if (!CreateDemoWindow("Aurora - Vernalis", CaptureWidth(), CaptureHeight(), 16, false))
        return false;
    WindowMade = true;
    if (Scale != 1) ApplyScale(Scale);  // scale 1 keeps the program's own state untouched
    return true;
}

bool CapturePlay() {
    if (!BASS_StreamPlay(MusicStream, FALSE, BASS_SAMPLE_LOOP)) return false;
    ClockStart();
    return true;
}

bool CaptureStart(const std::string& exePath, int scale) {
    CapturePrepare(exePath, scale);
    return AudioStart() && CaptureOpenWindow() && DemoInit() && CapturePlay();
}

bool CaptureFrame(uint32_t position, bool holdP) {
    BassManualSetPosition(position);
    // Half a millisecond in, so the truncated clock reads exactly the frame's milliseconds.
    PlatformCounterOverride = (int64_t)CaptureElapsedMs(position) * 1000000 + 500000;
    KeyState['P'] = holdP ? 1 : 0;
    return DemoFrame();
}

// Two pixel buffers in turn: the frame just drawn is read into one while the one before is
// copied out, so where the driver reads asynchronously drawing the next frame need not wait.
// llvmpipe does not: any read waits until every frame sent is rasterised (with offscreen
// targets and fences too), which is why long runs are drawn by two processes instead.
static PFNGLGENBUFFERSPROC GenBuffers;
static PFNGLBINDBUFFERPROC BindBuffer;
static PFNGLBUFFERDATAPROC BufferData;
static PFNGLMAPBUFFERPROC MapBuffer;
static PFNGLUNMAPBUFFERPROC UnmapBuffer;
static PFNGLDELETEBUFFERSPROC DeleteBuffers;
static GLuint PixelBuffers[2];
static uint64_t ReadsStarted = 0, ReadsFinished = 0;

static bool PixelBuffersReady() {
    if (PixelBuffers[0]) return true;
    GenBuffers = (PFNGLGENBUFFERSPROC)SDL_GL_GetProcAddress("glGenBuffers");
    BindBuffer = (PFNGLBINDBUFFERPROC)SDL_GL_GetProcAddress("glBindBuffer");
    BufferData = (PFNGLBUFFERDATAPROC)SDL_GL_GetProcAddress("glBufferData");
    MapBuffer = (PFNGLMAPBUFFERPROC)SDL_GL_GetProcAddress("glMapBuffer");
    UnmapBuffer = (PFNGLUNMAPBUFFERPROC)SDL_GL_GetProcAddress("glUnmapBuffer");
    DeleteBuffers = (PFNGLDELETEBUFFERSPROC)SDL_GL_GetProcAddress("glDeleteBuffers");
    if (!GenBuffers || !BindBuffer || !BufferData || !MapBuffer || !UnmapBuffer || !DeleteBuffers)
        return false;
    GenBuffers(2, PixelBuffers);
    for (GLuint buffer : PixelBuffers) {
        BindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
        BufferData(GL_PIXEL_PACK_BUFFER, (GLsizeiptr)CaptureWidth() * CaptureHeight() * 3, nullptr,
                   GL_STREAM_READ);
    }
    BindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    return true;
}

static void ReadInto(void* target) {
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, CaptureWidth(), CaptureHeight(), GL_RGB, GL_UNSIGNED_BYTE, target);
}

static void FlipInto(const uint8_t* bottomUp, std::vector<uint8_t>* rgb) {
    size_t row = (size_t)CaptureWidth() * 3;
    int height = CaptureHeight();
    rgb->resize(row * height);
    for (int y = 0; y < height; y++)
        std::copy_n(bottomUp + (height - 1 - y) * row, row, rgb->data() + y * row);
}

static std::vector<uint8_t> Pending[2];  // frames read without pixel buffers

void CaptureReadStart() {
    int slot = (int)(ReadsStarted++ % 2);
    if (!PixelBuffersReady()) {
        Pending[slot].resize((size_t)CaptureWidth() * CaptureHeight() * 3);
        ReadInto(Pending[slot].data());
        return;
    }
    BindBuffer(GL_PIXEL_PACK_BUFFER, PixelBuffers[slot]);
    ReadInto(nullptr);
    BindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

bool CaptureReadFinish(std::vector<uint8_t>* rgb) {
    int slot = (int)(ReadsFinished++ % 2);
    if (!PixelBuffers[0]) {
        FlipInto(Pending[slot].data(), rgb);
        return true;
    }
    BindBuffer(GL_PIXEL_PACK_BUFFER, PixelBuffers[slot]);
    const uint8_t* bottomUp = (const uint8_t*)MapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY);
    if (bottomUp) {
        FlipInto(bottomUp, rgb);
        UnmapBuffer(GL_PIXEL_PACK_BUFFER);
    }
    BindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    return bottomUp != nullptr;
}

bool CaptureRead(std::vector<uint8_t>* rgb) {
    CaptureReadStart();
    return CaptureReadFinish(rgb);
}

void CaptureStop() {
    MeshForgetCompiled();
    if (PixelBuffers[0]) DeleteBuffers(2, PixelBuffers);
    PixelBuffers[0] = PixelBuffers[1] = 0;
    ReadsStarted = ReadsFinished = 0;
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
    if (!written)
        *error = read ? "cannot write " + path : "cannot read the soundtrack from the pack";
    return written;
}
