// Lights, the light model and the front material. The lit shader uses the first enabled
// light; specular, emission, spot and attenuation keep their defaults, which add nothing.
#include <cstring>
#include "platform/web/gl_state.h"

struct Light {
    float ambient[4], diffuse[4], position[4];  // position in eye coordinates
};
static Light Lights[8];
static float SceneAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
static float MaterialAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
static float MaterialDiffuse[4] = {0.8f, 0.8f, 0.8f, 1};

static bool Initialised = [] {
    for (Light& l : Lights) {
        const float off[4] = {0, 0, 0, 1}, position[4] = {0, 0, 1, 0};
        memcpy(l.ambient, off, sizeof off);
        memcpy(l.diffuse, off, sizeof off);
        memcpy(l.position, position, sizeof position);
    }
    for (int i = 0; i < 4; i++) Lights[0].diffuse[i] = 1;
    return true;
}();

static void Copy4(float* to, const float* from) { memcpy(to, from, 4 * sizeof(float)); }

void GlLightingFor(GlLightUniforms* out) {
    Copy4(out->sceneAmbient, SceneAmbient);
    Copy4(out->materialAmbient, MaterialAmbient);
    Copy4(out->materialDiffuse, MaterialDiffuse);
    out->colorMaterial = GlCapOn(GL_COLOR_MATERIAL);
    out->lightOn = false;
    for (int i = 0; i < 8 && !out->lightOn; i++) {
        if (!GlCapOn(GL_LIGHT0 + i)) continue;
        out->lightOn = true;
        Copy4(out->lightAmbient, Lights[i].ambient);
        Copy4(out->lightDiffuse, Lights[i].diffuse);
        Copy4(out->lightPosition, Lights[i].position);
    }
}

// While GL_COLOR_MATERIAL is on, the material follows the current colour, and keeps the last
// one when it goes off. The batch carries the colour per vertex, so nothing is flushed here.
void GlColorMaterialTrack(const float* color) {
    if (!GlCapOn(GL_COLOR_MATERIAL)) return;
    Copy4(MaterialAmbient, color);
    Copy4(MaterialDiffuse, color);
}

void GlColorMaterialEnabled() { GlColorMaterialTrack(GlCurrentColor()); }

extern "C" {

void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    if (light < GL_LIGHT0 || light > GL_LIGHT7) return GlSetError(GL_INVALID_ENUM);
    Light* l = &Lights[light - GL_LIGHT0];
    GlDrawFlush();
    switch (pname) {
    case GL_AMBIENT: return Copy4(l->ambient, params);
    case GL_DIFFUSE: return Copy4(l->diffuse, params);
    case GL_POSITION: {  // kept in eye coordinates, as the model-view matrix places it now
        const float* m = GlModelview();
        for (int i = 0; i < 4; i++)
            l->position[i] = m[i] * params[0] + m[4 + i] * params[1] + m[8 + i] * params[2] +
                             m[12 + i] * params[3];
        return;
    }
    default: GlSetError(GL_INVALID_ENUM);
    }
}

void glLightModelfv(GLenum pname, const GLfloat* params) {
    if (pname != GL_LIGHT_MODEL_AMBIENT) return GlSetError(GL_INVALID_ENUM);
    GlDrawFlush();
    Copy4(SceneAmbient, params);
}

void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    if (face != GL_FRONT && face != GL_FRONT_AND_BACK) return GlSetError(GL_INVALID_ENUM);
    if (pname != GL_AMBIENT && pname != GL_DIFFUSE && pname != GL_AMBIENT_AND_DIFFUSE)
        return GlSetError(GL_INVALID_ENUM);
    GlDrawFlush();
    if (pname != GL_DIFFUSE) Copy4(MaterialAmbient, params);
    if (pname != GL_AMBIENT) Copy4(MaterialDiffuse, params);
}

void glColorMaterial(GLenum face, GLenum mode) {
    if ((face != GL_FRONT && face != GL_FRONT_AND_BACK) || mode != GL_AMBIENT_AND_DIFFUSE)
        GlSetError(GL_INVALID_ENUM);
}

}  // extern "C"
