// The GLES 2 / WebGL 1 entry points the layer draws with, reached through a table of pointers:
// the layer exports the same names itself.
#pragma once
#include <GL/gl.h>

typedef char GLchar;
typedef ptrdiff_t GLsizeiptr;
typedef ptrdiff_t GLintptr;

enum : GLenum {
    ES_ARRAY_BUFFER = 0x8892,
    ES_ELEMENT_ARRAY_BUFFER = 0x8893,
    ES_UNSIGNED_SHORT = 0x1403,
    ES_STREAM_DRAW = 0x88E0,
    ES_FRAGMENT_SHADER = 0x8B30,
    ES_VERTEX_SHADER = 0x8B31,
    ES_COMPILE_STATUS = 0x8B81,
    ES_LINK_STATUS = 0x8B82,
};

// X(name, result, parameters)
#define GL_ES_FUNCTIONS(X)                                                                   \
    X(Enable, void, (GLenum))                                                                \
    X(Disable, void, (GLenum))                                                               \
    X(BlendFunc, void, (GLenum, GLenum))                                                     \
    X(DepthFunc, void, (GLenum))                                                             \
    X(LineWidth, void, (GLfloat))                                                            \
    X(Viewport, void, (GLint, GLint, GLsizei, GLsizei))                                      \
    X(Scissor, void, (GLint, GLint, GLsizei, GLsizei))                                       \
    X(ClearColor, void, (GLclampf, GLclampf, GLclampf, GLclampf))                            \
    X(ClearDepthf, void, (GLclampf))                                                         \
    X(Clear, void, (GLbitfield))                                                             \
    X(Finish, void, ())                                                                      \
    X(Flush, void, ())                                                                       \
    X(ReadPixels, void, (GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, GLvoid*))           \
    X(PixelStorei, void, (GLenum, GLint))                                                    \
    X(GetError, GLenum, ())                                                                  \
    X(GetIntegerv, void, (GLenum, GLint*))                                                   \
    X(GetFloatv, void, (GLenum, GLfloat*))                                                   \
    X(GenTextures, void, (GLsizei, GLuint*))                                                 \
    X(DeleteTextures, void, (GLsizei, const GLuint*))                                        \
    X(BindTexture, void, (GLenum, GLuint))                                                   \
    X(TexParameteri, void, (GLenum, GLenum, GLint))                                          \
    X(TexImage2D, void,                                                                      \
      (GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid*))        \
    X(GenBuffers, void, (GLsizei, GLuint*))                                                  \
    X(BindBuffer, void, (GLenum, GLuint))                                                    \
    X(BufferData, void, (GLenum, GLsizeiptr, const GLvoid*, GLenum))                         \
    X(BufferSubData, void, (GLenum, GLintptr, GLsizeiptr, const GLvoid*))                    \
    X(EnableVertexAttribArray, void, (GLuint))                                               \
    X(VertexAttribPointer, void, (GLuint, GLint, GLenum, GLboolean, GLsizei, const GLvoid*)) \
    X(DrawElements, void, (GLenum, GLsizei, GLenum, const GLvoid*))                          \
    X(CreateShader, GLuint, (GLenum))                                                        \
    X(ShaderSource, void, (GLuint, GLsizei, const GLchar* const*, const GLint*))             \
    X(CompileShader, void, (GLuint))                                                         \
    X(GetShaderiv, void, (GLuint, GLenum, GLint*))                                           \
    X(GetShaderInfoLog, void, (GLuint, GLsizei, GLsizei*, GLchar*))                          \
    X(CreateProgram, GLuint, ())                                                             \
    X(AttachShader, void, (GLuint, GLuint))                                                  \
    X(BindAttribLocation, void, (GLuint, GLuint, const GLchar*))                             \
    X(LinkProgram, void, (GLuint))                                                           \
    X(GetProgramiv, void, (GLuint, GLenum, GLint*))                                          \
    X(GetProgramInfoLog, void, (GLuint, GLsizei, GLsizei*, GLchar*))                         \
    X(UseProgram, void, (GLuint))                                                            \
    X(GetUniformLocation, GLint, (GLuint, const GLchar*))                                    \
    X(Uniform1i, void, (GLint, GLint))                                                       \
    X(Uniform1f, void, (GLint, GLfloat))                                                     \
    X(Uniform4fv, void, (GLint, GLsizei, const GLfloat*))                                    \
    X(UniformMatrix4fv, void, (GLint, GLsizei, GLboolean, const GLfloat*))

#define GL_ES_MEMBER(name, result, params) result(*name) params;
struct GlesTable {
    GL_ES_FUNCTIONS(GL_ES_MEMBER)
};
#undef GL_ES_MEMBER
extern GlesTable Es;

// Fills Es; false (and the missing name on stderr) when one is not there.
bool GlesLoad(void* (*getProc)(const char*));
