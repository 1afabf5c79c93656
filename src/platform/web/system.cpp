// The web backend's process calls. The clocks and the file calls are the Linux ones (Emscripten
// reads CLOCK_MONOTONIC from performance.now()); the program file is named through the
// executable-path seam, so the pack reader finds the pack at the end of vernalis.wasm.
#include "platform/web/web.h"

// Before main: the seam is left to tests everywhere else.
__attribute__((constructor)) static void NameProgramFile() {
    if (!PlatformExePathOverride) PlatformExePathOverride = WEB_PROGRAM_PATH;
}
