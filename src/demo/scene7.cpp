// Scene 7, the closing credits: a tall credits strip scrolls up out of a white flash while the
// fountain of scene 6 runs out; the hidden page rises in front once P has been pressed; the
// picture fades to black before the timeline ends.
#include <GL/gl.h>
#include <cstdlib>
#include "demo/demo.h"
#include "demo/scenes.h"
#include "fx/flash.h"
#include "fx/glow.h"
#include "fx/particles.h"
#include "music/music.h"
#include "pack/tpack.h"

Texture TexCredits;  // "credits.tga", the scrolling strip
Texture TexEnv1;     // "env1.tga", loaded but never bound
Texture TexHidden;   // "hidden.tga", the layer P reveals
uint32_t Scene7StartMs = 0;  // frame clock on the scene's first frame; 0 until then

static const uint32_t FLASH_DIVISOR = 40;    // the opening white is gone 40000 bytes in
static const uint32_t FADE_CUE = 12685312;   // fade to black starts
static const uint32_t FADE_DIVISOR = 100;    // opaque 100000 bytes later

static uint32_t Position() { return BASS_ChannelGetPosition(MusicStream); }

// A missing entry has already been reported by the pack reader; a bad image is not fatal.
static bool LoadTexture(const char* entry, Texture* texture) {
    if (!TPACK_Find(entry)) return false;
    LoadTgaFromPack(texture, PackFile.file, PackFile.entryOffset);
    return true;
}

bool Scene7Init() {
    return LoadTexture("credits.tga", &TexCredits) && LoadTexture("env1.tga", &TexEnv1) &&
           LoadTexture("hidden.tga", &TexHidden);
}

// A strip 1 wide and 3 high at 1 unit from the eye, its top edge starting 0.2 above the axis and
// rising 1/80 per unit of scene time, added onto the black at 0.7.
static void DrawCredits(float t) {
    glPushMatrix();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glColor4f(1, 1, 1, 0.7f);
    glTranslatef(0, t / 80 - 0.3f, -1);
    glBindTexture(GL_TEXTURE_2D, TexCredits.id);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(1, 1), glVertex3f(0.5f, 0.5f, 0);
    glTexCoord2f(0, 1), glVertex3f(-0.5f, 0.5f, 0);
    glTexCoord2f(1, 0), glVertex3f(0.5f, -2.5f, 0);
    glTexCoord2f(0, 0), glVertex3f(-0.5f, -2.5f, 0);
    glEnd();
    glColor4f(1, 1, 1, 1);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glPopMatrix();
}

void Scene7Render(uint32_t elapsedMs) {
    if (Scene7StartMs == 0) Scene7StartMs = elapsedMs;
    float t = (float)(elapsedMs - Scene7StartMs) * 0.02f;
    ParticleRespawn = false;
    DrawCredits(t);
    // The timeline latches the flag to exactly 1.
    if (HiddenPageFlag == 1) GlowSprite(&TexHidden, 0.7f, 0, t / 500 - 0.3f, -0.65f);
    DrawFountain(0, 0);
    // Added onto the picture with the particles' additive blend: white while opaque.
    if (Position() >= SCENE7_START) FlashWhite((Position() - SCENE7_START) / FLASH_DIVISOR);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (Position() >= FADE_CUE) {
        uint32_t rise = (Position() - FADE_CUE) / FADE_DIVISOR;
        FadeBlack(rise < 1000 ? 1000 - rise : 0);
    }
}

static void FreePixels(Texture* texture) {
    free(texture->pixels);
    texture->pixels = nullptr;
}

void Scene7Free() {
    FreePixels(&TexCredits);
    FreePixels(&TexEnv1);
    FreePixels(&TexHidden);
}
