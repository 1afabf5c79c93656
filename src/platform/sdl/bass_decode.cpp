// MP3 decoding on Linux: libmpg123 from a memory block, all at once or chunk by chunk, so
// that a stream can play while the rest is decoded.
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

struct BassDecoder {
    std::vector<uint8_t> mp3;  // our own copy: the caller's block may go once Begin returns
    MemorySource src;
    mpg123_handle* mh;
    long rate;
    int channels;
    size_t decodedBytes;
    int ended;  // the code the first chunks ended with, handed out by the next BassDecodeMore
};

static const size_t CHUNK = 32768;

// Decodes up to `room` bytes into `out` (*done: how many). The stream keeps the format of its
// first frame; a change of rate or channels is refused. BASS_OK while more may follow;
// BASS_ERROR_UNKNOWN at the end, or at damage past which nothing decodes.
static int DecodeBytes(BassDecoder* d, unsigned char* out, size_t room, size_t* done) {
    *done = 0;
    if (d->decodedBytes + room > MAX_PCM_BYTES) return BASS_ERROR_MEM;
    int r = mpg123_read(d->mh, out, room, done);
    d->decodedBytes += *done;
    if (r == MPG123_NEW_FORMAT) {
        long rate;
        int channels, encoding;
        mpg123_getformat(d->mh, &rate, &channels, &encoding);
        if (d->channels && (rate != d->rate || channels != d->channels)) return BASS_ERROR_FORMAT;
        d->rate = rate;
        d->channels = channels;
        return BASS_OK;
    }
    return r == MPG123_OK ? BASS_OK : BASS_ERROR_UNKNOWN;
}

// One chunk of samples appended to `pcm`.
static int DecodeChunk(BassDecoder* d, std::vector<int16_t>* pcm) {
    size_t have = pcm->size(), done = 0;
    pcm->resize(have + CHUNK / 2);
    int code = DecodeBytes(d, (unsigned char*)(pcm->data() + have), CHUNK, &done);
    pcm->resize(have + done / 2);
    return code;
}

void BassDecodeEnd(BassDecoder* d) {
    if (!d) return;
    if (d->mh) {
        mpg123_close(d->mh);
        mpg123_delete(d->mh);
    }
    delete d;
}

int BassDecodeBegin(const uint8_t* data, size_t size, BassDecoder** decoder, BassPcm* first) {
    *decoder = nullptr;
    *first = BassPcm{};
    if (!data || size == 0) return BASS_ERROR_FORMAT;
    mpg123_init();
    BassDecoder* d = new (std::nothrow) BassDecoder{};
    if (!d) return BASS_ERROR_MEM;
    d->mp3.assign(data, data + size);
    d->src = MemorySource{d->mp3.data(), size, 0};
    d->mh = mpg123_new(nullptr, nullptr);
    if (!d->mh) {
        BassDecodeEnd(d);
        return BASS_ERROR_MEM;
    }
    if (!SetupDecoder(d->mh) || mpg123_open_handle(d->mh, &d->src) != MPG123_OK) {
        mpg123_delete(d->mh);
        d->mh = nullptr;
        BassDecodeEnd(d);
        return BASS_ERROR_FORMAT;
    }
    int code = BASS_OK;
    while (code == BASS_OK && (d->channels == 0 || first->samples.size() < (size_t)d->channels))
        code = DecodeChunk(d, &first->samples);
    if (d->channels == 0 || first->samples.size() < (size_t)d->channels) {
        BassDecodeEnd(d);
        *first = BassPcm{};
        return code == BASS_ERROR_MEM ? code : BASS_ERROR_FORMAT;
    }
    first->channels = d->channels;
    first->rate = d->rate;
    d->ended = code;
    *decoder = d;
    return BASS_OK;
}

int BassDecodeMore(BassDecoder* d, std::vector<int16_t>* pcm) {
    return d->ended != BASS_OK ? d->ended : DecodeChunk(d, pcm);
}

int BassDecodeInto(BassDecoder* d, int16_t* out, size_t room, size_t* got) {
    *got = 0;
    if (d->ended != BASS_OK) return d->ended;
    size_t done = 0;
    int code =
        DecodeBytes(d, (unsigned char*)out, (room < CHUNK / 2 ? room : CHUNK / 2) * 2, &done);
    *got = done / 2;
    return code;
}

// A scan of every frame header (no decoding, on a handle of its own so that the decode is
// untouched) gives the exact length, with the LAME tag's delay and padding taken off as the
// decode takes them off. 0 where it cannot be known.
uint64_t BassDecodeLength(BassDecoder* d) {
    MemorySource src = {d->mp3.data(), d->mp3.size(), 0};
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    off_t length = 0;
    if (mh && SetupDecoder(mh) && mpg123_open_handle(mh, &src) == MPG123_OK &&
        mpg123_scan(mh) == MPG123_OK)
        length = mpg123_length(mh);
    if (mh) {
        mpg123_close(mh);
        mpg123_delete(mh);
    }
    return length > 0 ? (uint64_t)length : 0;
}

int BassDecodeMp3(const uint8_t* data, size_t size, BassPcm* out) {
    BassDecoder* d = nullptr;
    int code = BassDecodeBegin(data, size, &d, out);
    if (code != BASS_OK) return code;
    int more;
    while ((more = BassDecodeMore(d, &out->samples)) == BASS_OK) {
    }
    BassDecodeEnd(d);
    if (more == BASS_ERROR_FORMAT || more == BASS_ERROR_MEM) {
        *out = BassPcm{};
        return more;
    }
    BassPcmSettle(out);
    out->samples.shrink_to_fit();
    return BASS_OK;
}
