// The window procedure and the message loop, driven with synthetic messages.
#include <SDL2/SDL.h>
#include "shell_fixture.h"

class WindowProcedure : public ShellTest {};

TEST_F(WindowProcedure, KeysSetAndClearTheirState) {
    EXPECT_EQ(WindowProc(nullptr, WM_KEYDOWN, 'P', 0), 0);
    EXPECT_TRUE(KeyState['P']);
    WindowProc(nullptr, WM_KEYDOWN, VK_ESCAPE, 0);
    WindowProc(nullptr, WM_KEYUP, 'P', 0);
    EXPECT_FALSE(KeyState['P']);
    EXPECT_TRUE(KeyState[VK_ESCAPE]);
}

TEST_F(WindowProcedure, SystemKeysAreNotRecorded) {
    WindowProc(nullptr, WM_SYSKEYDOWN, 'P', 0);
    WindowProc(nullptr, WM_SYSKEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(KeyState['P']);
    EXPECT_FALSE(KeyState[VK_ESCAPE]);
}

// Only the minimised state in the high word counts; losing the focus keeps drawing.
TEST_F(WindowProcedure, ActivationFollowsTheMinimisedState) {
    WindowProc(nullptr, WM_ACTIVATE, MAKELONG(WA_INACTIVE, 1), 0);
    EXPECT_FALSE(WindowActive);
    WindowProc(nullptr, WM_ACTIVATE, MAKELONG(WA_ACTIVE, 0), 0);
    EXPECT_TRUE(WindowActive);
    WindowProc(nullptr, WM_ACTIVATE, MAKELONG(WA_INACTIVE, 0), 0);
    EXPECT_TRUE(WindowActive);
}

TEST_F(WindowProcedure, CloseQuitsWithCodeZero) {
    WindowProc(nullptr, WM_CLOSE, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, (UINT)WM_QUIT);
    EXPECT_EQ(msg.wParam, 0u);
}

// The default handler would let the screen saver start again; the demo swallows the command.
TEST_F(WindowProcedure, ScreenSaverAndMonitorPowerAreSwallowed) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    for (WPARAM command : {(WPARAM)SC_SCREENSAVE, (WPARAM)SC_MONITORPOWER}) {
        SDL_DisableScreenSaver();
        EXPECT_EQ(WindowProc(nullptr, WM_SYSCOMMAND, command, 0), 0);
        EXPECT_FALSE(SDL_IsScreenSaverEnabled());
        DefWindowProcA(nullptr, WM_SYSCOMMAND, command, 0);
        EXPECT_TRUE(SDL_IsScreenSaverEnabled());
    }
    SDL_DisableScreenSaver();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

class MessageLoopTest : public WindowProcedure {
protected:
    void SetUp() override {
        WindowProcedure::SetUp();
        ASSERT_TRUE(CreateDemoWindow("Aurora - Vernalis", 640, 480, 16, false)) << BoxTexts();
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        PlatformClearMessages();
        WindowActive = 0;  // no frames: these tests are about messages
    }
};

TEST_F(MessageLoopTest, EscapeEndsWithItsKeyCodeOnTheNextIdlePass) {
    PostMessageA(WindowHandle, WM_KEYDOWN, VK_ESCAPE, 0);
    MessageLoop();
    EXPECT_TRUE(QuitFlag);
    EXPECT_EQ(LastMessage.message, (UINT)WM_KEYDOWN);
    EXPECT_EQ(LastMessage.wParam, (WPARAM)VK_ESCAPE);
}

TEST_F(MessageLoopTest, CloseEndsWithCodeZeroAfterLaterMessages) {
    PostMessageA(WindowHandle, WM_KEYDOWN, 'A', 0);
    PostMessageA(WindowHandle, WM_CLOSE, 0, 0);
    MessageLoop();
    EXPECT_EQ(LastMessage.message, (UINT)WM_QUIT);
    EXPECT_EQ(LastMessage.wParam, 0u);
    EXPECT_TRUE(KeyState['A']);
}

TEST_F(MessageLoopTest, AltF4ClosesThroughTheDefaultHandler) {
    PostMessageA(WindowHandle, WM_SYSKEYDOWN, VK_F4, 0);
    MessageLoop();
    EXPECT_EQ(LastMessage.message, (UINT)WM_QUIT);
    EXPECT_FALSE(KeyState[VK_F4]);
}

TEST_F(MessageLoopTest, SdlEventsArriveAsWin32Messages) {
    Uint32 id = SDL_GetWindowID(WindowHandle->sdl);
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.windowID = id;
    event.key.keysym.sym = SDLK_p;
    SDL_PushEvent(&event);
    event.key.keysym.sym = SDLK_F4;
    event.key.keysym.mod = KMOD_LALT;
    SDL_PushEvent(&event);
    event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = id;
    event.window.event = SDL_WINDOWEVENT_MINIMIZED;
    SDL_PushEvent(&event);

    MSG msg;
    std::vector<MSG> taken;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) taken.push_back(msg);
    ASSERT_GE(taken.size(), 4u);
    EXPECT_EQ(taken[0].message, (UINT)WM_KEYDOWN);
    EXPECT_EQ(taken[0].wParam, (WPARAM)'P');
    EXPECT_EQ(taken[0].hwnd, WindowHandle);
    EXPECT_EQ(taken[1].message, (UINT)WM_SYSKEYDOWN);
    EXPECT_EQ(taken[1].wParam, (WPARAM)VK_F4);
    EXPECT_EQ(taken[2].message, (UINT)WM_ACTIVATE);
    EXPECT_EQ(HIWORD(taken[2].wParam), 1);
    EXPECT_EQ(taken[3].message, (UINT)WM_SIZE);
    EXPECT_EQ(taken[3].lParam, 0);
}
