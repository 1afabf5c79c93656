#include "assetgen/mastering.h"

#include <algorithm>
#include <cmath>

#include "assetgen/loudness.h"
#include "assetgen/synth.h"

// One RBJ low-pass biquad section with quality factor q, run in place.
static void LowPassSection(std::vector<float>& x, float hz, double q) {
    double w = 2.0 * M_PI * hz / SYNTH_RATE, alpha = std::sin(w) / (2.0 * q), c = std::cos(w);
    double a0 = 1.0 + alpha, b0 = (1.0 - c) / 2.0 / a0, b1 = (1.0 - c) / a0;
    double a1 = -2.0 * c / a0, a2 = (1.0 - alpha) / a0, z1 = 0, z2 = 0;
    for (float& s : x) {
        double y = b0 * s + z1;
        z1 = b1 * s - a1 * y + z2;
        z2 = b0 * s - a2 * y;
        s = (float)y;
    }
}

void MasterLowPass(std::vector<float>& x, float hz) {
    LowPassSection(x, hz, 0.5411961);  // the two pole pairs of a 4th-order Butterworth
    LowPassSection(x, hz, 1.3065630);
}

void Compress(std::vector<float>& x, float threshold, float ratio, float attack, float release) {
    const float up = 1.0f - std::exp(-1.0f / (attack * SYNTH_RATE));
    const float down = 1.0f - std::exp(-1.0f / (release * SYNTH_RATE));
    const float slope = 1.0f - 1.0f / ratio;
    float env = 0;  // mean square
    for (float& s : x) {
        float p = s * s;
        env += (p - env) * (p > env ? up : down);
        if (env > threshold * threshold) s *= std::pow(threshold * threshold / env, 0.5f * slope);
    }
}

// Highest magnitude at or just after sample i: the sample and the midpoint to the next
// one (cubic interpolation), which catches most of the peaks between samples.
static float PeakNear(const std::vector<float>& x, size_t i) {
    size_t n = x.size();
    float a = x[i > 0 ? i - 1 : 0], b = x[i], c = x[i + 1 < n ? i + 1 : i],
          d = x[i + 2 < n ? i + 2 : n - 1];
    return std::max(std::fabs(b), std::fabs((9.0f * (b + c) - a - d) / 16.0f));
}

// Minimum of v over [i, i + w) for every i (van Herk / Gil-Werman: block prefix and
// suffix minima), with v treated as 1 past its end.
static std::vector<float> WindowMin(const std::vector<float>& v, size_t w) {
    size_t n = v.size();
    std::vector<float> pre(n + w, 1.0f), suf(n + w, 1.0f), out(n);
    for (size_t i = 0; i < n + w; i++) {
        float x = i < n ? v[i] : 1.0f;
        pre[i] = i % w ? std::min(pre[i - 1], x) : x;
    }
    for (size_t i = n + w; i-- > 0;) {
        float x = i < n ? v[i] : 1.0f;
        suf[i] = (i + 1) % w && i + 1 < n + w ? std::min(suf[i + 1], x) : x;
    }
    for (size_t i = 0; i < n; i++) out[i] = std::min(suf[i], pre[i + w - 1]);
    return out;
}

void Limit(std::vector<float>& x, float ceiling, int lookahead, float release) {
    size_t n = x.size(), w = (size_t)std::max(1, lookahead);
    std::vector<float> need(n);
    for (size_t i = 0; i < n; i++) {
        float p = PeakNear(x, i);
        need[i] = p > ceiling ? ceiling / p : 1.0f;
    }
    // Hold the lowest gain needed over the look-ahead window, let it recover slowly,
    // then average over the window: every gain in that average is at most what the
    // peak needs, and the average turns each step down into a ramp ending on the peak.
    std::vector<float> held = WindowMin(need, w);
    const float back = 1.0f - std::exp(-1.0f / (release * SYNTH_RATE));
    for (size_t i = 1; i < n; i++)
        held[i] = std::min(held[i], held[i - 1] + (1.0f - held[i - 1]) * back);
    // Before the start the gain is taken as held[0]: a peak in the first window
    // must be caught too.
    double sum = n ? (double)held[0] * w : 0.0;
    for (size_t i = 0; i < n; i++) {
        sum += held[i] - held[i >= w ? i - w : 0];
        x[i] *= (float)(sum / w);
    }
}

static double Loudness(const std::vector<float>& x) {
    return IntegratedLoudness(x.data(), x.size(), SYNTH_RATE);
}

double MasterToLoudness(std::vector<float>& x, double lufs, float ceiling) {
    const int lookahead = SYNTH_RATE * 4 / 1000;
    double gainDb = lufs - Loudness(x), reached = -HUGE_VAL;
    std::vector<float> y;
    // Limiting takes off a little loudness; measure and make it up (converges in a few).
    for (int pass = 0; pass < 4; pass++) {
        float g = (float)std::pow(10.0, gainDb / 20.0);
        y.resize(x.size());
        for (size_t i = 0; i < x.size(); i++) y[i] = x[i] * g;
        Limit(y, ceiling, lookahead, 0.08f);
        reached = Loudness(y);
        if (std::fabs(reached - lufs) < 0.05) break;
        gainDb += lufs - reached;
    }
    x.swap(y);
    return reached;
}
