// The soundtrack "Zozivuv.mp3": a spring piece composed around the demo's cues,
// synthesized here and encoded as mono 44.1 kHz MPEG-1 Layer III at 128 kbit/s.
#pragma once
#include <cstdint>
#include <vector>
#include "demo/cues.h"

// Length of the music in samples (146.4 s): it outlasts the timeline.
enum { SOUNDTRACK_SAMPLES = 6456240 };
static_assert(SOUNDTRACK_SAMPLES >= CueSample(TIMELINE_END), "the music outlasts the timeline");

// The end of the last section's beat grid (a sample index): the credits' section runs
// 480,000 samples from scene 7's cue.
constexpr int32_t SOUNDTRACK_GRID_END = CueSample(SCENE7_START) + 480000;

// Synthesizes the whole track as 16-bit mono at 44,100 Hz, mastered so that the
// decoded MP3 measures -14 LUFS with its peaks below -1 dBFS.
void RenderSoundtrack(std::vector<int16_t>& pcm);
// Encodes mono 44,100 Hz PCM as 128 kbit/s CBR with the LAME/Info tag in the first
// frame, so decoders can drop the encoder delay and padding. False if LAME fails.
bool EncodeMp3(const std::vector<int16_t>& pcm, std::vector<uint8_t>& mp3);
// RenderSoundtrack followed by EncodeMp3.
bool GenerateSoundtrack(std::vector<uint8_t>& mp3);
