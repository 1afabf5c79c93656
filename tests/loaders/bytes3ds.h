// Builds 3DS byte images chunk by chunk, well formed or not, for the reader's tests.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>
#include "base/le.h"
#include "loaders/chunk3ds.h"

// The reader's scratch state as a fresh process has it: both arrays and their counts zero, no
// overflow raised, unknown chunks not dumped. Each test starts and ends with it.
inline void ResetReaderScratch() {
    memset(ReaderVertices, 0, sizeof ReaderVertices);
    memset(ReaderFaces, 0, sizeof ReaderFaces);
    ReaderVertexCount = ReaderFaceCount = 0;
    ReaderOverflow = 0;
    DumpUnknownChunks = false;
}

typedef std::vector<uint8_t> Bytes;

inline void Put16(Bytes& b, uint32_t v) {
    b.resize(b.size() + 2);
    PutLe16(&b[b.size() - 2], v);
}
inline void Put32(Bytes& b, uint32_t v) {
    b.resize(b.size() + 4);
    PutLe32(&b[b.size() - 4], v);
}
inline void PutFloat(Bytes& b, float f) {
    uint32_t bits;
    memcpy(&bits, &f, 4);
    Put32(b, bits);
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A chunk whose length field says `length` whatever its data holds.
inline Bytes ChunkWithLength(uint16_t id, uint32_t length, const Bytes& data) {
    Bytes b;
    Put16(b, id);
    Put32(b, length);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}
inline Bytes Chunk(uint16_t id, const Bytes& data) {
    return ChunkWithLength(id, (uint32_t)(6 + data.size()), data);
}
inline Bytes Chunk(uint16_t id, std::initializer_list<Bytes> parts) {
    return Chunk(id, Cat(parts));
}

struct V3 {
    float x, y, z;
};
struct UV {
    float u, v;
};
struct Tri {
    uint32_t a, b, c;
};

// List data: a 16-bit count (`count` < 0: the number of entries given) then the entries.
inline Bytes VertexData(const std::vector<V3>& vs, long count = -1) {
    Bytes b;
    Put16(b, count < 0 ? (uint32_t)vs.size() : (uint32_t)count);
    for (const V3& v : vs) PutFloat(b, v.x), PutFloat(b, v.y), PutFloat(b, v.z);
    return b;
}
inline Bytes FaceData(const std::vector<Tri>& fs, long count = -1) {
    Bytes b;
    Put16(b, count < 0 ? (uint32_t)fs.size() : (uint32_t)count);
    for (const Tri& f : fs) Put16(b, f.a), Put16(b, f.b), Put16(b, f.c), Put16(b, 7);
    return b;
}
inline Bytes MappingData(const std::vector<UV>& uvs, long count = -1) {
    Bytes b;
    Put16(b, count < 0 ? (uint32_t)uvs.size() : (uint32_t)count);
    for (const UV& t : uvs) PutFloat(b, t.u), PutFloat(b, t.v);
    return b;
}

inline Bytes Vertices(const std::vector<V3>& vs) { return Chunk(0x4110, VertexData(vs)); }
inline Bytes Faces(const std::vector<Tri>& fs, const Bytes& sub = {}) {
    return Chunk(0x4120, Cat({FaceData(fs), sub}));
}
inline Bytes Mapping(const std::vector<UV>& uvs) { return Chunk(0x4140, MappingData(uvs)); }

inline Bytes Name(const char* name) { return Bytes(name, name + strlen(name) + 1); }
// Main > Object Mesh > Object Block (named) > Tri-Mesh holding `lists`.
inline Bytes Object(const char* name, std::initializer_list<Bytes> lists) {
    return Chunk(0x4000, {Name(name), Chunk(0x4100, Cat(lists))});
}
inline Bytes MainFile(std::initializer_list<Bytes> objects) {
    return Chunk(0x4D4D, {Chunk(0x3D3D, Cat(objects))});
}

inline std::vector<V3> Ramp(int n) {
    std::vector<V3> vs;
    for (int i = 0; i < n; i++) vs.push_back({(float)i, 0.5f * i, -(float)i});
    return vs;
}

// An anonymous file holding `bytes`, positioned at its start; the caller closes it.
inline FILE* Stream(const Bytes& bytes) {
    FILE* f = tmpfile();
    if (f && !bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
    if (f) rewind(f);
    return f;
}

inline bool WriteBytes(const std::string& path, const Bytes& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}
