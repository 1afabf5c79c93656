// Texture objects: names and images live in the GLES context; the layer remembers which
// names hold a level-0 image and a filter that needs no mipmaps, which GL 1.1 requires
// before it textures with them (GLES would sample black instead).
#include <unordered_map>
#include "platform/web/gl_es.h"
#include "platform/web/gl_state.h"

struct TextureInfo {
    bool hasImage = false;
    GLenum minFilter = GL_NEAREST_MIPMAP_LINEAR;
};
static std::unordered_map<GLuint, TextureInfo> Textures;  // name 0 included: the default one
static GLuint Bound = 0;

bool GlTextureUsable() {
    auto found = Textures.find(Bound);
    if (found == Textures.end()) return false;
    GLenum f = found->second.minFilter;
    return found->second.hasImage && (f == GL_NEAREST || f == GL_LINEAR);
}

// What GLES takes for an internal format: the same as the data's format.
static GLenum EsFormat(GLint internalFormat) {
    switch (internalFormat) {
    case 3:
    case GL_RGB:
    case GL_RGB8: return GL_RGB;
    case 4:
    case GL_RGBA:
    case GL_RGBA8: return GL_RGBA;
    default: return GL_NONE;
    }
}

extern "C" {

void glGenTextures(GLsizei n, GLuint* textures) { Es.GenTextures(n, textures); }

void glDeleteTextures(GLsizei n, const GLuint* textures) {
    GlDrawFlush();
    for (GLsizei i = 0; i < n; i++) {
        if (textures[i] == 0) continue;
        Textures.erase(textures[i]);
        if (textures[i] == Bound) Bound = 0;
    }
    Es.DeleteTextures(n, textures);
}

void glBindTexture(GLenum target, GLuint texture) {
    if (target != GL_TEXTURE_2D) return GlSetError(GL_INVALID_ENUM);
    if (texture == Bound) return;
    GlDrawFlush();
    Bound = texture;
    Es.BindTexture(target, texture);
}

void glTexParameteri(GLenum target, GLenum pname, GLint param) {
    if (target != GL_TEXTURE_2D) return GlSetError(GL_INVALID_ENUM);
    GlDrawFlush();
    if (pname == GL_TEXTURE_MIN_FILTER) Textures[Bound].minFilter = (GLenum)param;
    Es.TexParameteri(target, pname, param);
}

void glTexParameterf(GLenum target, GLenum pname, GLfloat param) {
    glTexParameteri(target, pname, (GLint)param);
}

// RGB and RGBA bytes, as GL 1.1 and GLES both take them; the internal format must agree
// with the data's (GLES converts nothing).
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels) {
    if (target != GL_TEXTURE_2D || type != GL_UNSIGNED_BYTE || EsFormat(internalFormat) != format)
        return GlSetError(GL_INVALID_ENUM);
    if (level < 0 || width < 0 || height < 0 || border != 0) return GlSetError(GL_INVALID_VALUE);
    GlDrawFlush();
    Es.TexImage2D(target, level, (GLint)format, width, height, 0, format, type, pixels);
    if (level == 0) Textures[Bound].hasImage = width > 0 && height > 0;
}

}  // extern "C"
