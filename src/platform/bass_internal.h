// Inside the audio library: the decoded stream, the one channel that plays it, and the
// output that consumes it. Shared by bass.cpp, bass_output.cpp and each backend's decoder
// and sound device.
#pragma once
#include <cstdint>
#include <mutex>
#include <vector>
#include "platform/bass.h"
#include "platform/platform_testing.h"

// What every implementation of the nine calls shares (bass_calls.cpp). BassFail and
// BassSucceed set the code BASS_ErrorGetCode reports and return FALSE and TRUE;
// BassForgetErrors clears it and any injected fault. The checks return the error code of the
// call's arguments and state (an injected fault first), or BASS_OK.
BOOL BassFail(int code);
BOOL BassSucceed();
void BassForgetErrors();
int BassInitCheck(int device, DWORD freq, bool initialised);
int BassCreateCheck(BOOL mem, const void* file, bool initialised, bool streamExists);
// BASS_StreamPlay's checks, in the library's order; BASS_OK when it may go on.
int BassPlayCheck(bool initialised, bool validHandle);
// Reads `length` bytes (0: all) of the file from `offset`; false if it cannot be opened.
bool BassReadFile(const char* path, DWORD offset, DWORD length, std::vector<uint8_t>* data);

// A whole decoded stream: interleaved 16-bit samples at the stream's own format.
struct BassPcm {
    std::vector<int16_t> samples;
    uint32_t frames = 0;
    int channels = 0;
    long rate = 0;
};

// Decodes an MP3 held in memory, gapless. Returns BASS_OK or a BASS_ERROR_ code.
int BassDecodeMp3(const uint8_t* data, size_t size, BassPcm* out);

// The same in steps, so that a stream can play while the rest is decoded on a thread (see
// bass.cpp). Begin decodes up to the first samples and gives the stream's format and those
// samples in `first`; it fails, with BassDecodeMp3's code, on input that yields no samples.
// It hands back a decoder for the rest, which owns a copy of the block, or none where it
// decoded the whole stream at once (the Windows backend does: no thread is started then).
// More appends the next chunk: BASS_OK while more may follow, BASS_ERROR_UNKNOWN at the end
// (or at damage past which nothing decodes), BASS_ERROR_FORMAT at a change of format and
// BASS_ERROR_MEM past the size limit; in each case what came before stays. Into does the same
// into at most `room` samples of a buffer that is already there. Length is the stream's
// length in frames, 0 where it cannot be known before decoding.
struct BassDecoder;
int BassDecodeBegin(const uint8_t* data, size_t size, BassDecoder** decoder, BassPcm* first);
int BassDecodeMore(BassDecoder* decoder, std::vector<int16_t>* pcm);
int BassDecodeInto(BassDecoder* decoder, int16_t* out, size_t room, size_t* got);
uint64_t BassDecodeLength(BassDecoder* decoder);
void BassDecodeEnd(BassDecoder* decoder);
// Sets `frames` from the samples, dropping a partial frame at the end.
void BassPcmSettle(BassPcm* pcm);

enum BassOutputKind {
    BASS_OUTPUT_NONE,
    BASS_OUTPUT_DEVICE,
    BASS_OUTPUT_SILENT,
    BASS_OUTPUT_MANUAL
};

// The channel of the one stream. Everything here is guarded by BassLock: the output's own
// thread mixes from it while the main thread reads the position. The thread that decodes the
// rest of the stream never takes the lock: pcm.samples is sized once, before it starts, and
// it publishes how far it has filled them (BassTakeDecoded).
struct BassChannel {
    HSTREAM handle;  // 0 while no stream exists
    BassPcm pcm;     // pcm.frames: the frames decoded so far
    bool playing, loop;
    bool decoding;                   // the rest of the stream is still being decoded
    uint64_t consumedFp;             // stream frames handed to the output since play, 32.32 fixed
    uint64_t rampFrom, rampTo;       // whole frames consumed before and after the last block
    int64_t rampStartNs, rampLenNs;  // when that block was handed and how long it lasts
    uint64_t lagFrames;              // stream frames the output holds ahead of that block
    uint64_t written;    // output samples the device has been given, that block included
    uint64_t manualPos;  // manual output: the reported byte position
};

extern std::mutex BassLock;
extern BassChannel BassStream;
// Brings pcm.frames and decoding up to what the decoding thread has published; with BassLock.
void BassTakeDecoded();

// What the reported position is computed from: a copy of the channel's fields, published by
// whoever changes them (with BassLock held) and read by the main thread without the lock. The
// main thread asks for the position over a hundred times a frame: were it to take the lock,
// a main thread preempted while holding it would keep the output's thread from its next block
// on a busy machine, and the sound would drop out.
struct BassRamp {
    uint64_t from, to;
    int64_t startNs, lenNs;
    uint64_t lag, manual;
    uint64_t frames, channels, loop;
    uint64_t written;  // output samples the device has been given, this block included
};
BassRamp BassRampOf(const BassChannel& c);
void BassPublish();        // BassStream's ramp, with BassLock held
BassRamp BassPublished();  // the last one published; any thread, no lock

int64_t BassNowNs();  // the monotonic clock (std::chrono::steady_clock)

// Output device (bass_output.cpp). Open returns BASS_OK or an error code.
int BassOutputOpen(BassOutputKind kind, DWORD rate);
void BassOutputClose();
void BassOutputRun(bool run);
BassOutputKind BassOutputCurrent();
// Main thread, at every position query: a lost device gives way to the silent output, which
// keeps the position in real time, and is tried again every few seconds.
void BassOutputWatch();

// Byte positions of a channel's ramp.
DWORD BassPositionNow(const BassRamp& r, int64_t nowNs);
DWORD BassPositionDelivered(const BassRamp& r);

// Hands `frames` mono output frames to the output, stepping through the stream at its own
// rate; the block is heard from startNs for lenNs. Called with BassLock held.
void BassMixBlock(int16_t* out, int frames, int64_t startNs, int64_t lenNs);

// The sound device of the backend (SDL2 audio, waveOut). Open: false where there is none,
// and nothing is left open. Its thread calls BassMixBlock under BassLock.
bool BassDeviceOpen(DWORD rate, int blockFrames);
void BassDeviceClose();
void BassDeviceRun(bool run);
const char* BassDeviceName();
// Lost: the device went away while open (its sound server ended); main thread, no lock.
// Reopen: Open again after a loss.
bool BassDeviceLost();
bool BassDeviceReopen(DWORD rate, int blockFrames);
// Output frames the device holds ahead of a block just handed to it, still to be heard
// before that block (0 while no device is open).
uint64_t BassDeviceLagFrames();
// Where playback stands, in stream frames consumed since play, by what the device reports
// as heard, given the ramp of the last block handed over; false where the device leaves that
// to the timing of the blocks. Any thread, without BassLock.
bool BassDeviceHeard(const BassRamp& r, uint64_t* consumed);
// Output samples the device will have been given once the block being mixed is written.
uint64_t BassDeviceWritten();
// waveOut: stream frames heard after `consumed` were handed over as `written` output samples
// of which `played` have been played, at `stepFp` stream frames per sample (32.32).
uint64_t BassHeardFrames(uint64_t consumed, uint64_t written, uint64_t played, uint64_t stepFp);
// waveOut: act as a driver that cannot report TIME_SAMPLES would (for tests).
void BassDeviceForgetSamplePosition(bool forget);
