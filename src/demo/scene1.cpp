// Scene 1, the opening: the textured CaraTio1 face turning in front of galaxy layers, its
// pulsing wireframe ghost, Nudo and a small galaxy spinning at the centre, a camera flying a
// B-spline around the origin, five drifting captions, a fade in from and out to black.
#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include "demo/demo.h"
#include "demo/kit.h"
#include "demo/scenes.h"
#include "fx/bspline.h"
#include "fx/flash.h"
#include "fx/font.h"

Model ModelCaraTio1;
Model ModelGalaxy;
Model ModelNudo;
Texture TexCaraTio1;
PathPoints Scene1Control;
PathPoints Scene1Path;  // the camera's eye positions, one per 21 ms

// Camera control points; BSplinePath doubles the curve about the origin.
static const float CONTROL_POINTS[16][3] = {
    {0, 0, 0},        {0, 0, 2},         {2, 0, 0},         {3, 1, 0},
    {0, 0, 0},        {0, -1, -1},       {1, 1, 0},         {0, 0, 1},
    {1, 0.3f, -1},    {0.2f, -0.2f, -1}, {0, 0, -0.5f},     {-1, 0, 1},
    {-0.3f, 0.2f, 5}, {0, -0.1f, 1},     {0.1f, -0.3f, -1}, {-0.3f, 0, 1},
};

// KEPT ON PURPOSE: the not-found messages say ".3ds" where the files are ".3DS", as they
// always have (scenes 2 and 5 too).
bool Scene1Init() {
    if (!LoadModelFile("Data\\CaraTio1.3DS", &ModelCaraTio1, "Data\\CaraTio1.3ds not found!"))
        return false;
    if (!LoadModelFile("Data\\Galaxy.3DS", &ModelGalaxy, "Data\\Galaxy.3ds not found!"))
        return false;
    if (!LoadModelFile("Data\\Nudo.3DS", &ModelNudo, "Data\\Nudo.3ds not found!")) return false;
    if (!LoadPackTexture("caratio1.tga", &TexCaraTio1)) return false;
    Scene1Control.count = 16;
    for (int i = 0; i < 16; i++)
        for (int k = 0; k < 3; k++) Scene1Control.points[i][k] = CONTROL_POINTS[i][k];
    BSplinePath(&Scene1Control, &Scene1Path, 160);
    return true;
}

// Every layer turns off texturing, colour material and lighting after itself.
enum : uint16_t { UNLIT = CAP_TEXTURE | CAP_COLOR_MATERIAL | CAP_LIGHTING };

// The galaxy far behind, in whatever colour the previous frame's last drawing left current.
static const ModelLook GALAXY_FAR =
    Look(&ModelGalaxy, &TexCaraTio1).Off(CAP_CULL).On(CAP_TEXTURE).OffAfter(UNLIT);
// A half-size, half-transparent galaxy that also tumbles about X.
static const ModelLook GALAXY_TRANSLUCENT =
    SeeThrough(&ModelGalaxy, &TexCaraTio1, 0.5f).Scale(0.5f).OffAfter(UNLIT | CAP_BLEND);
// The far galaxy again at a thousandth of its size: a speck at the centre.
static const ModelLook GALAXY_TINY = GALAXY_FAR.Scale(0.1f).Scale(0.1f).Scale(0.1f);
// Lit and textured; the colour is still the translucent galaxy's (1, 1, 1, 0.5), blending off.
static const ModelLook CARATIO1_LIT =
    Look(&ModelCaraTio1, &TexCaraTio1).Lit().On(CAP_TEXTURE).Scale(0.5f).OffAfter(UNLIT);
// The wireframe ghost; a negative sin t clamps to alpha 0, so it shows half of the time.
static const ModelLook CARATIO1_GHOST = Look(&ModelCaraTio1, nullptr)
                                            .On(CAP_CULL | CAP_BLEND | CAP_LINE_SMOOTH)
                                            .Scale(0.5f)
                                            .OffAfter(CAP_CULL | CAP_BLEND | CAP_LINE_SMOOTH);
// Nudo spinning fast, in the ghost's colour with blending off.
static const ModelLook NUDO_SPINNING =
    Look(&ModelNudo, &TexCaraTio1).Lit().On(CAP_TEXTURE).Scale(0.1f).Scale(0.4f).OffAfter(UNLIT);
static const ModelLook GALAXY_SPINNING = Look(&ModelGalaxy, &TexCaraTio1)
                                             .Lit()
                                             .On(CAP_TEXTURE)
                                             .Scale(0.1f)
                                             .Scale(0.1f)
                                             .Scale(0.3f)
                                             .OffAfter(UNLIT);
// Leaves (1, 1, 1, 0.3) current for the captions and for the next frame's far galaxy.
static const ModelLook GALAXY_STILL = Look(&ModelGalaxy, &TexCaraTio1)
                                          .Lit()
                                          .On(CAP_TEXTURE | CAP_BLEND)
                                          .White(0.3f)
                                          .Scale(0.1f)
                                          .Scale(0.1f)
                                          .Scale(0.66f)
                                          .OffAfter(UNLIT | CAP_BLEND);

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
    if (StreamPos() < CUE_TITLE_END) FadeCaption(0, 0, t - 9, "Vernalis", wave);
    if (StreamPos() > CUE_LOVE && StreamPos() < CUE_DEVOTION)
        FadeCaption(0, 0, t - 20, "Love", wave);
    if (StreamPos() > CUE_DEVOTION && StreamPos() < CUE_DEVOTION_END)
        FadeCaption(0, 0, t - 26, "Devotion", wave);
    if (StreamPos() > CUE_FEELING && StreamPos() < CUE_EMOTION)
        FadeCaption(0, 0, t - 32, "Feeling", (float)(100 * cos(t / 1.5)));
    if (StreamPos() > CUE_EMOTION) FadeCaption(0, 0, t - 37, "Emotion", wave);
}

// Out to black over 130,000 bytes of music, in from black over the first 270,000.
static void Fades() {
    if (StreamPos() >= CUE_SCENE1_FADE_OUT) FadeBlack(FallingLevel(CUE_SCENE1_FADE_OUT, 130));
    if (StreamPos() < CUE_LOVE) FadeBlack(StreamPos() / 270);
}

void Scene1Render(uint32_t elapsedMs) {
    float t = (float)(elapsedMs * 0.001);
    float turn = (float)((t - 7.14) * 4);
    // KEPT ON PURPOSE: the galaxies' roll is 1.57 degrees (glRotatef takes degrees), not a
    // quarter turn in radians: they have always lain almost flat (scene 2 too).
    DrawLook(GALAXY_FAR, {0, 0, 10, 0, turn, 1.57f});
    DrawLook(GALAXY_TRANSLUCENT, {0, 0, 9, (float)(t - 7.14), (float)((t - 7.14) * 2), 1.57f});
    DrawLook(GALAXY_TINY, {0, 0, 10, 0, turn, 1.57f});
    const float* eye = CameraEye(elapsedMs);
    glPushMatrix();
    gluLookAt(eye[0], eye[1], eye[2], 0, 0, 0, 0, 1, 0);
    float face = -(t - 15) * 6, spin = 22 * t;
    DrawLook(CARATIO1_LIT, {0, 0, 0, 0, face, 0});
    DrawLook(CARATIO1_GHOST.White((float)sin(t)), {0, 0, 0, 0, face, 0});
    DrawLook(NUDO_SPINNING, {0, 0, 0, spin, spin, spin});
    DrawLook(GALAXY_SPINNING, {0, 0, 0, spin, spin, spin});
    DrawLook(GALAXY_STILL, {0, 0, 0, 0, 0, 0});
    glPopMatrix();
    Captions(t);
    Fades();
}

// Scene 2 reloads the texture into the same record, so this frees the buffer of that load.
void Scene1Free() { FreePixels(&TexCaraTio1); }
