// The drawing compared between Mesa's fixed-function pipeline and our GL layer: the demo's
// own effect routines, with its models and textures, from the demo's initial GL state.
#include "gl_compare.h"
#include <GL/gl.h>
#include <GL/glu.h>
#include <cstring>
#include <string>
#include "fx/flash.h"
#include "fx/font.h"
#include "fx/glow.h"
#include "fx/mesh.h"
#include "fx/particles.h"
#include "loaders/model3ds.h"
#include "loaders/tga.h"
#include "shell/shell.h"

static Model Galaxy, Tube, Head, Knot;
static Texture Blue, Blue2, HeadSkin, Particle, Flare, Credits, Unloaded;

bool LoadCaseMedia(const char* modelDir, const char* assetDir) {
    const struct {
        const char* file;
        Model* model;
    } models[] = {
        {"Galaxy.3DS", &Galaxy}, {"Tubo.3ds", &Tube}, {"CaraTio1.3DS", &Head}, {"Nudo.3DS", &Knot}};
    for (const auto& m : models)
        if (!Load3dsFromFile((std::string(modelDir) + "/" + m.file).c_str(), m.model)) return false;
    const struct {
        const char* file;
        Texture* texture;
    } textures[] = {{"blue.tga", &Blue},         {"blue2.tga", &Blue2},
                    {"caratio1.tga", &HeadSkin}, {"Particle.tga", &Particle},
                    {"BigFlare.tga", &Flare},    {"credits.tga", &Credits}};
    for (const auto& t : textures)
        if (!LoadTgaFromFile(t.texture, (std::string(assetDir) + "/" + t.file).c_str()))
            return false;
    return true;
}

// The demo's window state: the letterboxed projection and InitGlState's state, with what the
// cases switch on put back off.
void ResetDemoState() {
    for (GLenum cap :
         {GL_LIGHTING, GL_COLOR_MATERIAL, GL_CULL_FACE, GL_LINE_SMOOTH, GL_SCISSOR_TEST})
        glDisable(cap);
    ResizeViewport(640, 480);
    InitGlState();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// The scenes' lighting bracket: white ambient, colour material on ambient and diffuse.
static void LightUp() {
    static const GLfloat white[] = {1, 1, 1, 1};
    glEnable(GL_LIGHTING);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, white);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, white);
}

static void Textured(const Model* model, const Texture* skin, float z, float turn, float scale) {
    glPushMatrix();
    glScalef(scale, scale, scale);
    glBindTexture(GL_TEXTURE_2D, skin->id);
    DrawModelTextured(model, 0, 0, z, 90, turn, 20);
    glPopMatrix();
}

// Every model twice: the first draw compiles its display list, the second calls it.
static void WireModels(Probes*) {
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.6f, 1, 0.8f, 0.8f);
    for (float turn : {10.0f, 40.0f}) {
        glPushMatrix();
        DrawModel(&Galaxy, turn / 20 - 1.5f, 0, -12, 70, turn, 0);
        glPopMatrix();
    }
}

// Scenes 1 and 2's wireframe ghosts: smoothed lines, which WebGL does not have.
static void SmoothLines(Probes* probes) {
    glEnable(GL_LINE_SMOOTH);
    WireModels(probes);
}

// Under a rolling camera whose up vector is not square to the view, as scene 4's.
static void TexturedModels(Probes*) {
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    gluLookAt(0, 0, 5, 0, -20, -250, 0.6, 1, 0);
    Textured(&Tube, &Blue, 0, 30, 1);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 0.5f);
    Textured(&Tube, &Blue2, 0, 75, 0.8f);  // translucent, inside the first
}

// Scaled models under the light: normals grow by the inverse scale and are not renormalised.
static void LitModels(Probes*) {
    LightUp();
    glDisable(GL_BLEND);
    Textured(&Head, &HeadSkin, -8, 25, 0.5f);
    glColor4f(0.9f, 0.6f, 0.3f, 1);
    glDisable(GL_TEXTURE_2D);
    glPushMatrix();
    glScalef(0.1f, 0.1f, 0.1f);
    glScalef(0.4f, 0.4f, 0.4f);
    DrawModelTextured(&Knot, 30, 10, -200, 35, 50, 65);
    glPopMatrix();
    glDisable(GL_COLOR_MATERIAL);  // the material keeps the last colour
    glColor4f(0.2f, 0.2f, 1, 1);
    DrawModelTextured(&Knot, -3, -1, -12, 10, 20, 30);
}

// Fifty steps of the fountain as the scenes draw it; only the last frame is kept.
static void Fountain(Probes*) {
    ParticlesInit();
    for (int step = 0; step < 50; step++) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glPushMatrix();
        glScalef(0.1f, 0.1f, 0.1f);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBindTexture(GL_TEXTURE_2D, Particle.id);
        glTranslatef(0, 0, -20);
        ParticlesDraw();
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glPopMatrix();
    }
}

static void Sprites(Probes* probes) {
    Textured(&Tube, &Blue, -6, 30, 1);
    GlowSprite(&Flare, 0.7f, 0.1f, 0.1f, -0.3f);
    GlowStrip(&Credits, 0.7f, 0, 0.2f, -1, 3);
    GlowSprite(&Unloaded, 0.5f, -0.2f, 0, -1);  // name 0: the default texture, no image
    GLint blend[2];
    glGetIntegerv(GL_BLEND_SRC, &blend[0]);
    glGetIntegerv(GL_BLEND_DST, &blend[1]);
    probes->insert(probes->end(),
                   {blend[0], blend[1], glIsEnabled(GL_TEXTURE_2D), glIsEnabled(GL_BLEND)});
}

static void Overlays(Probes*) {
    Textured(&Tube, &Blue, -6, 30, 1);
    FlashWhite(450);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    FadeBlack(700);
    FlashWhite(1200);  // clamps to nothing: skipped after its queries
}

// The caption font's lists: a translation inside each, glCallLists from the list base under
// glPushAttrib(GL_LIST_BIT), depth test forced back on, polygon smoothing remembered.
static void Captions(Probes* probes) {
    Textured(&Tube, &Blue, -6, 30, 1);
    glListBase(7);
    FadeCaption(0, 0.5f, -3, "Vernalis", 100);
    FadeCaption(-0.5f, -1, -4, "She produce life", 45);
    glColor4f(1, 0.5f, 0.5f, 0.8f);
    glPushMatrix();
    glTranslatef(1, -1.5f, -5);
    glEnable(GL_POLYGON_SMOOTH);
    FontPrint("%d%%", 42);
    GLint base = 0;
    glGetIntegerv(GL_LIST_BASE, &base);
    probes->insert(probes->end(),
                   {base, glIsEnabled(GL_DEPTH_TEST), glIsEnabled(GL_POLYGON_SMOOTH)});
    glPopMatrix();
}

// A smaller scissor box, the depth test between two crossing models, culling and lines.
static void ScissorDepth(Probes* probes) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(100, 80, 400, 300);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    Textured(&Tube, &Blue, -7, 10, 1);
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, HeadSkin.id);
    DrawModelTextured(&Galaxy, 0, 0, -9, 20, 0, 0);
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    DrawModel(&Knot, 1, 1, -10, 0, 0, 0);
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    probes->insert(probes->end(), {box[0], box[1], box[2], box[3], glIsEnabled(GL_CULL_FACE)});
}

static void LoneTriangle(float x) {
    glBegin(GL_TRIANGLES);
    glVertex3f(x, -1.5f, -3), glVertex3f(x + 0.5f, -1.5f, -3), glVertex3f(x + 0.25f, -1.2f, -3);
    glEnd();
}

// Blocks longer than one batch's 16-bit indices reach, under back-face culling: 20000 quads
// and a 70002-vertex strip, each after a lone triangle so that the splits fall mid-quad and on
// an odd strip triangle; a lost vertex or a strip continued with the wrong winding shows.
static void LongBlocks(Probes*) {
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
    LoneTriangle(-1.5f);
    glBegin(GL_QUADS);
    for (int k = 0; k < 20000; k++) {
        float x = -2 + (k % 200) * 0.02f, y = 0.1f + (k / 200) * 0.012f;
        glColor4f((k % 200) / 200.0f, (k / 200) / 100.0f, 0.5f, 1);
        glVertex3f(x, y, -3), glVertex3f(x + 0.015f, y, -3);
        glVertex3f(x + 0.015f, y + 0.01f, -3), glVertex3f(x, y + 0.01f, -3);
    }
    glEnd();
    LoneTriangle(0.5f);
    glBegin(GL_TRIANGLE_STRIP);
    const int n = 70002;
    for (int k = 0; k < n; k++) {
        glColor4f((float)k / n, 1 - (float)k / n, k % 2 ? 1.0f : 0.2f, 1);
        glVertex3f(-2 + 4.0f * (k / 2) / (n / 2), k % 2 ? -0.9f : -0.1f, -3);
    }
    glEnd();
}

const GlCase GL_CASES[] = {
    {"wire", WireModels, true},   {"textured", TexturedModels, true},
    {"lit", LitModels, true},     {"fountain", Fountain, true},
    {"sprites", Sprites, true},   {"overlays", Overlays, true},
    {"captions", Captions, true}, {"scissor", ScissorDepth, true},
    {"long", LongBlocks, true},   {"smooth", SmoothLines, false},
};
const int GL_CASE_COUNT = sizeof GL_CASES / sizeof GL_CASES[0];
