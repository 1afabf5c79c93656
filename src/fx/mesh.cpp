#include "fx/mesh.h"
#include <GL/gl.h>

bool GeometryOff = false;

static void ApplyPlacement(float tx, float ty, float tz, float rx, float ry, float rz) {
    glTranslatef(tx, ty, tz);
    glRotatef(rx, 1, 0, 0);
    glRotatef(ry, 0, 1, 0);
    glRotatef(rz, 0, 0, 1);
}

// The three edges as separate segments; shared edges are drawn once per face.
static const int EDGE_ORDER[6] = {0, 1, 1, 2, 2, 0};

static void Corner(const ModelVertex& c) { glVertex3f(c.x, c.y, c.z); }

// What the faces would have left current: the normal and the last corner's mapping.
static void LeaveCurrent(const Model* model, int n, bool textured) {
    glNormal3f(0, 0, 1);
    if (textured && n > 0) glTexCoord2f(model->faces[n - 1].corners[2].u, model->faces[n - 1].corners[2].v);
}

void DrawModel(const Model* model, float tx, float ty, float tz, float rx, float ry, float rz) {
    ApplyPlacement(tx, ty, tz, rx, ry, rz);
    int n = FaceLimit(model->faceCount);  // a record filled by hand may claim more
    if (GeometryOff) return LeaveCurrent(model, n, false);
    for (int i = 0; i < n; i++) {
        const ModelVertex* c = model->faces[i].corners;
        glBegin(GL_LINES);
        glNormal3f(0, 0, 1);
        for (int k : EDGE_ORDER) Corner(c[k]);
        glEnd();
    }
}

void DrawModelTextured(const Model* model, float tx, float ty, float tz, float rx, float ry,
                       float rz) {
    ApplyPlacement(tx, ty, tz, rx, ry, rz);
    int n = FaceLimit(model->faceCount);  // a record filled by hand may claim more
    if (GeometryOff) return LeaveCurrent(model, n, true);
    for (int i = 0; i < n; i++) {
        const ModelVertex* c = model->faces[i].corners;
        glBegin(GL_TRIANGLES);
        glNormal3f(0, 0, 1);  // one constant normal: every face is lit alike
        for (int k = 0; k < 3; k++) {
            glTexCoord2f(c[k].u, c[k].v);
            Corner(c[k]);
        }
        glEnd();
    }
}
