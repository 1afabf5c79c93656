#include "fx/flash.h"
#include <GL/gl.h>

// The quad sits at twice the near distance (0.1) rather than on the near plane, where clipping
// would hinge on rounding. At 0.2 away the view is about 0.27 x 0.17 units (45-degree field,
// aspect 1.6), so the 4 x 2 quad covers it for any aspect up to about 24.
static const float QUAD_DEPTH = -0.2f;

float FlashAlpha(uint32_t level) { return 1.0f - (float)level * 0.001f; }

// A quad whose alpha clamps to 0, blended by source alpha onto what is there, leaves every
// pixel as it was: its full-view fill is skipped. Scenes keep calling their fades long after
// they have faded out.
static bool LeavesPictureAsItIs(float alpha) {
    if (alpha > 0 || glIsEnabled(GL_LIGHTING) || glIsEnabled(GL_TEXTURE_2D)) return false;
    GLint source = 0, dest = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &dest);
    return source == GL_SRC_ALPHA && (dest == GL_ONE || dest == GL_ONE_MINUS_SRC_ALPHA);
}

static void Overlay(float r, float g, float b, uint32_t level) {
    float alpha = FlashAlpha(level);
    if (LeavesPictureAsItIs(alpha)) {
        glColor4f(r, g, b, alpha);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        return;
    }
    glPushMatrix();
    glTranslatef(0, 0, QUAD_DEPTH);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBegin(GL_QUADS);
    glColor4f(r, g, b, alpha), glVertex3f(-2, 1, 0);
    glColor4f(r, g, b, alpha), glVertex3f(2, 1, 0);
    glColor4f(r, g, b, alpha), glVertex3f(2, -1, 0);
    glColor4f(r, g, b, alpha), glVertex3f(-2, -1, 0);
    glEnd();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glPopMatrix();
}

void FlashWhite(uint32_t level) { Overlay(1, 1, 1, level); }
void FadeBlack(uint32_t level) { Overlay(0, 0, 0, level); }
