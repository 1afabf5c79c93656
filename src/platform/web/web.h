// What the web backend's halves share: the one window (the page's canvas), its context, and
// the calls into the page's script (library_web.js). Everything runs on the page's main thread.
#pragma once
#include <emscripten/html5_webgl.h>
#include "platform/message_queue.h"
#include "platform/platform_testing.h"
#include "platform/win32.h"

struct PlatformWindow {
    WNDPROC proc;
    int width, height;  // the canvas's drawing buffer
    bool hasPixelFormat;
    bool dcTaken;
};

struct PlatformContext {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE gl;
};

// Where the page puts the program file (vernalis.wasm, its pack at the end) in the in-memory
// file system; GetModuleFileNameA names it.
#define WEB_PROGRAM_PATH "/vernalis.wasm"

// Stills keep the drawing buffer after it is shown, so the page can read the picture back;
// set before the context is made.
extern bool WebKeepDrawingBuffer;

// A key from the page, as Win32 delivers it: the virtual-key code (the browser's keyCode is
// one), down or up, repeated, with Alt held.
extern "C" void WebKey(int vk, int down, int repeat, int alt);
// The page hidden (0) or shown again (1), as a window minimised and restored.
extern "C" void WebVisible(int visible);

extern "C" {
// Emscripten's lookup of the WebGL entry points: the browser's, not the GL layer's own names.
void* eglGetProcAddress(const char* name);

// Page calls; those marked "waits" return only once the browser has answered (Asyncify).
void web_canvas_size(int width, int height);
int web_wait_fullscreen();  // waits: 1 where the start click's full-screen request was granted
void web_leave_fullscreen();
void web_wait_frame();  // waits: the picture is shown and the page's events run
void web_show_box(const char* caption, const char* text, int yesNo, int answered);
int web_wait_answer();  // waits: the page's Yes (IDYES) or No (IDNO)
void web_cursor(int show);

int web_audio_open(int rate);  // 0 where Web Audio cannot play
void web_audio_run(int run);
double web_audio_decode(const void* data, int length);  // waits: frames, or -1 when refused
int web_audio_channels();
void web_audio_play(int loop);
double web_audio_heard();  // stream frames heard since play, on the smooth output clock
void web_audio_free();
}
