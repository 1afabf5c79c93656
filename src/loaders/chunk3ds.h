// 3DODUZ: walks a 3D Studio file's chunk tree and keeps vertex positions, faces and
// mapping coordinates in process-wide scratch arrays (read by the model loader).
#pragma once
#include <cstdint>
#include <cstdio>

enum { READER_MAX = 50000, CHUNK_TABLE_ROWS = 46 };

// The chunk ids that the reader handles and the model writer writes.
enum : uint16_t {
    CHUNK_VERSION = 0x0002,
    CHUNK_EDITOR = 0x3D3D,
    CHUNK_MESH_VERSION = 0x3D3E,
    CHUNK_OBJECT = 0x4000,
    CHUNK_TRIMESH = 0x4100,
    CHUNK_VERTICES = 0x4110,
    CHUNK_FACES = 0x4120,
    CHUNK_MAPPING = 0x4140,
    CHUNK_SMOOTHING = 0x4150,
    CHUNK_MATRIX = 0x4160,
    CHUNK_MAIN = 0x4D4D,
};

struct ReaderVertex {
    float x, y, z;  // from the vertex list
    float u, v;     // from the mapping list
};

struct ReaderFace {
    uint32_t a, b, c;  // vertex indices, widened from the file's 16 bits
};

// Entered just after the chunk header; `end` is the absolute end of the handler's chunk.
typedef void (*ChunkHandler)(FILE* stream, int32_t depth, uint32_t end);

struct ChunkRow {
    uint16_t id;
    const char* name;
    ChunkHandler handler;  // null: a container whose data is walked as sub-chunks
};

extern const ChunkRow ChunkTable[CHUNK_TABLE_ROWS];

// Scratch state: shared by every load, never cleared.
extern ReaderVertex ReaderVertices[READER_MAX];
extern ReaderFace ReaderFaces[READER_MAX];
extern int32_t ReaderVertexCount;  // vertices stored by the current vertex list
extern int32_t ReaderFaceCount;    // count field of the last face list read
extern uint8_t ReaderOverflow;     // a vertex or face list went past READER_MAX; stays set
extern bool DumpUnknownChunks;     // print a line for each unknown chunk

// Row index of `id` in ChunkTable, or -1.
int FindChunk(uint16_t id);
// Walks the chunks from the stream's position up to the absolute offset `end`.
void ChunkReader(FILE* stream, int32_t depth, uint32_t end);
// Prints the module's one-line banner.
void ChunkReaderBanner();
