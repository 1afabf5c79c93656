// Scene 6: the face of scene 5 turns back into its first shape, with a particle fountain at
// the upper left, the flare and two drifting captions; it fades in from black and out to white.
// It owns nothing: the models are scene 5's, the face texture scene 1's, the sprites scene 3's.
#include <GL/gl.h>
#include "demo/demo.h"
#include "demo/kit.h"
#include "demo/scenes.h"
#include "fx/flash.h"
#include "fx/font.h"
#include "fx/glow.h"
#include "fx/particles.h"

uint32_t Scene6StartMs = 0;  // frame clock on the scene's first frame; 0 until then

static const uint32_t FADE_IN_DIVISOR = 150;  // black overlay gone 150000 bytes in
static const uint32_t FLASH_DIVISOR = 50;     // opaque 50000 bytes later
static const int32_t MORPH_MS = 6000;         // the morph runs this long, then freezes
static const float MORPH_STEP = 0.01f;        // five times scene 5's step

// Snaps the face to the shape scene 5 was heading for, whatever it reached, keeping the
// mapping of the first face. Faces past ModelCara1's count keep what they held.
// KEPT ON PURPOSE: the face count from ModelCaraTio1, as in scene 5.
void Scene6PrepareMorph() {
    ModelMorph.faceCount = ModelCaraTio1.faceCount;
    int32_t n = FaceLimit(ModelCara1.faceCount);
    for (int32_t i = 0; i < n; i++) {
        ModelFace* face = &ModelMorph.faces[i];
        face->vertexCount = 3;
        for (int k = 0; k < 3; k++) {
            ModelVertex* c = &face->corners[k];
            const ModelVertex& shape = ModelCara2.faces[i].corners[k];
            const ModelVertex& mapping = ModelCara1.faces[i].corners[k];
            c->x = shape.x, c->y = shape.y, c->z = shape.z;
            c->u = mapping.u, c->v = mapping.v;
        }
    }
}

// Fade in from scene 5's black, then to white for the opening flash of scene 7.
static void DrawOverlays() {
    if (StreamPos() >= SCENE6_START) FadeBlack(RisingLevel(SCENE6_START, FADE_IN_DIVISOR));
    if (StreamPos() >= CUE_SCENE6_WHITE_OUT)
        FlashWhite(FallingLevel(CUE_SCENE6_WHITE_OUT, FLASH_DIVISOR));
}

void Scene6Render(uint32_t elapsedMs) {
    ParticleRespawn = true;
    if (LatchStart(&Scene6StartMs, elapsedMs)) {
        Scene6PrepareMorph();
        ParticlesReset();
    }
    float t = (float)(elapsedMs - Scene6StartMs) * 0.02f;
    if ((int32_t)(elapsedMs - Scene6StartMs) <= MORPH_MS) MorphStep(&ModelCara1, MORPH_STEP);
    DrawLook(MorphFace, {2.9f, 0, -10, 0, 10 - t / 4, 0});
    DrawFountain(-9, 3);
    GlowSprite(&TexBigFlare, 0.7f, -0.1f, 0.1f, -0.3f);
    // Both enter from the right; the nearer one moves faster. The sprite step has put the
    // normal alpha blend back for them and the overlays.
    FadeCaption(6 - t / 30, -2.1f, -6, "I need you", 45);
    FadeCaption(6 - t / 20, 0.8f, -3, "We need you", 45);
    DrawOverlays();
}

bool Scene6Init() { return true; }
void Scene6Free() {}
