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
// `cutoff`: where the filter settles after the pluck of each note (Hz).
void PlayBass(Buses& buses, int64_t at, int64_t len, int midi, float vel, float cutoff);

// Pad timbre: three detuned saws through a low-pass, optionally gated in steps.
struct PadTone {
    float cutoff;  // Hz
    float detune;  // semitones between the outer saws and the middle one
    float pulse;   // gate period in samples, 0 for a steady pad
};
void PlayPad(Buses& buses, int64_t at, int64_t len, int midi, float vel, const PadTone& tone);

// Lead timbre: a sine plus one or two low-passed saws, an octave above on request.
struct LeadTone {
    float sine, saw, octave;  // levels of the sine, the saws and a sine an octave up
    float detune;             // second saw, semitones above the first (0: none)
    float cutoff;             // Hz
    float attack, decay;      // seconds; decay 0 holds the note, else it dies away
    float vibrato;            // depth (fraction of the pitch)
    float reverb, echo;       // sends
};
void PlayLead(Buses& buses, int64_t at, int64_t len, int midi, float vel, const LeadTone& tone);
void PlayBell(Buses& buses, int64_t at, int midi, float vel);

// Runs the echo (delay in samples) and the reverb and sums everything into `out`.
void MixDown(Buses& buses, int echoDelay, std::vector<float>& out);
