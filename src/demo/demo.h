// The demo sequence: loading, the timeline that picks a scene by stream position, freeing.
#pragma once
#include <cstdint>
#include "demo/cues.h"

extern uint8_t HiddenPageFlag;  // latched by P, read by the closing scene

bool DemoInit();
bool DemoFrame();
void DemoFree();

// The seven scenes in order: the window of stream positions each is drawn in (start <= p <
// end), and its routines. DemoInit runs the inits in this order (the capture tool times each),
// DemoFrame draws every scene whose window holds the position, DemoFree runs the frees.
struct DemoScene {
    uint32_t start, end;
    bool (*init)();
    void (*render)(uint32_t elapsedMs);
    void (*free)();
};
extern const DemoScene DemoScenes[7];

bool Scene1Init();
void Scene1Render(uint32_t elapsedMs);
void Scene1Overlay();
void Scene1Free();
bool Scene2Init();
void Scene2Render(uint32_t elapsedMs);
void Scene2Free();
bool Scene3Init();
void Scene3Render(uint32_t elapsedMs);
void Scene3Free();
bool Scene4Init();
void Scene4Render(uint32_t elapsedMs);
void Scene4Free();
bool Scene5Init();
void Scene5Render(uint32_t elapsedMs);
void Scene5Free();
bool Scene6Init();
void Scene6Render(uint32_t elapsedMs);
void Scene6Free();
bool Scene7Init();
void Scene7Render(uint32_t elapsedMs);
void Scene7Free();
