// Rendering tests: one 640x480 demo window on SDL's offscreen driver (Mesa, no display) per
// suite, the initial OpenGL state restored before each test, frames read back top row first.
#pragma once
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "fx/mesh.h"
#include "shell/shell.h"
#include "test_support.h"

struct Pixel {
    uint8_t r, g, b;
};

// Reading frames: pixels addressed from the top-left corner.
struct FrameChecks {
    static Pixel At(const std::vector<Pixel>& frame, int x, int y) { return frame[y * 640 + x]; }

    // Pixels of rows [top, bottom) whose channels are all at least `level`.
    static int CountAtLeast(const std::vector<Pixel>& frame, int top, int bottom, uint8_t level) {
        int count = 0;
        for (int y = top; y < bottom; y++)
            for (int x = 0; x < 640; x++) {
                Pixel p = At(frame, x, y);
                if (p.r >= level && p.g >= level && p.b >= level) count++;
            }
        return count;
    }
    // Pixels of rows [top, bottom) that are not black.
    static int CountLit(const std::vector<Pixel>& frame, int top, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; y++)
            for (int x = 0; x < 640; x++) {
                Pixel p = At(frame, x, y);
                if (p.r || p.g || p.b) count++;
            }
        return count;
    }
};

class GlTest : public ::testing::Test, public FrameChecks {
protected:
    static void SetUpTestSuite() {
        ResetShell();
        BoxesStart(IDYES);
        ASSERT_TRUE(CreateDemoWindow("Aurora - Vernalis", 640, 480, 16, false)) << BoxTexts();
        BoxesStop();
    }
    static void TearDownTestSuite() {
        MeshForgetCompiled();
        DestroyDemoWindow();
        ResetShell();
    }
    void SetUp() override {
        ResizeViewport(640, 480);
        InitGlState();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
    }

    // The whole back buffer, RGB, rows from the top.
    static std::vector<Pixel> ReadFrame() {
        std::vector<Pixel> bottomUp(640 * 480), frame(640 * 480);
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++) frame[y * 640 + x] = bottomUp[(479 - y) * 640 + x];
        return frame;
    }
};
