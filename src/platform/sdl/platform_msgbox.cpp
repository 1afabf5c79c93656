// Message boxes: always written to stderr, shown with SDL where a person can answer them.
#include <SDL2/SDL.h>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include "platform/platform_testing.h"

static MessageBoxHook ActiveHook = nullptr;

void SetMessageBoxHook(MessageBoxHook hook) { ActiveHook = hook; }

// VERNALIS_MSGBOX_ANSWER=yes|no answers every box without showing it.
static const char* PresetAnswer() {
    const char* answer = getenv("VERNALIS_MSGBOX_ANSWER");
    return (answer && *answer) ? answer : nullptr;
}

static bool DisplayAvailable() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        const char* display = getenv("DISPLAY");
        const char* wayland = getenv("WAYLAND_DISPLAY");
        return (display && *display) || (wayland && *wayland);
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && strcmp(driver, "offscreen") != 0 && strcmp(driver, "dummy") != 0;
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
                                SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"};
    }
    SDL_MessageBoxData data = {flags, nullptr, caption, text, count, buttons, nullptr};
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed < 0)
        return yesNo ? IDNO : IDOK;
    return pressed;
}

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    if (!text) text = "";
    if (!caption) caption = "Error";
    fprintf(stderr, "%s: %s\n", caption, text);
    fflush(stderr);
    if (ActiveHook) return ActiveHook(owner, text, caption, type);
    bool yesNo = (type & 0xF) == MB_YESNO;
    if (const char* answer = PresetAnswer()) {
        if (!yesNo) return IDOK;
        return (answer[0] == 'y' || answer[0] == 'Y') ? IDYES : IDNO;
    }
    if (!DisplayAvailable()) return yesNo ? IDNO : IDOK;
    return ShowWithSdl(text, caption, type);
}
