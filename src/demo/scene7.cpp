// Scene 7. Its drawing is still to come; the timeline already calls it.
#include "demo/demo.h"

bool Scene7Init() { return true; }
void Scene7Render(uint32_t) {}
void Scene7Free() {}
