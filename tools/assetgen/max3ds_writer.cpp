#include "assetgen/max3ds_writer.h"

#include <cstring>

#include "base/le.h"

#include "assetgen/tga_writer.h"

int MeshVertexCount(const Mesh& mesh) { return (int)(mesh.xyz.size() / 3); }

int MeshFaceCount(const Mesh& mesh) { return (int)(mesh.faces.size() / 3); }

int MeshAddVertex(Mesh& mesh, float x, float y, float z, float u, float v) {
    mesh.xyz.insert(mesh.xyz.end(), {x, y, z});
    mesh.uv.insert(mesh.uv.end(), {u, v});
    return MeshVertexCount(mesh) - 1;
}

void MeshAddFace(Mesh& mesh, int a, int b, int c) {
    mesh.faces.insert(mesh.faces.end(), {(uint16_t)a, (uint16_t)b, (uint16_t)c});
}

static void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.resize(out.size() + 2);
    PutLe16(&out[out.size() - 2], v);
}

static void Put32(std::vector<uint8_t>& out, uint32_t v) {
    out.resize(out.size() + 4);
    PutLe32(&out[out.size() - 4], v);
}

static void PutFloat(std::vector<uint8_t>& out, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    Put32(out, bits);
}

// Opens a chunk with a placeholder length; ChunkEnd patches in the final length,
// which counts the 6-byte header, the data and every sub-chunk.
static size_t ChunkBegin(std::vector<uint8_t>& out, uint16_t id) {
    size_t at = out.size();
    Put16(out, id);
    Put32(out, 0);
    return at;
}

static void ChunkEnd(std::vector<uint8_t>& out, size_t at) {
    uint32_t len = (uint32_t)(out.size() - at);
    PutLe32(&out[at + 2], len);
}

static void PutU32Chunk(std::vector<uint8_t>& out, uint16_t id, uint32_t value) {
    size_t at = ChunkBegin(out, id);
    Put32(out, value);
    ChunkEnd(out, at);
}

static void PutTrimesh(std::vector<uint8_t>& out, const Mesh& mesh) {
    int nv = MeshVertexCount(mesh), nf = MeshFaceCount(mesh);
    size_t meshAt = ChunkBegin(out, CHUNK_TRIMESH);
    size_t at = ChunkBegin(out, CHUNK_VERTICES);
    Put16(out, (uint32_t)nv);
    for (float f : mesh.xyz) PutFloat(out, f);
    ChunkEnd(out, at);
    at = ChunkBegin(out, CHUNK_MAPPING);
    Put16(out, (uint32_t)nv);
    for (float f : mesh.uv) PutFloat(out, f);
    ChunkEnd(out, at);
    at = ChunkBegin(out, CHUNK_MATRIX);  // identity local axes, origin at 0
    const float axes[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    for (float f : axes) PutFloat(out, f);
    ChunkEnd(out, at);
    at = ChunkBegin(out, CHUNK_FACES);
    Put16(out, (uint32_t)nf);
    for (int i = 0; i < nf; i++) {
        for (int k = 0; k < 3; k++) Put16(out, mesh.faces[i * 3 + k]);
        Put16(out, 7);  // all three edges visible
    }
    size_t smoothAt = ChunkBegin(out, CHUNK_SMOOTHING);
    for (int i = 0; i < nf; i++) Put32(out, 1);
    ChunkEnd(out, smoothAt);
    ChunkEnd(out, at);
    ChunkEnd(out, meshAt);
}

std::vector<uint8_t> Encode3ds(const Mesh& mesh, const char* objectName) {
    int nv = MeshVertexCount(mesh), nf = MeshFaceCount(mesh);
    if (nv > 65535 || nf > 65535 || mesh.uv.size() != (size_t)nv * 2 ||
        mesh.xyz.size() != (size_t)nv * 3 || mesh.faces.size() != (size_t)nf * 3)
        return {};
    for (uint16_t index : mesh.faces)
        if (index >= nv) return {};
    std::vector<uint8_t> out;
    size_t mainAt = ChunkBegin(out, CHUNK_MAIN);
    PutU32Chunk(out, CHUNK_VERSION, 3);
    size_t editorAt = ChunkBegin(out, CHUNK_EDITOR);
    PutU32Chunk(out, CHUNK_MESH_VERSION, 3);
    size_t objectAt = ChunkBegin(out, CHUNK_OBJECT);
    out.insert(out.end(), objectName, objectName + std::strlen(objectName) + 1);
    PutTrimesh(out, mesh);
    ChunkEnd(out, objectAt);
    ChunkEnd(out, editorAt);
    ChunkEnd(out, mainAt);
    return out;
}

bool Write3ds(const std::string& path, const Mesh& mesh, const char* objectName) {
    std::vector<uint8_t> bytes = Encode3ds(mesh, objectName);
    return !bytes.empty() && WriteFileBytes(path, bytes);
}
