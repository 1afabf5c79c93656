// The fixed-function pipeline as four small programs: lit or not, textured or not. Lighting
// is per vertex as in GL 1.1: scene ambient plus the light's ambient and diffuse terms, the
// normal taken through the inverse transpose of the model-view without renormalising, the
// result clamped before it is interpolated; texturing is GL_MODULATE.
#include <cstdio>
#include "platform/web/gl_es.h"
#include "platform/web/gl_state.h"

static const char* VERTEX_SHADER = R"(
attribute vec4 aPosition;
attribute vec4 aColor;
attribute vec2 aTexCoord;
attribute vec3 aNormal;
uniform mat4 uModelviewProjection;
varying vec4 vColor;
varying vec2 vTexCoord;
#ifdef LIT
uniform mat4 uModelview;
uniform mat3 uNormalMatrix;
uniform vec4 uSceneAmbient, uLightAmbient, uLightDiffuse, uLightPosition;
uniform vec4 uMaterialAmbient, uMaterialDiffuse;
uniform float uColorMaterial, uLightOn;
#endif
void main() {
    gl_Position = uModelviewProjection * aPosition;
    vTexCoord = aTexCoord;
#ifdef LIT
    vec4 ambient = mix(uMaterialAmbient, aColor, uColorMaterial);
    vec4 diffuse = mix(uMaterialDiffuse, aColor, uColorMaterial);
    vec3 eye = (uModelview * aPosition).xyz;
    vec3 toLight = uLightPosition.w == 0.0 ? uLightPosition.xyz : uLightPosition.xyz - eye;
    float facing = max(dot(uNormalMatrix * aNormal, normalize(toLight)), 0.0);
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
    U_MVP, U_MODELVIEW, U_NORMAL_MATRIX, U_SCENE_AMBIENT, U_LIGHT_AMBIENT, U_LIGHT_DIFFUSE,
    U_LIGHT_POSITION, U_MATERIAL_AMBIENT, U_MATERIAL_DIFFUSE, U_COLOR_MATERIAL, U_LIGHT_ON,
    U_TEXTURE, U_COUNT
};
static const char* const UNIFORM_NAMES[U_COUNT] = {
    "uModelviewProjection", "uModelview", "uNormalMatrix", "uSceneAmbient", "uLightAmbient",
    "uLightDiffuse", "uLightPosition", "uMaterialAmbient", "uMaterialDiffuse", "uColorMaterial",
    "uLightOn", "uTexture"};

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
    for (int u = 0; u < U_COUNT; u++) p->uniforms[u] = Es.GetUniformLocation(p->id, UNIFORM_NAMES[u]);
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

// The inverse transpose of the model-view's upper 3x3 (the cofactors over the determinant),
// which carries normals into eye space.
static void NormalMatrix(const float* m, float* out) {
    float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6], i = m[10];
    float cofactor[9] = {e * i - f * h, f * g - d * i, d * h - e * g,
                         c * h - b * i, a * i - c * g, b * g - a * h,
                         b * f - c * e, c * d - a * f, a * e - b * d};
    float det = a * cofactor[0] + b * cofactor[1] + c * cofactor[2];
    float inverse = det != 0 ? 1 / det : 0;
    // out is column-major: column k holds row k of the cofactor matrix's transpose's
    // transpose, i.e. out(r, k) = cofactor(r, k) / det.
    for (int r = 0; r < 3; r++)
        for (int k = 0; k < 3; k++) out[k * 3 + r] = cofactor[r * 3 + k] * inverse;
}

static void SetLighting(const Program& p) {
    GlLightUniforms l;
    GlLightingFor(&l);
    float normal[9];
    NormalMatrix(GlModelview(), normal);
    Es.UniformMatrix4fv(p.uniforms[U_MODELVIEW], 1, GL_FALSE, GlModelview());
    Es.UniformMatrix3fv(p.uniforms[U_NORMAL_MATRIX], 1, GL_FALSE, normal);
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
    float mvp[16];
    GlMultiply(GlProjection(), GlModelview(), mvp);
    Es.UniformMatrix4fv(p.uniforms[U_MVP], 1, GL_FALSE, mvp);
    if (lit) SetLighting(p);
}
