// The chunk walker on crafted and hostile files: what it reads, skips and stores, and
// that nothing a file says moves a read or write outside a chunk or the scratch arrays.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "loaders/bytes3ds.h"
#include "loaders/chunk3ds.h"

namespace {

class ChunkReaderTest : public ::testing::Test {
protected:
    void SetUp() override { ResetReaderScratch(); }
    void TearDown() override { ResetReaderScratch(); }
    // Walks the whole image as the model loader does; returns what went to stdout.
    static std::string Walk(const Bytes& bytes) {
        FILE* f = Stream(bytes);
        EXPECT_NE(f, nullptr);
        if (!f) return "";
        testing::internal::CaptureStdout();
        ChunkReader(f, 0, (uint32_t)bytes.size());
        std::string out = testing::internal::GetCapturedStdout();
        fclose(f);
        return out;
    }
    static void ExpectVertex(int i, float x, float y, float z) {
        EXPECT_EQ(ReaderVertices[i].x, x) << i;
        EXPECT_EQ(ReaderVertices[i].y, y) << i;
        EXPECT_EQ(ReaderVertices[i].z, z) << i;
    }
};

TEST(ChunkTableTest, RowsAreFoundByIdFirstMatchFirst) {
    for (int i = 0; i < CHUNK_TABLE_ROWS; i++) EXPECT_EQ(FindChunk(ChunkTable[i].id), i);
    EXPECT_EQ(FindChunk(0x4D4D), 4);
    EXPECT_EQ(FindChunk(0xB024), 45);
    EXPECT_STREQ(ChunkTable[7].name, "Ambient color");
    EXPECT_STREQ(ChunkTable[23].name, "Ambient color");
    EXPECT_EQ(FindChunk(0x0002), -1);
    EXPECT_EQ(FindChunk(0x0000), -1);
    EXPECT_EQ(FindChunk(0xFFFF), -1);
}

TEST(ChunkTableTest, BannerNamesTheModule) {
    testing::internal::CaptureStdout();
    ChunkReaderBanner();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("3DODUZ"), std::string::npos);
    EXPECT_NE(out.find("3D Studio formats reader"), std::string::npos);
    EXPECT_NE(out.find("v1.2"), std::string::npos);
}

TEST_F(ChunkReaderTest, OneMeshFillsTheScratchArrays) {
    std::string out = Walk(MainFile({Object(
        "box", {Vertices({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}),
                Mapping({{0.1f, 0.2f}, {0.3f, 0.4f}, {0.5f, 0.6f}}), Faces({{0, 1, 2}})})}));
    EXPECT_EQ(out, "...");
    EXPECT_EQ(ReaderVertexCount, 3);
    EXPECT_EQ(ReaderFaceCount, 1);
    ExpectVertex(2, 7, 8, 9);
    EXPECT_EQ(ReaderVertices[1].u, 0.3f);
    EXPECT_EQ(ReaderVertices[2].v, 0.6f);
    EXPECT_EQ(ReaderFaces[0].a, 0u);
    EXPECT_EQ(ReaderFaces[0].b, 1u);
    EXPECT_EQ(ReaderFaces[0].c, 2u);
}

TEST_F(ChunkReaderTest, UnknownChunkIsPassedOverAndDumpedIndented) {
    DumpUnknownChunks = true;
    // Main at 0, Object Block at 6 with a 4-byte name, so the unknown chunk sits at 16 and
    // is met by the object block's walk at depth 4; the mesh after it is still read.
    Bytes unknown = ChunkWithLength(0x0002, 10, {0x10, 0x41, 0x20, 0x41});
    Bytes file =
        Chunk(0x4D4D, {Chunk(0x4000, {Name("abc"), unknown, Chunk(0x4100, {Vertices(Ramp(2))})})});
    std::string out = Walk(file);
    EXPECT_EQ(out, "    Unknown chunk: 0x0002, offset 0x10, size: 10 bytes.\n.");
    EXPECT_EQ(ReaderVertexCount, 2);

    DumpUnknownChunks = false;
    EXPECT_EQ(Walk(file), ".");
}

TEST_F(ChunkReaderTest, TableDecidesDescendSkipOrRead) {
    // A vertex list hidden in a skipped chunk is never read; one inside a descended
    // keyframer track is. Key chunks inside the track are skipped with their contents.
    Bytes light = Chunk(0x4600, {Bytes(12, 0), Chunk(0x4610, {Vertices(Ramp(9))})});
    Bytes track = Chunk(0xB002, {Chunk(0xB020, {Vertices(Ramp(8))}), Vertices(Ramp(4)),
                                 Chunk(0xB021, {Vertices(Ramp(7))})});
    std::string out = Walk(Chunk(0x4D4D, {Chunk(0x3D3D, {Chunk(0x4000, {Name("l"), light})}),
                                          Chunk(0xB000, {track})}));
    EXPECT_EQ(out, ".");
    EXPECT_EQ(ReaderVertexCount, 4);
    ExpectVertex(3, 3, 1.5f, -3);
    ExpectVertex(4, 0, 0, 0);
}

TEST_F(ChunkReaderTest, StringAndColourHandlersStayInsideTheirChunk) {
    // A material name without a terminator and colours shorter than their reads must not
    // swallow the sibling that follows.
    Bytes material =
        Chunk(0xAFFF, {Chunk(0xA000, Bytes{'m', 'a', 't'}),
                       Chunk(0xA010, {Chunk(0x0010, Bytes{1, 2}), Chunk(0x0011, Bytes{})}),
                       Chunk(0xA200, {Chunk(0xA300, Bytes{'x'})})});
    Walk(Chunk(0x4D4D, {Chunk(0x3D3D, {material, Object("o", {Vertices(Ramp(3))})})}));
    EXPECT_EQ(ReaderVertexCount, 3);
}

TEST_F(ChunkReaderTest, ZeroLengthEndsOnlyItsOwnLevel) {
    Bytes editor =
        Chunk(0x3D3D, {ChunkWithLength(0x4000, 0, {}), Object("lost", {Vertices(Ramp(9))})});
    std::string out =
        Walk(Chunk(0x4D4D, {editor, Chunk(0x3D3D, {Object("kept", {Vertices(Ramp(2))})})}));
    EXPECT_EQ(out, ".");
    EXPECT_EQ(ReaderVertexCount, 2);

    // At the top level it ends the walk.
    SetUp();
    Walk(Cat({ChunkWithLength(0x4D4D, 0, {}), MainFile({Object("o", {Vertices(Ramp(2))})})}));
    EXPECT_EQ(ReaderVertexCount, 0);
}

TEST_F(ChunkReaderTest, LengthPastTheParentIsCutAtTheParentsEnd) {
    // The vertex list claims 3 vertices and nearly 4 GiB but its parent ends after one
    // vertex: the list stops there, and the face list behind the parent is read as a
    // chunk of its own instead of as vertex data.
    Bytes list = ChunkWithLength(0x4110, 0xFFFFFFF0u, Cat({VertexData({{1, 2, 3}}, 3)}));
    Bytes file = Cat({Chunk(0x4D4D, {list}), Faces({{0, 0, 0}, {0, 0, 0}})});
    std::string out = Walk(file);
    EXPECT_EQ(out, "..");
    EXPECT_EQ(ReaderVertexCount, 1);
    ExpectVertex(0, 1, 2, 3);
    ExpectVertex(1, 0, 0, 0);
    EXPECT_EQ(ReaderFaceCount, 2);
}

TEST_F(ChunkReaderTest, LengthsShorterThanTheHeaderStillMoveOn) {
    // Lengths 1 to 5 point back into the header just read; the walk goes on from there
    // byte by byte and must end.
    for (uint32_t length = 1; length < 6; length++) {
        SetUp();
        Walk(Cat({ChunkWithLength(0x4110, length, VertexData(Ramp(2))), Vertices(Ramp(3))}));
        EXPECT_LE(ReaderVertexCount, 3) << length;
    }
}

TEST_F(ChunkReaderTest, TruncatedListsKeepWhatWasRead) {
    Bytes cut = VertexData(Ramp(10));
    cut.resize(2 + 4 * 12 + 7);  // 4 whole vertices and part of a fifth
    std::string out = Walk(Chunk(0x4D4D, {Chunk(0x4110, cut)}));
    EXPECT_EQ(out, ".");
    EXPECT_EQ(ReaderVertexCount, 4);
    ExpectVertex(3, 3, 1.5f, -3);
    ExpectVertex(4, 0, 0, 0);

    // The face list keeps its count field; its sub-chunks are not walked.
    ReaderFaces[2] = {9, 9, 9};
    Bytes faces = FaceData({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, 5);
    faces.resize(2 + 2 * 8 + 6);  // the third face lacks its flags word
    Walk(Chunk(0x4120, faces));
    EXPECT_EQ(ReaderFaceCount, 5);
    EXPECT_EQ(ReaderFaces[1].c, 6u);
    EXPECT_EQ(ReaderFaces[2].a, 9u);

    // A file cut inside a header, or inside a count, ends quietly.
    SetUp();
    Bytes file = MainFile({Object("o", {Vertices(Ramp(3))})});
    for (size_t size = 0; size < file.size(); size++)
        Walk(Bytes(file.begin(), file.begin() + size));
    EXPECT_LE(ReaderVertexCount, 3);
}

TEST_F(ChunkReaderTest, SeveralObjectsLeaveTheLastOneOverStaleEntries) {
    Walk(MainFile(
        {Object("big", {Vertices(Ramp(5)), Mapping({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}),
                        Faces({{0, 1, 2}, {2, 3, 4}, {0, 2, 4}})}),
         Object("small", {Vertices({{9, 9, 9}, {8, 8, 8}}), Faces({{1, 0, 1}})})}));
    EXPECT_EQ(ReaderVertexCount, 2);
    EXPECT_EQ(ReaderFaceCount, 1);
    ExpectVertex(0, 9, 9, 9);
    ExpectVertex(4, 4, 2, -4);             // stale, from the first object
    EXPECT_EQ(ReaderVertices[0].u, 1.0f);  // no mapping list in the second object
    EXPECT_EQ(ReaderFaces[0].a, 1u);
    EXPECT_EQ(ReaderFaces[2].c, 4u);  // stale face

    // The next file without mapping or face list changes only the positions.
    Walk(MainFile({Object("bare", {Vertices({{7, 7, 7}})})}));
    EXPECT_EQ(ReaderFaceCount, 1);
    EXPECT_EQ(ReaderVertices[0].v, 1.0f);
    ExpectVertex(0, 7, 7, 7);
}

TEST_F(ChunkReaderTest, VertexOverflowRaisesTheFlagAndStoresNoMore) {
    Walk(Chunk(0x4110, VertexData(Ramp(READER_MAX))));
    EXPECT_EQ(ReaderVertexCount, READER_MAX);
    EXPECT_EQ(ReaderOverflow, 0);

    Walk(Chunk(0x4110, VertexData(Ramp(READER_MAX + 1))));
    EXPECT_EQ(ReaderOverflow, 1);
    EXPECT_EQ(ReaderVertexCount, READER_MAX);
    ExpectVertex(READER_MAX - 1, READER_MAX - 1, 0.5f * (READER_MAX - 1), 1 - READER_MAX);

    // A count of 65,535 with only 100 vertices present passes nothing.
    SetUp();
    Walk(Chunk(0x4110, VertexData(Ramp(100), 65535)));
    EXPECT_EQ(ReaderVertexCount, 100);
    EXPECT_EQ(ReaderOverflow, 0);
}

TEST_F(ChunkReaderTest, FaceOverflowRaisesTheFlagAndWalksTheSubChunks) {
    std::vector<Tri> faces;
    for (uint32_t i = 0; i < 65535; i++) faces.push_back({i, i + 1, i + 2});
    Walk(Chunk(0x4120, {FaceData(faces), Vertices(Ramp(3))}));
    EXPECT_EQ(ReaderOverflow, 1);
    EXPECT_EQ(ReaderFaceCount, 65535);
    EXPECT_EQ(ReaderFaces[READER_MAX - 1].a, (uint32_t)READER_MAX - 1);
    EXPECT_EQ(ReaderVertexCount, 3);  // the sub-chunk behind the list was reached

    SetUp();
    faces.resize(READER_MAX);
    Walk(Chunk(0x4120, FaceData(faces)));
    EXPECT_EQ(ReaderOverflow, 0);

    // Mapping entries past the capacity are dropped without the flag.
    std::vector<UV> uvs(READER_MAX + 5, UV{0.25f, 0.75f});
    Walk(Chunk(0x4140, MappingData(uvs)));
    EXPECT_EQ(ReaderOverflow, 0);
    EXPECT_EQ(ReaderVertices[READER_MAX - 1].v, 0.75f);
}

TEST_F(ChunkReaderTest, DeepNestingDoesNotExhaustTheStack) {
    // 200,000 nested containers: the walk passes over what lies too deep.
    const int levels = 200000;
    Bytes inner = Vertices(Ramp(2));
    Bytes file(levels * 6 + inner.size());
    for (int i = 0; i < levels; i++) {
        Bytes h = ChunkWithLength(0x4D4D, (uint32_t)(file.size() - i * 6), {});
        memcpy(&file[i * 6], h.data(), 6);
    }
    memcpy(&file[levels * 6], inner.data(), inner.size());
    Walk(file);
    EXPECT_EQ(ReaderVertexCount, 0);

    // Ordinary depths are read.
    Bytes tracks = Chunk(0xB002, {Chunk(0xB003, {Chunk(0xB004, {Vertices(Ramp(2))})})});
    Walk(Chunk(0x4D4D, {Chunk(0xB000, {tracks})}));
    EXPECT_EQ(ReaderVertexCount, 2);
}

TEST_F(ChunkReaderTest, RandomBytesStayInBounds) {
    // Files of known ids with random lengths, counts and contents: run under the
    // sanitizers, any stray access fails the test.
    static const uint16_t ids[] = {0x4D4D, 0x3D3D, 0x4000, 0x4100, 0x4110, 0x4120, 0x4140,
                                   0xAFFF, 0xA000, 0x0010, 0x0011, 0xB000, 0x4600, 0x1234};
    srand(1234);
    for (int n = 0; n < 300; n++) {
        Bytes file;
        int chunks = 1 + rand() % 40;
        for (int c = 0; c < chunks; c++) {
            Put16(file, ids[rand() % (sizeof ids / sizeof ids[0])]);
            Put32(file, rand() % 4 == 0 ? (uint32_t)rand() * 4099u : (uint32_t)(rand() % 600));
            int extra = rand() % 80;
            for (int k = 0; k < extra; k++) file.push_back(rand() % 3 == 0 ? 0xFF : rand() & 0xFF);
        }
        Walk(file);
        ASSERT_GE(ReaderVertexCount, 0);
        ASSERT_LE(ReaderVertexCount, READER_MAX);
    }
}

}  // namespace
