// Process entry and the message loop that drives the show.
#include <GL/gl.h>
#include "demo/demo.h"
#include "fx/font.h"
#include "music/music.h"
#include "shell/shell.h"

uint8_t KeyState[256];
uint8_t WindowActive = 1;
bool QuitFlag = false;
MSG LastMessage;
uint8_t FullscreenFlag = 0;
int32_t ColorBits = 16;

static void ShowLoadingFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    SwapBuffers(DeviceContext);
}

// Renders whenever the queue is empty; never waits.
void MessageLoop() {
    while (!QuitFlag) {
        if (PeekMessageA(&LastMessage, nullptr, 0, 0, PM_REMOVE)) {
            if (LastMessage.message == WM_QUIT) {
                QuitFlag = true;
            } else {
                TranslateMessage(&LastMessage);
                DispatchMessageA(&LastMessage);
            }
            continue;
        }
        bool ended = WindowActive && !DemoFrame();
        if (ended || KeyState[VK_ESCAPE]) QuitFlag = true;
        else SwapBuffers(DeviceContext);
    }
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, char*, int) {
    if (!AudioStart()) return 0;
    FullscreenFlag = true;
    ColorBits = 16;
    if (!CreateDemoWindow("Aurora - Vernalis", 640, 480, ColorBits, FullscreenFlag)) {
        DemoFree();
        MessageBoxA(nullptr, "Unable to create OpenGL window!", "Error",
                    MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    ShowLoadingFrame();
    if (!DemoInit()) {
        DemoFree();
        DestroyDemoWindow();
        // KEPT ON PURPOSE: the caption's spelling is the one users have always seen.
        MessageBoxA(nullptr, "Demo Init error...", "No dreams avaliable",
                    MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    if (!BASS_StreamPlay(MusicStream, FALSE, BASS_SAMPLE_LOOP)) {
        DemoFree();
        AudioShutdown();
        DestroyDemoWindow();
        MessageBoxA(nullptr, "Unable to Play sound module!", "Bass error",
                    MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    ClockStart();
    MessageLoop();
    DemoFree();
    FontDelete();
    AudioShutdown();
    DestroyDemoWindow();
    return (int)LastMessage.wParam;
}
