// Stand-ins, until the GL 1.1 layer is merged, for what Emscripten's own GL emulation lacks:
// display lists draw nothing and attribute stacks keep nothing. Not for release.
#include <GL/gl.h>
#include "platform/web/web.h"

void GlLayerInit(void* (*)(const char*)) {}

static GLuint NextList = 1;
extern "C" {
GLuint glGenLists(GLsizei range) {
    GLuint first = NextList;
    NextList += (GLuint)range;
    return first;
}
void glNewList(GLuint, GLenum) {}
void glEndList() {}
void glCallList(GLuint) {}
void glCallLists(GLsizei, GLenum, const GLvoid*) {}
void glDeleteLists(GLuint, GLsizei) {}
void glListBase(GLuint) {}
void glColorMaterial(GLenum, GLenum) {}
void glPushAttrib(GLbitfield) {}
void glPopAttrib() {}
}
