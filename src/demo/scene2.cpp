// Scene 2. Its drawing is still to come; the timeline already calls it.
#include "demo/demo.h"

bool Scene2Init() { return true; }
void Scene2Render(uint32_t) {}
void Scene2Free() {}
