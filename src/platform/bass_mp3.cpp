// Layer III framing and the Xing/Info/LAME tag. Every read is bounded by the caller's size.
#include "platform/bass_mp3.h"
#include <cstring>
#include "platform/bass_internal.h"

static const int KBPS_V1[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                112, 128, 160, 192, 224, 256, 320, -1};
static const int KBPS_V2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1};
static const long RATES_V1[3] = {44100, 48000, 32000};

bool Mp3ParseHeader(const uint8_t* p, size_t left, Mp3Frame* f) {
    if (left < 4 || p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
    int versionBits = (p[1] >> 3) & 3, layerBits = (p[1] >> 1) & 3;
    int kbpsIndex = p[2] >> 4, rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits != 1 || rateIndex == 3) return false;
    f->version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    f->kbps = (f->version == 1 ? KBPS_V1 : KBPS_V2)[kbpsIndex];
    if (f->kbps <= 0) return false;
    f->rate = RATES_V1[rateIndex] / (f->version == 1 ? 1 : f->version == 2 ? 2 : 4);
    f->channels = (p[3] >> 6) == 3 ? 1 : 2;
    f->samples = f->version == 1 ? 1152 : 576;
    int padding = (p[2] >> 1) & 1;
    f->length = (size_t)((f->version == 1 ? 144000 : 72000) * f->kbps / f->rate + padding);
    bool crc = (p[1] & 1) == 0;
    if (f->version == 1) f->sideInfo = f->channels == 1 ? 17 : 32;
    else f->sideInfo = f->channels == 1 ? 9 : 17;
    f->sideInfo += crc ? 2 : 0;
    return f->length >= 4 + f->sideInfo && f->length <= left;
}

static uint32_t Be32(const uint8_t* p) {
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

// An ID3v2 tag: 10-byte header, syncsafe size, optional 10-byte footer.
static size_t SkipId3v2(const uint8_t* data, size_t size) {
    if (size < 10 || memcmp(data, "ID3", 3) != 0) return 0;
    size_t length = (size_t)(data[6] & 0x7F) << 21 | (size_t)(data[7] & 0x7F) << 14 |
                    (size_t)(data[8] & 0x7F) << 7 | (data[9] & 0x7F);
    length += 10 + ((data[5] & 0x10) ? 10 : 0);
    return length < size ? length : size;
}

// A frame counts as the start when the next frame follows it (or it ends the data).
static bool FrameStartsAt(const uint8_t* data, size_t size, size_t at, Mp3Frame* f) {
    if (!Mp3ParseHeader(data + at, size - at, f)) return false;
    size_t next = at + f->length;
    Mp3Frame second;
    return next == size || Mp3ParseHeader(data + next, size - next, &second);
}

// The Xing/Info frame: its tag sits where the main data would start.
static void ReadInfo(const uint8_t* frame, const Mp3Frame& f, Mp3Layout* layout) {
    const uint8_t* tag = frame + 4 + f.sideInfo;
    const uint8_t* end = frame + f.length;
    if (end - tag < 8 || (memcmp(tag, "Xing", 4) != 0 && memcmp(tag, "Info", 4) != 0)) return;
    layout->hasInfo = true;
    uint32_t flags = Be32(tag + 4);
    const uint8_t* p = tag + 8;
    if (flags & 1) {
        if (end - p < 4) return;
        layout->infoFrames = Be32(p);
        p += 4;
    }
    p += ((flags & 2) ? 4 : 0) + ((flags & 4) ? 100 : 0) + ((flags & 8) ? 4 : 0);
    if (end - p < 24 || (memcmp(p, "LAME", 4) != 0 && memcmp(p, "Lav", 3) != 0)) return;
    layout->hasLame = true;
    layout->encoderDelay = p[21] << 4 | p[22] >> 4;
    layout->padding = (p[22] & 0x0F) << 8 | p[23];
}

int Mp3Scan(const uint8_t* data, size_t size, Mp3Layout* layout) {
    *layout = Mp3Layout{};
    if (!data) return BASS_ERROR_FORMAT;
    size_t at = SkipId3v2(data, size);
    Mp3Frame f;
    while (at < size && !FrameStartsAt(data, size, at, &f)) at++;
    if (at >= size) return BASS_ERROR_FORMAT;
    ReadInfo(data + at, f, layout);
    if (layout->hasInfo) at += f.length;
    layout->audioStart = at;
    while (at < size && Mp3ParseHeader(data + at, size - at, &f)) {
        if (layout->frames == 0) layout->first = f;
        else if (f.rate != layout->first.rate || f.channels != layout->first.channels)
            return BASS_ERROR_FORMAT;
        layout->frames++;
        at += f.length;
    }
    layout->audioEnd = at;
    return layout->frames ? BASS_OK : BASS_ERROR_FORMAT;
}

// As libmpg123 does it: the stream begins after encoder and decoder delay and ends
// `padding` samples before the end of the tag's frames, shifted by the decoder delay.
void Mp3Trim(const Mp3Layout& layout, uint64_t decoded, uint64_t* skip, uint64_t* keep) {
    *skip = 0;
    *keep = decoded;
    if (!layout.hasLame) return;
    uint64_t frames = layout.infoFrames ? layout.infoFrames : layout.frames;
    uint64_t begin = (uint64_t)layout.encoderDelay + MP3_DECODER_DELAY;
    uint64_t total = frames * (uint64_t)layout.first.samples;
    uint64_t end = total + MP3_DECODER_DELAY;
    end = (uint64_t)layout.padding < end ? end - layout.padding : 0;
    if (end > decoded) end = decoded;
    *skip = begin < end ? begin : end;
    *keep = end - *skip;
}
