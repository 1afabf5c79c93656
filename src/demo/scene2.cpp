// Scene 2: a swinging camera round a flattened translucent galaxy disc, a small spinning galaxy
// in a pulsing wireframe ghost, two galaxies orbiting far out, a rising sprite, a six-line
// verse and two scrolling words. Fades in from black and ends in a white-out.
#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <cstdlib>
#include "demo/demo.h"
#include "demo/kit.h"
#include "demo/scenes.h"
#include "fx/flash.h"
#include "fx/font.h"
#include "fx/glow.h"
#include "pack/tpack.h"

Texture TexPictra2;          // the rising sprite
uint32_t Scene2StartMs = 0;  // elapsedMs of the scene's first frame; 0 = not yet captured

bool Scene2Init() {
    // KEPT ON PURPOSE: scene 1 has loaded this model already; it is read again and not drawn
    // here, so a model file that goes missing after scene 1's load still stops start-up here.
    if (!LoadModelFile("Data\\CaraTio1.3DS", &ModelCaraTio1, "Data\\CaraTio1.3ds not found!"))
        return false;
    // KEPT ON PURPOSE: replaces scene 1's load of the same entry and leaks its texture object,
    // so the texture names handed out after it stay the ones the scenes have always had. Its
    // pixel copy would be lost with the record's pointer, so that goes first.
    if (!TPACK_Find("caratio1.tga")) return false;
    FreePixels(&TexCaraTio1);
    LoadTgaFromPack(&TexCaraTio1, PackFile.file, PackFile.entryOffset);
    return LoadPackTexture("pictra2.tga", &TexPictra2);
}

// Eye and centre swing on sines and cosines of scene time.
static void LookAround(double s) {
    gluLookAt(30 + 10 * sin(s / 1.3), 10 * cos(1.2 * s), 10 * cos(s),  //
              6 * sin(s), 10 * cos(s / 2.2), 0,                        //
              0, 1, 0);
}

// Flattened, half-transparent disc behind the spinning galaxy.
static const ModelLook DISC =
    SeeThrough(&ModelGalaxy, &TexCaraTio1, 0.5f)
        .Scale(0.5f, 0.5f, 0.55f)
        .OffAfter(CAP_BLEND | CAP_TEXTURE | CAP_COLOR_MATERIAL | CAP_LIGHTING);
// An opaque textured galaxy, culled, at a tenth (the two circling it smaller still).
static const ModelLook GALAXY =
    Look(&ModelGalaxy, &TexCaraTio1)
        .On(CAP_CULL | CAP_TEXTURE | CAP_BLEND)
        .White(1)
        .Scale(0.1f)
        .OffAfter(CAP_BLEND | CAP_TEXTURE | CAP_COLOR_MATERIAL | CAP_CULL);
// Untextured line ghost round the spinning galaxy; its alpha swings with cos(s / 2) / 2 and
// clamps to nothing for half the cycle.
static const ModelLook GHOST = Look(&ModelGalaxy, nullptr)
                                   .On(CAP_CULL | CAP_BLEND | CAP_LINE_SMOOTH)
                                   .Scale(0.15f)
                                   .OffAfter(CAP_LINE_SMOOTH | CAP_BLEND | CAP_CULL);

// One verse line per 3.14 units of scene time, each fading in and out once within its slot.
static void DrawVerse(double s) {
    static const struct {
        double until;
        const char* text;
        float z;
    } verse[] = {{3.14, "I touch the sky with you", -10},
                 {6.28, "you are the source", -10},
                 {9.42, "of my imagination", -10},
                 {12.56, "you are so", -10},
                 {15.7, "Perfect", -10},
                 {18.84, "Come with me", -6}};
    float alpha = (float)abs((int)(100 * sin(s)));
    for (const auto& line : verse)
        if (s < line.until) {
            FadeCaption(0, 0, line.z, line.text, alpha);
            return;
        }
}

void Scene2Render(uint32_t elapsedMs) {
    LatchStart(&Scene2StartMs, elapsedMs);
    float sf = (float)((double)(uint32_t)(elapsedMs - Scene2StartMs) * 0.0008);
    double s = sf;

    glPushMatrix();
    LookAround(s);
    DrawLook(DISC, {0, 0, 9, 0, 0, 1.57f});
    DrawLook(GALAXY, {0, 0, 0, 0, (float)(16 * s), 1.57f});
    DrawLook(GHOST.White((float)(cos(s / 2) / 2)), {0, 0, 0, 0, (float)(16 * s), 1.57f});
    DrawLook(GALAXY.Scale(0.4f), {(float)(400 * cos(s)), (float)(400 * cos(s / 2)),
                                  (float)(400 * sin(s)), 0, (float)(21 * s), 1.57f});
    DrawLook(GALAXY.Scale(0.4f), {(float)(400 * sin(s)), (float)(400 * sin(s / 2.5)),
                                  (float)(400 * cos(s)), 0, (float)(21 * s), 1.57f});
    glPopMatrix();

    GlowSprite(&TexPictra2, 0.7f, -0.15f, sf / 40 - 0.3f, -0.5f);
    DrawVerse(s);
    FadeCaption(9 - sf, 0, -1, "Imagination", 30);
    FadeCaption(0, 15 - sf, -2.5f, "Perfect", 30);

    // Fade in from black over 130000 bytes, white-out over 150000 bytes before the end.
    if (StreamPos() >= SCENE2_START) FadeBlack(RisingLevel(SCENE2_START, 130));
    if (StreamPos() >= CUE_SCENE2_WHITE_OUT) FlashWhite(FallingLevel(CUE_SCENE2_WHITE_OUT, 150));
}

void Scene2Free() {}  // TexPictra2's pixels stay for the life of the process
