// pcm_dump IN.mp3 OUT.raw: this build's decode of IN as 16-bit little-endian samples.
#include <cstdio>
#include <vector>
#include "platform/bass_internal.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: pcm_dump IN.mp3 OUT.raw\n");
        return 2;
    }
    FILE* in = fopen(argv[1], "rb");
    if (!in) return 1;
    std::vector<uint8_t> mp3;
    uint8_t chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, in)) > 0) mp3.insert(mp3.end(), chunk, chunk + got);
    fclose(in);
    BassPcm pcm;
    int code = BassDecodeMp3(mp3.data(), mp3.size(), &pcm);
    if (code != BASS_OK) {
        fprintf(stderr, "pcm_dump: decode failed with %d\n", code);
        return 1;
    }
    FILE* out = fopen(argv[2], "wb");
    if (!out || fwrite(pcm.samples.data(), 2, pcm.samples.size(), out) != pcm.samples.size())
        return 1;
    fclose(out);
    printf("%u frames, %d channels, %ld Hz\n", pcm.frames, pcm.channels, pcm.rate);
    return 0;
}
