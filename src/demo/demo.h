// The demo sequence: loading, the timeline that picks a scene by stream position, freeing.
#pragma once
#include <cstdint>

extern uint8_t HiddenPageFlag;  // latched by P, read by the closing scene

// Stream positions (bytes of decoded 16-bit mono at 44.1 kHz) where the scenes start.
enum : uint32_t {
    SCENE2_START = 3273984,
    SCENE3_START = 5199338,
    SCENE4_START = 7123328,
    SCENE5_START = 9517852,
    SCENE6_START = 10960128,
    SCENE7_START = 11922416,
    TIMELINE_END = 12853248,
};

bool DemoInit();
bool DemoFrame();
void DemoFree();

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
