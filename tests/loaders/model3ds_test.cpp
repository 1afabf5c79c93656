// Load3dsFromFile: the model built from the scratch state, its limits, the overflow
// warning, and the generated models read back exactly.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>

#include "assetgen/max3ds_writer.h"
#include "assetgen/models.h"
#include "loaders/bytes3ds.h"
#include "loaders/chunk3ds.h"
#include "loaders/model3ds.h"
#include "test_support.h"

namespace {

class ModelLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetReaderScratch();
        model.reset(new Model());
        BoxesStart();
        testing::internal::CaptureStdout();  // the reader's progress marks
    }
    void TearDown() override {
        testing::internal::GetCapturedStdout();
        BoxesStop();
        ResetReaderScratch();
    }
    std::string Path(const char* name) { return TestFolder() + name; }
    bool Load(const char* name, const Bytes& bytes) {
        std::string path = Path(name);
        EXPECT_TRUE(WriteBytes(path, bytes));
        return Load3dsFromFile(path.c_str(), model.get());
    }
    static void ExpectCorner(const ModelVertex& c, float x, float y, float z, float u, float v) {
        EXPECT_EQ(c.x, x);
        EXPECT_EQ(c.y, y);
        EXPECT_EQ(c.z, z);
        EXPECT_EQ(c.u, u);
        EXPECT_EQ(c.v, v);
    }
    std::unique_ptr<Model> model;
};

Bytes Quad() {
    return MainFile({Object("quad", {Vertices({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}),
                                     Mapping({{0, 0}, {1, 0}, {1, 1}, {0, 1}}),
                                     Faces({{0, 1, 2}, {0, 2, 3}})})});
}

TEST_F(ModelLoadTest, FacesCarryFullCopiesOfTheirCorners) {
    ASSERT_TRUE(Load("quad.3ds", Quad()));
    ASSERT_EQ(model->faceCount, 2);
    EXPECT_EQ(model->faces[0].vertexCount, 3);
    EXPECT_EQ(model->faces[1].vertexCount, 3);
    ExpectCorner(model->faces[0].corners[0], 0, 0, 0, 0, 0);
    ExpectCorner(model->faces[1].corners[0], 0, 0, 0, 0, 0);
    ExpectCorner(model->faces[0].corners[1], 1, 0, 0, 1, 0);
    ExpectCorner(model->faces[1].corners[2], 0, 1, 0, 0, 1);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(ModelLoadTest, IndicesPastTheListOrTheScratchArray) {
    ASSERT_TRUE(Load("quad.3ds", Quad()));
    // Vertex 7 takes the scratch entry as an earlier list left it; 50,000 and above
    // name no entry and give a zeroed corner.
    ReaderVertices[7] = {7, 7, 7, 0.7f, 0.7f};
    Bytes far =
        MainFile({Object("far", {Vertices(Ramp(4)), Faces({{0, 7, 65535}, {50000, 49999, 3}})})});
    ASSERT_TRUE(Load("far.3ds", far));
    ASSERT_EQ(model->faceCount, 2);
    ExpectCorner(model->faces[0].corners[1], 7, 7, 7, 0.7f, 0.7f);
    ExpectCorner(model->faces[0].corners[2], 0, 0, 0, 0, 0);
    ExpectCorner(model->faces[1].corners[0], 0, 0, 0, 0, 0);
    ExpectCorner(model->faces[1].corners[2], 3, 1.5f, -3, 0, 1);  // the quad's mapping
}

TEST_F(ModelLoadTest, MissingFileLeavesTheModelUntouched) {
    model->faceCount = 123;
    EXPECT_FALSE(Load3dsFromFile(Path("none.3ds").c_str(), model.get()));
    EXPECT_FALSE(Load3dsFromFile("Data\\NoSuchModel.3DS", model.get()));
    EXPECT_EQ(model->faceCount, 123);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(ModelLoadTest, FilesWithoutListsRebuildWhatAnEarlierLoadLeft) {
    ASSERT_TRUE(Load("quad.3ds", Quad()));
    Model* other = new Model();
    std::unique_ptr<Model> keep(other);
    // An empty file: the previous faces again.
    ASSERT_TRUE(WriteBytes(Path("empty.3ds"), {}));
    ASSERT_TRUE(Load3dsFromFile(Path("empty.3ds").c_str(), other));
    EXPECT_EQ(other->faceCount, 2);
    ExpectCorner(other->faces[1].corners[1], 1, 1, 0, 1, 1);
    // Only a vertex list: the previous faces over the new positions and old mapping.
    ASSERT_TRUE(
        Load("only.3ds", MainFile({Object("v", {Vertices({{5, 5, 5}, {6, 6, 6}, {7, 7, 7}})})})));
    EXPECT_EQ(model->faceCount, 2);
    ExpectCorner(model->faces[0].corners[2], 7, 7, 7, 1, 1);
    ExpectCorner(model->faces[1].corners[2], 0, 1, 0, 0, 1);  // vertex 3 is stale
}

TEST_F(ModelLoadTest, SeveralObjectsGiveTheLastOne) {
    Bytes a = Object("a", {Vertices(Ramp(6)), Faces({{0, 1, 2}, {3, 4, 5}, {5, 4, 3}})});
    Bytes b = Object("b", {Vertices({{9, 9, 9}}), Faces({{0, 0, 0}})});
    ASSERT_TRUE(Load("two.3ds", MainFile({a, b})));
    ASSERT_EQ(model->faceCount, 1);
    ExpectCorner(model->faces[0].corners[2], 9, 9, 9, 0, 0);
}

TEST_F(ModelLoadTest, HostileChunksStillLoad) {
    // Oversized, zero-length and truncated chunks load as far as they go, without a box.
    Bytes object = Object("o", {Vertices(Ramp(3)), Faces({{2, 1, 0}})});
    Bytes file = Cat({Chunk(0x4D4D, {Chunk(0x1234, Bytes(40, 0xEE)),
                                     ChunkWithLength(0x3D3D, 0x7FFFFFFF, object)}),
                      ChunkWithLength(0x4D4D, 0, {})});
    file.resize(file.size() - 3);
    ASSERT_TRUE(Load("hostile.3ds", file));
    ASSERT_EQ(model->faceCount, 1);
    ExpectCorner(model->faces[0].corners[0], 2, 1, -2, 0, 0);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(ModelLoadTest, OverflowWarnsNowAndOnEveryLaterLoad) {
    std::vector<Tri> faces(READER_MAX + 1, Tri{0, 1, 2});
    faces[MODEL_MAX_FACES - 1] = {2, 1, 0};
    ASSERT_TRUE(Load("many.3ds", MainFile({Object("m", {Vertices(Ramp(3)), Faces(faces)})})));
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].caption, "3ds Loader");
    EXPECT_EQ(Boxes[0].text, "Internal overflow!");
    EXPECT_EQ(Boxes[0].type, (UINT)MB_ICONWARNING);
    // The model holds its 40,000 faces; the rest are not written.
    EXPECT_EQ(model->faceCount, MODEL_MAX_FACES);
    ExpectCorner(model->faces[MODEL_MAX_FACES - 1].corners[0], 2, 1, -2, 0, 0);

    ASSERT_TRUE(Load("quad.3ds", Quad()));
    EXPECT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(model->faceCount, 2);
}

TEST_F(ModelLoadTest, BackslashPathsOpenAndStayAsGiven) {
    ASSERT_TRUE(Load("slash.3ds", Quad()));
    std::string text = TestFolder();
    text.pop_back();
    text += "\\slash.3ds";
    std::string copy = text;
    model->faceCount = 0;
    EXPECT_TRUE(Load3dsFromFile(text.c_str(), model.get()));
    EXPECT_EQ(model->faceCount, 2);
    EXPECT_EQ(text, copy);
}

TEST_F(ModelLoadTest, WrittenMeshReadsBackExactly) {
    Mesh mesh;
    for (int i = 0; i < 300; i++)
        MeshAddVertex(mesh, 0.1f * i, -1e-3f * i * i, 1e5f / (i + 1), i / 299.0f, 1.0f - i / 7.0f);
    for (int i = 0; i + 2 < 300; i++) MeshAddFace(mesh, i, (i * 37) % 300, 299 - i);
    ASSERT_TRUE(Write3ds(Path("roundtrip.3ds"), mesh, "Round"));
    ASSERT_TRUE(Load3dsFromFile(Path("roundtrip.3ds").c_str(), model.get()));
    ASSERT_EQ(model->faceCount, MeshFaceCount(mesh));
    for (int f = 0; f < model->faceCount; f++) {
        for (int k = 0; k < 3; k++) {
            int v = mesh.faces[f * 3 + k];
            const ModelVertex& c = model->faces[f].corners[k];
            ASSERT_EQ(c.x, mesh.xyz[v * 3]) << f;
            ASSERT_EQ(c.y, mesh.xyz[v * 3 + 1]) << f;
            ASSERT_EQ(c.z, mesh.xyz[v * 3 + 2]) << f;
            ASSERT_EQ(c.u, mesh.uv[v * 2]) << f;
            ASSERT_EQ(c.v, mesh.uv[v * 2 + 1]) << f;
        }
    }
}

TEST_F(ModelLoadTest, GeneratedModelsLoadWithTheirFaceCounts) {
    std::string timings;
    for (int i = 0; i < ModelCount; i++) {
        std::string path = std::string(VERNALIS_MODEL_DIR) + "\\" + ModelTable[i].fileName;
        auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(Load3dsFromFile(path.c_str(), model.get())) << path;
        std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(model->faceCount, MeshFaceCount(ModelTable[i].make())) << path;
        timings += std::string(ModelTable[i].fileName) + " " + std::to_string(model->faceCount) +
                   " faces " + std::to_string(ms.count()) + " ms\n";
    }
    EXPECT_TRUE(Boxes.empty());
    testing::internal::GetCapturedStdout();
    printf("%s", timings.c_str());
    testing::internal::CaptureStdout();
}

}  // namespace
