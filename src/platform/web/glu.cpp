// gluPerspective and gluLookAt, computed as the reference GLU computes them (perspective in
// double precision, the view basis in single) and multiplied onto the current matrix.
#include <GL/glu.h>
#include <cmath>

extern "C" {

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    double radians = fovy / 2 * 3.14159265358979323846 / 180;
    double depth = zFar - zNear, sine = sin(radians);
    if (depth == 0 || sine == 0 || aspect == 0) return;
    double cotangent = cos(radians) / sine;
    GLfloat m[16] = {};
    m[0] = (GLfloat)(cotangent / aspect);
    m[5] = (GLfloat)cotangent;
    m[10] = (GLfloat)(-(zFar + zNear) / depth);
    m[11] = -1;
    m[14] = (GLfloat)(-2 * zNear * zFar / depth);
    glMultMatrixf(m);
}

static void Normalize(float v[3]) {
    float r = (float)sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (r == 0) return;
    v[0] /= r, v[1] /= r, v[2] /= r;
}

static void Cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    float forward[3] = {(float)(centerX - eyeX), (float)(centerY - eyeY), (float)(centerZ - eyeZ)};
    float up[3] = {(float)upX, (float)upY, (float)upZ}, side[3];
    Normalize(forward);
    Cross(forward, up, side);
    Normalize(side);
    Cross(side, forward, up);
    GLfloat m[16] = {side[0], up[0], -forward[0], 0, side[1], up[1], -forward[1], 0,
                     side[2], up[2], -forward[2], 0, 0,       0,     0,           1};
    glMultMatrixf(m);
    glTranslatef((GLfloat)-eyeX, (GLfloat)-eyeY, (GLfloat)-eyeZ);
}

}  // extern "C"
