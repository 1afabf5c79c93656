// A libFuzzer target around one reader of the harness; FUZZ_ENTRY names it and FUZZ_NEEDS_GL
// says whether it uploads textures (then an offscreen window gives it a context).
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_harness.h"
#include "pack/tpack.h"
#include "shell/shell.h"

int32_t TpackSize = 0;  // set per input by the pack target

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!freopen("/dev/null", "w", stdout)) return 1;  // the 3DS reader's progress marks
    if (!FuzzSetUp()) abort();
    if (FUZZ_NEEDS_GL && !CreateDemoWindow("Aurora - Vernalis", 640, 480, 16, false)) abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FUZZ_ENTRY(data, size);
    return 0;
}
