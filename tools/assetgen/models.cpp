#include "assetgen/models.h"

#include <cmath>

static const float Pi = 3.14159265f;

struct Vertex {
    float x, y, z, u, v;
};

enum { GRID_POLE_FIRST = 1, GRID_POLE_LAST = 2, GRID_FLIP = 4 };

// Adds a (rows+1) x (cols+1) vertex grid, fn(s, t) giving the vertex at s = i/rows,
// t = j/cols, and two triangles per cell, counter-clockwise about ds x dt (clockwise
// with GRID_FLIP). Rows that collapse to a pole get one triangle per cell instead of a
// degenerate pair.
template <typename Fn>
static void AddGrid(Mesh& mesh, int rows, int cols, int flags, Fn fn) {
    int base = MeshVertexCount(mesh);
    for (int i = 0; i <= rows; i++) {
        for (int j = 0; j <= cols; j++) {
            Vertex p = fn((float)i / rows, (float)j / cols);
            MeshAddVertex(mesh, p.x, p.y, p.z, p.u, p.v);
        }
    }
    bool flip = (flags & GRID_FLIP) != 0;
    for (int i = 0; i < rows; i++) {
        for (int j = 0; j < cols; j++) {
            int a = base + i * (cols + 1) + j, b = a + cols + 1, c = b + 1, d = a + 1;
            if (!(i == rows - 1 && (flags & GRID_POLE_LAST)))
                flip ? MeshAddFace(mesh, a, c, b) : MeshAddFace(mesh, a, b, c);
            if (!(i == 0 && (flags & GRID_POLE_FIRST)))
                flip ? MeshAddFace(mesh, a, d, c) : MeshAddFace(mesh, a, c, d);
        }
    }
}

// One arm of the galaxy: a lens-shaped band winding out from the bulge, thick near the
// core and thinning to nothing at its tip; `side` +1 builds the upper face, -1 the lower.
static void AddGalaxyArm(Mesh& mesh, float radius, float start, float side) {
    AddGrid(mesh, 20, 2, side > 0 ? 0 : GRID_FLIP, [=](float s, float t) {
        float angle = start + 2.2f * Pi * s;
        float width = radius * (0.08f + 0.22f * s) * (1.0f - s * s * s);
        float r = radius * (0.12f + 0.88f * s) + width * (t - 0.5f);
        float h = side * radius * 0.02f * (1.0f - 0.8f * s) * std::sin(Pi * t);
        return Vertex{r * std::cos(angle), h, r * std::sin(angle), 3.0f * s, t};
    });
}

Mesh MakeGalaxy() {
    const float radius = 200.0f;
    Mesh mesh;
    for (int arm = 0; arm < 3; arm++) {
        float start = arm * 2.0f * Pi / 3.0f;
        AddGalaxyArm(mesh, radius, start, 1.0f);
        AddGalaxyArm(mesh, radius, start, -1.0f);
    }
    // Compact flattened bulge: it stays clear of the eye when the first scene draws the
    // galaxy centred 10 units (and, at half size, 4.5 units) behind it.
    AddGrid(mesh, 6, 12, GRID_POLE_FIRST | GRID_POLE_LAST, [&](float s, float t) {
        float th = Pi * s, ph = 2.0f * Pi * (t - 0.5f);
        float x = std::sin(th) * std::sin(ph), y = std::cos(th), z = std::sin(th) * std::cos(ph);
        return Vertex{radius * 0.035f * x, radius * 0.02f * y, radius * 0.035f * z, 2.0f * t,
                      1.0f - s};
    });
    return mesh;
}

Mesh MakeKnot() {
    const float big = 18.0f, small = 7.0f, tube = 2.2f;
    auto curve = [&](float a, float* out) {
        float rr = big + small * std::cos(3.0f * a);
        out[0] = rr * std::cos(2.0f * a);
        out[1] = rr * std::sin(2.0f * a);
        out[2] = small * std::sin(3.0f * a);
    };
    Mesh mesh;
    AddGrid(mesh, 72, 8, 0, [&](float s, float t) {
        float a = 2.0f * Pi * s, p[3], q[3], tan[3], n[3], b[3];
        curve(a, p);
        curve(a + 0.001f, q);
        float len = 0;
        for (int k = 0; k < 3; k++) tan[k] = q[k] - p[k], len += tan[k] * tan[k];
        for (int k = 0; k < 3; k++) tan[k] /= std::sqrt(len);
        // Normal: the outward radial direction with its tangent part removed.
        float radial[3] = {std::cos(2.0f * a), std::sin(2.0f * a), 0};
        float dot = radial[0] * tan[0] + radial[1] * tan[1];
        for (int k = 0; k < 3; k++) n[k] = radial[k] - dot * tan[k];
        len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (int k = 0; k < 3; k++) n[k] /= len;
        b[0] = n[1] * tan[2] - n[2] * tan[1];  // n x tan keeps the faces turned outwards
        b[1] = n[2] * tan[0] - n[0] * tan[2];
        b[2] = n[0] * tan[1] - n[1] * tan[0];
        float c = tube * std::cos(2.0f * Pi * t), d = tube * std::sin(2.0f * Pi * t);
        return Vertex{p[0] + c * n[0] + d * b[0], p[1] + c * n[1] + d * b[1],
                      p[2] + c * n[2] + d * b[2], 8.0f * s, t};
    });
    return mesh;
}

Mesh MakeTube() {
    const float halfLength = 50.0f;
    Mesh mesh;
    AddGrid(mesh, 30, 16, 0, [&](float s, float t) {
        float y = halfLength * (1.0f - 2.0f * s), a = 2.0f * Pi * t;
        float r = 3.0f * (1.0f + 0.1f * std::sin(2.0f * Pi * y / 20.0f));
        return Vertex{r * std::cos(a), y, r * std::sin(a), 2.0f * t, 10.0f * s};
    });
    return mesh;
}

// Expression of a head: displacements (in head radii) of its features.
struct FaceShape {
    float width, nose, brow, eyes, lids, cheeks, smile, mouthOpen, jaw, chin;
};

static float Bump(float x, float y, float cx, float cy, float sx, float sy) {
    float dx = (x - cx) / sx, dy = (y - cy) / sy;
    return std::exp(-0.5f * (dx * dx + dy * dy));
}

static float Pair(float x, float y, float cx, float cy, float sx, float sy) {
    return Bump(x, y, -cx, cy, sx, sy) + Bump(x, y, cx, cy, sx, sy);
}

// Relief of the front of the head over the unit sphere, at (x, y) seen from the front.
// It has to read in silhouette: the faces carry one shared normal, so nothing is shaded.
static float FaceRelief(const FaceShape& f, float x, float y) {
    float nose = Bump(x, y, 0, -0.06f, 0.07f, 0.2f) + 0.6f * Bump(x, y, 0, -0.24f, 0.09f, 0.06f);
    float eyes = -f.eyes * Pair(x, y, 0.3f, 0.1f, 0.11f, 0.08f) +
                 f.lids * Pair(x, y, 0.3f, 0.07f, 0.08f, 0.04f);
    float brow = f.brow * Pair(x, y, 0.3f, 0.24f, 0.17f, 0.05f);
    float lips =
        0.08f * (Bump(x, y, 0, -0.41f, 0.13f, 0.035f) + Bump(x, y, 0, -0.52f, 0.12f, 0.035f)) +
        f.smile * Pair(x, y, 0.16f, -0.42f, 0.05f, 0.05f) -
        f.mouthOpen * Bump(x, y, 0, -0.47f, 0.11f, 0.05f);
    return f.nose * nose + eyes + brow + lips + f.cheeks * Pair(x, y, 0.4f, -0.16f, 0.14f, 0.12f) +
           f.chin * Bump(x, y, 0, -0.74f, 0.15f, 0.1f);
}

// Rows crowd towards the equator and columns towards the front, where the features are;
// the mapping stays uniform in the grid, so the skin's painter can find the features too.
void HeadSpherePoint(float s, float t, float out[3]) {
    float w = 2.0f * t - 1.0f;
    float th = Pi * s + 0.3f * std::sin(2.0f * Pi * s), ph = Pi * w * (0.35f + 0.65f * w * w);
    out[0] = std::sin(th) * std::sin(ph);
    out[1] = std::cos(th);
    out[2] = std::sin(th) * std::cos(ph);
}

static Mesh MakeHead(const FaceShape& f, float size) {
    Mesh mesh;
    AddGrid(mesh, 14, 22, GRID_POLE_FIRST | GRID_POLE_LAST, [&](float s, float t) {
        float p[3];
        HeadSpherePoint(s, t, p);
        float x = p[0], y = p[1], z = p[2];
        float front = z > 0 ? z : 0;
        float r = 1.0f + front * FaceRelief(f, x, y) +
                  0.05f * (1.0f - front) * Pair(x, y, 1.0f, 0.0f, 0.1f, 0.16f);
        float below = y < -0.1f ? -0.1f - y : 0;
        // The jaw narrows and drops; the back of the skull swells.
        float narrow = 1.0f - 0.2f * below, stretch = 1.0f + f.jaw * below;
        float crown = std::fmin(1.0f, std::fmax(0.0f, (y + 0.5f) / 0.4f));
        float back = z < 0 ? 1.0f - 0.1f * crown * z : 1.0f;
        return Vertex{size * f.width * x * r * narrow, size * y * r * stretch,
                      size * 0.9f * z * r * back, t, 1.0f - s};
    });
    return mesh;
}

// The head inside the knot of the first scene (the camera passes close by it), then the
// dreaming face (eyes closed) and the awakened one, larger, seen from further away.
Mesh MakeCaraTio1() {
    return MakeHead({0.78f, 0.3f, 0.07f, 0.1f, 0.04f, 0.05f, 0.0f, 0.0f, 0.08f, 0.12f}, 1.0f);
}
Mesh MakeCara1() {
    return MakeHead({0.8f, 0.3f, 0.06f, 0.1f, 0.06f, 0.07f, 0.03f, 0.0f, 0.05f, 0.1f}, 1.5f);
}
Mesh MakeCara2() {
    return MakeHead({0.74f, 0.38f, 0.14f, 0.18f, 0.0f, 0.02f, -0.02f, 0.22f, 0.2f, 0.16f}, 1.5f);
}

const ModelEntry ModelTable[] = {
#define MODEL_FILE(file, object, maker) {file, object, maker},
#include "assetgen/assets.def"
};
const int ModelCount = (int)(sizeof(ModelTable) / sizeof(ModelTable[0]));

bool WriteModels(const std::string& dir) {
    for (int i = 0; i < ModelCount; i++) {
        Mesh mesh = ModelTable[i].make();
        if (!Write3ds(dir + "/" + ModelTable[i].fileName, mesh, ModelTable[i].objectName))
            return false;
    }
    return true;
}
