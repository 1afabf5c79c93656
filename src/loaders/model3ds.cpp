// Load3dsFromFile: walks a 3DS file into the reader's scratch arrays, then expands the
// last face list read into triangles that carry full copies of their corners.
#include "loaders/model3ds.h"

#include <cstdint>
#include <cstdio>

#include "loaders/chunk3ds.h"
#include "platform/win32.h"

// File length for the walk's end; a file past 4 GiB is walked over its first 4 GiB.
static uint32_t FileLength(FILE* file) {
    if (fseek(file, 0, SEEK_END) != 0) return 0;
    long length = ftell(file);
    if (fseek(file, 0, SEEK_SET) != 0 || length < 0) return 0;
    return (unsigned long)length > UINT32_MAX ? UINT32_MAX : (uint32_t)length;
}

// An index past the scratch array names no vertex: that corner is left at zero.
// Indices inside it take the entry as it stands, stale entries of earlier lists included.
static ModelVertex ScratchVertex(uint32_t index) {
    if (index >= READER_MAX) return ModelVertex{};
    const ReaderVertex& s = ReaderVertices[index];
    return ModelVertex{s.x, s.y, s.z, s.u, s.v};
}

static void BuildModel(Model* model) {
    int32_t count = FaceLimit(ReaderFaceCount);
    model->faceCount = count;
    for (int32_t i = 0; i < count; i++) {
        ModelFace& face = model->faces[i];
        face.vertexCount = 3;
        face.corners[0] = ScratchVertex(ReaderFaces[i].a);
        face.corners[1] = ScratchVertex(ReaderFaces[i].b);
        face.corners[2] = ScratchVertex(ReaderFaces[i].c);
    }
}

bool Load3dsFromFile(const char* path, Model* model) {
    FILE* file = PlatformOpenFile(path, "rb");
    if (!file) return false;
    ChunkReader(file, 0, FileLength(file));
    fclose(file);
    if (ReaderOverflow) MessageBoxA(nullptr, "Internal overflow!", "3ds Loader", MB_ICONWARNING);
    BuildModel(model);
    return true;
}
