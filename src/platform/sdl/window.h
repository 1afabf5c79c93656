// What the window and message halves of the platform layer share.
#pragma once
#include <SDL2/SDL.h>
#include "platform/message_queue.h"
#include "platform/platform_testing.h"
#include "platform/win32.h"

struct PlatformWindow {
    SDL_Window* sdl;
    WNDPROC proc;
    int width, height;  // client size
    bool fullscreen;
    bool hasPixelFormat;
    bool dcTaken;
};

struct PlatformContext {
    SDL_GLContext gl;
};

// Looks a live window up by SDL id; null when it has gone.
HWND PlatformWindowFromId(Uint32 id);
