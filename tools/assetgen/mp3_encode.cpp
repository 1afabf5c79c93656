#include <lame/lame.h>

#include <algorithm>
#include <cstring>

#include "assetgen/soundtrack.h"
#include "assetgen/synth.h"

static bool ConfigureLame(lame_global_flags* gf) {
    lame_set_in_samplerate(gf, SYNTH_RATE);
    lame_set_out_samplerate(gf, SYNTH_RATE);
    lame_set_num_channels(gf, 1);
    lame_set_mode(gf, MONO);
    lame_set_VBR(gf, vbr_off);
    lame_set_brate(gf, 128);
    lame_set_quality(gf, 5);
    lame_set_bWriteVbrTag(gf, 1);
    lame_set_write_id3tag_automatic(gf, 0);
    return lame_init_params(gf) >= 0;
}

// The first frame written is a placeholder of the Info tag's size; once the stream
// is complete LAME can fill it in (sample count, delay, padding, CRCs).
static bool PutInfoTag(lame_global_flags* gf, std::vector<uint8_t>& mp3) {
    unsigned char frame[2880];
    size_t size = lame_get_lametag_frame(gf, frame, sizeof(frame));
    if (size == 0 || size > sizeof(frame) || size > mp3.size()) return false;
    std::memcpy(mp3.data(), frame, size);
    return true;
}

bool EncodeMp3(const std::vector<int16_t>& pcm, std::vector<uint8_t>& mp3) {
    mp3.clear();
    lame_global_flags* gf = lame_init();
    if (!gf) return false;
    bool ok = ConfigureLame(gf);
    const int chunk = 1152 * 64;
    std::vector<unsigned char> out(chunk * 5 / 4 + 7200);
    for (size_t at = 0; ok && at < pcm.size(); at += chunk) {
        int n = (int)std::min<size_t>(chunk, pcm.size() - at);
        // Mono: LAME reads only the left buffer.
        int got = lame_encode_buffer(gf, &pcm[at], &pcm[at], n, out.data(), (int)out.size());
        ok = got >= 0;
        if (ok) mp3.insert(mp3.end(), out.begin(), out.begin() + got);
    }
    if (ok) {
        int got = lame_encode_flush(gf, out.data(), (int)out.size());
        ok = got >= 0;
        if (ok) mp3.insert(mp3.end(), out.begin(), out.begin() + got);
    }
    ok = ok && PutInfoTag(gf, mp3);
    lame_close(gf);
    if (!ok) mp3.clear();
    return ok;
}

bool GenerateSoundtrack(std::vector<uint8_t>& mp3) {
    std::vector<int16_t> pcm;
    RenderSoundtrack(pcm);
    return EncodeMp3(pcm, mp3);
}
