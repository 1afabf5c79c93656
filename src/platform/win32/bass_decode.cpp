// MP3 decoding on Windows: the system's Layer III codec through the Audio Compression
// Manager, fed the whole frames that bass_mp3.cpp finds, then trimmed to the gapless stream.
#include "platform/bass_internal.h"  // windows.h first: the codec headers build on it
#include <mmreg.h>
#include <msacm.h>
#include <cstring>
#include "platform/bass_mp3.h"

// Decoded data beyond this is refused: positions are 32-bit byte counts.
static const size_t MAX_PCM_BYTES = (size_t)1 << 30;
static const DWORD CHUNK_BYTES = 32768;

static bool OpenCodec(const Mp3Frame& f, HACMSTREAM* stream) {
    MPEGLAYER3WAVEFORMAT mp3 = {};
    mp3.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    mp3.wfx.nChannels = (WORD)f.channels;
    mp3.wfx.nSamplesPerSec = (DWORD)f.rate;
    mp3.wfx.nAvgBytesPerSec = (DWORD)f.kbps * 125;
    mp3.wfx.nBlockAlign = 1;
    mp3.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    mp3.wID = MPEGLAYER3_ID_MPEG;
    mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
    mp3.nBlockSize = (WORD)f.length;
    mp3.nFramesPerBlock = 1;
    WAVEFORMATEX pcm = {};
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.nChannels = (WORD)f.channels;
    pcm.nSamplesPerSec = (DWORD)f.rate;
    pcm.wBitsPerSample = 16;
    pcm.nBlockAlign = (WORD)(2 * f.channels);
    pcm.nAvgBytesPerSec = pcm.nSamplesPerSec * pcm.nBlockAlign;
    return acmStreamOpen(stream, nullptr, (WAVEFORMATEX*)&mp3, &pcm, nullptr, 0, 0, 0) == 0;
}

// One conversion call: `used` source bytes taken, the output appended. False on refusal.
static bool Convert(HACMSTREAM stream, const uint8_t* src, DWORD length, DWORD flags,
                    std::vector<uint8_t>* out, DWORD* used) {
    DWORD room = 0;
    if (acmStreamSize(stream, length ? length : 1, &room, ACM_STREAMSIZEF_SOURCE) != 0)
        return false;
    room += 65536;  // the codec may release what it held back from earlier calls
    std::vector<uint8_t> source(src, src + length);
    std::vector<uint8_t> pcm(room);
    ACMSTREAMHEADER header = {};
    header.cbStruct = sizeof header;
    header.pbSrc = source.empty() ? pcm.data() : source.data();
    header.cbSrcLength = length;
    header.pbDst = pcm.data();
    header.cbDstLength = room;
    if (acmStreamPrepareHeader(stream, &header, 0) != 0) return false;
    bool ok = acmStreamConvert(stream, &header, flags) == 0;
    acmStreamUnprepareHeader(stream, &header, 0);
    if (!ok) return false;
    *used = header.cbSrcLengthUsed;
    out->insert(out->end(), pcm.begin(), pcm.begin() + header.cbDstLengthUsed);
    return out->size() <= MAX_PCM_BYTES;
}

static int DecodeFrames(HACMSTREAM stream, const uint8_t* data, const Mp3Layout& layout,
                        std::vector<uint8_t>* pcm) {
    size_t at = layout.audioStart;
    DWORD flags = ACM_STREAMCONVERTF_START | ACM_STREAMCONVERTF_BLOCKALIGN;
    while (at < layout.audioEnd) {
        size_t left = layout.audioEnd - at;
        DWORD length = left < CHUNK_BYTES ? (DWORD)left : CHUNK_BYTES;
        DWORD used = 0;
        if (!Convert(stream, data + at, length, flags, pcm, &used))
            return pcm->size() > MAX_PCM_BYTES ? BASS_ERROR_MEM : BASS_ERROR_FORMAT;
        if (used == 0) break;  // the codec takes no more: what came before is kept
        at += used;
        flags &= ~ACM_STREAMCONVERTF_START;
    }
    DWORD used = 0;
    Convert(stream, data + at, 0, ACM_STREAMCONVERTF_END, pcm, &used);
    return pcm->size() > MAX_PCM_BYTES ? BASS_ERROR_MEM : BASS_OK;
}

int BassDecodeMp3(const uint8_t* data, size_t size, BassPcm* out) {
    *out = BassPcm{};
    Mp3Layout layout;
    if (!data || size == 0 || Mp3Scan(data, size, &layout) != BASS_OK) return BASS_ERROR_FORMAT;
    HACMSTREAM stream = nullptr;
    if (!OpenCodec(layout.first, &stream)) return BASS_ERROR_FORMAT;
    std::vector<uint8_t> pcm;
    int code = DecodeFrames(stream, data, layout, &pcm);
    acmStreamClose(stream, 0);
    size_t frameBytes = 2 * (size_t)layout.first.channels;
    uint64_t decoded = pcm.size() / frameBytes;
    uint64_t skip, keep;
    Mp3Trim(layout, decoded, &skip, &keep);
    if (code == BASS_OK && keep == 0) code = BASS_ERROR_FORMAT;
    if (code != BASS_OK) return code;
    out->channels = layout.first.channels;
    out->rate = layout.first.rate;
    out->frames = (uint32_t)keep;
    out->samples.resize((size_t)keep * out->channels);
    memcpy(out->samples.data(), pcm.data() + skip * frameBytes, (size_t)keep * frameBytes);
    return BASS_OK;
}

// The system's codec is fast enough to decode the whole stream at once: no decoder is handed
// back, so no thread decodes the rest.
int BassDecodeBegin(const uint8_t* data, size_t size, BassDecoder** decoder, BassPcm* first) {
    *decoder = nullptr;
    return BassDecodeMp3(data, size, first);
}

int BassDecodeMore(BassDecoder*, std::vector<int16_t>*) { return BASS_ERROR_UNKNOWN; }

int BassDecodeInto(BassDecoder*, int16_t*, size_t, size_t* got) {
    *got = 0;
    return BASS_ERROR_UNKNOWN;
}

uint64_t BassDecodeLength(BassDecoder*) { return 0; }

void BassDecodeEnd(BassDecoder*) {}
