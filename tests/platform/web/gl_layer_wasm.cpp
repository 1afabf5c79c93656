// The layer in a wasm: it links with every GL name defined by us, and the table it draws with
// still reaches the browser's WebGL functions, not our own names of the same spelling.
#include <GL/gl.h>
#include <cstdio>
#include "platform/web/gl_es.h"

extern "C" void* eglGetProcAddress(const char* name);

int main() {
    if (!GlesLoad(eglGetProcAddress)) return 1;
    bool apart = (void*)Es.Enable != (void*)&glEnable && (void*)Es.BindTexture != (void*)&glBindTexture &&
                 (void*)Es.Clear != (void*)&glClear;
    printf("GLES table %s the layer's own names\n", apart ? "is apart from" : "POINTS AT");
    return apart ? 0 : 1;
}
