// Capabilities, fragment state, errors, queries and the calls that go straight to GLES.
#include "platform/web/gl_es.h"
#include "platform/web/gl_layer.h"
#include "platform/web/gl_state.h"

static GLenum Error = GL_NO_ERROR;  // the layer's own, reported before the context's

void GlSetError(GLenum error) {
    if (Error == GL_NO_ERROR) Error = error;
}

// Every capability the layer knows; `es` ones are also switched in the GLES context.
static struct Cap {
    GLenum cap;
    bool on, es;
} Caps[] = {
    {GL_TEXTURE_2D, false, false},     {GL_LIGHTING, false, false},
    {GL_COLOR_MATERIAL, false, false}, {GL_LINE_SMOOTH, false, false},
    {GL_POLYGON_SMOOTH, false, false}, {GL_POINT_SMOOTH, false, false},
    {GL_BLEND, false, true},           {GL_DEPTH_TEST, false, true},
    {GL_CULL_FACE, false, true},       {GL_SCISSOR_TEST, false, true},
    {GL_DITHER, true, true},           {GL_LIGHT0, false, false},
    {GL_LIGHT1, false, false},         {GL_LIGHT2, false, false},
    {GL_LIGHT3, false, false},         {GL_LIGHT4, false, false},
    {GL_LIGHT5, false, false},         {GL_LIGHT6, false, false},
    {GL_LIGHT7, false, false},
};

static Cap* FindCap(GLenum cap) {
    for (Cap& c : Caps)
        if (c.cap == cap) return &c;
    GlSetError(GL_INVALID_ENUM);
    return nullptr;
}

bool GlCapOn(GLenum cap) {
    for (const Cap& c : Caps)
        if (c.cap == cap) return c.on;
    return false;
}

static void SetCap(GLenum cap, bool on) {
    Cap* c = FindCap(cap);
    if (!c || c->on == on) return;
    GlDrawFlush();
    c->on = on;
    if (c->es) on ? Es.Enable(cap) : Es.Disable(cap);
    if (on && cap == GL_COLOR_MATERIAL) GlColorMaterialEnabled();
}

bool GlLayerInit(void* (*getProc)(const char*)) {
    if (!GlesLoad(getProc)) return false;
    Es.Enable(GL_DITHER);
    return GlShadersBuild();
}

extern "C" {

void glEnable(GLenum cap) { SetCap(cap, true); }
void glDisable(GLenum cap) { SetCap(cap, false); }

GLboolean glIsEnabled(GLenum cap) {
    Cap* c = FindCap(cap);
    return c && c->on ? GL_TRUE : GL_FALSE;
}

static GLenum BlendSource = GL_ONE, BlendDest = GL_ZERO;

void glBlendFunc(GLenum source, GLenum destination) {
    if (source == BlendSource && destination == BlendDest) return;
    GlDrawFlush();
    BlendSource = source, BlendDest = destination;
    Es.BlendFunc(source, destination);
}

static GLenum DepthFunc = GL_LESS;

void glDepthFunc(GLenum func) {
    if (func == DepthFunc) return;  // the sprites put GL_LEQUAL back after every one
    GlDrawFlush();
    DepthFunc = func;
    Es.DepthFunc(func);
}

void glShadeModel(GLenum mode) {
    if (mode != GL_SMOOTH) GlSetError(GL_INVALID_ENUM);  // flat shading is not offered
}

void glHint(GLenum, GLenum) {}  // GLES interpolates with perspective correction anyway
void glPointSize(GLfloat) {}    // no points are drawn

void glLineWidth(GLfloat width) {
    GlDrawFlush();
    Es.LineWidth(width);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    GlDrawFlush();
    Es.Viewport(x, y, width, height);
}

void glScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    GlDrawFlush();
    Es.Scissor(x, y, width, height);
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { Es.ClearColor(r, g, b, a); }
void glClearDepth(GLclampd depth) { Es.ClearDepthf((GLclampf)depth); }

void glClear(GLbitfield mask) {
    GlDrawFlush();
    Es.Clear(mask);
}

void glFinish() {
    GlDrawFlush();
    Es.Finish();
}

void glFlush() {
    GlDrawFlush();
    Es.Flush();
}

void glReadBuffer(GLenum) {}  // GLES reads the buffer it draws into

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  GLvoid* pixels) {
    GlDrawFlush();
    Es.ReadPixels(x, y, width, height, format, type, pixels);
}

void glPixelStorei(GLenum pname, GLint param) { Es.PixelStorei(pname, param); }

GLenum glGetError() {
    GLenum error = Error;
    Error = GL_NO_ERROR;
    return error != GL_NO_ERROR ? error : Es.GetError();
}

void glGetIntegerv(GLenum pname, GLint* params) {
    switch (pname) {
    case GL_BLEND_SRC: *params = (GLint)BlendSource; return;
    case GL_BLEND_DST: *params = (GLint)BlendDest; return;
    case GL_MATRIX_MODE: *params = (GLint)GlMatrixModeNow(); return;
    case GL_LIST_BASE: *params = (GLint)GlListBaseNow(); return;
    default: Es.GetIntegerv(pname, params);
    }
}

void glGetFloatv(GLenum pname, GLfloat* params) {
    switch (pname) {
    case GL_CURRENT_COLOR:
        for (int i = 0; i < 4; i++) params[i] = GlCurrentColor()[i];
        return;
    case GL_MODELVIEW_MATRIX:
    case GL_PROJECTION_MATRIX: {
        const float* m = pname == GL_MODELVIEW_MATRIX ? GlModelview() : GlProjection();
        for (int i = 0; i < 16; i++) params[i] = m[i];
        return;
    }
    default: Es.GetFloatv(pname, params);
    }
}

}  // extern "C"
