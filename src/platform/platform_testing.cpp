// The test seams' state, defined once for every backend (platform_testing.h says what each does).
#include <cstring>
#include "platform/platform_testing.h"

const char* PlatformExePathOverride = nullptr;
int64_t PlatformCounterOverride = -1;
const char* PlatformFailCall = nullptr;
const char* FontFileOverride = nullptr;
char FontFile[512];

bool PlatformShouldFail(const char* call) {
    return PlatformFailCall && strcmp(PlatformFailCall, call) == 0;
}
