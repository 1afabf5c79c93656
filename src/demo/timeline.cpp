// Loading every scene, choosing the scene of each frame from the stream position, freeing.
#include <GL/gl.h>
#include "demo/demo.h"
#include "demo/kit.h"
#include "fx/font.h"
#include "music/music.h"
#include "pack/tpack.h"
#include "shell/shell.h"

uint8_t HiddenPageFlag = 0;

typedef void (*SceneFree)();
const SceneInit SceneInits[7] = {Scene1Init, Scene2Init, Scene3Init, Scene4Init,
                                 Scene5Init, Scene6Init, Scene7Init};
static const SceneFree SceneFrees[] = {Scene1Free, Scene2Free, Scene3Free, Scene4Free,
                                       Scene5Free, Scene6Free, Scene7Free};

bool DemoInit() {
    if (!TPACK_Open(nullptr, 0)) {
        MessageBoxA(nullptr, "Initialization error...", "Unpacker Error", MB_OK | MB_ICONSTOP);
        return false;
    }
    if (!TPACK_Find("Zozivuv.mp3")) return false;
    if (!MusicFromPack(PackFile.file, PackFile.entryOffset, PackFile.entrySize)) return false;
    if (!FontBuild()) return false;
    for (SceneInit init : SceneInits)
        if (!init()) return false;
    TPACK_Close();
    return true;
}

static bool Within(uint32_t start, uint32_t end) { return StreamPos() >= start && StreamPos() < end; }

bool DemoFrame() {
    uint32_t elapsedMs = FrameMilliseconds(ClockElapsed());
    if (StreamPos() >= TIMELINE_END) return false;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    if (KeyState['P']) HiddenPageFlag = 1;
    // Smoothed lines and wide points may spill a pixel past the viewport: the scissor box
    // set with it keeps every scene off the letterbox bands.
    glEnable(GL_SCISSOR_TEST);
    if (StreamPos() < SCENE2_START) {
        glPushMatrix();
        Scene1Render(elapsedMs);
        Scene1Overlay();
        glPopMatrix();
    }
    static const struct {
        uint32_t start, end;
        void (*render)(uint32_t);
    } rows[] = {{SCENE2_START, SCENE3_START, Scene2Render}, {SCENE3_START, SCENE4_START, Scene3Render},
                {SCENE4_START, SCENE5_START, Scene4Render}, {SCENE5_START, SCENE6_START, Scene5Render},
                {SCENE6_START, SCENE7_START, Scene6Render}};
    for (const auto& row : rows) {
        if (!Within(row.start, row.end)) continue;
        glPushMatrix();
        row.render(elapsedMs);
        glPopMatrix();
    }
    if (StreamPos() >= SCENE7_START) {
        glPushMatrix();
        Scene7Render(elapsedMs);
        glPopMatrix();
    }
    glDisable(GL_SCISSOR_TEST);
    return true;
}

void DemoFree() {
    for (SceneFree free : SceneFrees) free();
}
