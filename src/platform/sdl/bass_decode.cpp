// MP3 decoding on Linux: libmpg123, straight from the caller's memory block, all at once.
#include <mpg123.h>
#include <cstring>
#include "platform/bass_internal.h"

// Decoded data beyond this is refused: positions are 32-bit byte counts.
static const size_t MAX_PCM_BYTES = (size_t)1 << 30;

struct MemorySource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

static mpg123_ssize_t MemoryRead(void* handle, void* buffer, size_t count) {
    MemorySource* src = (MemorySource*)handle;
    size_t left = src->size - src->pos;
    if (count > left) count = left;
    memcpy(buffer, src->data + src->pos, count);
    src->pos += count;
    return (mpg123_ssize_t)count;
}

static off_t MemorySeek(void* handle, off_t offset, int whence) {
    MemorySource* src = (MemorySource*)handle;
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return -1;
    off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? (off_t)src->pos : (off_t)src->size;
    off_t target = base + offset;
    if (target < 0 || target > (off_t)src->size) return -1;
    src->pos = (size_t)target;
    return target;
}

// 16-bit output only, at whatever rate and channel count the stream has.
static bool SetupDecoder(mpg123_handle* mh) {
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    mpg123_format_none(mh);
    const long* rates;
    size_t count;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; i++)
        mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    return mpg123_replace_reader_handle(mh, MemoryRead, MemorySeek, nullptr) == MPG123_OK;
}

// The stream keeps the format of its first frame; a change of rate or channels is refused.
static int DecodeAll(mpg123_handle* mh, BassPcm* out) {
    static const size_t CHUNK = 32768;
    std::vector<int16_t>& pcm = out->samples;
    out->channels = 0;
    for (;;) {
        size_t have = pcm.size();
        if (have * 2 + CHUNK > MAX_PCM_BYTES) return BASS_ERROR_MEM;
        pcm.resize(have + CHUNK / 2);
        size_t done = 0;
        int r = mpg123_read(mh, (unsigned char*)(pcm.data() + have), CHUNK, &done);
        pcm.resize(have + done / 2);
        if (r == MPG123_NEW_FORMAT) {
            long rate;
            int channels, encoding;
            mpg123_getformat(mh, &rate, &channels, &encoding);
            if (out->channels && (rate != out->rate || channels != out->channels))
                return BASS_ERROR_FORMAT;
            out->rate = rate;
            out->channels = channels;
        } else if (r != MPG123_OK) {
            break;  // the end, or damage past which nothing decodes: keep what came before
        }
    }
    if (out->channels == 0 || pcm.size() < (size_t)out->channels) return BASS_ERROR_FORMAT;
    out->frames = (uint32_t)(pcm.size() / out->channels);
    pcm.resize((size_t)out->frames * out->channels);
    pcm.shrink_to_fit();
    return BASS_OK;
}

int BassDecodeMp3(const uint8_t* data, size_t size, BassPcm* out) {
    *out = BassPcm{};
    if (!data || size == 0) return BASS_ERROR_FORMAT;
    mpg123_init();
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    if (!mh) return BASS_ERROR_MEM;
    MemorySource src = {data, size, 0};
    int code = BASS_ERROR_FORMAT;
    if (SetupDecoder(mh) && mpg123_open_handle(mh, &src) == MPG123_OK) {
        code = DecodeAll(mh, out);
        mpg123_close(mh);
    }
    mpg123_delete(mh);
    if (code != BASS_OK) *out = BassPcm{};
    return code;
}
