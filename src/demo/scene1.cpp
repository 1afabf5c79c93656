// Scene 1. Its drawing is still to come; the timeline already calls it.
#include "demo/demo.h"

bool Scene1Init() { return true; }
void Scene1Render(uint32_t) {}
void Scene1Overlay() {}
void Scene1Free() {}
