// Scene 5. Its drawing is still to come; the timeline already calls it.
#include "demo/demo.h"

bool Scene5Init() { return true; }
void Scene5Render(uint32_t) {}
void Scene5Free() {}
