// The score. Every section starts on a cue of the demo (a flash, a scene change, a
// particle burst), so each section gets its own beat length close to 88.2 BPM (30,000
// samples) and every cue falls exactly on a downbeat.
#include "assetgen/soundtrack.h"

#include <cmath>

#include "assetgen/synth.h"

const int32_t FlashCueSamples[5] = {434816, 674880, 915648, 1155648, 1388544};

struct Section {
    int32_t start;     // first sample
    int beats;
    uint8_t prog;      // chord progression (Progressions)
    uint8_t chordBar;  // bar of the progression the section opens on
    uint8_t drums;     // 0 none, 1 light, 2 backbeat, 3 full
    uint8_t bass;      // 0 none, 1 held notes, 2 eighths
    uint8_t lead;      // 0 none, 1 theme, 2 song, 3 chord riff
    uint8_t leadBar;   // bar of the melody the section opens on
    uint8_t arp;       // 0 none, 1 bells on the beat, 2 bells on eighths
    uint8_t fill;      // closing beats given to a snare roll and a riser
};

static const Section Sections[] = {
    {0, 14, 0, 0, 0, 0, 0, 0, 1, 0},        // intro: pad and bells
    {434816, 8, 0, 0, 1, 1, 0, 0, 2, 0},    // flash 1: the beat comes in
    {674880, 8, 0, 2, 2, 1, 0, 0, 2, 0},    // flash 2
    {915648, 8, 0, 0, 2, 2, 1, 0, 2, 0},    // flash 3: theme
    {1155648, 8, 0, 2, 2, 2, 1, 2, 2, 0},   // flash 4
    {1388544, 8, 0, 0, 0, 1, 0, 0, 1, 0},   // flash 5: breakdown into the fade to black
    {1636992, 32, 1, 0, 1, 1, 2, 0, 2, 3},  // scene 2: song, white-out at the end
    {2599669, 16, 2, 0, 3, 2, 3, 0, 2, 0},  // scene 3: the tube
    {3079744, 16, 2, 0, 3, 2, 3, 0, 2, 3},  // life cue
    {3561664, 32, 0, 0, 2, 2, 1, 0, 1, 0},  // scene 4: theme in full
    {4523392, 8, 3, 2, 0, 1, 0, 0, 2, 8},   // final burst: build up to white
    {4758926, 24, 1, 0, 1, 1, 2, 0, 1, 0},  // scene 5: song
    {5480064, 16, 0, 0, 3, 2, 1, 4, 2, 1},  // scene 6
    {5961208, 16, 0, 0, 0, 1, 2, 2, 1, 0},  // scene 7: credits
};
static const int SectionCount = (int)(sizeof(Sections) / sizeof(Sections[0]));
static const int32_t MusicEnd = 6441208;  // end of the last section's beat grid

// Accents with their strength: the flashes, the scene openings, life cue and burst.
static const struct {
    int32_t at;
    float vel;
} Impacts[] = {
    {434816, 0.8f},   {674880, 0.8f},   {915648, 0.85f},  {1155648, 0.85f}, {1388544, 1.0f},
    {2599669, 1.0f},  {3079744, 0.7f},  {3561664, 1.0f},  {4523392, 0.8f},  {4758926, 1.0f},
    {5961208, 0.9f},
};

// Master gain (sample, gain), linear in between: fades matching the picture's fades.
static const struct {
    int32_t at;
    float gain;
} GainPoints[] = {
    {0, 0.0f},       {88200, 1.0f},   {1536992, 1.0f}, {1601992, 0.25f}, {1636992, 0.25f},
    {1700000, 1.0f}, {5410816, 1.0f}, {5470816, 0.25f}, {5480064, 0.25f}, {5560000, 1.0f},
    {6342656, 1.0f}, {6426624, 0.0f},
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
static const int Progressions[4][4] = {{0, 1, 2, 3}, {2, 3, 0, 1}, {3, 1, 4, 2}, {5, 3, 0, 1}};

struct Note {
    float beat, len;
    int midi;
};
// Eight bars each: the theme over D A Bm G, the song over Bm G D A.
static const Note Theme[] = {
    {0, 1, 69},    {1, 1, 66},    {2, .5f, 69},  {2.5f, .5f, 71}, {3, 1, 74},  {4, 2, 73},
    {6, 1, 71},    {7, 1, 69},    {8, 1, 66},    {9, 1, 69},      {10, 1, 71}, {11, 1, 74},
    {12, 3, 76},   {15, 1, 74},   {16, 1, 78},   {17, 1, 76},     {18, 1, 74}, {19, 1, 69},
    {20, .5f, 73}, {20.5f, .5f, 74}, {21, 2, 76}, {23, 1, 73},    {24, 1, 74}, {25, 1, 71},
    {26, 1, 69},   {27, 1, 66},   {28, 1, 71},   {29, 3, 69},
};
static const Note Song[] = {
    {0, 2, 78},  {2, 2, 74},  {4, 3, 71},  {7, 1, 74},  {8, 2, 69},  {10, 1, 66}, {11, 1, 69},
    {12, 4, 73}, {16, 1, 78}, {17, 1, 76}, {18, 2, 74}, {20, 2, 71}, {22, 2, 74}, {24, 1, 69},
    {25, 1, 71}, {26, 2, 74}, {28, 3, 76}, {31, 1, 73},
};

// Drum patterns, one character per sixteenth of a bar: kick, snare, hat ('o' = open hat).
static const char* const DrumPatterns[4][3] = {
    {"", "", ""},
    {"x.........x.....", "........x.......", "..x...x...x...x."},
    {"x.....x.x.......", "....x.......x...", "x.x.x.x.x.x.x.x."},
    {"x..x..x.x.x.....", "....x.......x..x", "xxxxxxxxxxxxxxox"},
};

// Beat grid of one section: sample position of a (fractional) beat.
struct Grid {
    int32_t start;
    double beatLen;
};

static int64_t At(const Grid& g, double beat) { return g.start + (int64_t)std::llround(beat * g.beatLen); }
static int64_t Span(const Grid& g, double beats) { return (int64_t)std::llround(beats * g.beatLen); }

static const int* ChordAt(const Section& s, int bar) {
    return Chords[Progressions[s.prog][(s.chordBar + bar) % 4]];
}

static void PlayHarmony(Buses& b, const Section& s, const Grid& g) {
    for (int bar = 0; bar * 4 < s.beats; bar++) {
        const int* chord = ChordAt(s, bar);
        double beats = std::fmin(4.0, s.beats - bar * 4.0);
        for (int k = 1; k < 5; k++) PlayPad(b, At(g, bar * 4), Span(g, beats), chord[k], 1.0f);
        if (s.bass == 1) PlayBass(b, At(g, bar * 4), Span(g, beats - 0.1), chord[0], 0.9f);
        for (int e = 0; s.bass == 2 && e < beats * 2; e++) {
            static const int steps[8] = {0, 0, 12, 0, 0, 0, 7, 0};
            PlayBass(b, At(g, bar * 4 + e * 0.5), Span(g, 0.4), chord[0] + steps[e], e % 4 ? 0.7f : 1.0f);
        }
        int perBeat = s.arp == 2 ? 2 : 1;
        for (int e = 0; s.arp && e < beats * perBeat; e++) {
            static const int order[8] = {1, 3, 2, 4, 3, 1, 4, 2};
            PlayBell(b, At(g, bar * 4 + (double)e / perBeat), chord[order[e % 8]] + 12, e % 2 ? 0.45f : 0.6f);
        }
    }
}

static void PlayMelody(Buses& b, const Section& s, const Grid& g) {
    const Note* notes = s.lead == 1 ? Theme : Song;
    int count = s.lead == 1 ? (int)(sizeof(Theme) / sizeof(Note)) : (int)(sizeof(Song) / sizeof(Note));
    double offset = s.leadBar * 4.0;
    for (int i = 0; i < count; i++) {
        for (double wrap = 0; wrap < s.beats + offset; wrap += 32) {
            double beat = notes[i].beat + wrap - offset;
            if (beat >= 0 && beat < s.beats) PlayLead(b, At(g, beat), Span(g, notes[i].len * 0.95), notes[i].midi, 0.8f);
        }
    }
}

// Chord tones an octave above the pad in a syncopated figure.
static void PlayRiff(Buses& b, const Section& s, const Grid& g) {
    static const double when[5] = {0, 0.75, 1.5, 2.5, 3};
    static const int tone[5] = {4, 3, 1, 2, 3};
    for (int bar = 0; bar * 4 < s.beats; bar++) {
        const int* chord = ChordAt(s, bar);
        for (int k = 0; k < 5; k++) PlayLead(b, At(g, bar * 4 + when[k]), Span(g, 0.45), chord[tone[k]] + 12, 0.7f);
    }
}

static void PlayDrums(Buses& b, const Section& s, const Grid& g) {
    int grooveSteps = (s.beats - s.fill) * 4;
    const char* const* pat = DrumPatterns[s.drums];
    for (int step = 0; s.drums && step < grooveSteps; step++) {
        int i = step % 16;
        int64_t at = At(g, step * 0.25);
        if (pat[0][i] == 'x') PlayKick(b, at, 1.0f);
        if (pat[1][i] == 'x') PlaySnare(b, at, s.drums == 1 ? 0.6f : 1.0f);
        if (pat[2][i] != '.') PlayHat(b, at, i % 2 ? 0.6f : 1.0f, pat[2][i] == 'o');
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
        if (before > 0 && before <= gap) return 0.02f + 0.98f * std::fmax(0.0f, (float)(before - gap + ramp) / ramp);
    }
    return 1.0f;
}

// Master compressor (3:1 above `threshold`, 2 ms attack, 150 ms release): lifts the
// quiet passages against the drums and impacts before the peak is normalized.
static void Compress(std::vector<float>& x, float threshold) {
    const float attack = std::exp(-1.0f / (0.002f * SYNTH_RATE)), release = std::exp(-1.0f / (0.15f * SYNTH_RATE));
    float env = 0;
    for (float& s : x) {
        float level = std::fabs(s), k = level > env ? attack : release;
        env = k * env + (1 - k) * level;
        if (env > threshold) s *= std::pow(threshold / env, 2.0f / 3.0f);
    }
}

// Rounds off the few peaks above 0.42 so that nothing exceeds 0.63 (-4 dBFS): the
// encoder overshoots such peaks by up to 2 dB, and the decoded track must stay
// below -1 dBFS.
static float SoftClip(float x) {
    const float knee = 0.42f, ceiling = 0.63f;
    float a = std::fabs(x);
    if (a <= knee) return x;
    float y = knee + (ceiling - knee) * std::tanh((a - knee) / (ceiling - knee));
    return x < 0 ? -y : y;
}

void RenderSoundtrack(std::vector<int16_t>& pcm) {
    Buses b;
    BusesInit(b, SOUNDTRACK_SAMPLES);
    for (int k = 0; k < SectionCount; k++) {
        const Section& s = Sections[k];
        int32_t end = k + 1 < SectionCount ? Sections[k + 1].start : MusicEnd;
        Grid g = {s.start, (double)(end - s.start) / s.beats};
        PlayHarmony(b, s, g);
        PlayDrums(b, s, g);
        if (s.lead == 3) PlayRiff(b, s, g);
        else if (s.lead) PlayMelody(b, s, g);
    }
    for (const auto& hit : Impacts) PlayImpact(b, hit.at, hit.vel);
    std::vector<float> mix;
    MixDown(b, 22500, mix);  // echo three quarters of a beat behind
    Compress(mix, 0.25f);
    double energy = 0;
    for (size_t i = 0; i < mix.size(); i++) {
        mix[i] *= GainAt((int64_t)i) * DuckAt((int64_t)i);
        energy += (double)mix[i] * mix[i];
    }
    float scale = 0.14f / (float)std::sqrt(energy / mix.size() + 1e-12);  // about -17 dBFS RMS
    pcm.resize(mix.size());
    for (size_t i = 0; i < mix.size(); i++) pcm[i] = (int16_t)std::lround(SoftClip(mix[i] * scale) * 32767.0f);
}
