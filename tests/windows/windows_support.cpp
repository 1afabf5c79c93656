// The programs get the pack length from the build; each test that opens a pack sets its own.
#include "pack/tpack.h"

int32_t TpackSize = 0;
