// Writing a pack: header, directory and the entries' data, in the layout the reader expects.
// Used by the pack builder and by tests that make their own packs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

struct TpackSource {
    const char* name;  // 1 to 19 characters
    const void* data;
    int32_t size;
    uint8_t compressed;  // stored in the directory only; data is written as given
};

// Total length of the pack these sources make, or -1 if it exceeds 32-bit offsets.
int64_t TpackLength(const TpackSource* sources, int32_t count);

// Checks every name and size, then writes the pack to `out`. On failure nothing useful has
// been written and `error` says why.
bool TpackWrite(FILE* out, const TpackSource* sources, int32_t count, char* error,
                size_t errorSize);
