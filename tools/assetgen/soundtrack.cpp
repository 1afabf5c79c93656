// The score. Every section starts on a cue of the demo (a flash, a scene change, a
// particle burst), so each section gets its own beat length close to 88.2 BPM (30,000
// samples) and every cue falls exactly on a downbeat.
#include "assetgen/soundtrack.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>

#include "assetgen/loudness.h"
#include "assetgen/mastering.h"
#include "assetgen/synth.h"

// Integrated loudness of the decoded track, and the limiter's ceiling (-3.1 dBFS):
// the encoder overshoots peaks by up to 2 dB, and the decoded track must stay below
// -1 dBFS, between samples too.
static const double TargetLufs = -14.0;
static const float Ceiling = 0.7f;

struct Section {
    int32_t start;  // first sample
    int beats;
    uint8_t prog;      // chord progression (Progressions)
    uint8_t chordBar;  // bar of the progression the section opens on
    uint8_t drums;     // DrumPatterns: 0 none, 1 light, 2 backbeat, 3 full, 4 pulse, 5 half time
    uint8_t bass;      // 0 none, 1 held notes, 2 eighths, 3 dark pulse, 4 driving sixteenths
    uint8_t lead;      // 0 none, 1 theme, 2 song, 3 chord riff
    uint8_t leadBar;   // bar of the melody the section opens on
    uint8_t voice;     // Voices
    uint8_t arp;       // bells: 0 none, 1 quarters, 2 eighths, 3 sparkling sixteenths, 4 halves
    uint8_t pad;       // PadTones
    uint8_t fill;      // closing beats given to a snare roll and a riser
};

enum { PAD_SOFT, PAD_PLAIN, PAD_BRIGHT, PAD_PULSE, PAD_WARM };
enum { V_CLASSIC, V_BRIGHT, V_DARK, V_BLOOM, V_FLUTE, V_PLUCK, V_WARM };

static const Section Sections[] = {
    {0, 14, 0, 0, 0, 0, 0, 0, 0, 1, PAD_SOFT, 0},                      // intro: pad and bells
    {CueSample(CUE_FLASH1), 8, 0, 0, 1, 1, 0, 0, 0, 2, PAD_PLAIN, 0},  // flash 1: the beat comes in
    {CueSample(CUE_FLASH2), 8, 0, 2, 2, 2, 0, 0, 0, 2, PAD_PLAIN,
     0},  // flash 2: backbeat, bass moves
    {CueSample(CUE_FLASH3), 8, 0, 0, 2, 1, 1, 0, V_CLASSIC, 0, PAD_PLAIN, 0},  // flash 3: theme
    {CueSample(CUE_FLASH4), 8, 0, 2, 3, 4, 1, 2, V_BRIGHT, 3, PAD_BRIGHT,
     0},  // flash 4: theme on the full kit
    {CueSample(CUE_FLASH5), 8, 0, 0, 0, 0, 0, 0, 0, 4, PAD_SOFT,
     0},  // flash 5: breakdown, fade to black
    {CueSample(SCENE2_START), 32, 1, 0, 1, 1, 2, 0, V_CLASSIC, 2, PAD_PLAIN,
     3},  // scene 2: song, white-out at the end
    {CueSample(SCENE3_START), 16, 4, 0, 4, 3, 3, 0, V_DARK, 0, PAD_PULSE,
     0},  // scene 3: the tube, dark and pulsing
    {CueSample(CUE_LIFE), 16, 5, 0, 5, 1, 2, 0, V_BLOOM, 3, PAD_BRIGHT,
     3},  // life cue: everything blooms
    {CueSample(SCENE4_START), 32, 0, 0, 3, 2, 1, 0, V_CLASSIC, 2, PAD_PLAIN,
     0},  // scene 4: theme in full
    {CueSample(CUE_FINAL_BURST), 8, 3, 2, 0, 1, 0, 0, 0, 3, PAD_BRIGHT,
     8},  // final burst: build up to white
    {CueSample(SCENE5_START), 24, 1, 0, 0, 1, 2, 0, V_FLUTE, 4, PAD_SOFT,
     0},  // scene 5: sparse and dreamy
    {CueSample(SCENE6_START), 16, 0, 0, 3, 4, 3, 0, V_PLUCK, 0, PAD_PLAIN, 1},  // scene 6: driving
    {CueSample(SCENE7_START), 16, 0, 0, 0, 1, 2, 2, V_WARM, 1, PAD_WARM,
     0},  // scene 7: credits, a warm close
};
static const int SectionCount = (int)(sizeof(Sections) / sizeof(Sections[0]));
// Level of each section (dB) after the bus compressor, so the quiet openings, the breakdown,
// the dream of scene 5 and the credits stay quieter than the full band.
static const float SectionLevelDb[] = {-4, -2, -1, 0, 0, -3, -1, 0, 0, 0, 0, -4, 0, -2.5f};
static_assert(sizeof(SectionLevelDb) / sizeof(SectionLevelDb[0]) ==
                  sizeof(Sections) / sizeof(Sections[0]),
              "one level per section");

// Accents with their strength: the flashes, the scene openings, life cue and burst.
static const struct {
    int32_t at;
    float vel;
} Impacts[] = {
    {CueSample(CUE_FLASH1), 0.8f},   {CueSample(CUE_FLASH2), 0.8f},
    {CueSample(CUE_FLASH3), 0.85f},  {CueSample(CUE_FLASH4), 0.85f},
    {CueSample(CUE_FLASH5), 1.0f},   {CueSample(SCENE2_START), 0.9f},
    {CueSample(SCENE3_START), 1.0f}, {CueSample(CUE_LIFE), 0.8f},
    {CueSample(SCENE4_START), 1.0f}, {CueSample(CUE_FINAL_BURST), 0.8f},
    {CueSample(SCENE5_START), 1.0f}, {CueSample(SCENE6_START), 0.9f},
    {CueSample(SCENE7_START), 0.9f},
};

// Master gain of the band (sample, gain), linear in between: fades matching the
// picture's fades. The accents are not faded.
static const struct {
    int32_t at;
    float gain;
} GainPoints[] = {
    {0, 0.0f},
    {2 * SYNTH_RATE, 1.0f},
    {CueSample(SCENE2_START) - 100000, 1.0f},  // the dip into scene 2's fade in
    {CueSample(SCENE2_START) - 35000, 0.25f},
    {CueSample(SCENE2_START), 0.25f},
    {1700000, 1.0f},
    {CueSample(SCENE6_START) - 69248, 1.0f},  // the dip into scene 6's fade in
    {CueSample(SCENE6_START) - 9248, 0.25f},
    {CueSample(SCENE6_START), 0.25f},
    {5560000, 1.0f},
    {CueSample(CUE_SCENE7_FADE_OUT), 1.0f},
    {CueSample(TIMELINE_END), 0.0f},
};

static const PadTone PadTones[] = {
    {900.0f, 0.07f, 0},   // soft
    {1400.0f, 0.07f, 0},  // plain
    {3200.0f, 0.12f, 0},  // bright and wide
    {900.0f, 0.05f, 1},   // dark, gated in sixteenths (the period is set per section)
    {1000.0f, 0.11f, 0},  // warm
};

// Lead voices and the transposition each plays at.
static const struct {
    LeadTone tone;
    int shift;
} Voices[] = {
    // sine saw  oct  detune cutoff   attack decay  vib     rev   echo
    {{0.32f, 0.14f, 0.0f, 0.0f, 3000.0f, 0.01f, 0.0f, 0.006f, 0.3f, 0.35f}, 0},    // classic
    {{0.18f, 0.13f, 0.08f, 0.12f, 5000.0f, 0.005f, 0.0f, 0.004f, 0.3f, 0.3f}, 0},  // bright
    {{0.34f, 0.16f, 0.0f, 0.0f, 700.0f, 0.005f, 0.35f, 0.0f, 0.4f, 0.2f}, -12},    // dark
    {{0.16f, 0.11f, 0.12f, 0.15f, 6500.0f, 0.06f, 0.0f, 0.008f, 0.5f, 0.4f}, 0},   // bloom
    {{0.36f, 0.03f, 0.0f, 0.0f, 1500.0f, 0.12f, 0.0f, 0.01f, 0.7f, 0.45f}, 0},     // flute
    {{0.10f, 0.26f, 0.0f, 0.0f, 3500.0f, 0.003f, 0.16f, 0.0f, 0.2f, 0.3f}, 0},     // pluck
    {{0.28f, 0.18f, 0.0f, 0.0f, 1100.0f, 0.03f, 0.0f, 0.005f, 0.4f, 0.3f}, -12},   // warm
};

// Chords: bass note and four pad notes (MIDI).
static const int Chords[6][5] = {
    {38, 57, 61, 62, 66},  // Dmaj7
    {33, 57, 59, 61, 64},  // A add9
    {35, 57, 59, 62, 66},  // Bm7
    {43, 55, 59, 62, 66},  // Gmaj7
    {42, 57, 61, 64, 66},  // F#m7
    {40, 55, 59, 62, 64},  // Em7
};
// D A Bm G; Bm G D A; G A F#m Bm; Em G D A; Bm Em G F#m (dark); G D Em A (bright).
static const int Progressions[6][4] = {{0, 1, 2, 3}, {2, 3, 0, 1}, {3, 1, 4, 2},
                                       {5, 3, 0, 1}, {2, 5, 3, 4}, {3, 0, 5, 1}};

struct Note {
    float beat, len;
    int midi;
};
// Eight bars each: the theme over D A Bm G, the song over Bm G D A.
static const Note Theme[] = {
    {0, 1, 69},    {1, 1, 66},       {2, .5f, 69}, {2.5f, .5f, 71}, {3, 1, 74},  {4, 2, 73},
    {6, 1, 71},    {7, 1, 69},       {8, 1, 66},   {9, 1, 69},      {10, 1, 71}, {11, 1, 74},
    {12, 3, 76},   {15, 1, 74},      {16, 1, 78},  {17, 1, 76},     {18, 1, 74}, {19, 1, 69},
    {20, .5f, 73}, {20.5f, .5f, 74}, {21, 2, 76},  {23, 1, 73},     {24, 1, 74}, {25, 1, 71},
    {26, 1, 69},   {27, 1, 66},      {28, 1, 71},  {29, 3, 69},
};
static const Note Song[] = {
    {0, 2, 78},  {2, 2, 74},  {4, 3, 71},  {7, 1, 74},  {8, 2, 69},  {10, 1, 66},
    {11, 1, 69}, {12, 4, 73}, {16, 1, 78}, {17, 1, 76}, {18, 2, 74}, {20, 2, 71},
    {22, 2, 74}, {24, 1, 69}, {25, 1, 71}, {26, 2, 74}, {28, 3, 76}, {31, 1, 73},
};

// Drum patterns, one character per sixteenth of a bar: kick, snare, hat ('o' = open hat).
static const char* const DrumPatterns[6][3] = {
    {"", "", ""},
    {"x.........x.....", "........x.......", "..x...x...x...x."},
    {"x.....x.x.......", "....x.......x...", "x.x.x.x.x.x.x.x."},
    {"x..x..x.x.x.....", "....x.......x..x", "xxxxxxxxxxxxxxox"},
    {"x...x...x...x...", "................", "..x...x...x...x."},
    {"x.........x.....", "........x.......", "x.x.x.x.x.x.x.o."},
};

// Beat grid of one section: sample position of a (fractional) beat.
struct Grid {
    int32_t start;
    double beatLen;
};

static int64_t At(const Grid& g, double beat) {
    return g.start + (int64_t)std::llround(beat * g.beatLen);
}
static int64_t Span(const Grid& g, double beats) {
    return (int64_t)std::llround(beats * g.beatLen);
}

static const int* ChordAt(const Section& s, int bar) {
    return Chords[Progressions[s.prog][(s.chordBar + bar) % 4]];
}

static void PlayBassLine(Buses& b, const Section& s, const Grid& g, int bar, const int* chord,
                         double beats) {
    static const float cutoff[5] = {0, 180.0f, 180.0f, 110.0f, 320.0f};
    double step = s.bass == 4 ? 0.25 : 0.5;  // held notes and eighths, or sixteenths
    if (s.bass == 1) PlayBass(b, At(g, bar * 4), Span(g, beats - 0.1), chord[0], 0.9f, cutoff[1]);
    for (int e = 0; s.bass > 1 && e < beats / step; e++) {
        static const int walk[8] = {0, 0, 12, 0, 0, 0, 7, 0};
        static const int drive[16] = {0, 0, 12, 0, 0, 12, 0, 0, 0, 0, 12, 0, 7, 0, 12, 0};
        int note = chord[0] + (s.bass == 2 ? walk[e] : s.bass == 4 ? drive[e] : 0);
        float vel = s.bass == 3 ? (e % 2 ? 0.75f : 1.0f) : (e % 4 ? 0.7f : 1.0f);
        PlayBass(b, At(g, bar * 4 + e * step), Span(g, step * 0.8), note, vel, cutoff[s.bass]);
    }
}

// Bells on chord tones: quarters and eighths an octave above the pad, sparkling
// sixteenths and slow halves two octaves above.
static void PlayBells(Buses& b, const Section& s, const Grid& g, int bar, const int* chord,
                      double beats) {
    static const double step[5] = {0, 1.0, 0.5, 0.25, 2.0};
    static const float loud[5] = {0, 0.6f, 0.6f, 0.35f, 0.5f};
    for (int e = 0; s.arp && e < beats / step[s.arp]; e++) {
        static const int order[8] = {1, 3, 2, 4, 3, 1, 4, 2};
        int octave = s.arp >= 3 ? 24 : 12;
        float vel = loud[s.arp] * (e % 2 ? 0.75f : 1.0f);
        PlayBell(b, At(g, bar * 4 + e * step[s.arp]), chord[order[e % 8]] + octave, vel);
    }
}

static void PlayHarmony(Buses& b, const Section& s, const Grid& g) {
    PadTone pad = PadTones[s.pad];
    if (pad.pulse) pad.pulse = (float)(g.beatLen / 4);
    for (int bar = 0; bar * 4 < s.beats; bar++) {
        const int* chord = ChordAt(s, bar);
        double beats = std::fmin(4.0, s.beats - bar * 4.0);
        for (int k = 1; k < 5; k++) PlayPad(b, At(g, bar * 4), Span(g, beats), chord[k], 1.0f, pad);
        PlayBassLine(b, s, g, bar, chord, beats);
        PlayBells(b, s, g, bar, chord, beats);
    }
}

static void PlayMelody(Buses& b, const Section& s, const Grid& g) {
    const Note* notes = s.lead == 1 ? Theme : Song;
    int count =
        s.lead == 1 ? (int)(sizeof(Theme) / sizeof(Note)) : (int)(sizeof(Song) / sizeof(Note));
    double offset = s.leadBar * 4.0;
    for (int i = 0; i < count; i++) {
        for (double wrap = 0; wrap < s.beats + offset; wrap += 32) {
            double beat = notes[i].beat + wrap - offset;
            if (beat < 0 || beat >= s.beats) continue;
            int midi = notes[i].midi + Voices[s.voice].shift;
            PlayLead(b, At(g, beat), Span(g, notes[i].len * 0.95), midi, 0.8f,
                     Voices[s.voice].tone);
        }
    }
}

// Chord tones in a syncopated figure, an octave above the pad before the voice's shift.
static void PlayRiff(Buses& b, const Section& s, const Grid& g) {
    static const double when[5] = {0, 0.75, 1.5, 2.5, 3};
    static const int tone[5] = {4, 3, 1, 2, 3};
    for (int bar = 0; bar * 4 < s.beats; bar++) {
        const int* chord = ChordAt(s, bar);
        for (int k = 0; k < 5; k++) {
            int midi = chord[tone[k]] + 12 + Voices[s.voice].shift;
            PlayLead(b, At(g, bar * 4 + when[k]), Span(g, 0.45), midi, 0.7f, Voices[s.voice].tone);
        }
    }
}

static void PlayDrums(Buses& b, const Section& s, const Grid& g) {
    int grooveSteps = (s.beats - s.fill) * 4;
    const char* const* pat = DrumPatterns[s.drums];
    for (int step = 0; s.drums && step < grooveSteps; step++) {
        int i = step % 16;
        int64_t at = At(g, step * 0.25);
        if (pat[0][i] == 'x') PlayKick(b, at, 0.8f);
        if (pat[1][i] == 'x') PlaySnare(b, at, s.drums == 1 ? 0.5f : 0.8f);
        float hat =
            (i % 2 ? 0.6f : 1.0f) * (s.drums >= 4 ? 0.6f : 1.0f);  // pulse and half time: softer
        if (pat[2][i] != '.') PlayHat(b, at, hat, pat[2][i] == 'o');
    }
    if (!s.fill) return;
    // Snare roll speeding up from eighths to thirty-seconds, under a rising sweep.
    double from = s.beats - s.fill;
    PlayRiser(b, At(g, from), Span(g, s.fill), 1.0f);
    for (double beat = from; beat < s.beats - 1e-9;) {
        double x = (beat - from) / s.fill;
        PlaySnare(b, At(g, beat), 0.2f + 0.7f * (float)x);
        beat += x < 0.5 ? 0.5 : (x < 0.75 ? 0.25 : 0.125);
    }
}

static float GainAt(int64_t i) {
    const int n = (int)(sizeof(GainPoints) / sizeof(GainPoints[0]));
    for (int k = 1; k < n; k++) {
        if (i < GainPoints[k].at) {
            float x = (float)(i - GainPoints[k - 1].at) / (GainPoints[k].at - GainPoints[k - 1].at);
            return GainPoints[k - 1].gain + (GainPoints[k].gain - GainPoints[k - 1].gain) * x;
        }
    }
    return GainPoints[n - 1].gain;
}

// A 60 ms gap before every impact (the band stops, then hits), so each accent starts
// from near silence exactly on its cue.
static float DuckAt(int64_t i) {
    const int64_t gap = 2646, ramp = 132;
    for (const auto& hit : Impacts) {
        int64_t before = hit.at - i;
        if (before > 0 && before <= gap)
            return 0.02f + 0.98f * std::fmax(0.0f, (float)(before - gap + ramp) / ramp);
    }
    return 1.0f;
}

// The band through its fades, plus the accents (which are not faded), with the gap
// before each accent.
static void MixBand(std::vector<float>& band, std::vector<float>& hits) {
    for (size_t i = 0; i < band.size(); i++)
        band[i] = (band[i] * GainAt((int64_t)i) + hits[i]) * DuckAt((int64_t)i);
}

// The section levels as a gain, gliding over 50 ms from each section's start.
static float SectionGainAt(int64_t i) {
    const int64_t glide = SYNTH_RATE / 20;
    int k = 0;
    while (k + 1 < SectionCount && i >= Sections[k + 1].start) k++;
    float level = SectionLevelDb[k];
    if (k > 0 && i - Sections[k].start < glide)
        level += (SectionLevelDb[k - 1] - level) * (1.0f - (float)(i - Sections[k].start) / glide);
    return std::pow(10.0f, level / 20.0f);
}

static void ToPcm(const std::vector<float>& x, std::vector<int16_t>& pcm) {
    pcm.resize(x.size());
    for (size_t i = 0; i < x.size(); i++)
        pcm[i] = (int16_t)std::lround(std::fmax(-1.0f, std::fmin(1.0f, x[i])) * 32767.0f);
}

// Loudness of the track after a trip through the encoder and LAME's own decoder:
// encoding drops a few tenths of a LU, which the master then makes up for.
static double EncodedLoudness(const std::vector<int16_t>& pcm) {
    std::vector<uint8_t> mp3;
    hip_t hip = EncodeMp3(pcm, mp3) ? hip_decode_init() : nullptr;
    if (!hip) return -HUGE_VAL;
    std::vector<float> out;
    out.reserve(pcm.size() + 4096);
    short left[1152 * 4], right[1152 * 4];  // one frame at most per call
    for (size_t at = 0; at < mp3.size(); at += 4096) {
        size_t len = std::min<size_t>(4096, mp3.size() - at);
        for (int n = hip_decode1(hip, &mp3[at], len, left, right); n > 0;
             n = hip_decode1(hip, &mp3[at], 0, left, right))
            for (int i = 0; i < n; i++) out.push_back(left[i] / 32768.0f);
    }
    hip_decode_exit(hip);
    return IntegratedLoudness(out.data(), out.size(), SYNTH_RATE);
}

void RenderSoundtrack(std::vector<int16_t>& pcm) {
    Buses b;
    BusesInit(b, SOUNDTRACK_SAMPLES);
    for (int k = 0; k < SectionCount; k++) {
        const Section& s = Sections[k];
        int32_t end = k + 1 < SectionCount ? Sections[k + 1].start : SOUNDTRACK_GRID_END;
        Grid g = {s.start, (double)(end - s.start) / s.beats};
        PlayHarmony(b, s, g);
        PlayDrums(b, s, g);
        if (s.lead == 3) PlayRiff(b, s, g);
        else if (s.lead) PlayMelody(b, s, g);
    }
    std::vector<float> mix, hits;
    MixDown(b, 22500, mix);  // echo three quarters of a beat behind
    BusesInit(b, SOUNDTRACK_SAMPLES);
    for (const auto& hit : Impacts) PlayImpact(b, hit.at, hit.vel);
    MixDown(b, 22500, hits);
    MixBand(mix, hits);
    MasterLowPass(mix, 15500.0f);
    Compress(mix, 0.1f, 3.0f, 0.005f, 0.2f);
    for (size_t i = 0; i < mix.size(); i++) mix[i] *= SectionGainAt((int64_t)i);
    // Master, measure what the decoder will play, and master again with the
    // encoder's loss added to the target.
    std::vector<float> master = mix;
    MasterToLoudness(master, TargetLufs, Ceiling);
    ToPcm(master, pcm);
    double loss = TargetLufs - EncodedLoudness(pcm);
    if (std::fabs(loss) > 0.05 && std::fabs(loss) < 3.0) {
        MasterToLoudness(mix, TargetLufs + loss, Ceiling);
        ToPcm(mix, pcm);
    }
}
