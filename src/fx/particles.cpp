#include "fx/particles.h"
#include <GL/gl.h>
#include <algorithm>
#include "fx/mesh.h"

Particle Particles[PARTICLE_COUNT];
const float ParticleColors[PARTICLE_COLOR_COUNT][3] = {
    {1, 0.5f, 0.5f}, {1, 0.75f, 0.5f}, {1, 1, 0.5f}, {0.75f, 1, 0.5f},
    {0.5f, 1, 0.5f}, {0.5f, 1, 0.75f}, {0.5f, 1, 1}, {0.5f, 0.75f, 1},
    {0.5f, 0.5f, 1}, {0.75f, 0.5f, 1}, {1, 0.5f, 1}, {1, 0.5f, 0.75f},
};
int32_t ParticleColorIndex = 0;
bool ParticleRespawn = true;
uint32_t ParticleRandState = 1;

int ParticleRand() {
    ParticleRandState = ParticleRandState * 214013u + 2531011u;
    return (int)((ParticleRandState >> 16) & 0x7FFF);
}

static float RandomFade() { return (float)(ParticleRand() % 100) / 1000.0f + 0.003f; }

static void SetColor(Particle* p, int index) {
    p->r = ParticleColors[index][0];
    p->g = ParticleColors[index][1];
    p->b = ParticleColors[index][2];
}

// The initial burst: x from -260 to 230, y and z from -250 to 240. Draws in x, y, z order.
// KEPT ON PURPOSE: x is offset by 26 where 25 would centre it, so the burst leans left; the
// fountain has always looked this way.
static void BurstVelocity(Particle* p) {
    p->xi = (float)((ParticleRand() % 50 - 26) * 10);
    p->yi = (float)((ParticleRand() % 50 - 25) * 10);
    p->zi = (float)((ParticleRand() % 50 - 25) * 10);
}

void ParticlesInit() {
    for (int i = 0; i < PARTICLE_COUNT; i++) {
        Particle* p = &Particles[i];
        p->active = true;
        p->life = 3.0f;
        p->fade = RandomFade();
        // Colour bands of 166 (the first 165). The band index of the last nine particles comes
        // out at 12, one past the table: they wrap round to colour 0, as the respawn cycle does.
        SetColor(p, (i + 1) / 166 % PARTICLE_COLOR_COUNT);
        BurstVelocity(p);
        p->xg = 0, p->yg = -0.2f, p->zg = 0;
    }
}

float ParticleLitBox[4] = {0, 0, 1, 1};

// A sample at u blends the texels either side of u * size - 0.5, so light from texels lo..hi
// reaches only samples strictly inside ((lo - 0.5) / size, (hi + 1.5) / size). A lit area that
// touches an edge keeps the whole range: the sprite repeats, so the far edge's texels reach
// round.
static void LitRange(int lo, int hi, int size, float* from, float* to) {
    if (lo <= 0 || hi >= size - 1) return;
    *from = (lo - 0.5f) / size;
    *to = (hi + 1.5f) / size;
}

void ParticlesUseSprite(const uint8_t* pixels, int width, int height, int bytesPerTexel) {
    ParticleLitBox[0] = ParticleLitBox[1] = 0, ParticleLitBox[2] = ParticleLitBox[3] = 1;
    if (!pixels || width <= 0 || height <= 0 || bytesPerTexel < 3) return;
    int x0 = width, y0 = height, x1 = -1, y1 = -1;
    for (int y = 0; y < height; y++) {
        const uint8_t* t = pixels + (size_t)y * width * bytesPerTexel;
        for (int x = 0; x < width; x++, t += bytesPerTexel) {
            if (!t[0] && !t[1] && !t[2]) continue;
            x0 = std::min(x0, x), x1 = std::max(x1, x);
            y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    }
    if (x1 < 0) return;  // all black: keep the whole quad
    LitRange(x0, x1, width, &ParticleLitBox[0], &ParticleLitBox[2]);
    LitRange(y0, y1, height, &ParticleLitBox[1], &ParticleLitBox[3]);
}

// The part of the 1 x 1 quad that the lit box maps to, with the texture coordinates it has
// there. The whole box gives the whole quad exactly (offsets of -0.5 and 0.5).
static void DrawQuad(const Particle* p) {
    const float* box = ParticleLitBox;
    float left = p->x + (box[0] - 0.5f), right = p->x + (box[2] - 0.5f);
    float bottom = p->y + (box[1] - 0.5f), top = p->y + (box[3] - 0.5f);
    glColor4f(p->r, p->g, p->b, p->life);  // life above 1 clamps to full strength
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(box[2], box[3]), glVertex3f(right, top, p->z);
    glTexCoord2f(box[0], box[3]), glVertex3f(left, top, p->z);
    glTexCoord2f(box[2], box[1]), glVertex3f(right, bottom, p->z);
    glTexCoord2f(box[0], box[1]), glVertex3f(left, bottom, p->z);
    glEnd();
}

// Reborn at the origin about ten times slower than the first burst, with life 1 and the next
// colour of the cycle; gravity stays.
static void Respawn(Particle* p) {
    p->life = 1.0f;
    p->fade = RandomFade();
    p->x = p->y = p->z = 0;
    // KEPT ON PURPOSE: 32, not 30 as for y: the jets lean left, as they always have.
    p->xi = (float)(ParticleRand() % 60 - 32);
    p->yi = (float)(ParticleRand() % 60 - 30);
    p->zi = (float)(ParticleRand() % 60 - 30);
    if (ParticleColorIndex < 0 || ParticleColorIndex >= PARTICLE_COLOR_COUNT)
        ParticleColorIndex = 0;  // set from outside: never index past the table
    SetColor(p, ParticleColorIndex);
    if (++ParticleColorIndex > PARTICLE_COLOR_COUNT - 1) ParticleColorIndex = 0;
}

static void Step(Particle* p) {
    p->x += p->xi / 1500.0f;
    p->y += p->yi / 1500.0f;
    p->z += p->zi / 1500.0f;
    p->xi += p->xg;
    p->yi += p->yg;
    p->zi += p->zg;
    p->life -= p->fade;
    if (p->life < 0 && ParticleRespawn) Respawn(p);
}

// The state every particle's quad is drawn with, set once before the first active one: the
// calls repeat nothing for the ones after it, and are left in force for what the caller draws
// next.
static void SetParticleState() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glDisable(GL_DEPTH_TEST);
}

// With geometry off no quad is sent, but every step is taken and the last quad's colour and
// its last corner's mapping are left current, as drawing them would.
void ParticlesDraw() {
    bool any = false;
    float color[4] = {0, 0, 0, 0};  // of the last quad, while geometry is off
    for (int i = 0; i < PARTICLE_COUNT; i++) {
        Particle* p = &Particles[i];
        if (!p->active) continue;
        if (!any) SetParticleState();
        any = true;
        if (GeometryOff) {
            color[0] = p->r, color[1] = p->g, color[2] = p->b, color[3] = p->life;
        } else {
            DrawQuad(p);
        }
        Step(p);
    }
    if (any && GeometryOff) {
        glColor4fv(color);
        glTexCoord2f(ParticleLitBox[0], ParticleLitBox[1]);
    }
    glEnable(GL_DEPTH_TEST);
}

void ParticlesReset() {
    for (int i = 0; i < PARTICLE_COUNT; i++) {
        Particle* p = &Particles[i];
        p->x = p->y = p->z = 0;
        BurstVelocity(p);
    }
}
