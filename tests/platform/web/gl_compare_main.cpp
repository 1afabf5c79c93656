// gl_compare_reference MODELS ASSETS DIR: draws every case (the effect routines one by one,
// then a frame of each scene) with Mesa's GL and writes DIR/<case>.
// gl_compare_layer MODELS ASSETS DIR: draws them with our layer over GLES 2, compares each
// frame with DIR/<case>, prints the largest and mean channel difference, fails past the limits.
// Both render offscreen on Mesa's surfaceless EGL, in 8-bit RGBA with a 16-bit depth buffer,
// and run from the build folder, where the demo's Data/ is.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include "gl_compare.h"
#include "platform/sdl/keep_loaded.h"
#include "shell/shell.h"
#ifdef GL_COMPARE_LAYER
#include "platform/web/gl_layer.h"
#endif

static const int WIDTH = 640, HEIGHT = 480;

// What the effect routines and loaders reach of the platform; the glyphs are made up here:
// a stem and a flag that vary with the code, then a step by the advance, as the font's are.
HDC DeviceContext = nullptr;
int MessageBoxA(HWND, const char* text, const char* caption, UINT) {
    fprintf(stderr, "%s: %s\n", caption, text);
    return IDOK;
}
FILE* PlatformOpenFile(const char* path, const char* mode) {
    std::string name = path;
    for (char& c : name) c = c == '\\' ? '/' : c;  // "Data\\Tubo.3ds", as the demo names them
    return fopen(name.c_str(), mode);
}
HFONT CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                  const char*) {
    static int font;
    return (HFONT)&font;
}
HGDIOBJ SelectObject(HDC, HGDIOBJ) { return nullptr; }
const char* PlatformFontFailure() { return ""; }
BOOL wglUseFontOutlinesA(HDC, DWORD first, DWORD count, DWORD listBase, float, float, int,
                         GLYPHMETRICSFLOAT* metrics) {
    for (DWORD code = first; code < first + count; code++) {
        float advance = code < 32 ? 0 : 0.3f + 0.02f * (float)(code % 9);
        float w = 0.05f * (float)(code % 7), h = 0.05f * (float)(code % 5);
        glNewList(listBase + code - first, GL_COMPILE);
        if (code > 32 && code < 127) {
            glNormal3f(0, 0, 1);
            glBegin(GL_TRIANGLES);
            const float corners[][2] = {{0.05f, 0},    {0.15f, 0},     {0.15f, 0.7f},
                                        {0.05f, 0},    {0.15f, 0.7f},  {0.05f, 0.7f},
                                        {0.15f, 0.7f}, {0.15f, 0.35f}, {0.2f + w, 0.5f + h}};
            for (const auto& c : corners) glVertex2f(c[0], c[1]);
            glEnd();
        }
        if (advance != 0) glTranslatef(advance, 0, 0);
        glEndList();
        metrics[code - first] = {};
        metrics[code - first].gmfCellIncX = advance;
    }
    return TRUE;
}

static EGLDisplay Display = EGL_NO_DISPLAY;

static bool StartContext() {
    auto getDisplay =
        (PFNEGLGETPLATFORMDISPLAYEXTPROC)eglGetProcAddress("eglGetPlatformDisplayEXT");
    if (getDisplay)
        Display = getDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLDisplay display = Display;
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return false;
#ifdef GL_COMPARE_LAYER
    EGLint api = EGL_OPENGL_ES2_BIT;
    eglBindAPI(EGL_OPENGL_ES_API);
    const EGLint contextAttributes[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
#else
    EGLint api = EGL_OPENGL_BIT;
    eglBindAPI(EGL_OPENGL_API);
    const EGLint contextAttributes[] = {EGL_NONE};
#endif
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE,
                                       api,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_ALPHA_SIZE,
                                       8,
                                       EGL_DEPTH_SIZE,
                                       16,
                                       EGL_NONE};
    EGLConfig config;
    EGLint found = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &found) || found < 1) return false;
    const EGLint surfaceAttributes[] = {EGL_WIDTH, WIDTH, EGL_HEIGHT, HEIGHT, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (!surface || !context || !eglMakeCurrent(display, surface, surface, context)) return false;
    KeepLibrariesLoaded();
#ifdef GL_COMPARE_LAYER
    return GlLayerInit([](const char* name) { return (void*)eglGetProcAddress(name); });
#else
    return true;
#endif
}

// The context and Mesa's rendering threads end before the leak checker looks at the heap.
static void StopContext() {
    eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglTerminate(Display);
    eglReleaseThread();
}

static std::vector<unsigned char> Draw(const GlCase& c, Probes* probes) {
    ResetDemoState();
    c.draw(probes);
    std::vector<unsigned char> frame(WIDTH * HEIGHT * 4);
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
    probes->push_back((int)glGetError());
    return frame;
}

#ifndef GL_COMPARE_LAYER
static bool Write(const std::string& path, const std::vector<unsigned char>& frame,
                  const Probes& probes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(frame.data(), 1, frame.size(), f) == frame.size();
    for (int p : probes) ok = ok && fwrite(&p, sizeof p, 1, f) == 1;
    return fclose(f) == 0 && ok;
}

#else
static bool Read(const std::string& path, std::vector<unsigned char>* frame, Probes* probes) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    frame->resize(WIDTH * HEIGHT * 4);
    bool ok = fread(frame->data(), 1, frame->size(), f) == frame->size();
    for (int p; fread(&p, sizeof p, 1, f) == 1;) probes->push_back(p);
    fclose(f);
    return ok;
}

// Limits: float rounding in the shaders and in the combined matrix may move an edge by a
// pixel or change a channel by a step or two; a real fault changes far more.
static const double MEAN_LIMIT = 0.25;      // mean difference per channel, 0..255
static const double OUTLIER_LIMIT = 0.002;  // share of channels more than 16 apart

static bool Compare(const GlCase& c, const std::vector<unsigned char>& mine, const Probes& myProbes,
                    const std::string& referencePath) {
    std::vector<unsigned char> theirs;
    Probes theirProbes;
    if (!Read(referencePath, &theirs, &theirProbes)) {
        printf("%-10s no reference frame at %s\n", c.name, referencePath.c_str());
        return false;
    }
    long total = 0, outliers = 0, channels = 0;
    int largest = 0;
    for (size_t i = 0; i < mine.size(); i++) {
        if (i % 4 == 3) continue;  // alpha: the reference's blending writes it differently
        int d = abs(mine[i] - theirs[i]);
        total += d, channels++, outliers += d > 16;
        if (d > largest) largest = d;
    }
    double mean = (double)total / channels, outlierShare = (double)outliers / channels;
    bool ok = (mean <= MEAN_LIMIT && outlierShare <= OUTLIER_LIMIT) || !c.judged;
    ok = ok && myProbes == theirProbes;
    printf("%-10s max %3d  mean %.4f  over 16: %.4f%%  queries %s  %s\n", c.name, largest, mean,
           100 * outlierShare, myProbes == theirProbes ? "equal" : "DIFFER",
           !ok ? "FAILED"
           : c.judged ? "ok"
                      : "(known difference)");
    return ok;
}

#endif

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: %s MODEL_DIR ASSET_DIR FRAME_DIR\n", argv[0]);
        return 2;
    }
    if (!StartContext()) {
        fprintf(stderr, "no offscreen OpenGL context\n");
        return 1;
    }
    if (!LoadDemo() || !LoadCaseMedia(argv[1], argv[2])) {
        fprintf(stderr, "the pack, models or textures do not load\n");
        return 1;
    }
    bool ok = true;
    for (const auto& cases :
         {std::make_pair(GL_CASES, GL_CASE_COUNT), std::make_pair(SCENE_CASES, SCENE_CASE_COUNT)})
        for (int i = 0; i < cases.second; i++) {
            const GlCase& c = cases.first[i];
            Probes probes;
            std::vector<unsigned char> frame = Draw(c, &probes);
            std::string path = std::string(argv[3]) + "/" + c.name;
#ifdef GL_COMPARE_LAYER
            ok = Compare(c, frame, probes, path) && ok;
#else
            ok = Write(path, frame, probes) && ok;
#endif
        }
    StopContext();
    return ok ? 0 : 1;
}
