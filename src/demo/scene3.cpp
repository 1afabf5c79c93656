// Scene 3: a spinning tube around the eye with a translucent faster copy inside, the particle
// fountain, two glow sprites and the "life" captions that start on a music cue. Opens with a
// white flash, closes with a fade to black. Its init also loads the particle and flare
// textures of the later scenes and fills the particle array once.
#include <GL/gl.h>
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

Model ModelTubo;
Texture TexBlue;      // skin of the opaque tube
Texture TexBlue2;     // skin of the translucent tube
Texture TexParticle;  // the fountain's sprite (scenes 3, 4, 6, 7)
Texture TexPictra3;   // the rising picture sprite
Texture TexBigFlare;  // the flare (scenes 3 to 6)
uint32_t Scene3StartMs = 0;  // elapsedMs of the scene's first frame; 0 = not yet captured
float Scene3CueT = 0.0f;     // scene time on the first frame at or past the life cue

// Stream positions of the scene's cues.
enum : uint32_t {
    LIFE_CUE = 6159488,    // particle burst window opens, the life captions start
    BURST_END = 6161488,   // the fountain flies freely again
    FADE_OUT = 6945792,    // black rises over 150000 bytes
};

// The music runs on while the frame draws: every cue test reads the position anew.
static uint32_t Pos() { return BASS_ChannelGetPosition(MusicStream); }

bool Scene3Init() {
    if (!Load3dsFromFile("Data\\Tubo.3ds", &ModelTubo)) {
        MessageBoxA(nullptr, "Data\\Tubo.3ds not found!", "Loading error",
                    MB_SYSTEMMODAL | MB_ICONERROR);
        return false;
    }
    static const struct {
        const char* entry;
        Texture* texture;
    } textures[] = {{"blue.tga", &TexBlue},         {"blue2.tga", &TexBlue2},
                    {"Particle.tga", &TexParticle}, {"pictra3.tga", &TexPictra3},
                    {"BigFlare.tga", &TexBigFlare}};
    for (const auto& t : textures) {
        if (!TPACK_Find(t.entry)) return false;  // the pack reader has shown its box
        LoadTgaFromPack(t.texture, PackFile.file, PackFile.entryOffset);  // a bad image draws untextured
    }
    ParticlesInit();
    return true;
}

// Opaque tube, turning once per 360 units of scene time; blending off.
static void DrawOpaqueTube(float t) {
    glPushMatrix();
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glColor3f(1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, TexBlue.id);
    DrawModelTextured(&ModelTubo, 0, 0, 0, 90, t, 0);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

// Smaller, faster, half-transparent copy inside. Uses the blend function in force: the normal
// alpha blend the sprites restore at the end of every frame of this scene.
static void DrawTranslucentTube(float t) {
    glPushMatrix();
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glScalef(0.8f, 0.8f, 0.8f);
    glColor4f(1, 1, 1, 0.5f);
    glBindTexture(GL_TEXTURE_2D, TexBlue2.id);
    DrawModelTextured(&ModelTubo, 0, 0, 0, 90, 1.6f * t, 0);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

// From the life cue on: a rising, pulsing line and two drifting words. The cue's scene time
// is latched on its first frame; the pulse's phase is t / 60 minus that latched time.
static void DrawLifeCaptions(float t) {
    if (Scene3CueT == 0.0f) Scene3CueT = t;
    float u = t - Scene3CueT;
    FadeCaption(0, u / 65 - 3, -6, "She produce life", (float)(100 * sin((double)(t / 60 - Scene3CueT))));
    FadeCaption(3 - u / 100, 0.3f, -2, "Life", 35);
    FadeCaption(-0.5f, 3 - u / 100, -2, "Life", 35);
}

void Scene3Render(uint32_t elapsedMs) {
    if (Scene3StartMs == 0) Scene3StartMs = elapsedMs;
    float t = (float)((double)(uint32_t)(elapsedMs - Scene3StartMs) * 0.05);

    DrawOpaqueTube(t);
    DrawTranslucentTube(t);
    DrawFountain(0, 0);
    // Opening flash, added onto the picture (additive blend from the fountain).
    if (Pos() >= SCENE3_START) FlashWhite((Pos() - SCENE3_START) / 110);
    // Every frame inside the burst window restarts the fountain from the emitter.
    if (Pos() >= LIFE_CUE && Pos() < BURST_END) ParticlesReset();
    if (Pos() >= LIFE_CUE) DrawLifeCaptions(t);
    FadeCaption(-0.08f, 0, t / 60 - 6, "I love you", 70);

    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    GlowSprite(&TexPictra3, 0.7f, -0.15f, t / 2300 - 0.3f, -0.5f);
    GlowSprite(&TexBigFlare, 0.7f, 0, 0.05f, -0.3f);

    if (Pos() >= FADE_OUT) {
        uint32_t k = (Pos() - FADE_OUT) / 150;
        FadeBlack(k >= 1000 ? 0 : 1000 - k);
    }
}

// The pixel copies go; the texture objects stay, later scenes still bind them.
void Scene3Free() {
    Texture* textures[] = {&TexBlue, &TexBlue2, &TexParticle, &TexPictra3, &TexBigFlare};
    for (Texture* texture : textures) {
        free(texture->pixels);
        texture->pixels = nullptr;
    }
}
