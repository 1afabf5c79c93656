// Scene 3: a spinning tube around the eye with a translucent faster copy inside, the particle
// fountain, two glow sprites and the "life" captions that start on a music cue. Opens with a
// white flash, closes with a fade to black. Its init also loads the particle and flare
// textures of the later scenes and fills the particle array once.
#include <GL/gl.h>
#include <cmath>
#include "demo/demo.h"
#include "demo/kit.h"
#include "demo/scenes.h"
#include "fx/flash.h"
#include "fx/font.h"
#include "fx/glow.h"
#include "fx/particles.h"

Model ModelTubo;
Texture TexBlue;             // skin of the opaque tube
Texture TexBlue2;            // skin of the translucent tube
Texture TexParticle;         // the fountain's sprite (scenes 3, 4, 6, 7)
Texture TexPictra3;          // the rising picture sprite
Texture TexBigFlare;         // the flare (scenes 3 to 6)
uint32_t Scene3StartMs = 0;  // elapsedMs of the scene's first frame; 0 = not yet captured
float Scene3CueT = 0.0f;     // scene time on the first frame at or past the life cue

static const struct {
    const char* entry;
    Texture* texture;
} TEXTURES[] = {{"blue.tga", &TexBlue},
                {"blue2.tga", &TexBlue2},
                {"Particle.tga", &TexParticle},
                {"pictra3.tga", &TexPictra3},
                {"BigFlare.tga", &TexBigFlare}};

bool Scene3Init() {
    if (!LoadModelFile("Data\\Tubo.3ds", &ModelTubo, "Data\\Tubo.3ds not found!")) return false;
    for (const auto& t : TEXTURES)
        if (!LoadPackTexture(t.entry, t.texture)) return false;
    ParticlesUseSprite(TexParticle.pixels, TexParticle.width, TexParticle.height,
                       (int)TexParticle.bpp / 8);
    ParticlesInit();
    return true;
}

// Opaque tube, turning once per 360 units of scene time; blending off.
static const ModelLook OPAQUE_TUBE = Look(&ModelTubo, &TexBlue)
                                         .Off(CAP_CULL | CAP_BLEND)
                                         .On(CAP_TEXTURE)
                                         .White(1)
                                         .OffAfter(CAP_TEXTURE);
// Smaller, faster, half-transparent copy inside. Uses the blend function in force: the normal
// alpha blend the sprites restore at the end of every frame of this scene.
static const ModelLook TRANSLUCENT_TUBE =
    SeeThrough(&ModelTubo, &TexBlue2, 0.5f).Scale(0.8f).OffAfter(CAP_BLEND | CAP_TEXTURE);

// From the life cue on: a rising, pulsing line and two drifting words. The cue's scene time
// is latched on its first frame; the pulse's phase is t / 60 minus that latched time.
// KEPT ON PURPOSE: t / 60 - Scene3CueT mixes a slowed clock with an unslowed one, so the pulse
// starts from wherever that lands; the caption has always pulsed this way.
static void DrawLifeCaptions(float t) {
    if (Scene3CueT == 0.0f) Scene3CueT = t;
    float u = t - Scene3CueT;
    FadeCaption(0, u / 65 - 3, -6, "She produce life",
                (float)(100 * sin((double)(t / 60 - Scene3CueT))));
    FadeCaption(3 - u / 100, 0.3f, -2, "Life", 35);
    FadeCaption(-0.5f, 3 - u / 100, -2, "Life", 35);
}

void Scene3Render(uint32_t elapsedMs) {
    LatchStart(&Scene3StartMs, elapsedMs);
    float t = (float)((double)(uint32_t)(elapsedMs - Scene3StartMs) * 0.05);

    DrawLook(OPAQUE_TUBE, {0, 0, 0, 90, t, 0});
    DrawLook(TRANSLUCENT_TUBE, {0, 0, 0, 90, 1.6f * t, 0});
    DrawFountain(0, 0);
    // Opening flash, added onto the picture (additive blend from the fountain).
    if (StreamPos() >= SCENE3_START) FlashWhite(RisingLevel(SCENE3_START, 110));
    // Every frame inside the burst window restarts the fountain from the emitter.
    if (StreamPos() >= CUE_LIFE && StreamPos() < CUE_LIFE_BURST_END) ParticlesReset();
    if (StreamPos() >= CUE_LIFE) DrawLifeCaptions(t);
    FadeCaption(-0.08f, 0, t / 60 - 6, "I love you", 70);

    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    GlowSprite(&TexPictra3, 0.7f, -0.15f, t / 2300 - 0.3f, -0.5f);
    GlowSprite(&TexBigFlare, 0.7f, 0, 0.05f, -0.3f);

    if (StreamPos() >= CUE_SCENE3_FADE_OUT) FadeBlack(FallingLevel(CUE_SCENE3_FADE_OUT, 150));
}

void Scene3Free() {
    for (const auto& t : TEXTURES) FreePixels(t.texture);
}
