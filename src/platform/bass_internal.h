// Inside the audio library: the decoded stream, the one channel that plays it, and the
// output that consumes it. Shared by bass.cpp, bass_output.cpp and each backend's decoder
// and sound device.
#pragma once
#include <cstdint>
#include <mutex>
#include <vector>
#include "platform/bass.h"
#include "platform/platform_testing.h"

// A whole decoded stream: interleaved 16-bit samples at the stream's own format.
struct BassPcm {
    std::vector<int16_t> samples;
    uint32_t frames = 0;
    int channels = 0;
    long rate = 0;
};

// Decodes an MP3 held in memory, gapless. Returns BASS_OK or a BASS_ERROR_ code.
int BassDecodeMp3(const uint8_t* data, size_t size, BassPcm* out);

enum BassOutputKind { BASS_OUTPUT_NONE, BASS_OUTPUT_DEVICE, BASS_OUTPUT_SILENT, BASS_OUTPUT_MANUAL };

// The channel of the one stream. Everything here is guarded by BassLock: the output's own
// thread mixes from it while the main thread reads the position.
struct BassChannel {
    HSTREAM handle;            // 0 while no stream exists
    BassPcm pcm;
    bool playing, loop;
    uint64_t consumedFp;       // stream frames handed to the output since play, 32.32 fixed
    uint64_t rampFrom, rampTo; // whole frames consumed before and after the last block
    int64_t rampStartNs, rampLenNs;  // when that block was handed and how long it lasts
    uint64_t manualPos;        // manual output: the reported byte position
};

extern std::mutex BassLock;
extern BassChannel BassStream;

int64_t BassNowNs();  // the monotonic clock (std::chrono::steady_clock)

// Output device (bass_output.cpp). Open returns BASS_OK or an error code.
int BassOutputOpen(BassOutputKind kind, DWORD rate);
void BassOutputClose();
void BassOutputRun(bool run);
BassOutputKind BassOutputCurrent();

// Byte positions of the channel, called with BassLock held.
DWORD BassPositionNow(const BassChannel& c, int64_t nowNs);
DWORD BassPositionDelivered(const BassChannel& c);

// Hands `frames` mono output frames to the output, stepping through the stream at its own
// rate; the block is heard from startNs for lenNs. Called with BassLock held.
void BassMixBlock(int16_t* out, int frames, int64_t startNs, int64_t lenNs);

// The sound device of the backend (SDL2 audio, waveOut). Open: false where there is none,
// and nothing is left open. Its thread calls BassMixBlock under BassLock.
bool BassDeviceOpen(DWORD rate, int blockFrames);
void BassDeviceClose();
void BassDeviceRun(bool run);
const char* BassDeviceName();
// Where playback stands, in stream frames consumed since play, by what the device reports
// as heard; false where the device leaves that to the timing of the blocks. BassLock held.
bool BassDeviceHeard(const BassChannel& c, uint64_t* consumed);
