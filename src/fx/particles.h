// The particle fountain shared by the later scenes: 2000 additive sprites bursting from the
// origin of the caller's coordinate system, falling, fading and respawning in cycling colours.
#pragma once
#include <cstdint>

enum { PARTICLE_COUNT = 2000, PARTICLE_COLOR_COUNT = 12 };

struct Particle {
    bool active;  // drawn and moved; set by ParticlesInit, never cleared
    float life;   // the alpha of its colour; dead below 0
    float fade;   // subtracted from life each step
    float r, g, b;
    float x, y, z;
    float xi, yi, zi;  // velocity; a step moves the position by velocity / 1500
    float xg, yg, zg;  // gravity, added to the velocity each step
};

extern Particle Particles[PARTICLE_COUNT];  // all zero (inactive) until ParticlesInit
extern const float ParticleColors[PARTICLE_COLOR_COUNT][3];
extern int32_t ParticleColorIndex;  // colour of the next respawn, cycles 0..11
extern bool ParticleRespawn;        // dead particles are reborn while set; initially true

// The fountain's own generator, so that it unfolds the same way on every run and platform:
// state = state * 214013 + 2531011 (mod 2^32), result (state >> 16) & 0x7FFF, 0..32767.
extern uint32_t ParticleRandState;  // starts at 1; tests may set it back
int ParticleRand();

// Learns the sprite's lit box (the texels that are not black) from its pixels: R, G, B first
// in each texel, row 0 at texture coordinate 0. Light added from a black texel is nothing, so
// each particle is then drawn as the part of its quad that the lit box (widened by the reach of
// linear filtering) maps to: a third of the pixels to shade for the generated sprite, the same
// light to within rounding (a channel may differ by a step where the smaller quad's
// interpolation rounds the other way).
void ParticlesUseSprite(const uint8_t* pixels, int width, int height, int bytesPerTexel);
extern float ParticleLitBox[4];  // u0, v0, u1, v1 of the part drawn; the whole sprite until learned

void ParticlesInit();   // fills the array once
void ParticlesDraw();   // draws every active particle and advances it one step
void ParticlesReset();  // every particle back to the origin with a fresh burst velocity
