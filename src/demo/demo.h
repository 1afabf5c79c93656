// The demo sequence: loading, the timeline that picks a scene by stream position, freeing.
#pragma once
#include <cstdint>
#include "demo/cues.h"

extern uint8_t HiddenPageFlag;  // latched by P, read by the closing scene

bool DemoInit();
bool DemoFrame();
void DemoFree();

// The scenes' loaders in the order DemoInit runs them (the capture tool times each).
typedef bool (*SceneInit)();
extern const SceneInit SceneInits[7];

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
