// Scene 6. Its drawing is still to come; the timeline already calls it.
#include "demo/demo.h"

bool Scene6Init() { return true; }
void Scene6Render(uint32_t) {}
void Scene6Free() {}
