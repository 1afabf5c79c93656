#include "fx/glow.h"
#include <GL/gl.h>

void GlowStrip(const Texture* texture, float alpha, float x, float y, float z, float height) {
    glPushMatrix();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glColor4f(1, 1, 1, alpha);
    glTranslatef(x, y, z);
    glBindTexture(GL_TEXTURE_2D, texture->id);  // id 0 (failed load) draws the default texture
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(1, 1), glVertex3f(0.5f, 0.5f, 0);
    glTexCoord2f(0, 1), glVertex3f(-0.5f, 0.5f, 0);
    glTexCoord2f(1, 0), glVertex3f(0.5f, 0.5f - height, 0);
    glTexCoord2f(0, 0), glVertex3f(-0.5f, 0.5f - height, 0);
    glEnd();
    // Put back what the rest of the frame relies on.
    glColor4f(1, 1, 1, 1);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glPopMatrix();
}

void GlowSprite(const Texture* texture, float alpha, float x, float y, float z) {
    GlowStrip(texture, alpha, x, y, z, 1);
}
