// The fixed-function pipeline as four small programs: lit or not, textured or not. Vertices
// and normals arrive in eye space. Lighting is per vertex as in GL 1.1: scene ambient plus the
// light's ambient and diffuse terms, the result clamped before it is interpolated; texturing
// is GL_MODULATE.
#include <cstdio>
#include "platform/web/gl_es.h"
#include "platform/web/gl_state.h"

static const char* VERTEX_SHADER = R"(
attribute vec4 aPosition;
attribute vec4 aColor;
attribute vec2 aTexCoord;
attribute vec3 aNormal;
uniform mat4 uProjection;
varying vec4 vColor;
varying vec2 vTexCoord;
#ifdef LIT
uniform vec4 uSceneAmbient, uLightAmbient, uLightDiffuse, uLightPosition;
uniform vec4 uMaterialAmbient, uMaterialDiffuse;
uniform float uColorMaterial, uLightOn;
#endif
void main() {
    gl_Position = uProjection * aPosition;
    vTexCoord = aTexCoord;
#ifdef LIT
    vec4 ambient = mix(uMaterialAmbient, aColor, uColorMaterial);
    vec4 diffuse = mix(uMaterialDiffuse, aColor, uColorMaterial);
    vec3 toLight = uLightPosition.w == 0.0 ? uLightPosition.xyz : uLightPosition.xyz - aPosition.xyz;
    float facing = max(dot(aNormal, normalize(toLight)), 0.0);
    vec3 lit = ambient.rgb * uSceneAmbient.rgb +
               uLightOn * (ambient.rgb * uLightAmbient.rgb + facing * diffuse.rgb * uLightDiffuse.rgb);
    vColor = clamp(vec4(lit, diffuse.a), 0.0, 1.0);
#else
    vColor = clamp(aColor, 0.0, 1.0);
#endif
}
)";

static const char* FRAGMENT_SHADER = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec4 vColor;
varying vec2 vTexCoord;
uniform sampler2D uTexture;
void main() {
#ifdef TEXTURED
    gl_FragColor = vColor * texture2D(uTexture, vTexCoord);
#else
    gl_FragColor = vColor;
#endif
}
)";

enum Uniform {
    U_PROJECTION,
    U_SCENE_AMBIENT,
    U_LIGHT_AMBIENT,
    U_LIGHT_DIFFUSE,
    U_LIGHT_POSITION,
    U_MATERIAL_AMBIENT,
    U_MATERIAL_DIFFUSE,
    U_COLOR_MATERIAL,
    U_LIGHT_ON,
    U_TEXTURE,
    U_COUNT
};
static const char* const UNIFORM_NAMES[U_COUNT] = {
    "uProjection",      "uSceneAmbient",    "uLightAmbient",  "uLightDiffuse", "uLightPosition",
    "uMaterialAmbient", "uMaterialDiffuse", "uColorMaterial", "uLightOn",      "uTexture"};

struct Program {
    GLuint id;
    GLint uniforms[U_COUNT];
};
static Program Programs[4];  // index: lit * 2 + textured
static int InUse = -1;

static GLuint Compile(GLenum kind, const char* defines, const char* source) {
    GLuint shader = Es.CreateShader(kind);
    const char* parts[2] = {defines, source};
    Es.ShaderSource(shader, 2, parts, nullptr);
    Es.CompileShader(shader);
    GLint ok = 0;
    Es.GetShaderiv(shader, ES_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = "";
        Es.GetShaderInfoLog(shader, sizeof log, nullptr, log);
        fprintf(stderr, "GL layer: shader does not compile: %s\n", log);
    }
    return ok ? shader : 0;
}

static bool Build(Program* p, bool lit, bool textured) {
    const char* defines = lit ? (textured ? "#define LIT\n#define TEXTURED\n" : "#define LIT\n")
                              : (textured ? "#define TEXTURED\n" : "");
    GLuint vertex = Compile(ES_VERTEX_SHADER, defines, VERTEX_SHADER);
    GLuint fragment = Compile(ES_FRAGMENT_SHADER, defines, FRAGMENT_SHADER);
    if (!vertex || !fragment) return false;
    p->id = Es.CreateProgram();
    Es.AttachShader(p->id, vertex);
    Es.AttachShader(p->id, fragment);
    Es.BindAttribLocation(p->id, GL_ATTRIB_POSITION, "aPosition");
    Es.BindAttribLocation(p->id, GL_ATTRIB_COLOR, "aColor");
    Es.BindAttribLocation(p->id, GL_ATTRIB_TEXCOORD, "aTexCoord");
    Es.BindAttribLocation(p->id, GL_ATTRIB_NORMAL, "aNormal");
    Es.LinkProgram(p->id);
    GLint ok = 0;
    Es.GetProgramiv(p->id, ES_LINK_STATUS, &ok);
    if (!ok) {
        char log[1024] = "";
        Es.GetProgramInfoLog(p->id, sizeof log, nullptr, log);
        fprintf(stderr, "GL layer: program does not link: %s\n", log);
        return false;
    }
    for (int u = 0; u < U_COUNT; u++)
        p->uniforms[u] = Es.GetUniformLocation(p->id, UNIFORM_NAMES[u]);
    Es.UseProgram(p->id);
    Es.Uniform1i(p->uniforms[U_TEXTURE], 0);
    return true;
}

bool GlShadersBuild() {
    for (int i = 0; i < 4; i++)
        if (!Build(&Programs[i], i >= 2, i % 2 == 1)) return false;
    InUse = -1;
    return true;
}

static void SetLighting(const Program& p) {
    GlLightUniforms l;
    GlLightingFor(&l);
    Es.Uniform4fv(p.uniforms[U_SCENE_AMBIENT], 1, l.sceneAmbient);
    Es.Uniform4fv(p.uniforms[U_MATERIAL_AMBIENT], 1, l.materialAmbient);
    Es.Uniform4fv(p.uniforms[U_MATERIAL_DIFFUSE], 1, l.materialDiffuse);
    Es.Uniform1f(p.uniforms[U_COLOR_MATERIAL], l.colorMaterial ? 1.0f : 0.0f);
    Es.Uniform1f(p.uniforms[U_LIGHT_ON], l.lightOn ? 1.0f : 0.0f);
    if (!l.lightOn) return;
    Es.Uniform4fv(p.uniforms[U_LIGHT_AMBIENT], 1, l.lightAmbient);
    Es.Uniform4fv(p.uniforms[U_LIGHT_DIFFUSE], 1, l.lightDiffuse);
    Es.Uniform4fv(p.uniforms[U_LIGHT_POSITION], 1, l.lightPosition);
}

void GlShaderUse(bool lit, bool textured) {
    int index = lit * 2 + textured;
    const Program& p = Programs[index];
    if (index != InUse) Es.UseProgram(p.id);
    InUse = index;
    Es.UniformMatrix4fv(p.uniforms[U_PROJECTION], 1, GL_FALSE, GlProjection());
    if (lit) SetLighting(p);
}
