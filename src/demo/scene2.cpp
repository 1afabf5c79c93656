// Scene 2: a swinging camera round a flattened translucent galaxy disc, a small spinning galaxy
// in a pulsing wireframe ghost, two galaxies orbiting far out, a rising sprite, a six-line
// verse and two scrolling words. Fades in from black and ends in a white-out.
#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <cstdlib>
#include "demo/demo.h"
#include "demo/scenes.h"
#include "fx/flash.h"
#include "fx/font.h"
#include "fx/glow.h"
#include "fx/mesh.h"
#include "music/music.h"
#include "pack/tpack.h"

Texture TexPictra2;          // the rising sprite
uint32_t Scene2StartMs = 0;  // elapsedMs of the scene's first frame; 0 = not yet captured

enum : uint32_t { WHITE_OUT = 5019338 };  // white rises over 150000 bytes to the scene's end

// The music runs on while the frame draws: every cue test reads the position anew.
static uint32_t Pos() { return BASS_ChannelGetPosition(MusicStream); }

bool Scene2Init() {
    // Scene 1 has loaded this model already; it is read again and not drawn here.
    if (!Load3dsFromFile("Data\\CaraTio1.3DS", &ModelCaraTio1)) {
        MessageBoxA(nullptr, "Data\\CaraTio1.3ds not found!", "Loading error",
                    MB_SYSTEMMODAL | MB_ICONERROR);
        return false;
    }
    // Replaces scene 1's load of the same entry. Its texture object stays behind; its pixel
    // copy would be lost with the record's pointer, so it goes first.
    if (!TPACK_Find("caratio1.tga")) return false;
    free(TexCaraTio1.pixels);
    TexCaraTio1.pixels = nullptr;
    LoadTgaFromPack(&TexCaraTio1, PackFile.file, PackFile.entryOffset);
    if (!TPACK_Find("pictra2.tga")) return false;
    LoadTgaFromPack(&TexPictra2, PackFile.file, PackFile.entryOffset);
    return true;
}

// Eye and centre swing on sines and cosines of scene time.
static void LookAround(double s) {
    gluLookAt(30 + 10 * sin(s / 1.3), 10 * cos(1.2 * s), 10 * cos(s),  //
              6 * sin(s), 10 * cos(s / 2.2), 0,                          //
              0, 1, 0);
}

// Flattened, half-transparent disc behind the spinning galaxy.
static void DrawDisc() {
    glPushMatrix();
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 0.5f);
    glScalef(0.5f, 0.5f, 0.55f);
    glBindTexture(GL_TEXTURE_2D, TexCaraTio1.id);
    DrawModelTextured(&ModelGalaxy, 0, 0, 9, 0, 0, 1.57f);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHTING);
    glPopMatrix();
}

// An opaque textured galaxy, culled, at `scale` (applied after the tenth), placed and turned.
static void DrawGalaxy(float scale, float tx, float ty, float tz, float ry) {
    glPushMatrix();
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glScalef(0.1f, 0.1f, 0.1f);
    if (scale != 1.0f) glScalef(scale, scale, scale);
    glBindTexture(GL_TEXTURE_2D, TexCaraTio1.id);
    DrawModelTextured(&ModelGalaxy, tx, ty, tz, 0, ry, 1.57f);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_CULL_FACE);
    glPopMatrix();
}

// Untextured line ghost round the spinning galaxy; its alpha swings with cos(s / 2) / 2 and
// clamps to nothing for half the cycle.
static void DrawGhost(double s) {
    glPushMatrix();
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glEnable(GL_LINE_SMOOTH);
    glColor4f(1, 1, 1, (float)(cos(s / 2) / 2));
    glScalef(0.15f, 0.15f, 0.15f);
    DrawModel(&ModelGalaxy, 0, 0, 0, 0, (float)(16 * s), 1.57f);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glPopMatrix();
}

// One verse line per 3.14 units of scene time, each fading in and out once within its slot.
static void DrawVerse(double s) {
    static const struct {
        double until;
        const char* text;
        float z;
    } verse[] = {{3.14, "I touch the sky with you", -10}, {6.28, "you are the source", -10},
                 {9.42, "of my imagination", -10},        {12.56, "you are so", -10},
                 {15.7, "Perfect", -10},                  {18.84, "Come with me", -6}};
    float alpha = (float)abs((int)(100 * sin(s)));
    for (const auto& line : verse)
        if (s < line.until) {
            FadeCaption(0, 0, line.z, line.text, alpha);
            return;
        }
}

void Scene2Render(uint32_t elapsedMs) {
    if (Scene2StartMs == 0) Scene2StartMs = elapsedMs;
    float sf = (float)((double)(uint32_t)(elapsedMs - Scene2StartMs) * 0.0008);
    double s = sf;

    glPushMatrix();
    LookAround(s);
    DrawDisc();
    DrawGalaxy(1, 0, 0, 0, (float)(16 * s));
    DrawGhost(s);
    DrawGalaxy(0.4f, (float)(400 * cos(s)), (float)(400 * cos(s / 2)), (float)(400 * sin(s)),
               (float)(21 * s));
    DrawGalaxy(0.4f, (float)(400 * sin(s)), (float)(400 * sin(s / 2.5)), (float)(400 * cos(s)),
               (float)(21 * s));
    glPopMatrix();

    GlowSprite(&TexPictra2, 0.7f, -0.15f, sf / 40 - 0.3f, -0.5f);
    DrawVerse(s);
    FadeCaption(9 - sf, 0, -1, "Imagination", 30);
    FadeCaption(0, 15 - sf, -2.5f, "Perfect", 30);

    // Fade in from black over 130000 bytes, white-out over 150000 bytes before the end.
    if (Pos() >= SCENE2_START) FadeBlack((Pos() - SCENE2_START) / 130);
    if (Pos() >= WHITE_OUT) {
        uint32_t k = (Pos() - WHITE_OUT) / 150;
        FlashWhite(k >= 1000 ? 0 : 1000 - k);
    }
}

void Scene2Free() {}  // TexPictra2's pixels stay for the life of the process
