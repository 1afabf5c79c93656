// What the scenes build with: the stream position every cue tests, rising and falling levels,
// pack textures, model files, the first-frame latch and models drawn inside one state bracket.
#pragma once
#include <cstdint>
#include "demo/cues.h"
#include "loaders/model3ds.h"
#include "loaders/tga.h"

// Asked afresh by every cue test: the music runs on while the frame is drawn.
uint32_t StreamPos();
// The level of an overlay past `cue`: up by one every `divisor` bytes, from 0 at the cue.
uint32_t RisingLevel(uint32_t cue, uint32_t divisor);
// 1000 at `cue`, down by one every `divisor` bytes, held at 0. Only meaningful past the cue.
uint32_t FallingLevel(uint32_t cue, uint32_t divisor);

// A missing entry has already been reported by the pack reader (false); an image that does not
// decode is not fatal and draws untextured.
bool LoadPackTexture(const char* entry, Texture* texture);
// The pixel copy goes; the texture object stays, later frames may still bind it.
void FreePixels(Texture* texture);
// A model file, or the "Loading error" box with `message` and false.
bool LoadModelFile(const char* path, Model* model, const char* message);

// The frame clock of a scene's first frame goes into *startMs (0 = not yet); true on that frame.
bool LatchStart(uint32_t* startMs, uint32_t elapsedMs);

// The capabilities a model bracket switches, as bits.
enum : uint16_t { CAP_CULL = 1, CAP_TEXTURE = 2, CAP_BLEND = 4, CAP_LINE_SMOOTH = 8 };
enum : uint16_t { CAP_COLOR_MATERIAL = 16, CAP_LIGHTING = 32 };

// How one model is drawn, said step by step from Look(model, skin), as in
//   Look(&ModelTubo, &TexBlue).Off(CAP_CULL | CAP_BLEND).On(CAP_TEXTURE).White(1)
// The bracket DrawLook draws it in, whatever order the steps are written in: push the matrix;
// light up if Lit (white ambient light, colour material following the current colour); switch
// the Off capabilities off, then the On ones on; set opaque white at `alpha` if White (else the
// previous drawing's colour stays current); apply the scales (three at most) in the order
// given; bind the skin (none: wireframe lines); draw at the placement; switch the OffAfter
// capabilities off; pop.
struct ModelLook {
    const Model* model;
    const Texture* skin;
    uint16_t off, on, after;
    bool lit;
    bool colored;
    float alpha;
    float scales[3][3];  // unused slots are zero

    // Each step returns a copy with one more thing said.
    constexpr ModelLook Lit() const { return With(&ModelLook::lit, true); }
    constexpr ModelLook Off(uint16_t caps) const { return With(&ModelLook::off, caps); }
    constexpr ModelLook On(uint16_t caps) const { return With(&ModelLook::on, caps); }
    constexpr ModelLook OffAfter(uint16_t caps) const { return With(&ModelLook::after, caps); }
    constexpr ModelLook White(float a) const {
        return With(&ModelLook::colored, true).With(&ModelLook::alpha, a);
    }
    constexpr ModelLook Scale(float s) const { return Scale(s, s, s); }
    constexpr ModelLook Scale(float x, float y, float z) const {
        ModelLook l = *this;
        for (auto& slot : l.scales)
            if (slot[0] == 0) {
                slot[0] = x, slot[1] = y, slot[2] = z;
                break;
            }
        return l;
    }
    template <typename T>
    constexpr ModelLook With(T ModelLook::*field, T value) const {
        ModelLook l = *this;
        l.*field = value;
        return l;
    }
};
constexpr ModelLook Look(const Model* model, const Texture* skin) {
    return {model, skin, 0, 0, 0, false, false, 0, {}};
}
// A textured model seen through from both sides: culling off, texturing and blending on, in
// opaque white at `alpha`.
constexpr ModelLook SeeThrough(const Model* model, const Texture* skin, float alpha) {
    return Look(model, skin).Off(CAP_CULL).On(CAP_TEXTURE | CAP_BLEND).White(alpha);
}
struct Placement {
    float tx, ty, tz, rx, ry, rz;
};
void DrawLook(const ModelLook& look, const Placement& at);
