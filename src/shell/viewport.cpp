// The letterboxed viewport and its projection, and the OpenGL state every scene starts from.
#include <GL/gl.h>
#include <GL/glu.h>
#include "shell/shell.h"

// The picture is letterboxed: 40-pixel bands at top and bottom keep the clear colour.
// A window too small to hold any picture between the bands keeps its last projection.
void ResizeViewport(int width, int height) {
    if (height == 0) height = 1;
    int pictureHeight = height - 80;
    if (pictureHeight < 1) return;
    glViewport(0, 40, width, pictureHeight);
    glScissor(0, 40, width, pictureHeight);  // what the frame draws is held to the same box
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, (double)width / (double)pictureHeight, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool InitGlState() {
    static const GLfloat ambient[] = {0.5f, 0.5f, 0.5f, 1.0f};
    static const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    static const GLfloat position[] = {0.0f, 0.0f, 2.0f, 1.0f};
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glEnable(GL_LIGHT1);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glLoadIdentity();
    return true;
}
