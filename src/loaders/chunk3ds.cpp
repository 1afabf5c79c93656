// 3DODUZ, the 3D Studio chunk walker: a table of known chunk ids says whether to
// descend into a chunk, read it with a handler or pass over it; unknown ids are passed
// over by their length. Every read stays inside the chunk being read (a chunk that
// claims to reach past its parent is cut at the parent's end) and inside the scratch
// arrays, whatever the file says.
#include "loaders/chunk3ds.h"

#include "base/le.h"

ReaderVertex ReaderVertices[READER_MAX];
ReaderFace ReaderFaces[READER_MAX];
int32_t ReaderVertexCount;
int32_t ReaderFaceCount;
uint8_t ReaderOverflow;
bool DumpUnknownChunks;

// Containers nested deeper than this are passed over: real files nest about six levels,
// and a hostile file must not exhaust the stack.
enum { READER_MAX_DEPTH = 2 * 64 };

// One list is read with a single fread into here, then spread into the scratch arrays.
static uint8_t ListBuffer[READER_MAX * 12];

// Bytes from the stream's position to `end`; 0 at or past it.
static uint32_t Remaining(FILE* stream, uint32_t end) {
    long pos = ftell(stream);
    return pos >= 0 && (unsigned long)pos < end ? end - (uint32_t)pos : 0;
}

static bool ReadIn(FILE* stream, void* buffer, uint32_t size, uint32_t end) {
    return Remaining(stream, end) >= size && fread(buffer, 1, size, stream) == size;
}

static bool ReadCount(FILE* stream, uint32_t end, uint32_t* count) {
    uint8_t bytes[2];
    if (!ReadIn(stream, bytes, 2, end)) return false;
    *count = GetLe16(bytes);
    return true;
}

// Reads up to `count` entries of `size` bytes (at most READER_MAX, at most what the
// chunk holds) into ListBuffer; returns the whole entries read.
static uint32_t ReadEntries(FILE* stream, uint32_t end, uint32_t count, uint32_t size) {
    uint32_t fit = Remaining(stream, end) / size;
    uint32_t want = count < (uint32_t)READER_MAX ? count : (uint32_t)READER_MAX;
    if (want > fit) want = fit;
    return want ? (uint32_t)fread(ListBuffer, size, want, stream) : 0;
}

// Reads single bytes up to a NUL, the chunk's end or the end of the file.
static void SkipString(FILE* stream, uint32_t end) {
    for (uint32_t left = Remaining(stream, end); left > 0; left--) {
        int c = getc(stream);
        if (c == EOF || c == 0) return;
    }
}

static void ReadColorFloat(FILE* stream, int32_t, uint32_t end) {
    uint8_t discarded[12];
    ReadIn(stream, discarded, sizeof discarded, end);
}

static void ReadColorByte(FILE* stream, int32_t, uint32_t end) {
    uint8_t discarded[3];
    ReadIn(stream, discarded, sizeof discarded, end);
}

static void ReadString(FILE* stream, int32_t, uint32_t end) { SkipString(stream, end); }

static void ObjectBlock(FILE* stream, int32_t depth, uint32_t end) {
    SkipString(stream, end);  // the object's name
    ChunkReader(stream, depth, end);
}

static void VertexList(FILE* stream, int32_t, uint32_t end) {
    ReaderVertexCount = 0;
    fputs(".", stdout);
    uint32_t count;
    if (!ReadCount(stream, end, &count)) return;
    uint32_t stored = ReadEntries(stream, end, count, 12);
    for (uint32_t i = 0; i < stored; i++) {
        const uint8_t* p = ListBuffer + i * 12;
        ReaderVertices[i].x = GetLeFloat(p);
        ReaderVertices[i].y = GetLeFloat(p + 4);
        ReaderVertices[i].z = GetLeFloat(p + 8);
    }
    ReaderVertexCount = (int32_t)stored;
    // Vertices past the capacity are dropped; one that is really there raises the flag.
    uint8_t extra[12];
    if (count > READER_MAX && stored == READER_MAX && ReadIn(stream, extra, 12, end))
        ReaderOverflow = 1;
}

static void FaceList(FILE* stream, int32_t depth, uint32_t end) {
    uint32_t count;
    if (!ReadCount(stream, end, &count)) return;
    ReaderFaceCount = (int32_t)count;
    fputs(".", stdout);
    uint32_t stored = ReadEntries(stream, end, count, 8);
    for (uint32_t i = 0; i < stored; i++) {
        const uint8_t* p = ListBuffer + i * 8;  // a, b, c, then a flags word
        ReaderFaces[i] = {GetLe16(p), GetLe16(p + 2), GetLe16(p + 4)};
    }
    if (stored < (count < READER_MAX ? count : (uint32_t)READER_MAX)) return;  // cut short
    if (count > READER_MAX) {
        // Faces past the capacity are passed over; one that is really there raises the flag.
        uint32_t excess = (count - READER_MAX) * 8, left = Remaining(stream, end);
        if (left >= 8) ReaderOverflow = 1;
        if (left < excess || fseek(stream, excess, SEEK_CUR) != 0) return;
    }
    ChunkReader(stream, depth, end);  // face-material and smoothing sub-chunks
}

static void MappingList(FILE* stream, int32_t, uint32_t end) {
    fputs(".", stdout);
    uint32_t count;
    if (!ReadCount(stream, end, &count)) return;
    uint32_t stored = ReadEntries(stream, end, count, 8);  // entries past the capacity are dropped
    for (uint32_t i = 0; i < stored; i++) {
        ReaderVertices[i].u = GetLeFloat(ListBuffer + i * 8);
        ReaderVertices[i].v = GetLeFloat(ListBuffer + i * 8 + 4);
    }
}

static void SkipChunk(FILE*, int32_t, uint32_t) {}

const ChunkRow ChunkTable[CHUNK_TABLE_ROWS] = {
    {0x0010, "RGB float", ReadColorFloat},
    {0x0011, "RGB byte", ReadColorByte},
    {0xC23D, "Project", nullptr},
    {0x3DAA, "Material Library", nullptr},
    {CHUNK_MAIN, "Main", nullptr},
    {CHUNK_EDITOR, "Object Mesh", nullptr},
    {0x1200, "Background color", nullptr},
    {0x2100, "Ambient color", nullptr},
    {CHUNK_OBJECT, "Object Block", ObjectBlock},
    {CHUNK_TRIMESH, "Tri-Mesh", nullptr},
    {CHUNK_VERTICES, "Vertex list", VertexList},
    {CHUNK_FACES, "Face list", FaceList},
    {0x4130, "Face material", SkipChunk},
    {CHUNK_MAPPING, "Mappings list", MappingList},
    {CHUNK_SMOOTHING, "Smoothings", SkipChunk},
    {CHUNK_MATRIX, "Matrix", SkipChunk},
    {0x4600, "Light", SkipChunk},
    {0x4610, "Spotlight", SkipChunk},
    {0x4700, "Camera", SkipChunk},
    {0x4F00, "Hierarchy", nullptr},
    {0x7001, "Viewport info", nullptr},
    {0xAFFF, "Material", nullptr},
    {0xA000, "Material name", ReadString},
    {0xA010, "Ambient color", nullptr},
    {0xA020, "Diffuse color", nullptr},
    {0xA030, "Specular color", nullptr},
    {0xA200, "Texture map", nullptr},
    {0xA230, "Bump map", nullptr},
    {0xA300, "Map filename", ReadString},
    {0xB000, "Keyframer data", nullptr},
    {0xB001, "Ambient key", nullptr},
    {0xB002, "Track info", nullptr},
    {0xB008, "Frames", SkipChunk},
    {0xB010, "Track Obj. Name", SkipChunk},
    {0xB013, "Pivot point", SkipChunk},
    {0xB020, "Position keys", SkipChunk},
    {0xB021, "Rotation keys", SkipChunk},
    {0xB022, "Scale keys", SkipChunk},
    {0xB030, "Object number", SkipChunk},
    {0xB003, "Camera track", nullptr},
    {0xB004, "Camera target track", nullptr},
    {0xB005, "Pointlight track", nullptr},
    {0xB006, "Pointlight target track", nullptr},
    {0xB007, "Spotlight track", nullptr},
    {0xB023, "FOV track", nullptr},
    {0xB024, "Roll track", nullptr},
};

int FindChunk(uint16_t id) {
    for (int i = 0; i < CHUNK_TABLE_ROWS; i++)
        if (ChunkTable[i].id == id) return i;
    return -1;
}

void ChunkReader(FILE* stream, int32_t depth, uint32_t end) {
    if (depth > READER_MAX_DEPTH) return;
    for (;;) {
        long start = ftell(stream);
        if (start < 0 || (unsigned long)start >= end) return;
        uint8_t header[6];
        // A header that would cross the end is a short read.
        if (end - (uint32_t)start < 6 || fread(header, 1, 6, stream) != 6) return;
        uint32_t id = GetLe16(header), length = GetLe32(header + 2);
        if (length == 0) return;
        uint32_t chunkEnd = length < end - (uint32_t)start ? (uint32_t)start + length : end;
        int row = FindChunk((uint16_t)id);
        if (row < 0) {
            if (DumpUnknownChunks)
                printf("%*sUnknown chunk: 0x%04X, offset 0x%lX, size: %d bytes.\n", depth, "", id,
                       (unsigned long)start, (int)length);
        } else if (ChunkTable[row].handler) {
            ChunkTable[row].handler(stream, depth + 2, chunkEnd);
        } else {
            ChunkReader(stream, depth + 2, chunkEnd);
        }
        if (fseek(stream, (long)chunkEnd, SEEK_SET) != 0 || ferror(stream)) return;
    }
}

void ChunkReaderBanner() {
    printf("3DODUZ - 3D Studio formats reader v1.2 - Vernalis developers\n");
}
