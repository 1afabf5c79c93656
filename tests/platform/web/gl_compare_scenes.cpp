// A frame of every scene, drawn by the demo's own timeline: the program carries the pack as
// the demo does, the stream position and the frame clock are set per frame, and each scene
// is played from its start at 10 frames a second with geometry off up to the frame compared,
// six seconds in, past its opening flash or fade.
#include <GL/gl.h>
#include <unistd.h>
#include <cstring>
#include "demo/demo.h"
#include "fx/mesh.h"
#include "gl_compare.h"
#include "music/music.h"
#include "shell/shell.h"

// What the timeline reaches of the shell and the music.
uint8_t KeyState[256];
HSTREAM MusicStream = 1;
static uint32_t Position = 0;
BOOL MusicFromPack(FILE*, int32_t, int32_t) { return TRUE; }
DWORD BASS_ChannelGetPosition(HSTREAM) { return Position; }
double ClockElapsed() { return Position / 88.2; }
uint32_t FrameMilliseconds(double elapsed) { return (uint32_t)(int64_t)elapsed; }
HINSTANCE GetModuleHandleA(const char*) { return nullptr; }
DWORD GetModuleFileNameA(HINSTANCE, char* path, DWORD size) {
    ssize_t n = readlink("/proc/self/exe", path, size - 1);
    path[n < 0 ? 0 : n] = '\0';
    return n < 0 ? 0 : (DWORD)n;
}

bool LoadDemo() { return DemoInit(); }

static const uint32_t FRAME_BYTES = 8820, SCENE_TIME = 6 * 88200;

static void PlayScene(int scene) {
    uint32_t target = SCENE_STARTS[scene] + SCENE_TIME;
    GeometryOff = true;
    for (Position = SCENE_STARTS[scene]; Position < target; Position += FRAME_BYTES) DemoFrame();
    GeometryOff = false;
    Position = target;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DemoFrame();
}

static void Scene1(Probes*) { PlayScene(0); }
static void Scene2(Probes*) { PlayScene(1); }
static void Scene3(Probes*) { PlayScene(2); }
static void Scene4(Probes*) { PlayScene(3); }
static void Scene5(Probes*) { PlayScene(4); }
static void Scene6(Probes*) { PlayScene(5); }
static void Scene7(Probes*) { PlayScene(6); }

const GlCase SCENE_CASES[] = {{"scene1", Scene1, true}, {"scene2", Scene2, true},
                              {"scene3", Scene3, true}, {"scene4", Scene4, true},
                              {"scene5", Scene5, true}, {"scene6", Scene6, true},
                              {"scene7", Scene7, true}};
const int SCENE_CASE_COUNT = 7;
