// Scene 4: the galaxy model as ground, sky and haze under a slowly rolling camera, a picture
// sprite and the flare, two sliding captions; a white flash at the start and, from the burst
// cue on, the last particle burst while the picture fades to white.
#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include "demo/demo.h"
#include "demo/kit.h"
#include "demo/scenes.h"
#include "fx/flash.h"
#include "fx/font.h"
#include "fx/glow.h"
#include "fx/particles.h"

Texture TexGround1;
Texture TexSky1;
Texture TexPictra1;
uint32_t Scene4StartMs = 0;

bool Scene4Init() {
    return LoadPackTexture("Ground1.tga", &TexGround1) && LoadPackTexture("sky1.tga", &TexSky1) &&
           LoadPackTexture("pictra1.tga", &TexPictra1);
}

// Ground and sky draw with blending off as the overlays leave it; the haze blends with the
// normal alpha blend that the flare sprite restored on the previous frame.
static const ModelLook GROUND = Look(&ModelGalaxy, &TexGround1)
                                    .On(CAP_TEXTURE)
                                    .White(1)
                                    .Scale(0.1f, 0.1f, 0.15f)
                                    .Scale(1, 0.1f, 1)
                                    .OffAfter(CAP_TEXTURE);
static const ModelLook SKY = Look(&ModelGalaxy, &TexSky1)
                                 .On(CAP_TEXTURE)
                                 .White(1)
                                 .Scale(0.1f, 0.06f, 0.15f)
                                 .OffAfter(CAP_TEXTURE);
static const ModelLook HAZE = Look(&ModelGalaxy, &TexSky1)
                                  .On(CAP_TEXTURE | CAP_BLEND)
                                  .White(0.5f)
                                  .Scale(0.08f, 0.04f, 0.13f)
                                  .OffAfter(CAP_BLEND | CAP_TEXTURE);

static void DrawGalaxies(float t, float s) {
    DrawLook(GROUND, {0, -100, -50, t, s, 0});
    DrawLook(SKY, {0, 0, -30, t, s, 0});
    DrawLook(HAZE, {0, 0, -30, t / 2, s, 0});
}

// The fountain restarted at the scene's first frame flies out once, with no rebirths; the
// white overlay then draws with the additive blend the particles leave behind.
static void FinalBurst() {
    ParticleRespawn = false;
    DrawFountain(0, 0);
    FlashWhite(FallingLevel(CUE_FINAL_BURST, 550));
}

void Scene4Render(uint32_t elapsedMs) {
    if (LatchStart(&Scene4StartMs, elapsedMs)) ParticlesReset();
    float t = (float)(uint32_t)(elapsedMs - Scene4StartMs) * 0.02f;
    float s = 17 * sinf(t / 15);

    // The camera looks down and forwards and rolls slowly from side to side.
    glPushMatrix();
    gluLookAt(0, 0, 5, 0, -20, -250, cosf(t / 30), 1, 0);
    DrawGalaxies(t, s);
    glPopMatrix();

    // The rest is drawn in eye space.
    GlowSprite(&TexPictra1, 0.5f, -0.18f, 0, -1);
    if (StreamPos() >= CUE_FINAL_BURST) FinalBurst();
    GlowSprite(&TexBigFlare, 0.7f, 0.1f, 0.1f, -0.3f);
    FadeCaption(5 - t / 60, -2.2f, -6, "She is the Mother", 45);
    FadeCaption(-0.2f, t / 60 - 5, -2, "Mother", 45);
    if (StreamPos() >= SCENE4_START) FlashWhite(RisingLevel(SCENE4_START, 150));
}

void Scene4Free() {
    FreePixels(&TexGround1);
    FreePixels(&TexSky1);
    FreePixels(&TexPictra1);
}
