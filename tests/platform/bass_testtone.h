// Small MP3s for the audio tests, encoded with LAME in memory. The LAME tag goes into the
// first frame as a file encoder would write it, so a decoder can trim delay and padding.
#pragma once
#include <lame/lame.h>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

// `count` samples: `silence` samples of nothing, then a sine of `hz` at `amplitude`.
inline std::vector<int16_t> AudioTestTone(int count, int rate, int silence = 0, double hz = 440.0,
                                          double amplitude = 12000.0) {
    std::vector<int16_t> pcm(count, 0);
    for (int i = silence; i < count; i++)
        pcm[i] = (int16_t)(amplitude * sin(2.0 * M_PI * hz * (i - silence) / rate));
    return pcm;
}

// Both channels carry the same samples when `channels` is 2.
inline std::vector<uint8_t> AudioTestEncode(const std::vector<int16_t>& pcm, int rate,
                                            int channels = 1, int kbps = 128) {
    lame_t lame = lame_init();
    lame_set_num_channels(lame, channels);
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_brate(lame, kbps);
    lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
    lame_set_bWriteVbrTag(lame, 1);
    lame_init_params(lame);
    std::vector<uint8_t> out(pcm.size() * 5 / 4 + 16384);
    int n = lame_encode_buffer(lame, pcm.data(), pcm.data(), (int)pcm.size(), out.data(),
                               (int)out.size());
    int m = n < 0 ? -1 : lame_encode_flush(lame, out.data() + n, (int)out.size() - n);
    out.resize(n < 0 || m < 0 ? 0 : n + m);
    unsigned char tag[4096];
    size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
    if (tagSize <= sizeof tag && tagSize <= out.size()) memcpy(out.data(), tag, tagSize);
    lame_close(lame);
    return out;
}

// A mono 44.1 kHz tone of `seconds`, the soundtrack's format.
inline std::vector<uint8_t> TestMp3(double seconds) {
    return AudioTestEncode(AudioTestTone((int)(seconds * 44100), 44100), 44100);
}
