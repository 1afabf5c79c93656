#include "assetgen/synth.h"

#include <cmath>

#include "assetgen/procedural.h"

static const float TwoPi = 6.28318531f;
static const float Dt = 1.0f / SYNTH_RATE;

void BusesInit(Buses& buses, int64_t samples) {
    buses.dry.assign((size_t)samples, 0.0f);
    buses.reverb.assign((size_t)samples, 0.0f);
    buses.echo.assign((size_t)samples, 0.0f);
}

static float MidiHz(float midi) { return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f); }

// Noise in [-1, 1] whose sequence depends only on the note's start position.
static Rng NoiseFor(int64_t at, uint32_t salt) {
    return {Hash3((uint32_t)at, (uint32_t)(at >> 32), salt) | 1u};
}
static float Noise(Rng& rng) { return RngFloat(rng) * 2.0f - 1.0f; }

// Band-limited sawtooth step (polyBLEP) so bright notes do not alias into hiss.
static float Saw(float& phase, float inc) {
    phase += inc;
    if (phase >= 1.0f) phase -= 1.0f;
    float v = 2.0f * phase - 1.0f, t;
    if (phase < inc) {
        t = phase / inc;
        v -= t + t - t * t - 1.0f;
    } else if (phase > 1.0f - inc) {
        t = (phase - 1.0f) / inc;
        v -= t * t + t + t + 1.0f;
    }
    return v;
}

// One-pole low-pass coefficient for a cutoff in Hz.
static float LowCoef(float hz) { return 1.0f - std::exp(-TwoPi * hz * Dt); }

// Calls voice(i, t) for every sample of a note (t in seconds from its start) and adds
// the result to the dry bus and, scaled, to the two sends; samples outside the buses
// are computed (voices keep state) but dropped.
template <typename Fn>
static void Render(Buses& b, int64_t at, int64_t count, float revSend, float echoSend, Fn voice) {
    int64_t n = (int64_t)b.dry.size();
    for (int64_t i = 0; i < count && at + i < n; i++) {
        float s = voice(i, i * Dt);
        if (at + i < 0) continue;
        b.dry[at + i] += s;
        b.reverb[at + i] += s * revSend;
        b.echo[at + i] += s * echoSend;
    }
}

void PlayKick(Buses& buses, int64_t at, float vel) {
    float phase = 0;
    Rng rng = NoiseFor(at, 1);
    Render(buses, at, SYNTH_RATE / 2, 0.05f, 0, [&](int64_t, float t) {
        phase += TwoPi * (46.0f + 120.0f * std::exp(-t / 0.03f)) * Dt;
        float body = std::sin(phase) * std::exp(-t / 0.2f) * std::fmin(1.0f, t / 0.0005f);
        return vel * (0.9f * body + 0.25f * Noise(rng) * std::exp(-t / 0.002f));
    });
}

void PlaySnare(Buses& buses, int64_t at, float vel) {
    float prev = 0, phase = 0;
    Rng rng = NoiseFor(at, 2);
    Render(buses, at, SYNTH_RATE * 3 / 10, 0.25f, 0, [&](int64_t, float t) {
        float n = Noise(rng), hp = n - prev;
        prev = n;
        phase += TwoPi * 185.0f * Dt;
        return vel *
               (0.5f * std::sin(phase) * std::exp(-t / 0.05f) + 0.55f * hp * std::exp(-t / 0.1f));
    });
}

void PlayHat(Buses& buses, int64_t at, float vel, bool open) {
    float p1 = 0, p2 = 0, low = 0, decay = open ? 0.16f : 0.03f, k = LowCoef(9000.0f);
    Rng rng = NoiseFor(at, 3);
    Render(buses, at, (int64_t)(decay * 5 * SYNTH_RATE), 0.1f, 0, [&](int64_t, float t) {
        float n = Noise(rng), hp = n - 2.0f * p1 + p2;  // second difference: a steep high-pass
        p2 = p1;
        p1 = n;
        low += (hp - low) * k;  // ...and a gentle low-pass: shimmer, not fizz
        return vel * 0.16f * low * std::exp(-t / decay);
    });
}

void PlayImpact(Buses& buses, int64_t at, float vel) {
    float prev = 0, low = 0, phase = 0;
    float ring[4] = {0, 0, 0, 0};
    const float ringHz[4] = {3120.0f, 4470.0f, 5830.0f, 7240.0f};
    Rng rng = NoiseFor(at, 4);
    Render(buses, at, SYNTH_RATE * 4, 0.35f, 0, [&](int64_t, float t) {
        float n = Noise(rng), hp = n - prev;
        prev = n;
        low += (n - low) * LowCoef(150.0f);
        float metal = 0;
        for (int k = 0; k < 4; k++) {
            ring[k] += TwoPi * ringHz[k] * Dt;
            metal += std::sin(ring[k] + 3.0f * std::sin(ring[k] * 1.41f));
        }
        phase += TwoPi * (36.0f + 60.0f * std::exp(-t / 0.12f)) * Dt;
        float crash = (0.45f * hp + 0.05f * metal * std::exp(-t / 0.4f)) * std::exp(-t / 0.9f);
        float boom =
            0.5f * std::sin(phase) * std::exp(-t / 0.7f) + 0.7f * low * std::exp(-t / 0.05f);
        return vel * (crash + boom);
    });
}

void PlayRiser(Buses& buses, int64_t at, int64_t len, float vel) {
    float low = 0, band = 0;
    float total = (float)len * Dt;
    Rng rng = NoiseFor(at, 5);
    Render(buses, at, len, 0.5f, 0, [&](int64_t, float t) {
        float x = t / total;
        float hz = 300.0f * std::pow(20.0f, x);  // 300 Hz up to 6 kHz
        float f = 2.0f * std::sin(3.14159265f * hz * Dt);
        float high = Noise(rng) - low - 0.5f * band;  // state-variable band-pass
        band += f * high;
        low += f * band;
        return vel * 0.35f * band * x * x;
    });
}

void PlayBass(Buses& buses, int64_t at, int64_t len, int midi, float vel, float cutoff) {
    float phase = 0, sub = 0, l1 = 0, l2 = 0;
    float inc = MidiHz((float)midi) * Dt, rel = 0.03f, dur = len * Dt;
    Render(buses, at, len + (int64_t)(rel * SYNTH_RATE), 0.05f, 0, [&](int64_t, float t) {
        float saw = Saw(phase, inc);
        sub += TwoPi * inc;
        float k = LowCoef(cutoff + 5.0f * cutoff * std::exp(-t / 0.09f));
        l1 += (saw - l1) * k;
        l2 += (l1 - l2) * k;
        float env = std::fmin(1.0f, t / 0.004f) *
                    (t < dur ? 1.0f : std::fmax(0.0f, 1.0f - (t - dur) / rel));
        return vel * env * (0.22f * l2 + 0.24f * std::sin(sub));
    });
}

// Gate of a pulsing pad: each step swells in for 4 ms and decays over the step.
static float PulseGate(float t, float period) {
    if (period <= 0) return 1.0f;
    float x = std::fmod(t * SYNTH_RATE, period) / period;
    return std::fmin(1.0f, x * period / (0.004f * SYNTH_RATE)) *
           (0.25f + 0.75f * std::exp(-3.0f * x));
}

void PlayPad(Buses& buses, int64_t at, int64_t len, int midi, float vel, const PadTone& tone) {
    float ph[3] = {0.0f, 0.33f, 0.67f}, l1 = 0, l2 = 0;
    const float detune[3] = {-tone.detune, 0.0f, tone.detune};
    float inc[3], dur = len * Dt, attack = std::fmin(0.8f, dur * 0.4f), rel = 0.9f;
    for (int k = 0; k < 3; k++) inc[k] = MidiHz(midi + detune[k]) * Dt;
    float k1 = LowCoef(tone.cutoff);
    Render(buses, at, len + (int64_t)(rel * SYNTH_RATE), 0.6f, 0, [&](int64_t, float t) {
        float s = Saw(ph[0], inc[0]) + Saw(ph[1], inc[1]) + Saw(ph[2], inc[2]);
        l1 += (s - l1) * k1;
        l2 += (l1 - l2) * k1;
        float env = std::fmin(1.0f, t / attack) *
                    (t < dur ? 1.0f : std::fmax(0.0f, 1.0f - (t - dur) / rel));
        return vel * 0.05f * env * PulseGate(t, tone.pulse) * l2;
    });
}

void PlayLead(Buses& buses, int64_t at, int64_t len, int midi, float vel, const LeadTone& tone) {
    float phase = 0, up = 0, saw1 = 0, saw2 = 0, l1 = 0, l2 = 0, dur = len * Dt, rel = 0.12f;
    float hz = MidiHz((float)midi), hz2 = MidiHz(midi + tone.detune), k = LowCoef(tone.cutoff);
    Render(buses, at, len + (int64_t)(rel * SYNTH_RATE), tone.reverb, tone.echo,
           [&](int64_t, float t) {
               float vib =
                   1.0f + tone.vibrato * std::sin(TwoPi * 5.2f * t) * std::fmin(1.0f, t / 0.4f);
               phase += TwoPi * hz * vib * Dt;
               up += 2.0f * TwoPi * hz * vib * Dt;
               float s =
                   Saw(saw1, hz * vib * Dt) + (tone.detune != 0 ? Saw(saw2, hz2 * vib * Dt) : 0.0f);
               l1 += (s - l1) * k;
               l2 += (l1 - l2) * k;
               float body = tone.decay > 0 ? std::exp(-t / tone.decay)
                                           : 1.0f - 0.25f * std::fmin(1.0f, t / 1.5f);
               float env = std::fmin(1.0f, t / tone.attack) *
                           (t < dur ? body : std::fmax(0.0f, 1.0f - (t - dur) / rel) * body);
               return vel * env *
                      (tone.sine * std::sin(phase) + tone.octave * std::sin(up) + tone.saw * l2);
           });
}

// Struck, slightly metallic tone (two-operator FM) for arpeggios.
void PlayBell(Buses& buses, int64_t at, int midi, float vel) {
    float carrier = 0, mod = 0, hz = MidiHz((float)midi);
    Render(buses, at, SYNTH_RATE * 3 / 2, 0.5f, 0.25f, [&](int64_t, float t) {
        carrier += TwoPi * hz * Dt;
        mod += TwoPi * hz * 3.0f * Dt;
        float index = 2.2f * std::exp(-t / 0.12f);
        float env = std::fmin(1.0f, t / 0.002f) * std::exp(-t / 0.45f);
        return vel * 0.17f * env * std::sin(carrier + index * std::sin(mod));
    });
}

// Echo: one feedback delay with a low-pass in the loop; its output also feeds the reverb.
static void RunEcho(Buses& b, int delay) {
    std::vector<float> line((size_t)delay, 0.0f);
    float low = 0, k = LowCoef(3000.0f);
    for (size_t i = 0; i < b.echo.size(); i++) {
        float& slot = line[i % delay];  // holds what was written `delay` samples ago
        low += (slot - low) * k;
        slot = b.echo[i] + 0.38f * low;
        b.dry[i] += 0.5f * low;
        b.reverb[i] += 0.3f * low;
    }
}

// Schroeder reverb: damped parallel combs into series all-passes.
static void RunReverb(Buses& b) {
    const int combLen[6] = {1557, 1617, 1491, 1422, 1277, 1356};
    const int passLen[2] = {556, 441};
    std::vector<float> comb[6], pass[2];
    float damp[6] = {0, 0, 0, 0, 0, 0};
    int ci[6] = {0, 0, 0, 0, 0, 0}, pi[2] = {0, 0};
    for (int k = 0; k < 6; k++) comb[k].assign(combLen[k], 0.0f);
    for (int k = 0; k < 2; k++) pass[k].assign(passLen[k], 0.0f);
    for (size_t i = 0; i < b.reverb.size(); i++) {
        float in = b.reverb[i] * 0.12f, out = 0;
        for (int k = 0; k < 6; k++) {
            float y = comb[k][ci[k]];
            damp[k] += (y - damp[k]) * 0.7f;
            comb[k][ci[k]] = in + damp[k] * 0.86f;
            ci[k] = (ci[k] + 1) % combLen[k];
            out += y;
        }
        for (int k = 0; k < 2; k++) {
            float y = pass[k][pi[k]];
            pass[k][pi[k]] = out + y * 0.5f;
            out = y - out * 0.5f;
            pi[k] = (pi[k] + 1) % passLen[k];
        }
        b.dry[i] += out;
    }
}

void MixDown(Buses& buses, int echoDelay, std::vector<float>& out) {
    RunEcho(buses, echoDelay);
    RunReverb(buses);
    out.swap(buses.dry);
}
