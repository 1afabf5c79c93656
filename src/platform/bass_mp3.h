// MPEG audio Layer III framing, read without decoding: the frame headers, the Xing/Info
// frame and its LAME extension (encoder delay and padding). The Windows decoder feeds the
// system's codec whole frames with it and trims the decoded samples the way libmpg123's
// gapless mode does on Linux, so both builds decode to the same length and alignment.
#pragma once
#include <cstddef>
#include <cstdint>

struct Mp3Frame {
    int version;  // 1 (MPEG-1), 2 (MPEG-2) or 25 (MPEG-2.5)
    int kbps;     // 0: free format, which is not supported
    long rate;
    int channels;
    int samples;      // per channel: 1152 (MPEG-1) or 576
    size_t length;    // bytes, header included
    size_t sideInfo;  // bytes between the header (and its CRC) and the main data
};

// The header at p, Layer III only; false for anything else or a frame longer than `left`.
bool Mp3ParseHeader(const uint8_t* p, size_t left, Mp3Frame* frame);

struct Mp3Layout {
    Mp3Frame first;       // format of the stream, from its first audio frame
    size_t audioStart;    // offset of the first audio frame (after ID3v2 and the Info frame)
    size_t audioEnd;      // end of the last whole frame of the unbroken run from audioStart
    uint32_t frames;      // audio frames in that run
    bool hasInfo;         // a Xing/Info frame leads the stream
    uint32_t infoFrames;  // its frame count (0 when it gives none)
    bool hasLame;         // it carries a LAME extension with delay and padding
    int encoderDelay;     // samples, from the LAME extension
    int padding;          // samples, from the LAME extension
};

// BASS_OK, or BASS_ERROR_FORMAT when no run of Layer III frames is found or its sample rate
// or channel count changes.
int Mp3Scan(const uint8_t* data, size_t size, Mp3Layout* layout);

// The decoder's own delay, in samples, that a gapless trim removes along with the encoder's.
enum { MP3_DECODER_DELAY = 529 };

// Of `decoded` samples (per channel) that the audio frames decoded to, the gapless stream is
// the `keep` samples after the first `skip`. Without a LAME extension nothing is trimmed.
void Mp3Trim(const Mp3Layout& layout, uint64_t decoded, uint64_t* skip, uint64_t* keep);
