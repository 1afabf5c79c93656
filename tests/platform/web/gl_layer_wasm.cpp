// The layer in a wasm: it links with every GL name defined by us, GL calls before it has a
// context do nothing, and the table it draws with reaches the browser's WebGL functions, not
// our own names of the same spelling.
#include <GL/gl.h>
#include <cstdio>
#include "platform/web/gl_es.h"

extern "C" void* eglGetProcAddress(const char* name);

int main() {
    glViewport(0, 40, 640, 400);  // a resize before the context: nothing happens
    glBegin(GL_TRIANGLES);
    glVertex3f(0, 0, 0), glVertex3f(1, 0, 0), glVertex3f(0, 1, 0);
    glEnd();
    glClear(GL_COLOR_BUFFER_BIT);
    if (!GlesLoad(eglGetProcAddress)) return 1;
    bool apart = (void*)Es.Enable != (void*)&glEnable &&
                 (void*)Es.BindTexture != (void*)&glBindTexture &&
                 (void*)Es.Clear != (void*)&glClear;
    printf("GLES table %s the layer's own names\n", apart ? "is apart from" : "POINTS AT");
    return apart ? 0 : 1;
}
