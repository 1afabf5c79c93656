#include "assetgen/loudness.h"

#include <cmath>
#include <vector>

namespace {

struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1, z2;  // transposed direct form II state
};

double Step(Biquad& f, double x) {
    double y = f.b0 * x + f.z1;
    f.z1 = f.b1 * x - f.a1 * y + f.z2;
    f.z2 = f.b2 * x - f.a2 * y;
    return y;
}

// The two K-weighting stages (high shelf, then high-pass) from their analogue
// prototypes, so that any sample rate gets the filters the standard tabulates at 48 kHz.
Biquad Shelf(int rate) {
    const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
    double k = std::tan(M_PI * f0 / rate), vh = std::pow(10.0, gainDb / 20.0);
    double vb = std::pow(vh, 0.4996667741545416), a0 = 1.0 + k / q + k * k;
    return {(vh + vb * k / q + k * k) / a0,
            2.0 * (k * k - vh) / a0,
            (vh - vb * k / q + k * k) / a0,
            2.0 * (k * k - 1.0) / a0,
            (1.0 - k / q + k * k) / a0,
            0,
            0};
}

Biquad HighPass(int rate) {
    const double f0 = 38.13547087602444, q = 0.5003270373238773;
    double k = std::tan(M_PI * f0 / rate), a0 = 1.0 + k / q + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0, 0, 0};
}

double BlockLoudness(double meanSquare) { return -0.691 + 10.0 * std::log10(meanSquare); }

// Mean of the block powers whose loudness exceeds `gate`; 0 if none does.
double GatedMean(const std::vector<double>& blocks, double gate) {
    double sum = 0;
    size_t count = 0;
    for (double z : blocks) {
        if (z > 0 && BlockLoudness(z) > gate) {
            sum += z;
            count++;
        }
    }
    return count ? sum / count : 0.0;
}

}  // namespace

double IntegratedLoudness(const float* x, size_t n, int rate) {
    // Mean square of the weighted signal per 100 ms; a block is four in a row.
    size_t hop = (size_t)rate / 10, quarters = hop ? n / hop : 0;
    std::vector<double> quarter(quarters, 0.0);
    Biquad shelf = Shelf(rate), high = HighPass(rate);
    for (size_t i = 0; i < quarters * hop; i++) {
        double y = Step(high, Step(shelf, x[i]));
        quarter[i / hop] += y * y / hop;
    }
    std::vector<double> blocks;
    for (size_t q = 3; q < quarters; q++)
        blocks.push_back((quarter[q - 3] + quarter[q - 2] + quarter[q - 1] + quarter[q]) / 4.0);
    double ungated = GatedMean(blocks, -70.0);
    if (ungated <= 0) return -HUGE_VAL;
    double gated = GatedMean(blocks, BlockLoudness(ungated) - 10.0);
    return gated > 0 ? BlockLoudness(gated) : -HUGE_VAL;
}
