// The demo window under SDL's offscreen driver: creation, each failure row and its unwinding,
// the letterboxed projection and the initial OpenGL state.
#include <GL/gl.h>
#include <cstring>
#include "shell_fixture.h"

class DemoWindow : public ShellTest {};

// The offscreen display has no 640x480 mode: the user is asked once, Yes gives a window.
TEST_F(DemoWindow, FallsBackToWindowOnConsent) {
    ASSERT_TRUE(CreateDemoWindow("Aurora - Vernalis", 640, 480, 16, true)) << BoxTexts();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].caption, "Kabo GL");
    EXPECT_EQ(Boxes[0].text,
              "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed "
              "Mode Instead?");
    EXPECT_EQ(Boxes[0].type, (UINT)(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_FALSE(FullscreenFlag);
    EXPECT_TRUE(PlatformWindowAlive(WindowHandle));
    EXPECT_EQ(WindowHandle->width, 640);
    EXPECT_EQ(WindowHandle->height, 480);
    EXPECT_NE(RenderingContext, nullptr);
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);
}

TEST_F(DemoWindow, RefusedFallbackClosesWithoutWindow) {
    BoxAnswer = IDNO;
    EXPECT_FALSE(CreateDemoWindow("Aurora - Vernalis", 640, 480, 16, true));
    ASSERT_EQ(Boxes.size(), 2u) << BoxTexts();
    EXPECT_EQ(Boxes[1].caption, "ERROR");
    EXPECT_EQ(Boxes[1].text, "Program Will Now Close.");
    EXPECT_EQ(Boxes[1].type, (UINT)MB_ICONSTOP);
    EXPECT_EQ(WindowHandle, nullptr);
    // The class stays registered, as the process ends right after.
    EXPECT_TRUE(UnregisterClassA("OpenGL", GetModuleHandleA(nullptr)));
}

TEST_F(DemoWindow, WindowedRequestAsksNothing) {
    ASSERT_TRUE(CreateDemoWindow("Aurora - Vernalis", 640, 480, 16, false));
    EXPECT_TRUE(Boxes.empty()) << BoxTexts();
}

TEST_F(DemoWindow, ClassRegistrationFailure) {
    PlatformFailCall = "RegisterClassA";
    EXPECT_FALSE(CreateDemoWindow("Aurora - Vernalis", 640, 480, 16, false));
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].text, "Failed To Register The Window Class.");
    EXPECT_EQ(Boxes[0].caption, "ERROR");
}

struct FailureRow {
    const char* call;
    const char* message;
};

// Each step after the window exists releases everything before its message appears.
TEST_F(DemoWindow, EachCreationFailureUnwindsThenReports) {
    const FailureRow rows[] = {
        {"CreateWindowExA", "Window Creation Error."},
        {"GetDC", "Can't Create A GL Device Context."},
        {"ChoosePixelFormat", "Can't Find A Suitable PixelFormat."},
        {"SetPixelFormat", "Can't Set The PixelFormat."},
        {"wglCreateContext", "Can't Create A GL Rendering Context."},
        {"wglMakeCurrent", "Can't Activate The GL Rendering Context."},
    };
    for (const FailureRow& row : rows) {
        ResetShell();
        Boxes.clear();
        PlatformFailCall = row.call;
        EXPECT_FALSE(CreateDemoWindow("Aurora - Vernalis", 640, 480, 16, false)) << row.call;
        PlatformFailCall = nullptr;
        // A failing wglMakeCurrent also fails to release the context: one shutdown box first.
        ASSERT_FALSE(Boxes.empty()) << row.call;
        EXPECT_EQ(Boxes.size(), strcmp(row.call, "wglMakeCurrent") == 0 ? 2u : 1u) << BoxTexts();
        EXPECT_EQ(Boxes.back().text, row.message);
        EXPECT_EQ(Boxes.back().caption, "ERROR");
        EXPECT_EQ(Boxes.back().type, (UINT)MB_ICONEXCLAMATION);
        EXPECT_FALSE(PlatformWindowAlive(WindowHandle)) << row.call;
        EXPECT_EQ(RenderingContext, nullptr);
        // The class was unregistered, so it can be registered again.
        EXPECT_FALSE(UnregisterClassA("OpenGL", GetModuleHandleA(nullptr))) << row.call;
    }
}

TEST_F(DemoWindow, ShutdownFailuresAreReportedAndDoNotStopTheSequence) {
    ASSERT_TRUE(CreateDemoWindow("Aurora - Vernalis", 640, 480, 16, false));
    HWND window = WindowHandle;
    HGLRC context = RenderingContext;
    PlatformFailCall = "wglDeleteContext";
    DestroyDemoWindow();
    PlatformFailCall = nullptr;
    EXPECT_TRUE(wglDeleteContext(context));  // the failed delete left it, as Win32 would
    ASSERT_EQ(Boxes.size(), 1u) << BoxTexts();
    EXPECT_EQ(Boxes[0].text, "Release Rendering Context Failed.");
    EXPECT_EQ(Boxes[0].caption, "SHUTDOWN ERROR");
    EXPECT_EQ(Boxes[0].type, (UINT)MB_ICONINFORMATION);
    EXPECT_EQ(RenderingContext, nullptr);
    EXPECT_FALSE(PlatformWindowAlive(window));
}

static void Viewport(GLint out[4]) { glGetIntegerv(GL_VIEWPORT, out); }

static double ProjectionAspect() {
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    return (double)m[5] / (double)m[0];
}

TEST_F(DemoWindow, ProjectionIsLetterboxed) {
    ASSERT_TRUE(CreateDemoWindow("Aurora - Vernalis", 640, 480, 16, false));
    GLint v[4];
    Viewport(v);
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[1], 40);
    EXPECT_EQ(v[2], 640);
    EXPECT_EQ(v[3], 400);
    EXPECT_NEAR(ProjectionAspect(), 1.6, 1e-5);

    ResizeViewport(800, 300);
    Viewport(v);
    EXPECT_EQ(v[3], 220);
    EXPECT_NEAR(ProjectionAspect(), 800.0 / 220.0, 1e-4);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

// Too small for any picture between the bands (a minimised window is 0 high): unchanged.
TEST_F(DemoWindow, TinyWindowsKeepTheLastProjection) {
    ASSERT_TRUE(CreateDemoWindow("Aurora - Vernalis", 640, 480, 16, false));
    for (int height : {0, 1, 80}) {
        ResizeViewport(640, height);
        GLint v[4];
        Viewport(v);
        EXPECT_EQ(v[3], 400) << height;
        EXPECT_NEAR(ProjectionAspect(), 1.6, 1e-5) << height;
    }
    ResizeViewport(640, 81);
    GLint v[4];
    Viewport(v);
    EXPECT_EQ(v[3], 1);
}

TEST_F(DemoWindow, InitialGlState) {
    ASSERT_TRUE(CreateDemoWindow("Aurora - Vernalis", 640, 480, 16, false));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
    GLfloat color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_FLOAT_EQ(color[3], 0.5f);
    GLfloat ambient[4];
    glGetLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    EXPECT_FLOAT_EQ(ambient[0], 0.5f);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0] + clear[1] + clear[2] + clear[3], 0.0f);
}
