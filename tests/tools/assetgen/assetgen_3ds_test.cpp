// The generated 3DS files: a consistent chunk tree, and models that suit the scenes
// (sizes, orientation, and matching face models for the morph).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "assetgen/max3ds_writer.h"
#include "assetgen/models.h"
#include "base/le.h"

namespace {

// What a walk over a file found; `ok` is cleared by the first inconsistency.
struct Parsed {
    bool ok = true;
    int objects = 0;
    std::vector<float> xyz, uv;
    std::vector<uint16_t> faces;
};

uint32_t Get16(const std::vector<uint8_t>& b, size_t at) { return GetLe16(&b[at]); }
uint32_t Get32(const std::vector<uint8_t>& b, size_t at) { return GetLe32(&b[at]); }
float GetFloat(const std::vector<uint8_t>& b, size_t at) { return GetLeFloat(&b[at]); }

void Walk(const std::vector<uint8_t>& b, size_t pos, size_t end, Parsed& p);

// Reads a list's count and checks that `count * itemSize` fits the chunk.
bool ListFits(const std::vector<uint8_t>& b, size_t data, size_t end, size_t itemSize,
              uint32_t& count) {
    if (data + 2 > end) return false;
    count = Get16(b, data);
    return data + 2 + count * itemSize <= end;
}

// A list of items of `width` floats that fills its chunk exactly, appended to `out`.
bool ReadFloats(const std::vector<uint8_t>& b, size_t data, size_t end, uint32_t width,
                std::vector<float>& out) {
    uint32_t n = 0;
    if (!ListFits(b, data, end, width * 4, n) || data + 2 + n * width * 4 != end) return false;
    for (uint32_t i = 0; i < n * width; i++) out.push_back(GetFloat(b, data + 2 + i * 4));
    return true;
}

void ReadChunk(const std::vector<uint8_t>& b, uint32_t id, size_t data, size_t end, Parsed& p) {
    uint32_t n = 0;
    switch (id) {
    case CHUNK_MAIN:
    case CHUNK_EDITOR:
    case CHUNK_TRIMESH: Walk(b, data, end, p); break;
    case CHUNK_OBJECT: {
        const void* nul = std::memchr(&b[data], 0, end - data);
        if (!nul) {
            p.ok = false;
            break;
        }
        p.objects++;
        Walk(b, (const uint8_t*)nul - b.data() + 1, end, p);
        break;
    }
    case CHUNK_VERTICES:
        if (!ReadFloats(b, data, end, 3, p.xyz)) p.ok = false;
        break;
    case CHUNK_MAPPING:
        if (!ReadFloats(b, data, end, 2, p.uv)) p.ok = false;
        break;
    case CHUNK_FACES:
        if (!ListFits(b, data, end, 8, n)) {
            p.ok = false;
            break;
        }
        for (uint32_t i = 0; i < n; i++)
            for (int k = 0; k < 3; k++)
                p.faces.push_back((uint16_t)Get16(b, data + 2 + i * 8 + k * 2));
        Walk(b, data + 2 + n * 8, end, p);  // smoothing groups follow the list
        break;
    }
}

void Walk(const std::vector<uint8_t>& b, size_t pos, size_t end, Parsed& p) {
    while (p.ok && pos < end) {
        if (pos + 6 > end) {
            p.ok = false;
            return;
        }
        uint32_t id = Get16(b, pos), len = Get32(b, pos + 2);
        if (len < 6 || pos + len > end) {
            p.ok = false;
            return;
        }
        ReadChunk(b, id, pos + 6, pos + len, p);
        pos += len;
    }
}

Parsed Parse(const std::vector<uint8_t>& b) {
    Parsed p;
    if (b.size() < 6 || Get16(b, 0) != CHUNK_MAIN || Get32(b, 2) != b.size()) p.ok = false;
    else Walk(b, 0, b.size(), p);
    return p;
}

Mesh Quad() {
    Mesh m;
    MeshAddVertex(m, 0, 0, 0, 0, 0);
    MeshAddVertex(m, 1, 0, 0, 1, 0);
    MeshAddVertex(m, 1, 1, 0, 1, 1);
    MeshAddVertex(m, 0, 1, 0, 0, 1);
    MeshAddFace(m, 0, 1, 2);
    MeshAddFace(m, 0, 2, 3);
    return m;
}

TEST(Assetgen3ds, SmallMeshHasExactChunkLengths) {
    std::vector<uint8_t> b = Encode3ds(Quad(), "Q");
    Parsed p = Parse(b);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.objects, 1);
    EXPECT_EQ(p.xyz.size(), 12u);
    EXPECT_EQ(p.uv.size(), 8u);
    EXPECT_EQ(p.faces, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
    EXPECT_FLOAT_EQ(p.xyz[6], 1.0f);
    EXPECT_FLOAT_EQ(p.uv[5], 1.0f);
    // main 6 + version 10 + editor 6 + mesh version 10 + object 6+2 + trimesh 6 +
    // vertices 6+2+48 + mapping 6+2+32 + matrix 6+48 + faces 6+2+16 + smoothing 6+8
    EXPECT_EQ(b.size(), 234u);
}

TEST(Assetgen3ds, RefusesWhatTheFormatCannotHold) {
    Mesh bad = Quad();
    MeshAddFace(bad, 0, 1, 4);  // no vertex 4
    EXPECT_TRUE(Encode3ds(bad, "Q").empty());
    Mesh big;
    for (int i = 0; i < 65536; i++) MeshAddVertex(big, 0, 0, 0, 0, 0);
    EXPECT_TRUE(Encode3ds(big, "Q").empty());
    Mesh uneven = Quad();
    uneven.uv.pop_back();
    EXPECT_TRUE(Encode3ds(uneven, "Q").empty());
}

// Sum of the face normals (area weighted), and the enclosed volume for closed meshes.
struct Orientation {
    double normal[3] = {0, 0, 0};
    double volume = 0;
    double radialFlux = 0;  // normals against the direction away from the y axis
};

Orientation Orient(const Parsed& p) {
    Orientation o;
    for (size_t f = 0; f + 2 < p.faces.size(); f += 3) {
        const float* a = &p.xyz[p.faces[f] * 3];
        const float* b = &p.xyz[p.faces[f + 1] * 3];
        const float* c = &p.xyz[p.faces[f + 2] * 3];
        double u[3], v[3], n[3];
        for (int k = 0; k < 3; k++) u[k] = b[k] - a[k], v[k] = c[k] - a[k];
        n[0] = u[1] * v[2] - u[2] * v[1];
        n[1] = u[2] * v[0] - u[0] * v[2];
        n[2] = u[0] * v[1] - u[1] * v[0];
        for (int k = 0; k < 3; k++) o.normal[k] += n[k];
        o.volume += (a[0] * n[0] + a[1] * n[1] + a[2] * n[2]) / 6.0;
        o.radialFlux += (a[0] + b[0] + c[0]) * n[0] + (a[2] + b[2] + c[2]) * n[2];
    }
    return o;
}

float Extent(const Parsed& p, int axis) {
    float lo = 1e30f, hi = -1e30f;
    for (size_t i = axis; i < p.xyz.size(); i += 3)
        lo = std::fmin(lo, p.xyz[i]), hi = std::fmax(hi, p.xyz[i]);
    return hi - lo;
}

TEST(Assetgen3ds, ModelsAreConsistentAndSizedForTheirScenes) {
    ASSERT_EQ(ModelCount, 6);
    for (int i = 0; i < ModelCount; i++) {
        SCOPED_TRACE(ModelTable[i].fileName);
        std::vector<uint8_t> bytes = Encode3ds(ModelTable[i].make(), ModelTable[i].objectName);
        Parsed p = Parse(bytes);
        ASSERT_TRUE(p.ok);
        size_t vertices = p.xyz.size() / 3, faces = p.faces.size() / 3;
        EXPECT_EQ(p.uv.size(), vertices * 2);
        EXPECT_LT(vertices, 50000u);
        EXPECT_GT(faces, 500u);
        EXPECT_LE(faces, 4000u);
        for (uint16_t index : p.faces) ASSERT_LT(index, vertices);
        for (float f : p.xyz) ASSERT_TRUE(std::isfinite(f));
        for (float f : p.uv) ASSERT_TRUE(std::isfinite(f));

        std::string name = ModelTable[i].fileName;
        Orientation o = Orient(p);
        if (name == "Galaxy.3DS") {
            EXPECT_GT(Extent(p, 0), 300.0f);
            EXPECT_LT(Extent(p, 0), 500.0f);
            EXPECT_LT(Extent(p, 1), Extent(p, 0) * 0.2f);  // a flat disc
            EXPECT_GT(o.volume,
                      0.0);  // arms and bulge turned outwards: culled, it shows from both sides
        } else if (name == "Tubo.3ds") {
            EXPECT_GT(Extent(p, 1), 80.0f);
            EXPECT_LT(o.radialFlux, 0.0);  // faces turned to the inside
        } else {
            EXPECT_GT(o.volume, 0.0);  // closed and turned outwards
        }
        if (name == "Nudo.3DS") {
            EXPECT_NEAR(Extent(p, 0), 55.0f, 10.0f);
        }
        if (name == "CaraTio1.3DS") {
            EXPECT_NEAR(Extent(p, 1), 2.2f, 0.4f);  // inside the knot of scene 1
        } else if (name == "cara1.3DS" || name == "cara2.3DS") {
            EXPECT_NEAR(Extent(p, 1), 3.3f, 0.5f);
        }
    }
}

TEST(Assetgen3ds, FaceModelsPairUpForTheMorph) {
    Parsed base = Parse(Encode3ds(MakeCaraTio1(), "CaraTio1"));
    Parsed from = Parse(Encode3ds(MakeCara1(), "cara1"));
    Parsed to = Parse(Encode3ds(MakeCara2(), "cara2"));
    ASSERT_TRUE(base.ok && from.ok && to.ok);
    EXPECT_EQ(from.faces, base.faces);
    EXPECT_EQ(to.faces, base.faces);
    ASSERT_EQ(from.xyz.size(), to.xyz.size());
    float most = 0;
    for (size_t i = 0; i < from.xyz.size(); i++)
        most = std::fmax(most, std::fabs(from.xyz[i] - to.xyz[i]));
    EXPECT_LT(most, 0.6f);   // within reach of the morph's steps
    EXPECT_GT(most, 0.15f);  // and visibly different
}

}  // namespace
