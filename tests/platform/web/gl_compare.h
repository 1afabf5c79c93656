// The GL comparison: one program draws the cases through Mesa's fixed-function GL and writes
// the frames, the other draws them through our layer over GLES 2 and compares.
#pragma once
#include <vector>

typedef std::vector<int> Probes;  // query results a case reports, compared exactly
struct GlCase {
    const char* name;
    void (*draw)(Probes* probes);
};
extern const GlCase GL_CASES[];
extern const int GL_CASE_COUNT;

bool LoadCaseMedia(const char* modelDir, const char* assetDir);
void ResetDemoState();
