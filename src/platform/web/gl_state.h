// What the layer's files share: each part owns its globals and offers these calls.
#pragma once
#include <GL/gl.h>

// gl_state.cpp: capabilities, blend function, errors.
void GlSetError(GLenum error);
bool GlCapOn(GLenum cap);

// gl_matrix.cpp: column-major 4x4 matrices, as GL keeps them.
const float* GlModelview();
const float* GlProjection();
void GlDoTranslate(float x, float y, float z);
void GlDoRotate(float angle, float x, float y, float z);
void GlDoScale(float x, float y, float z);
void GlDoMultMatrix(const float* m);
GLenum GlMatrixModeNow();
uint32_t GlModelviewSerial();

// gl_draw.cpp: current vertex attributes, begin/end, the batch of vertices not yet drawn, in
// eye space. Every call that changes what a draw depends on flushes the batch first.
void GlDrawFlush();
void GlDoBegin(GLenum mode);
void GlDoEnd();
void GlDoVertex(float x, float y, float z);
void GlDoTexCoord(float s, float t);
void GlDoNormal(float x, float y, float z);
void GlDoColor(float r, float g, float b, float a);
const float* GlCurrentColor();

// gl_light.cpp: what the lit shader needs; the light's position is in eye coordinates.
struct GlLightUniforms {
    float sceneAmbient[4], lightAmbient[4], lightDiffuse[4], lightPosition[4];
    float materialAmbient[4], materialDiffuse[4];
    bool lightOn, colorMaterial;
};
void GlLightingFor(GlLightUniforms* out);
void GlColorMaterialTrack(const float* color);  // the current colour changed
void GlColorMaterialEnabled();                  // GL_COLOR_MATERIAL was switched on

// gl_texture.cpp: whether the bound texture takes part in drawing (GL 1.1 leaves texturing
// off for a texture without a usable image).
bool GlTextureUsable();

// gl_shader.cpp: one program per lighting and texturing combination.
bool GlShadersBuild();
void GlShaderUse(bool lit, bool textured);
enum { GL_ATTRIB_POSITION = 0, GL_ATTRIB_COLOR = 1, GL_ATTRIB_TEXCOORD = 2, GL_ATTRIB_NORMAL = 3 };

// gl_lists.cpp: while a list is compiled, recordable calls go into it. True when the call
// must not also run now (GL_COMPILE).
enum GlListOp : uint8_t {
    LIST_BEGIN,
    LIST_END,
    LIST_VERTEX,
    LIST_TEXCOORD,
    LIST_NORMAL,
    LIST_COLOR,
    LIST_TRANSLATE,
    LIST_ROTATE,
    LIST_SCALE,
    LIST_CALL,
};
GLuint GlListBaseNow();
bool GlListCompiles(GlListOp op, float a = 0, float b = 0, float c = 0, float d = 0);
