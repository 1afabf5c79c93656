#include "demo/kit.h"
#include <GL/gl.h>
#include <cstdlib>
#include "fx/mesh.h"
#include "music/music.h"
#include "pack/tpack.h"
#include "platform/win32.h"

uint32_t StreamPos() { return BASS_ChannelGetPosition(MusicStream); }

uint32_t RisingLevel(uint32_t cue, uint32_t divisor) { return (StreamPos() - cue) / divisor; }

uint32_t FallingLevel(uint32_t cue, uint32_t divisor) {
    uint32_t steps = RisingLevel(cue, divisor);
    return steps >= 1000 ? 0 : 1000 - steps;
}

bool LoadPackTexture(const char* entry, Texture* texture) {
    if (!TPACK_Find(entry)) return false;
    LoadTgaFromPack(texture, PackFile.file, PackFile.entryOffset);
    return true;
}

void FreePixels(Texture* texture) {
    free(texture->pixels);
    texture->pixels = nullptr;
}

bool LoadModelFile(const char* path, Model* model, const char* message) {
    if (Load3dsFromFile(path, model)) return true;
    MessageBoxA(nullptr, message, "Loading error", MB_OK | MB_SYSTEMMODAL | MB_ICONERROR);
    return false;
}

// KEPT ON PURPOSE: a first frame at clock 0 latches 0, which reads as "not yet", so the next
// frame latches again; a run whose clock starts at 0 has always timed its scene this way.
bool LatchStart(uint32_t* startMs, uint32_t elapsedMs) {
    if (*startMs != 0) return false;
    *startMs = elapsedMs;
    return true;
}

static const struct {
    uint16_t bit;
    GLenum cap;
} Caps[] = {{CAP_CULL, GL_CULL_FACE},
            {CAP_TEXTURE, GL_TEXTURE_2D},
            {CAP_BLEND, GL_BLEND},
            {CAP_LINE_SMOOTH, GL_LINE_SMOOTH},
            {CAP_COLOR_MATERIAL, GL_COLOR_MATERIAL},
            {CAP_LIGHTING, GL_LIGHTING}};

static void Switch(uint16_t bits, bool on) {
    for (const auto& c : Caps)
        if (bits & c.bit) on ? glEnable(c.cap) : glDisable(c.cap);
}

static const float White[4] = {1, 1, 1, 1};

static void LightUp() {
    glEnable(GL_LIGHTING);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, White);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, White);
}

void DrawLook(const ModelLook& look, const Placement& at) {
    glPushMatrix();
    if (look.lit) LightUp();
    Switch(look.off, false);
    Switch(look.on, true);
    if (look.colored) glColor4f(1, 1, 1, look.alpha);
    for (const auto& s : look.scales)
        if (s[0] != 0) glScalef(s[0], s[1], s[2]);
    if (look.skin) {
        glBindTexture(GL_TEXTURE_2D, look.skin->id);
        DrawModelTextured(look.model, at.tx, at.ty, at.tz, at.rx, at.ry, at.rz);
    } else {
        DrawModel(look.model, at.tx, at.ty, at.tz, at.rx, at.ry, at.rz);
    }
    Switch(look.after, false);
    glPopMatrix();
}
