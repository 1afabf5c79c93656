// The GL comparison: one program draws the cases through Mesa's fixed-function GL and writes
// the frames, the other draws them through our layer over GLES 2 and compares.
#pragma once
#include <vector>

typedef std::vector<int> Probes;  // query results a case reports, compared exactly
struct GlCase {
    const char* name;
    void (*draw)(Probes* probes);
    bool judged;  // false: a known difference, measured and printed only
};
extern const GlCase GL_CASES[];  // the effect routines, one by one
extern const int GL_CASE_COUNT;
extern const GlCase SCENE_CASES[];  // a frame of each scene
extern const int SCENE_CASE_COUNT;

// The demo's start-up (pack, font, every scene's models and textures), then the cases' own.
bool LoadDemo();

bool LoadCaseMedia(const char* modelDir, const char* assetDir);
void ResetDemoState();
