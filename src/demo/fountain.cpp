// The particle fountain as scenes 3, 4, 6 and 7 draw it.
#include <GL/gl.h>
#include "demo/scenes.h"
#include "fx/particles.h"

void DrawFountain(float x, float y) {
    glPushMatrix();
    glScalef(0.1f, 0.1f, 0.1f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, TexParticle.id);
    glTranslatef(x, y, -20);
    ParticlesDraw();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}
