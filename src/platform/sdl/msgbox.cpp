// Message boxes: always written to stderr, shown with SDL where a person can answer them.
#include <SDL2/SDL.h>
#include <cstdlib>
#include "platform/msgbox_unseen.h"
#include "platform/sdl/video.h"

static bool DisplayAvailable() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        const char* display = getenv("DISPLAY");
        const char* wayland = getenv("WAYLAND_DISPLAY");
        return (display && *display) || (wayland && *wayland);
    }
    return !VideoDriverShowsNothing(SDL_GetCurrentVideoDriver());
}

static int ShowWithSdl(const char* text, const char* caption, UINT type) {
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    UINT icon = type & 0xF0;
    if (icon == MB_ICONSTOP) flags = SDL_MESSAGEBOX_ERROR;
    else if (icon == MB_ICONEXCLAMATION) flags = SDL_MESSAGEBOX_WARNING;
    bool yesNo = (type & 0xF) == MB_YESNO;
    SDL_MessageBoxButtonData buttons[2];
    int count = 0;
    if (yesNo) {
        buttons[count++] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"};
        buttons[count++] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"};
    } else {
        buttons[count++] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT |
                                SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                            IDOK, "OK"};
    }
    SDL_MessageBoxData data = {flags, nullptr, caption, text, count, buttons, nullptr};
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed < 0) return yesNo ? IDNO : IDOK;
    return pressed;
}

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    int answer = IDOK;
    if (MessageBoxAnsweredUnseen(owner, &text, &caption, type, &answer)) return answer;
    if (!DisplayAvailable()) return (type & 0xF) == MB_YESNO ? IDNO : IDOK;
    return ShowWithSdl(text, caption, type);
}
