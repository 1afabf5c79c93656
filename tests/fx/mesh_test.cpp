// Model drawing: the vertex stream (through GL feedback), the placement left on the matrix,
// and the render state that stays the caller's.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <vector>
#include "fx/mesh.h"
#include "gl_fixture.h"

static Model TestModel;

static void SetFace(int i, const float xyz[3][3]) {
    ModelFace& f = TestModel.faces[i];
    f.vertexCount = 3;
    for (int k = 0; k < 3; k++) {
        f.corners[k] = {xyz[k][0], xyz[k][1], xyz[k][2], 0.1f * (k + 1), 0.2f * (k + 1)};
    }
}

class MeshDraw : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        const float a[3][3] = {{-0.5f, -0.5f, 0}, {0.5f, -0.5f, 0}, {0, 0.5f, 0}};
        const float b[3][3] = {{0.2f, 0.2f, 0.1f}, {0.3f, 0.2f, 0.1f}, {0.2f, 0.3f, 0.1f}};
        SetFace(0, a);
        SetFace(1, b);
        TestModel.faceCount = 1;
    }
    // Feedback in normalised device coordinates (identity matrices, viewport undone).
    static std::vector<float> Feedback(GLenum type, void (*draw)()) {
        static GLfloat buffer[4096];
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glFeedbackBuffer(4096, type, buffer);
        glRenderMode(GL_FEEDBACK);
        draw();
        int n = glRenderMode(GL_RENDER);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        return std::vector<float>(buffer, buffer + (n > 0 ? n : 0));
    }
    static float NdcX(float wx) { return wx / 320.0f - 1; }
    static float NdcY(float wy) { return (wy - 40) / 200.0f - 1; }
    static void ExpectCorner(const float* v, int corner, int face = 0) {
        const ModelVertex& c = TestModel.faces[face].corners[corner];
        EXPECT_NEAR(NdcX(v[0]), c.x, 1e-3) << "corner " << corner;
        EXPECT_NEAR(NdcY(v[1]), c.y, 1e-3) << "corner " << corner;
    }
    // Where the current modelview matrix puts a point.
    // The model-view matrix takes point `p` to `expected`.
    static void ExpectMapped(const float (&p)[3], const float (&expected)[3]) {
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        for (int r = 0; r < 3; r++)
            EXPECT_NEAR(m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r], expected[r],
                        1e-6)
                << "coordinate " << r;
    }
};

TEST_F(MeshDraw, WireframeEmitsEachEdgeAsItsOwnSegment) {
    std::vector<float> fb = Feedback(GL_3D, [] { DrawModel(&TestModel, 0, 0, 0, 0, 0, 0); });
    // Three segments of two vertices (x, y, z) each: corners 0-1, 1-2, 2-0.
    ASSERT_EQ(fb.size(), 3u * 7u);
    const int order[6] = {0, 1, 1, 2, 2, 0};
    for (int s = 0; s < 3; s++) {
        const float* seg = &fb[s * 7];
        EXPECT_TRUE(seg[0] == GL_LINE_TOKEN || seg[0] == GL_LINE_RESET_TOKEN);
        ExpectCorner(seg + 1, order[2 * s]);
        ExpectCorner(seg + 4, order[2 * s + 1]);
    }
}

TEST_F(MeshDraw, TexturedEmitsOneTrianglePerFaceWithItsMapping) {
    TestModel.faceCount = 2;
    std::vector<float> fb =
        Feedback(GL_3D_COLOR_TEXTURE, [] { DrawModelTextured(&TestModel, 0, 0, 0, 0, 0, 0); });
    // Per face: polygon token, vertex count 3, then x y z, r g b a, s t r q per vertex.
    ASSERT_EQ(fb.size(), 2u * (2 + 3 * 11));
    for (int face = 0; face < 2; face++) {
        const float* poly = &fb[face * 35];
        EXPECT_EQ(poly[0], GL_POLYGON_TOKEN);
        ASSERT_EQ(poly[1], 3.0f);
        for (int k = 0; k < 3; k++) {
            const float* v = poly + 2 + 11 * k;
            ExpectCorner(v, k, face);
            EXPECT_NEAR(v[7], TestModel.faces[face].corners[k].u, 1e-6);
            EXPECT_NEAR(v[8], TestModel.faces[face].corners[k].v, 1e-6);
        }
    }
    GLfloat normal[3];
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_EQ(normal[2], 1.0f);
}

TEST_F(MeshDraw, FaceCountBeyondCapacityDrawsOnlyTheRecord) {
    TestModel.faceCount = MODEL_MAX_FACES + 5000;
    GLuint list = glGenLists(1);  // compiled, not rendered: only the reads matter
    glNewList(list, GL_COMPILE);
    DrawModel(&TestModel, 0, 0, 0, 0, 0, 0);
    glEndList();
    glDeleteLists(list, 1);
    TestModel.faceCount = -3;
    std::vector<float> fb = Feedback(GL_3D, [] { DrawModel(&TestModel, 0, 0, 0, 0, 0, 0); });
    EXPECT_TRUE(fb.empty());
}

TEST_F(MeshDraw, EmptyModelStillLeavesThePlacementApplied) {
    TestModel.faceCount = 0;
    DrawModelTextured(&TestModel, 1, 2, 3, 90, 0, 0);
    ExpectMapped({0, 1, 0}, {1, 2, 4});  // (0, 1, 0) turned onto (0, 0, 1), then moved
}

TEST_F(MeshDraw, RotationsComposeXThenYThenZInCallOrder) {
    TestModel.faceCount = 0;
    // In the model's own frame Z acts first: X (1,0,0) -> Z 90 -> (0,1,0) -> X 90 -> (0,0,1).
    DrawModel(&TestModel, 0, 0, 0, 90, 0, 90);
    ExpectMapped({1, 0, 0}, {0, 0, 1});
}

TEST_F(MeshDraw, TexturedDrawLeavesTexturingToTheCaller) {
    // A green texture is bound but texturing is off: the triangle shows the current colour.
    GLuint tex;
    const uint8_t green[4 * 3] = {0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0};
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, green);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glColor3f(1, 0, 0);
    DrawModelTextured(&TestModel, 0, 0, -1.5f, 0, 0, 0);
    Pixel p = At(ReadFrame(), 320, 250);
    EXPECT_GE(p.r, 250);
    EXPECT_EQ(p.g, 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glDeleteTextures(1, &tex);
}

// A model is drawn again from what it was compiled into only while its faces are unchanged:
// a face moved after the first draw shows where it is now, in both kinds of drawing; the
// current texture coordinate is the last corner's either way.
TEST_F(MeshDraw, ChangedFacesAreDrawnAsTheyAreNow) {
    for (bool textured : {false, true}) {
        void (*wire)() = [] { DrawModel(&TestModel, 0, 0, 0, 0, 0, 0); };
        void (*filled)() = [] { DrawModelTextured(&TestModel, 0, 0, 0, 0, 0, 0); };
        void (*draw)() = textured ? filled : wire;
        GLenum type = textured ? GL_3D_COLOR_TEXTURE : GL_3D;
        std::vector<float> first = Feedback(type, draw);
        EXPECT_EQ(Feedback(type, draw), first) << textured;  // unchanged: the same stream again
        TestModel.faces[0].corners[1].x = 0.25f;
        TestModel.faces[0].corners[2].u = 0.75f;
        std::vector<float> moved = Feedback(type, draw);
        ASSERT_EQ(moved.size(), first.size());
        ExpectCorner(&moved[textured ? 2 + 11 : 4], 1);  // after the tokens and corner 0
        GLfloat st[4];
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, st);
        if (textured) {
            EXPECT_FLOAT_EQ(st[0], 0.75f);
        }
        SetUp();  // the face as it was, for the other kind of drawing
    }
}
