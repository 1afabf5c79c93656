// Scene 1, the opening: the textured CaraTio1 face turning in front of galaxy layers, its
// pulsing wireframe ghost, Nudo and a small galaxy spinning at the centre, a camera flying a
// B-spline around the origin, five drifting captions, a fade in from and out to black.
#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <cstdlib>
#include "demo/demo.h"
#include "demo/scenes.h"
#include "fx/bspline.h"
#include "fx/flash.h"
#include "fx/font.h"
#include "fx/mesh.h"
#include "music/music.h"
#include "pack/tpack.h"

Model ModelCaraTio1;
Model ModelGalaxy;
Model ModelNudo;
Texture TexCaraTio1;
PathPoints Scene1Control;
PathPoints Scene1Path;  // the camera's eye positions, one per 21 ms
extern const float WhiteRgba[4];  // process-wide, like the scene's other records
const float WhiteRgba[4] = {1, 1, 1, 1};

// Camera control points; BSplinePath doubles the curve about the origin.
static const float CONTROL_POINTS[16][3] = {
    {0, 0, 0},         {0, 0, 2},     {2, 0, 0},        {3, 1, 0},
    {0, 0, 0},         {0, -1, -1},   {1, 1, 0},        {0, 0, 1},
    {1, 0.3f, -1},     {0.2f, -0.2f, -1}, {0, 0, -0.5f}, {-1, 0, 1},
    {-0.3f, 0.2f, 5},  {0, -0.1f, 1}, {0.1f, -0.3f, -1}, {-0.3f, 0, 1},
};

// Every cue asks the stream afresh: the music runs on while the frame is drawn.
static uint32_t Position() { return BASS_ChannelGetPosition(MusicStream); }

static bool LoadModel(const char* path, Model* model, const char* message) {
    if (Load3dsFromFile(path, model)) return true;
    MessageBoxA(nullptr, message, "Loading error", MB_OK | MB_SYSTEMMODAL | MB_ICONERROR);
    return false;
}

bool Scene1Init() {
    if (!LoadModel("Data\\CaraTio1.3DS", &ModelCaraTio1, "Data\\CaraTio1.3ds not found!"))
        return false;
    if (!LoadModel("Data\\Galaxy.3DS", &ModelGalaxy, "Data\\Galaxy.3ds not found!")) return false;
    if (!LoadModel("Data\\Nudo.3DS", &ModelNudo, "Data\\Nudo.3ds not found!")) return false;
    if (!TPACK_Find("caratio1.tga")) return false;  // the pack has shown its own message
    LoadTgaFromPack(&TexCaraTio1, PackFile.file, PackFile.entryOffset);  // undecodable: untextured
    Scene1Control.count = 16;
    for (int i = 0; i < 16; i++)
        for (int k = 0; k < 3; k++) Scene1Control.points[i][k] = CONTROL_POINTS[i][k];
    BSplinePath(&Scene1Control, &Scene1Path, 160);
    return true;
}

// The lit steps: white ambient light, the colour material tracking the current colour.
static void LightUp() {
    glEnable(GL_LIGHTING);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, WhiteRgba);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, WhiteRgba);
}

static void TextureOn() {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, TexCaraTio1.id);
}

static void UnlitUntextured() {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHTING);
}

// The galaxy far behind, in whatever colour the previous frame's last drawing left current.
static void GalaxyFar(float t) {
    glPushMatrix();
    glDisable(GL_CULL_FACE);
    TextureOn();
    DrawModelTextured(&ModelGalaxy, 0, 0, 10, 0, (t - 7.14) * 4, 1.57f);
    UnlitUntextured();
    glPopMatrix();
}

// A half-size, half-transparent galaxy that also tumbles about X.
static void GalaxyTranslucent(float t) {
    glPushMatrix();
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 0.5f);
    glScalef(0.5f, 0.5f, 0.5f);
    glBindTexture(GL_TEXTURE_2D, TexCaraTio1.id);
    DrawModelTextured(&ModelGalaxy, 0, 0, 9, t - 7.14, (t - 7.14) * 2, 1.57f);
    glDisable(GL_BLEND);
    UnlitUntextured();
    glPopMatrix();
}

// The far galaxy again at a thousandth of its size: a speck at the centre.
static void GalaxyTiny(float t) {
    glPushMatrix();
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glScalef(0.1f, 0.1f, 0.1f);
    glScalef(0.1f, 0.1f, 0.1f);
    glScalef(0.1f, 0.1f, 0.1f);
    glBindTexture(GL_TEXTURE_2D, TexCaraTio1.id);
    DrawModelTextured(&ModelGalaxy, 0, 0, 10, 0, (t - 7.14) * 4, 1.57f);
    UnlitUntextured();
    glPopMatrix();
}

// Lit and textured; the colour is still step 3's (1, 1, 1, 0.5) with blending off.
static void CaraTio1Lit(float t) {
    glPushMatrix();
    LightUp();
    glScalef(0.5f, 0.5f, 0.5f);
    TextureOn();
    DrawModelTextured(&ModelCaraTio1, 0, 0, 0, 0, -(t - 15) * 6, 0);
    UnlitUntextured();
    glPopMatrix();
}

// The wireframe ghost; a negative sin t clamps to alpha 0, so it shows half of the time.
static void CaraTio1Ghost(float t) {
    glPushMatrix();
    glScalef(0.5f, 0.5f, 0.5f);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glEnable(GL_LINE_SMOOTH);
    glColor4f(1, 1, 1, (float)sin(t));
    DrawModel(&ModelCaraTio1, 0, 0, 0, 0, -(t - 15) * 6, 0);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glPopMatrix();
}

// Nudo spinning fast, in the ghost's colour with blending off.
static void NudoSpinning(float t) {
    glPushMatrix();
    LightUp();
    glScalef(0.1f, 0.1f, 0.1f);
    glScalef(0.4f, 0.4f, 0.4f);
    TextureOn();
    DrawModelTextured(&ModelNudo, 0, 0, 0, 22 * t, 22 * t, 22 * t);
    UnlitUntextured();
    glPopMatrix();
}

static void GalaxySpinning(float t) {
    glPushMatrix();
    LightUp();
    glScalef(0.1f, 0.1f, 0.1f);
    glScalef(0.1f, 0.1f, 0.1f);
    glScalef(0.3f, 0.3f, 0.3f);
    TextureOn();
    DrawModelTextured(&ModelGalaxy, 0, 0, 0, 22 * t, 22 * t, 22 * t);
    UnlitUntextured();
    glPopMatrix();
}

// Leaves (1, 1, 1, 0.3) current for the captions and for the next frame's far galaxy.
static void GalaxyStill() {
    glPushMatrix();
    LightUp();
    glScalef(0.1f, 0.1f, 0.1f);
    glScalef(0.1f, 0.1f, 0.1f);
    glScalef(0.66f, 0.66f, 0.66f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 0.3f);
    glBindTexture(GL_TEXTURE_2D, TexCaraTio1.id);
    DrawModelTextured(&ModelGalaxy, 0, 0, 0, 0, 0, 0);
    glDisable(GL_BLEND);
    UnlitUntextured();
    glPopMatrix();
}

// The eye moves one generated path point every 21 ms and stays at the last one.
static const float* CameraEye(uint32_t elapsedMs) {
    int32_t c = (int32_t)(elapsedMs / 21);
    if (c >= Scene1Path.count) c = Scene1Path.count - 1;
    if (c < 0) c = 0;  // also an empty path: point 0
    return Scene1Path.points[c];
}

// One word at a time drifts towards the viewer, one unit per second.
static void Captions(float t) {
    float wave = (float)(100 * sin(t / 2.5));
    if (Position() < 870352) FadeCaption(0, 0, t - 9, "Vernalis", wave);
    if (Position() > 1348864 && Position() < 1801472) FadeCaption(0, 0, t - 20, "Love", wave);
    if (Position() > 1801472 && Position() < 2297856) FadeCaption(0, 0, t - 26, "Devotion", wave);
    if (Position() > 2301184 && Position() < 2763520)
        FadeCaption(0, 0, t - 32, "Feeling", (float)(100 * cos(t / 1.5)));
    if (Position() > 2763520) FadeCaption(0, 0, t - 37, "Emotion", wave);
}

// Out to black over 130,000 bytes of music from 3073984, in from black over the first 270,000.
static void Fades() {
    if (Position() >= 3073984) {
        uint32_t k = (Position() - 3073984) / 130;
        FadeBlack(k > 1000 ? 0 : 1000 - k);
    }
    if (Position() < 1348864) FadeBlack(Position() / 270);
}

void Scene1Render(uint32_t elapsedMs) {
    float t = (float)(elapsedMs * 0.001);
    GalaxyFar(t);
    GalaxyTranslucent(t);
    GalaxyTiny(t);
    const float* eye = CameraEye(elapsedMs);
    glPushMatrix();
    gluLookAt(eye[0], eye[1], eye[2], 0, 0, 0, 0, 1, 0);
    CaraTio1Lit(t);
    CaraTio1Ghost(t);
    NudoSpinning(t);
    GalaxySpinning(t);
    GalaxyStill();
    glPopMatrix();
    Captions(t);
    Fades();
}

// Scene 2 reloads the texture into the same record, so this frees the buffer of that load.
void Scene1Free() {
    free(TexCaraTio1.pixels);
    TexCaraTio1.pixels = nullptr;
}
