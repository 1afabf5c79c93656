// One input through each reader of outside data, as the demo meets it. The libFuzzer targets
// and the regression test that replays earlier findings share these.
#pragma once
#include <cstddef>
#include <cstdint>

// Before the first input: message boxes answered silently, the audio library started on its
// manual output (no device), a scratch file named. The TGA and pack inputs also need a
// current OpenGL context, made by the caller.
bool FuzzSetUp();
void FuzzTearDown();

// A TGA image read from a stream, as from the pack.
void FuzzTga(const uint8_t* data, size_t size);
// A 3DS file walked by the chunk reader and built into a model.
void FuzzModel3ds(const uint8_t* data, size_t size);
// A whole pack appended to an executable: opened, every entry the demo asks for looked up and
// loaded by its loader (textures and the soundtrack).
void FuzzPack(const uint8_t* data, size_t size);
// A soundtrack entry made into a stream, decoded, played a little and freed.
void FuzzSoundtrack(const uint8_t* data, size_t size);
