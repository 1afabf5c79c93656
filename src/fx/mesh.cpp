#include "fx/mesh.h"
#include <GL/gl.h>
#include <cstring>
#include <vector>

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
    if (textured && n > 0)
        glTexCoord2f(model->faces[n - 1].corners[2].u, model->faces[n - 1].corners[2].v);
}

// A model is compiled into a display list the first time it is drawn, with a copy of the faces
// it was made from; one whose faces have changed since (the morph) is sent face by face from
// then on. The list holds exactly the calls below, so the pixels are the same.
struct CompiledModel {
    const Model* model;
    bool textured;
    GLuint list;  // 0: the model changes, draw it face by face
    std::vector<ModelFace> faces;
};
static std::vector<CompiledModel> Compiled;

void MeshForgetCompiled() { Compiled.clear(); }

static void EmitWireframe(const Model* model, int n) {
    for (int i = 0; i < n; i++) {
        const ModelVertex* c = model->faces[i].corners;
        glBegin(GL_LINES);
        glNormal3f(0, 0, 1);
        for (int k : EDGE_ORDER) Corner(c[k]);
        glEnd();
    }
}

static void EmitTextured(const Model* model, int n) {
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

static void DrawCompiled(const Model* model, int n, bool textured) {
    if (n <= 0) return;  // nothing to send; an empty copy would compare through a null pointer
    void (*emit)(const Model*, int) = textured ? EmitTextured : EmitWireframe;
    CompiledModel* entry = nullptr;
    for (CompiledModel& c : Compiled)
        if (c.model == model && c.textured == textured) entry = &c;
    if (entry && entry->list && entry->faces.size() == (size_t)n &&
        memcmp(entry->faces.data(), model->faces, n * sizeof(ModelFace)) == 0) {
        glCallList(entry->list);
        return;
    }
    if (entry) {  // changed since it was compiled: it changes, so no list from now on
        if (entry->list) glDeleteLists(entry->list, 1);
        entry->list = 0;
        entry->faces.clear();
        return emit(model, n);
    }
    GLuint list = glGenLists(1);
    if (list == 0) return emit(model, n);
    Compiled.push_back(
        {model, textured, list, std::vector<ModelFace>(model->faces, model->faces + n)});
    glNewList(list, GL_COMPILE_AND_EXECUTE);
    emit(model, n);
    glEndList();
}

static void DrawPlaced(const Model* model, bool textured, float tx, float ty, float tz, float rx,
                       float ry, float rz) {
    ApplyPlacement(tx, ty, tz, rx, ry, rz);
    int n = FaceLimit(model->faceCount);  // a record filled by hand may claim more
    if (GeometryOff) return LeaveCurrent(model, n, textured);
    DrawCompiled(model, n, textured);
}

void DrawModel(const Model* model, float tx, float ty, float tz, float rx, float ry, float rz) {
    DrawPlaced(model, false, tx, ty, tz, rx, ry, rz);
}

void DrawModelTextured(const Model* model, float tx, float ty, float tz, float rx, float ry,
                       float rz) {
    DrawPlaced(model, true, tx, ty, tz, rx, ry, rz);
}
