// The master chain of the soundtrack: tone, dynamics and level of the final mix,
// all offline on the whole track (so the limiter can look ahead freely).
#pragma once
#include <vector>

// Fourth-order Butterworth low-pass. The MP3 encoder drops everything above about
// 16 kHz anyway; doing it first keeps the measured loudness the same after encoding.
void MasterLowPass(std::vector<float>& x, float hz);

// Feed-forward compressor on an RMS-like envelope: `ratio`:1 above `threshold`,
// attack and release in seconds.
void Compress(std::vector<float>& x, float threshold, float ratio, float attack, float release);

// Brickwall limiter: no sample, nor the midpoint between two samples, exceeds
// `ceiling`. The gain reaches each peak on a straight ramp over the `lookahead`
// samples before it and recovers with the `release` time constant (seconds).
void Limit(std::vector<float>& x, float ceiling, int lookahead, float release);

// Scales the mix and limits it until its integrated loudness is `lufs`; returns
// the loudness reached.
double MasterToLoudness(std::vector<float>& x, double lufs, float ceiling);
