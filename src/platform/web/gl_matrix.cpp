// The model-view and projection stacks. The arithmetic follows the usual fixed-function
// implementations (translation and scaling applied in place, axis rotations built exactly) so
// that both pipelines place vertices alike. Vertices are taken to eye space as they are given,
// so only a change of projection has to draw the batch first.
#include <cmath>
#include <cstring>
#include "platform/web/gl_state.h"

struct MatrixStack {
    float m[32][16];
    int depth, capacity;  // depth: index of the top
};
static MatrixStack Modelview = {{}, 0, 32}, Projection = {{}, 0, 4};
static GLenum Mode = GL_MODELVIEW;
static uint32_t ModelviewSerial = 1;  // changes with the model-view matrix
static const double PI = 3.14159265358979323846;
static const float IDENTITY[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

static bool Initialised = [] {
    memcpy(Modelview.m[0], IDENTITY, sizeof IDENTITY);
    memcpy(Projection.m[0], IDENTITY, sizeof IDENTITY);
    return true;
}();

static MatrixStack* Current() { return Mode == GL_PROJECTION ? &Projection : &Modelview; }
static float* Top() { return Current()->m[Current()->depth]; }

const float* GlModelview() { return Modelview.m[Modelview.depth]; }
const float* GlProjection() { return Projection.m[Projection.depth]; }
GLenum GlMatrixModeNow() { return Mode; }
uint32_t GlModelviewSerial() { return ModelviewSerial; }

// Before the current matrix changes.
static void Changing() {
    if (Mode == GL_PROJECTION) GlDrawFlush();
    else ModelviewSerial++;
}

static void Multiply(const float* a, const float* b, float* out) {
    float p[16];
    for (int i = 0; i < 4; i++) {
        float a0 = a[i], a1 = a[4 + i], a2 = a[8 + i], a3 = a[12 + i];
        for (int j = 0; j < 4; j++)
            p[j * 4 + i] =
                a0 * b[j * 4] + a1 * b[j * 4 + 1] + a2 * b[j * 4 + 2] + a3 * b[j * 4 + 3];
    }
    memcpy(out, p, sizeof p);
}

void GlDoMultMatrix(const float* m) {
    Changing();
    Multiply(Top(), m, Top());
}

void GlDoTranslate(float x, float y, float z) {
    Changing();
    float* m = Top();
    for (int i = 0; i < 4; i++) m[12 + i] = m[i] * x + m[4 + i] * y + m[8 + i] * z + m[12 + i];
}

void GlDoScale(float x, float y, float z) {
    Changing();
    float* m = Top();
    for (int i = 0; i < 4; i++) m[i] *= x, m[4 + i] *= y, m[8 + i] *= z;
}

void GlDoRotate(float angle, float x, float y, float z) {
    float s = (float)sin(angle * PI / 180.0), c = (float)cos(angle * PI / 180.0);
    float r[16];
    memcpy(r, IDENTITY, sizeof r);
    int axes = (x != 0) + (y != 0) + (z != 0);
    if (axes == 0) return;
    if (axes == 1) {  // about one axis: exact sines and cosines, no normalising
        int a = x != 0 ? 0 : y != 0 ? 1 : 2;
        if ((a == 0 && x < 0) || (a == 1 && y < 0) || (a == 2 && z < 0)) s = -s;
        int i = (a + 1) % 3, j = (a + 2) % 3;  // the plane turned: i towards j
        r[i * 4 + i] = c, r[j * 4 + j] = c;
        r[i * 4 + j] = s, r[j * 4 + i] = -s;
    } else {
        float length = sqrtf(x * x + y * y + z * z);
        if (length <= 1.0e-4f) return;
        x /= length, y /= length, z /= length;
        float k = 1 - c;
        r[0] = x * x * k + c, r[4] = x * y * k - z * s, r[8] = z * x * k + y * s;
        r[1] = x * y * k + z * s, r[5] = y * y * k + c, r[9] = y * z * k - x * s;
        r[2] = z * x * k - y * s, r[6] = y * z * k + x * s, r[10] = z * z * k + c;
    }
    GlDoMultMatrix(r);
}

extern "C" {

void glMatrixMode(GLenum mode) {
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION) return GlSetError(GL_INVALID_ENUM);
    Mode = mode;
}

void glLoadIdentity() {
    Changing();
    memcpy(Top(), IDENTITY, sizeof IDENTITY);
}

void glPushMatrix() {
    MatrixStack* s = Current();
    if (s->depth + 1 >= s->capacity) return GlSetError(GL_STACK_OVERFLOW);
    memcpy(s->m[s->depth + 1], s->m[s->depth], sizeof s->m[0]);
    s->depth++;
}

void glPopMatrix() {
    MatrixStack* s = Current();
    if (s->depth == 0) return GlSetError(GL_STACK_UNDERFLOW);
    Changing();
    s->depth--;
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    if (!GlListCompiles(LIST_TRANSLATE, x, y, z)) GlDoTranslate(x, y, z);
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    if (!GlListCompiles(LIST_ROTATE, angle, x, y, z)) GlDoRotate(angle, x, y, z);
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    if (!GlListCompiles(LIST_SCALE, x, y, z)) GlDoScale(x, y, z);
}

void glMultMatrixf(const GLfloat* m) { GlDoMultMatrix(m); }

}  // extern "C"
