// Layer III framing and the Xing/Info/LAME tag, on hand-made frames: what the Windows decoder
// feeds its codec and how much of the decode it keeps.
#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "platform/bass_internal.h"
#include "platform/bass_mp3.h"

namespace {

typedef std::vector<uint8_t> Bytes;

// MPEG-1 Layer III, 128 kbit/s, no CRC, 417 bytes (418 padded): mono or joint stereo.
Bytes Frame(long rate = 44100, bool mono = true, bool padded = false) {
    int rateIndex = rate == 48000 ? 1 : rate == 32000 ? 2 : 0;
    size_t length = (size_t)(144000 * 128 / rate + (padded ? 1 : 0));
    Bytes f(length, 0);
    f[0] = 0xFF;
    f[1] = 0xFB;
    f[2] = (uint8_t)(0x90 | rateIndex << 2 | (padded ? 2 : 0));
    f[3] = mono ? 0xC4 : 0x44;
    return f;
}

void PutBe32(uint8_t* p, uint32_t v) {
    p[0] = (uint8_t)(v >> 24), p[1] = (uint8_t)(v >> 16), p[2] = (uint8_t)(v >> 8),
    p[3] = (uint8_t)v;
}

// An Info frame with a frame count and, when delay >= 0, a LAME extension.
Bytes InfoFrame(uint32_t frames, int delay, int padding) {
    Bytes f = Frame();
    uint8_t* tag = f.data() + 4 + 17;
    memcpy(tag, "Info", 4);
    PutBe32(tag + 4, 0x1 | 0x8);  // frames and quality
    PutBe32(tag + 8, frames);
    uint8_t* lame = tag + 16;
    if (delay >= 0) {
        memcpy(lame, "LAME3.100", 9);
        lame[21] = (uint8_t)(delay >> 4);
        lame[22] = (uint8_t)((delay & 0xF) << 4 | padding >> 8);
        lame[23] = (uint8_t)padding;
    }
    return f;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

Bytes Frames(int count) {
    Bytes all;
    for (int i = 0; i < count; i++) {
        Bytes f = Frame(44100, true, i % 3 == 1);
        all.insert(all.end(), f.begin(), f.end());
    }
    return all;
}

}  // namespace

TEST(Mp3Frames, HeadersGiveFormatAndLength) {
    Mp3Frame f;
    Bytes mono = Frame(44100, true, true);
    ASSERT_TRUE(Mp3ParseHeader(mono.data(), mono.size(), &f));
    EXPECT_EQ(f.version, 1);
    EXPECT_EQ(f.kbps, 128);
    EXPECT_EQ(f.rate, 44100);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(f.samples, 1152);
    EXPECT_EQ(f.length, 418u);
    EXPECT_EQ(f.sideInfo, 17u);
    Bytes stereo = Frame(48000, false);
    ASSERT_TRUE(Mp3ParseHeader(stereo.data(), stereo.size(), &f));
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.length, 384u);
    EXPECT_EQ(f.sideInfo, 32u);
    // A frame longer than the bytes left, another layer, a bad bitrate or rate: no frame.
    EXPECT_FALSE(Mp3ParseHeader(mono.data(), 417, &f));
    Bytes bad = mono;
    bad[1] = 0xFD;  // Layer II
    EXPECT_FALSE(Mp3ParseHeader(bad.data(), bad.size(), &f));
    bad = mono;
    bad[2] = 0xF0;  // bitrate index 15
    EXPECT_FALSE(Mp3ParseHeader(bad.data(), bad.size(), &f));
    bad = mono;
    bad[2] = 0x9C;  // rate index 3
    EXPECT_FALSE(Mp3ParseHeader(bad.data(), bad.size(), &f));
    EXPECT_FALSE(Mp3ParseHeader(mono.data(), 3, &f));
}

TEST(Mp3Frames, TagWithDelayAndPadding) {
    // An ID3v2 tag first (syncsafe size 300), then the Info frame, ten frames, an ID3v1 tag.
    Bytes id3(310, 0);
    memcpy(id3.data(), "ID3\x03\x00\x00\x00\x00\x02\x2C", 10);
    Bytes tail(128, 0);
    memcpy(tail.data(), "TAG", 3);
    Bytes file = Join({id3, InfoFrame(10, 576, 1296), Frames(10), tail});
    Mp3Layout layout;
    ASSERT_EQ(Mp3Scan(file.data(), file.size(), &layout), BASS_OK);
    EXPECT_TRUE(layout.hasInfo);
    EXPECT_TRUE(layout.hasLame);
    EXPECT_EQ(layout.infoFrames, 10u);
    EXPECT_EQ(layout.encoderDelay, 576);
    EXPECT_EQ(layout.padding, 1296);
    EXPECT_EQ(layout.frames, 10u);
    EXPECT_EQ(layout.audioStart, 310u + 417u);
    EXPECT_EQ(layout.audioEnd, file.size() - 128);
    uint64_t skip, keep;
    Mp3Trim(layout, 10 * 1152, &skip, &keep);
    EXPECT_EQ(skip, 576u + 529u);
    EXPECT_EQ(keep, 10u * 1152 - 576 - 1296);
    // The shipped soundtrack's figures: 5606 audio frames after the Info frame.
    layout.infoFrames = layout.frames = 5606;
    Mp3Trim(layout, 5606 * 1152, &skip, &keep);
    EXPECT_EQ(skip, 1105u);
    EXPECT_EQ(keep, 6456240u);
    // A decode that comes up short keeps what there is, never more.
    Mp3Trim(layout, 1000, &skip, &keep);
    EXPECT_EQ(skip, 1000u);
    EXPECT_EQ(keep, 0u);
}

TEST(Mp3Frames, TagWithoutDelayOrPaddingAndNoTag) {
    Mp3Layout layout;
    uint64_t skip, keep;
    Bytes zero = Join({InfoFrame(4, 0, 0), Frames(4)});
    ASSERT_EQ(Mp3Scan(zero.data(), zero.size(), &layout), BASS_OK);
    EXPECT_TRUE(layout.hasLame);
    Mp3Trim(layout, 4 * 1152, &skip, &keep);
    EXPECT_EQ(skip, 529u);  // the decoder's delay still goes
    EXPECT_EQ(keep, 4u * 1152 - 529);

    Bytes xingOnly = Join({InfoFrame(4, -1, 0), Frames(4)});
    ASSERT_EQ(Mp3Scan(xingOnly.data(), xingOnly.size(), &layout), BASS_OK);
    EXPECT_TRUE(layout.hasInfo);
    EXPECT_FALSE(layout.hasLame);
    EXPECT_EQ(layout.audioStart, 417u);
    Mp3Trim(layout, 4 * 1152, &skip, &keep);
    EXPECT_EQ(skip, 0u);
    EXPECT_EQ(keep, 4u * 1152);

    Bytes plain = Frames(3);
    ASSERT_EQ(Mp3Scan(plain.data(), plain.size(), &layout), BASS_OK);
    EXPECT_FALSE(layout.hasInfo);
    EXPECT_EQ(layout.audioStart, 0u);
    EXPECT_EQ(layout.frames, 3u);
    Mp3Trim(layout, 3 * 1152, &skip, &keep);
    EXPECT_EQ(skip, 0u);
    EXPECT_EQ(keep, 3u * 1152);
}

TEST(Mp3Frames, DamagedStreams) {
    Mp3Layout layout;
    Bytes noise(5000);
    for (size_t i = 0; i < noise.size(); i++) noise[i] = (uint8_t)(i * 37 + 11);
    EXPECT_EQ(Mp3Scan(noise.data(), noise.size(), &layout), BASS_ERROR_FORMAT);
    EXPECT_EQ(Mp3Scan(nullptr, 0, &layout), BASS_ERROR_FORMAT);
    // Junk before the first frame is skipped; a cut last frame ends the run.
    Bytes cut = Join({Bytes(7, 0x55), Frames(3)});
    cut.resize(cut.size() - 10);
    ASSERT_EQ(Mp3Scan(cut.data(), cut.size(), &layout), BASS_OK);
    EXPECT_EQ(layout.audioStart, 7u);
    EXPECT_EQ(layout.frames, 2u);
    // A change of sample rate or channels is refused, as the Linux decoder refuses it.
    Bytes changed = Join({Frames(2), Frame(48000), Frame(48000)});
    EXPECT_EQ(Mp3Scan(changed.data(), changed.size(), &layout), BASS_ERROR_FORMAT);
    Bytes stereo = Join({Frames(2), Frame(44100, false), Frame(44100, false)});
    EXPECT_EQ(Mp3Scan(stereo.data(), stereo.size(), &layout), BASS_ERROR_FORMAT);
    // An ID3v2 size pointing past the end leaves nothing to scan.
    Bytes id3(10, 0);
    memcpy(id3.data(), "ID3\x03\x00\x00\x7F\x7F\x7F\x7F", 10);
    EXPECT_EQ(Mp3Scan(id3.data(), id3.size(), &layout), BASS_ERROR_FORMAT);
}
