// Scene 5: a textured face turns and drifts left while, for the scene's first six seconds, its
// shape walks step by step from one face model towards another; the flare and a rising
// picture glow in front, three captions cross the view. White flash in, fade to black out.
#include <GL/gl.h>
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
#include "platform/win32.h"

Model ModelCara1;
Model ModelCara2;
Model ModelMorph;
Texture TexMetal;  // loaded but bound by no step
Texture TexPictra4;
uint32_t Scene5StartMs = 0;

enum : uint32_t {
    SCENE5_FADE_OUT = 10821632,  // fade to black towards scene 6
    SCENE5_MORPH_MS = 6000,      // the morph runs while scene time is at most this
};

static uint32_t Position() { return BASS_ChannelGetPosition(MusicStream); }

// Face counts straight from a file or another record, kept inside the arrays.
static int FaceLimit(int32_t count) {
    if (count < 0) return 0;
    return count > MODEL_MAX_FACES ? MODEL_MAX_FACES : count;
}

// Both files get the same message, naming neither of them.
static bool LoadFace(const char* path, Model* model) {
    if (Load3dsFromFile(path, model)) return true;
    MessageBoxA(nullptr, "Data\\CaraTio2.3ds not found!", "Loading error",
                MB_SYSTEMMODAL | MB_ICONERROR);
    return false;
}

static bool LoadPackTexture(const char* name, Texture* texture) {
    if (!TPACK_Find(name)) return false;
    LoadTgaFromPack(texture, PackFile.file, PackFile.entryOffset);
    return true;
}

// The morph's starting shape: ModelCara1's faces, positions and mapping, under the face count
// of ModelCaraTio1 (the model whose skin the face wears). Tests call it to start afresh.
void Scene5BuildMorph() {
    ModelMorph.faceCount = ModelCaraTio1.faceCount;
    int n = FaceLimit(ModelCara1.faceCount);
    for (int i = 0; i < n; i++) {
        ModelMorph.faces[i].vertexCount = 3;
        for (int k = 0; k < 3; k++) ModelMorph.faces[i].corners[k] = ModelCara1.faces[i].corners[k];
    }
}

// Every position coordinate moves one fixed step towards the target's (down when equal), so
// once there it oscillates around it. One step per rendered frame, whatever the frame time.
void MorphStep(const Model* target, float step) {
    int n = FaceLimit(ModelCaraTio1.faceCount);
    for (int i = 0; i < n; i++)
        for (int k = 0; k < 3; k++) {
            ModelVertex* c = &ModelMorph.faces[i].corners[k];
            const ModelVertex* g = &target->faces[i].corners[k];
            c->x = c->x < g->x ? c->x + step : c->x - step;
            c->y = c->y < g->y ? c->y + step : c->y - step;
            c->z = c->z < g->z ? c->z + step : c->z - step;
        }
}

bool Scene5Init() {
    if (!LoadFace("Data\\cara1.3DS", &ModelCara1)) return false;
    if (!LoadFace("Data\\cara2.3DS", &ModelCara2)) return false;
    if (!LoadPackTexture("metal.tga", &TexMetal) || !LoadPackTexture("pictra4.tga", &TexPictra4))
        return false;
    Scene5BuildMorph();
    return true;
}

// Opaque (blending is off as the overlays leave it), back faces culled.
static void DrawFace(float t) {
    glPushMatrix();
    glScalef(0.5f, 0.5f, 0.5f);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, TexCaraTio1.id);
    DrawModelTextured(&ModelMorph, -1 - t / 90, 0, -10, 0, t / 4 - 20, 0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glPopMatrix();
}

void Scene5Render(uint32_t elapsedMs) {
    ParticleRespawn = false;
    if (Scene5StartMs == 0) {
        Scene5StartMs = elapsedMs;
        ParticlesReset();  // the fountain is not drawn in this scene
    }
    float t = (float)(uint32_t)(elapsedMs - Scene5StartMs) * 0.02f;
    // Signed: a clock behind the latch still counts as inside the first six seconds.
    if ((int32_t)(elapsedMs - Scene5StartMs) <= (int32_t)SCENE5_MORPH_MS)
        MorphStep(&ModelCara2, 0.002f);

    DrawFace(t);
    GlowSprite(&TexBigFlare, 0.7f, 0.1f, 0.1f, -0.3f);
    GlowSprite(&TexPictra4, 0.7f, 0.1f, t / 900 - 0.26f, -0.55f);
    // Captions and overlays use the normal alpha blend the sprite restored.
    FadeCaption(5 - t / 40, -2.1f, -6, "I dream with you", 45);
    FadeCaption(2 - t / 60, 0, -1.5f, "With", 45);
    FadeCaption(-0.2f, t / 65 - 3.5f, -1.6f, "You", 45);
    if (Position() >= SCENE5_START) FlashWhite((Position() - SCENE5_START) / 150);
    if (Position() >= SCENE5_FADE_OUT) {
        uint32_t steps = (Position() - SCENE5_FADE_OUT) / 130;
        FadeBlack(steps >= 1000 ? 0 : 1000 - steps);
    }
}

static void FreePixels(Texture* texture) {
    free(texture->pixels);
    texture->pixels = nullptr;
}

void Scene5Free() {
    FreePixels(&TexMetal);
    FreePixels(&TexPictra4);
}
