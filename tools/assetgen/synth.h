// A small software synthesizer: drum, bass, pad, lead and bell voices rendered note
// by note into mono float buses, then reverb and echo on the way to the master.
#pragma once
#include <cstdint>
#include <vector>

enum { SYNTH_RATE = 44100 };

// Dry signal plus the sends into the reverb and into the echo (which feeds the reverb).
struct Buses {
    std::vector<float> dry;
    std::vector<float> reverb;
    std::vector<float> echo;
};

void BusesInit(Buses& buses, int64_t samples);

// `at` and `len` are sample positions and lengths; sound past the end of the buses is
// dropped. `vel` scales the voice (1 = full).
void PlayKick(Buses& buses, int64_t at, float vel);
void PlaySnare(Buses& buses, int64_t at, float vel);
void PlayHat(Buses& buses, int64_t at, float vel, bool open);
// Crash cymbal, sub drop and thump together: the accent on a visual cue.
void PlayImpact(Buses& buses, int64_t at, float vel);
// Noise swept upwards over `len` samples, growing louder towards its end.
void PlayRiser(Buses& buses, int64_t at, int64_t len, float vel);
void PlayBass(Buses& buses, int64_t at, int64_t len, int midi, float vel);
void PlayPad(Buses& buses, int64_t at, int64_t len, int midi, float vel);
void PlayLead(Buses& buses, int64_t at, int64_t len, int midi, float vel);
void PlayBell(Buses& buses, int64_t at, int midi, float vel);

// Runs the echo (delay in samples) and the reverb and sums everything into `out`.
void MixDown(Buses& buses, int echoDelay, std::vector<float>& out);
