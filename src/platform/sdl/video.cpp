// The video subsystem over SDL2, and what the X server's going away must not do at exit.
#include <SDL2/SDL.h>
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "platform/sdl/video.h"

static XIOErrorHandler XlibOnLostServer = nullptr;
static bool ServerLost = false;

// Xlib ends the process when the X server goes away; leaving the video subsystem then would
// wait for the server's answer for ever (SDL waits on an event from a dead connection).
static int OnLostServer(Display* display) {
    ServerLost = true;
    return XlibOnLostServer ? XlibOnLostServer(display) : 0;
}

static void QuitVideo() {
    if (!ServerLost) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool VideoDriverShowsNothing(const char* driver) {
    return !driver || strcmp(driver, "offscreen") == 0 || strcmp(driver, "dummy") == 0;
}

static bool DriverNamed(const char* driver) {
    const char* named = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return named && strstr(named, driver);
}

static bool Unavailable(const char* why) {
    static bool said = false;
    if (!said) fprintf(stderr, "video: %s\n", why);
    said = true;
    return false;
}

bool VideoReady() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return Unavailable(SDL_GetError());
    const char* driver = SDL_GetCurrentVideoDriver();
    if (VideoDriverShowsNothing(driver) && !DriverNamed(driver)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return Unavailable("no display could be opened (is DISPLAY set and its server running?)");
    }
    static bool quitAtExit = atexit(QuitVideo) == 0;
    (void)quitAtExit;
    static bool watching = false;
    if (!watching && strcmp(driver, "x11") == 0) {
        XlibOnLostServer = XSetIOErrorHandler(OnLostServer);
        watching = true;
    }
    SDL_DisableScreenSaver();
    return true;
}
