// Scene 7, the closing credits: a tall credits strip scrolls up out of a white flash while the
// fountain of scene 6 runs out; the hidden page rises in front once P has been pressed; the
// picture fades to black before the timeline ends.
#include <GL/gl.h>
#include "demo/demo.h"
#include "demo/kit.h"
#include "demo/scenes.h"
#include "fx/flash.h"
#include "fx/glow.h"
#include "fx/particles.h"

Texture TexCredits;  // "credits.tga", the scrolling strip
// KEPT ON PURPOSE: loaded and never bound; its lookup still decides whether start-up succeeds.
Texture TexEnv1;             // "env1.tga"
Texture TexHidden;           // "hidden.tga", the layer P reveals
uint32_t Scene7StartMs = 0;  // frame clock on the scene's first frame; 0 until then

static const uint32_t FLASH_DIVISOR = 40;  // the opening white is gone 40000 bytes in
static const uint32_t FADE_DIVISOR = 100;  // opaque 100000 bytes later

bool Scene7Init() {
    return LoadPackTexture("credits.tga", &TexCredits) && LoadPackTexture("env1.tga", &TexEnv1) &&
           LoadPackTexture("hidden.tga", &TexHidden);
}

void Scene7Render(uint32_t elapsedMs) {
    LatchStart(&Scene7StartMs, elapsedMs);
    float t = (float)(elapsedMs - Scene7StartMs) * 0.02f;
    ParticleRespawn = false;
    // The credits strip, 3 high at 1 unit from the eye: its top edge starts 0.2 above the axis
    // and rises 1/80 per unit of scene time.
    GlowStrip(&TexCredits, 0.7f, 0, t / 80 - 0.3f, -1, 3);
    // The timeline latches the flag to exactly 1.
    if (HiddenPageFlag == 1) GlowSprite(&TexHidden, 0.7f, 0, t / 500 - 0.3f, -0.65f);
    DrawFountain(0, 0);
    // Added onto the picture with the particles' additive blend: white while opaque.
    if (StreamPos() >= SCENE7_START) FlashWhite(RisingLevel(SCENE7_START, FLASH_DIVISOR));
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (StreamPos() >= CUE_SCENE7_FADE_OUT)
        FadeBlack(FallingLevel(CUE_SCENE7_FADE_OUT, FADE_DIVISOR));
}

void Scene7Free() {
    FreePixels(&TexCredits);
    FreePixels(&TexEnv1);
    FreePixels(&TexHidden);
}
