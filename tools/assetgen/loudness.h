// Integrated loudness of a mono signal as ITU-R BS.1770 defines it: K-weighting,
// 400 ms blocks overlapping by 75%, an absolute gate at -70 LUFS and a relative gate
// 10 LU below the loudness of the blocks that pass it. Lets the soundtrack set its
// own level instead of guessing from the RMS.
#pragma once
#include <cstddef>

// Samples are full scale at +/-1. Mono weight 1.0, so a 997 Hz sine of peak
// amplitude A reads 20*log10(A) - 3.01 LUFS. Returns -HUGE_VAL when every block is
// gated out (silence, or shorter than one block).
double IntegratedLoudness(const float* x, size_t n, int rate);
