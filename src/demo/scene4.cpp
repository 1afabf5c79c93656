// Scene 4. Its drawing is still to come; the timeline already calls it.
#include "demo/demo.h"

bool Scene4Init() { return true; }
void Scene4Render(uint32_t) {}
void Scene4Free() {}
