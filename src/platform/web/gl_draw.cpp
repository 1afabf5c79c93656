// Immediate mode: the current colour, texture coordinate and normal, the vertices of the open
// begin/end block, and the batch they join. Vertices and normals are taken to eye space as
// they come, so the model-view matrix may change inside a batch; strips and quads become
// indexed triangles over their own vertices. A batch is drawn when anything else it depends on
// is about to change, so blocks under the same state (a model's faces, a fountain's particles,
// a caption's glyphs) reach the GPU as one upload.
#include <algorithm>
#include <vector>
#include "platform/web/gl_es.h"
#include "platform/web/gl_state.h"

struct Vertex {
    float position[4], color[4], texcoord[2], normal[3];  // position and normal in eye space
};
static float Color[4] = {1, 1, 1, 1}, TexCoord[2] = {0, 0}, Normal[3] = {0, 0, 1};

static bool Inside = false;  // between glBegin and glEnd
static GLenum Mode = GL_TRIANGLES;
static std::vector<Vertex> Block;
static std::vector<Vertex> Batch;
static std::vector<uint16_t> Indices;            // the batch's triangles or lines
static GLenum BatchMode = GL_TRIANGLES;          // GL_TRIANGLES or GL_LINES
static const size_t MAX_BATCH_VERTICES = 65536;  // what 16-bit indices reach

// A batch is drawn in runs of this many indices. llvmpipe's vertex stage revisits every vertex
// of a draw for each small group of triangles it hands on once the draw needs clipping, so one
// long draw can cost with the square of its length; with indices, runs of 384 measured a few
// per cent faster than one draw per batch.
static const size_t DRAW_RUN = 384;

const float* GlCurrentColor() { return Color; }

struct StreamBuffer {
    GLuint name = 0;
    size_t capacity = 0;  // bytes; the storage only grows, so later frames reuse it
};
static StreamBuffer VertexBuffer, IndexBuffer;

static void Upload(GLenum target, StreamBuffer* buffer, const void* data, size_t bytes) {
    Es.BindBuffer(target, buffer->name);
    if (bytes > buffer->capacity) {
        buffer->capacity = std::max(bytes, buffer->capacity * 2);
        Es.BufferData(target, (GLsizeiptr)buffer->capacity, nullptr, ES_STREAM_DRAW);
    }
    Es.BufferSubData(target, 0, (GLsizeiptr)bytes, data);
}

static void SetAttribute(GLuint index, int size, size_t offset) {
    Es.EnableVertexAttribArray(index);
    Es.VertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, sizeof(Vertex), (const GLvoid*)offset);
}

// The two buffers, and the vertex layout over the first, made once: the layer is the
// context's only user, so the bindings and attribute pointers stay as set.
static void MakeBuffers() {
    Es.GenBuffers(1, &VertexBuffer.name);
    Es.GenBuffers(1, &IndexBuffer.name);
    Es.BindBuffer(ES_ARRAY_BUFFER, VertexBuffer.name);
    SetAttribute(GL_ATTRIB_POSITION, 4, offsetof(Vertex, position));
    SetAttribute(GL_ATTRIB_COLOR, 4, offsetof(Vertex, color));
    SetAttribute(GL_ATTRIB_TEXCOORD, 2, offsetof(Vertex, texcoord));
    SetAttribute(GL_ATTRIB_NORMAL, 3, offsetof(Vertex, normal));
}

void GlDrawFlush() {
    if (Indices.empty()) return Batch.clear();
    bool textured = GlCapOn(GL_TEXTURE_2D) && GlTextureUsable();
    GlShaderUse(GlCapOn(GL_LIGHTING), textured);
    if (!VertexBuffer.name) MakeBuffers();
    Upload(ES_ARRAY_BUFFER, &VertexBuffer, Batch.data(), Batch.size() * sizeof(Vertex));
    Upload(ES_ELEMENT_ARRAY_BUFFER, &IndexBuffer, Indices.data(), Indices.size() * 2);
    for (size_t first = 0; first < Indices.size(); first += DRAW_RUN)
        Es.DrawElements(BatchMode, (GLsizei)std::min(DRAW_RUN, Indices.size() - first),
                        ES_UNSIGNED_SHORT, (const GLvoid*)(first * 2));
    Batch.clear();
    Indices.clear();
}

void GlDoBegin(GLenum mode) {
    if (Inside) return GlSetError(GL_INVALID_OPERATION);
    if (mode != GL_LINES && mode != GL_TRIANGLES && mode != GL_TRIANGLE_STRIP && mode != GL_QUADS)
        return GlSetError(GL_INVALID_ENUM);
    Inside = true;
    Mode = mode;
    Block.clear();
}

// Indices for `count` of the block's vertices placed at `base`, winding kept: strip triangle
// k takes (k, k+1, k+2) for even k and (k+1, k, k+2) for odd k (`odd` flips that for a strip
// continued from an earlier piece); quad (0, 1, 2, 3) gives (0, 1, 2) and (0, 2, 3).
static void AddIndices(size_t base, size_t count, bool odd) {
    auto add = [base](size_t k) { Indices.push_back((uint16_t)(base + k)); };
    switch (Mode) {
    case GL_TRIANGLE_STRIP:
        for (size_t k = 0; k + 2 < count; k++) {
            bool swap = (k % 2 == 1) != odd;
            add(swap ? k + 1 : k), add(swap ? k : k + 1), add(k + 2);
        }
        break;
    case GL_QUADS:
        for (size_t k = 0; k + 3 < count; k += 4)
            for (size_t corner : {k, k + 1, k + 2, k, k + 2, k + 3}) add(corner);
        break;
    default:  // lines and triangles: the vertices in order
        for (size_t k = 0; k < count; k++) add(k);
    }
}

// The block's complete primitives join the batch (an incomplete one at the end is dropped),
// in pieces where the batch would pass what its indices reach; a strip's next piece starts
// again at its last two vertices.
static void AppendBlock() {
    size_t n = Block.size(), group = Mode == GL_LINES ? 2 : Mode == GL_QUADS ? 4 : 3;
    size_t end = Mode == GL_TRIANGLE_STRIP ? (n >= 3 ? n : 0) : n / group * group;
    size_t start = 0;
    bool odd = false;
    while (start < end) {
        size_t room = MAX_BATCH_VERTICES - Batch.size(), piece = std::min(end - start, room);
        if (Mode != GL_TRIANGLE_STRIP) piece = piece / group * group;
        if (piece < group) {
            GlDrawFlush();
            continue;
        }
        size_t base = Batch.size();
        Batch.insert(Batch.end(), Block.begin() + start, Block.begin() + start + piece);
        AddIndices(base, piece, odd);
        if (start + piece == end || Mode != GL_TRIANGLE_STRIP) {
            start += piece;
        } else {
            start += piece - 2;
            odd = odd != ((piece - 2) % 2 == 1);
        }
    }
}

void GlDoEnd() {
    if (!Inside) return GlSetError(GL_INVALID_OPERATION);
    Inside = false;
    GLenum kind = Mode == GL_LINES ? GL_LINES : GL_TRIANGLES;
    if (kind != BatchMode) {
        GlDrawFlush();
        BatchMode = kind;
    }
    AppendBlock();
}

// The inverse transpose of the model-view's upper 3x3 (its cofactors over the determinant),
// which carries normals into eye space; normals are not renormalised, as in GL 1.1.
static void NormalMatrix(const float* m, float* out) {
    float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6], i = m[10];
    float cofactor[9] = {e * i - f * h, f * g - d * i, d * h - e * g, c * h - b * i, a * i - c * g,
                         b * g - a * h, b * f - c * e, c * d - a * f, a * e - b * d};
    float det = a * cofactor[0] + b * cofactor[1] + c * cofactor[2];
    float inverse = det != 0 ? 1 / det : 0;
    for (int k = 0; k < 9; k++) out[k] = cofactor[k] * inverse;  // row-major
}

void GlDoVertex(float x, float y, float z) {
    if (!Inside) return;  // GL leaves a vertex outside begin/end undefined; we drop it
    static uint32_t serial = 0;
    static float normalMatrix[9];
    const float* m = GlModelview();
    if (serial != GlModelviewSerial()) {
        serial = GlModelviewSerial();
        NormalMatrix(m, normalMatrix);
    }
    Vertex v = {{}, {Color[0], Color[1], Color[2], Color[3]}, {TexCoord[0], TexCoord[1]}, {}};
    for (int r = 0; r < 4; r++) v.position[r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
    for (int r = 0; r < 3; r++)
        v.normal[r] = normalMatrix[r * 3] * Normal[0] + normalMatrix[r * 3 + 1] * Normal[1] +
                      normalMatrix[r * 3 + 2] * Normal[2];
    Block.push_back(v);
}

void GlDoTexCoord(float s, float t) { TexCoord[0] = s, TexCoord[1] = t; }
void GlDoNormal(float x, float y, float z) { Normal[0] = x, Normal[1] = y, Normal[2] = z; }

void GlDoColor(float r, float g, float b, float a) {
    Color[0] = r, Color[1] = g, Color[2] = b, Color[3] = a;
    GlColorMaterialTrack(Color);
}

extern "C" {

void glBegin(GLenum mode) {
    if (!GlListCompiles(LIST_BEGIN, (float)mode)) GlDoBegin(mode);
}
void glEnd() {
    if (!GlListCompiles(LIST_END)) GlDoEnd();
}
void glVertex2f(GLfloat x, GLfloat y) {
    if (!GlListCompiles(LIST_VERTEX, x, y, 0)) GlDoVertex(x, y, 0);
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!GlListCompiles(LIST_VERTEX, x, y, z)) GlDoVertex(x, y, z);
}
void glTexCoord2f(GLfloat s, GLfloat t) {
    if (!GlListCompiles(LIST_TEXCOORD, s, t)) GlDoTexCoord(s, t);
}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!GlListCompiles(LIST_NORMAL, x, y, z)) GlDoNormal(x, y, z);
}
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    if (!GlListCompiles(LIST_COLOR, r, g, b, a)) GlDoColor(r, g, b, a);
}
void glColor4fv(const GLfloat* v) { glColor4f(v[0], v[1], v[2], v[3]); }

}  // extern "C"
