// Feeding one input to a reader: inputs become a stream in memory or, for the readers that
// open files themselves, a scratch file rewritten per input.
#include "fuzz/fuzz_harness.h"

#include <GL/gl.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "loaders/chunk3ds.h"
#include "loaders/model3ds.h"
#include "loaders/tga.h"
#include "music/music.h"
#include "pack/tpack.h"
#include "platform/platform_testing.h"

static std::string ScratchPath;
static Model FuzzModel;  // 2.4 MB: static like the scenes' models

// Everything the demo looks up in its pack, and one name it never holds.
static const char* const PackNames[] = {
    "blue2.tga",    "blue.tga",    "caratio1.tga", "Zozivuv.mp3",  "Ground1.tga", "hidden.tga",
    "Particle.tga", "env1.tga",    "pictra2.tga",  "credits.tga",  "pictra4.tga", "sky1.tga",
    "metal.tga",    "pictra1.tga", "pictra3.tga",  "BigFlare.tga", "absent.tga"};

static int AnswerBox(HWND, const char*, const char*, UINT) { return IDOK; }

bool FuzzSetUp() {
    SetMessageBoxHook(AnswerBox);
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : P_tmpdir;
    ScratchPath = std::string(dir) + "/vernalis-fuzz-" + std::to_string(getpid());
    BassManualOutput(TRUE);
    return BASS_Init(-1, 44100, 0, nullptr) && BASS_Start();
}

void FuzzTearDown() {
    unlink(ScratchPath.c_str());
    BassClose();
    SetMessageBoxHook(nullptr);
    PlatformExePathOverride = nullptr;
    TpackSize = 0;
}

static bool WriteScratch(const uint8_t* data, size_t size) {
    FILE* file = fopen(ScratchPath.c_str(), "wb");
    if (!file) return false;
    bool written = size == 0 || fwrite(data, 1, size, file) == size;
    return fclose(file) == 0 && written;
}

// Loads and drops: the record's buffer and texture object do not outlive the input.
static void LoadTexture(FILE* stream, int32_t offset) {
    Texture texture = {};
    LoadTgaFromPack(&texture, stream, offset);
    free(texture.pixels);
    if (texture.id) glDeleteTextures(1, &texture.id);
}

// The soundtrack as DemoInit makes it, then played a little as the demo would, and freed.
static void LoadSoundtrack(FILE* stream, int32_t offset, int32_t length) {
    if (MusicFromPack(stream, offset, length)) {
        BASS_StreamPlay(MusicStream, FALSE, BASS_SAMPLE_LOOP);
        BassManualAdvance(88200);
        BASS_ChannelGetPosition(MusicStream);
    }
    AudioShutdown();
    BASS_Start();
}

void FuzzTga(const uint8_t* data, size_t size) {
    FILE* stream = fmemopen((void*)data, size, "rb");
    if (!stream) return;
    LoadTexture(stream, 0);
    fclose(stream);
}

// Each input starts from empty counts so that a finding replays on its own; the arrays keep
// what earlier inputs left, as they keep what earlier files left in the demo.
void FuzzModel3ds(const uint8_t* data, size_t size) {
    ReaderVertexCount = 0;
    ReaderFaceCount = 0;
    ReaderOverflow = 0;
    if (WriteScratch(data, size)) Load3dsFromFile(ScratchPath.c_str(), &FuzzModel);
}

// The input is the pack; a few bytes of program image go in front of it, as in the demo.
void FuzzPack(const uint8_t* data, size_t size) {
    static const uint8_t image[16] = {0x7F, 'E', 'L', 'F'};
    FILE* file = fopen(ScratchPath.c_str(), "wb");
    if (!file) return;
    bool written = fwrite(image, 1, sizeof image, file) == sizeof image &&
                   (size == 0 || fwrite(data, 1, size, file) == size);
    if (fclose(file) != 0 || !written) return;
    PlatformExePathOverride = ScratchPath.c_str();
    TpackSize = (int32_t)size;
    if (TPACK_Open(nullptr, 0)) {
        for (const char* name : PackNames) {
            if (!TPACK_Find(name)) continue;
            if (strstr(name, ".mp3"))
                LoadSoundtrack(PackFile.file, PackFile.entryOffset, PackFile.entrySize);
            else LoadTexture(PackFile.file, PackFile.entryOffset);
        }
    }
    TPACK_Close();
}

void FuzzSoundtrack(const uint8_t* data, size_t size) {
    FILE* stream = fmemopen((void*)data, size, "rb");
    if (!stream) return;
    LoadSoundtrack(stream, 0, (int32_t)size);
    fclose(stream);
}
