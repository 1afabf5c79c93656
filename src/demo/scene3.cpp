// Scene 3. Its drawing is still to come; the timeline already calls it.
#include "demo/demo.h"

bool Scene3Init() { return true; }
void Scene3Render(uint32_t) {}
void Scene3Free() {}
