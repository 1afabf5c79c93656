// Loading every scene, choosing the scene of each frame from the stream position, freeing.
#include <GL/gl.h>
#include "demo/demo.h"
#include "demo/kit.h"
#include "fx/font.h"
#include "music/music.h"
#include "pack/tpack.h"
#include "shell/shell.h"

uint8_t HiddenPageFlag = 0;

// Scene 1's flash overlay is drawn inside scene 1's matrix push and pop.
static void Scene1WithOverlay(uint32_t elapsedMs) {
    Scene1Render(elapsedMs);
    Scene1Overlay();
}

const DemoScene DemoScenes[7] = {
    {0, SCENE2_START, Scene1Init, Scene1WithOverlay, Scene1Free},
    {SCENE2_START, SCENE3_START, Scene2Init, Scene2Render, Scene2Free},
    {SCENE3_START, SCENE4_START, Scene3Init, Scene3Render, Scene3Free},
    {SCENE4_START, SCENE5_START, Scene4Init, Scene4Render, Scene4Free},
    {SCENE5_START, SCENE6_START, Scene5Init, Scene5Render, Scene5Free},
    {SCENE6_START, SCENE7_START, Scene6Init, Scene6Render, Scene6Free},
    {SCENE7_START, TIMELINE_END, Scene7Init, Scene7Render, Scene7Free},
};

bool DemoInit() {
    if (!TPACK_Open(nullptr, 0)) {
        MessageBoxA(nullptr, "Initialization error...", "Unpacker Error", MB_OK | MB_ICONSTOP);
        return false;
    }
    if (!TPACK_Find("Zozivuv.mp3")) return false;
    if (!MusicFromPack(PackFile.file, PackFile.entryOffset, PackFile.entrySize)) return false;
    if (!FontBuild()) return false;
    for (const DemoScene& scene : DemoScenes)
        if (!scene.init()) return false;
    TPACK_Close();
    return true;
}

// The position is asked afresh for each bound, the upper only once the lower held, since the
// music runs on while a scene draws: a frame that straddles a boundary draws both scenes. A
// start of 0 needs no asking; the last scene's end is the timeline's, tested once at the start
// of the frame, so the last scene is drawn on the frame in which the position crosses it.
static bool Holds(const DemoScene& scene) {
    if (scene.start > 0 && StreamPos() < scene.start) return false;
    return scene.end == TIMELINE_END || StreamPos() < scene.end;
}

bool DemoFrame() {
    uint32_t elapsedMs = FrameMilliseconds(ClockElapsed());
    if (StreamPos() >= TIMELINE_END) return false;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    if (KeyState['P']) HiddenPageFlag = 1;
    // Smoothed lines and wide points may spill a pixel past the viewport: the scissor box
    // set with it keeps every scene off the letterbox bands.
    glEnable(GL_SCISSOR_TEST);
    for (const DemoScene& scene : DemoScenes) {
        if (!Holds(scene)) continue;
        glPushMatrix();
        scene.render(elapsedMs);
        glPopMatrix();
    }
    glDisable(GL_SCISSOR_TEST);
    return true;
}

void DemoFree() {
    for (const DemoScene& scene : DemoScenes) scene.free();
}
