// Scene 4: the galaxy model as ground, sky and haze under a slowly rolling camera, a picture
// sprite and the flare, two sliding captions; a white flash at the start and, from the burst
// cue on, the last particle burst while the picture fades to white.
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
#include "fx/particles.h"
#include "music/music.h"
#include "pack/tpack.h"

Texture TexGround1;
Texture TexSky1;
Texture TexPictra1;
uint32_t Scene4StartMs = 0;

enum : uint32_t {
    SCENE4_BURST = 9046784,  // last particle burst, respawn off, fade to white
};

// Asked afresh for every cue: the music runs on while the frame is drawn.
static uint32_t Position() { return BASS_ChannelGetPosition(MusicStream); }

// A falling level: 1000 at the cue, down by one every `divisor` bytes, held at 0.
static uint32_t FallingLevel(uint32_t cue, uint32_t divisor) {
    uint32_t steps = (Position() - cue) / divisor;
    return steps >= 1000 ? 0 : 1000 - steps;
}

// TPACK_Find has shown its own box when the entry is missing; a failed decode is not fatal.
static bool LoadPackTexture(const char* name, Texture* texture) {
    if (!TPACK_Find(name)) return false;
    LoadTgaFromPack(texture, PackFile.file, PackFile.entryOffset);
    return true;
}

bool Scene4Init() {
    return LoadPackTexture("Ground1.tga", &TexGround1) && LoadPackTexture("sky1.tga", &TexSky1) &&
           LoadPackTexture("pictra1.tga", &TexPictra1);
}

// One galaxy layer, opaque unless the caller enabled blending; the caller sets the colour.
static void GalaxyLayer(const Texture* skin, float tx, float ty, float tz, float rx, float ry) {
    glBindTexture(GL_TEXTURE_2D, skin->id);
    DrawModelTextured(&ModelGalaxy, tx, ty, tz, rx, ry, 0);
}

// Ground and sky draw with blending off as the overlays leave it; the haze blends with the
// normal alpha blend that the flare sprite restored on the previous frame.
static void DrawGalaxies(float t, float s) {
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glScalef(0.1f, 0.1f, 0.15f);
    glScalef(1, 0.1f, 1);
    GalaxyLayer(&TexGround1, 0, -100, -50, t, s);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();

    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glScalef(0.1f, 0.06f, 0.15f);
    GalaxyLayer(&TexSky1, 0, 0, -30, t, s);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();

    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 0.5f);
    glScalef(0.08f, 0.04f, 0.13f);
    GalaxyLayer(&TexSky1, 0, 0, -30, t / 2, s);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

// The fountain restarted at the scene's first frame flies out once, with no rebirths; the
// white overlay then draws with the additive blend the particles leave behind.
static void FinalBurst() {
    ParticleRespawn = false;
    DrawFountain(0, 0);
    FlashWhite(FallingLevel(SCENE4_BURST, 550));
}

void Scene4Render(uint32_t elapsedMs) {
    if (Scene4StartMs == 0) {
        Scene4StartMs = elapsedMs;
        ParticlesReset();
    }
    float t = (float)(uint32_t)(elapsedMs - Scene4StartMs) * 0.02f;
    float s = 17 * sinf(t / 15);

    // The camera looks down and forwards and rolls slowly from side to side.
    glPushMatrix();
    gluLookAt(0, 0, 5, 0, -20, -250, cosf(t / 30), 1, 0);
    DrawGalaxies(t, s);
    glPopMatrix();

    // The rest is drawn in eye space.
    GlowSprite(&TexPictra1, 0.5f, -0.18f, 0, -1);
    if (Position() >= SCENE4_BURST) FinalBurst();
    GlowSprite(&TexBigFlare, 0.7f, 0.1f, 0.1f, -0.3f);
    FadeCaption(5 - t / 60, -2.2f, -6, "She is the Mother", 45);
    FadeCaption(-0.2f, t / 60 - 5, -2, "Mother", 45);
    if (Position() >= SCENE4_START) FlashWhite((Position() - SCENE4_START) / 150);
}

static void FreePixels(Texture* texture) {
    free(texture->pixels);
    texture->pixels = nullptr;
}

void Scene4Free() {
    FreePixels(&TexGround1);
    FreePixels(&TexSky1);
    FreePixels(&TexPictra1);
}
