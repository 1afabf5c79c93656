// vernalis-soundcheck: the sound-server test's helper.
//   decode MP3 OUT.raw              the soundtrack as the audio library decodes it (s16le mono)
//   compare TRACK.raw REC.raw SECS  the recording holds the track from its first sample on,
//                                   sample for sample, for at least SECS seconds
//   probe MP3 SECS -- RECORDER...   plays MP3 through the default output for SECS seconds while
//                                   RECORDER (which writes the sink's s16le mono samples to its
//                                   standard output) records, and prints how far the reported
//                                   position runs ahead of what reaches the sink
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/bass_internal.h"

static const int RATE = 44100;

static bool ReadFile(const char* path, std::vector<uint8_t>* bytes) {
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    uint8_t chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes->insert(bytes->end(), chunk, chunk + got);
    fclose(file);
    return true;
}

static bool ReadSamples(const char* path, std::vector<int16_t>* samples) {
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, &bytes)) return false;
    samples->resize(bytes.size() / 2);
    memcpy(samples->data(), bytes.data(), samples->size() * 2);
    return true;
}

// Mono, as the output plays it.
static bool DecodeTrack(const char* mp3, std::vector<int16_t>* track) {
    std::vector<uint8_t> bytes;
    BassPcm pcm;
    if (!ReadFile(mp3, &bytes) || BassDecodeMp3(bytes.data(), bytes.size(), &pcm) != BASS_OK)
        return false;
    track->resize(pcm.frames);
    for (uint32_t i = 0; i < pcm.frames; i++) {
        int sum = 0;
        for (int c = 0; c < pcm.channels; c++) sum += pcm.samples[(size_t)i * pcm.channels + c];
        (*track)[i] = (int16_t)(sum / pcm.channels);
    }
    return pcm.rate == RATE;
}

static long FirstSound(const std::vector<int16_t>& s) {
    for (size_t i = 0; i < s.size(); i++)
        if (s[i] != 0) return (long)i;
    return -1;
}

// Where track sample 0 lies in the recording: the first sounding samples are lined up.
static long Alignment(const std::vector<int16_t>& track, const std::vector<int16_t>& rec) {
    long t = FirstSound(track), r = FirstSound(rec);
    return t < 0 || r < t ? -1 : r - t;
}

static int Decode(const char* mp3, const char* out) {
    std::vector<int16_t> track;
    if (!DecodeTrack(mp3, &track)) return fprintf(stderr, "soundcheck: cannot decode %s\n", mp3), 1;
    FILE* file = fopen(out, "wb");
    bool ok = file && fwrite(track.data(), 2, track.size(), file) == track.size();
    if (file && fclose(file) != 0) ok = false;
    return ok ? 0 : 1;
}

// After a difference at track sample i (recording sample r): how long the recording stays
// silent there, and where in the track the sound that follows comes from (-1: nowhere near).
static long Resumes(const std::vector<int16_t>& track, const std::vector<int16_t>& rec, long i,
                    long r, long* silent) {
    const long run = 256;
    long quiet = r;
    while (quiet < (long)rec.size() && rec[quiet] == 0) quiet++;
    *silent = quiet - r;
    if (quiet + run > (long)rec.size()) return -1;
    for (long k = std::max(0L, i - RATE); k < i + 5 * RATE && k + run <= (long)track.size(); k++)
        if (std::equal(rec.begin() + quiet, rec.begin() + quiet + run, track.begin() + k)) return k;
    return -1;
}

// Every sample from the alignment up to the recording's last sound must equal the track's:
// a dropout, a repeat or resampling all break it. Every dropout is listed.
static int Compare(const char* trackPath, const char* recPath, double seconds) {
    std::vector<int16_t> track, rec;
    if (!ReadSamples(trackPath, &track) || !ReadSamples(recPath, &rec))
        return fprintf(stderr, "soundcheck: cannot read\n"), 1;
    long start = Alignment(track, rec);
    if (start < 0) return fprintf(stderr, "soundcheck: the recording holds no sound\n"), 1;
    long last = (long)rec.size() - 1;
    while (last > start && rec[last] == 0) last--;
    long i = 0, r = start, dropouts = 0, silentAll = 0;
    for (; i < (long)track.size() && r <= last; i++, r++) {
        if (rec[r] == track[i]) continue;
        long silent = 0, k = Resumes(track, rec, i, r, &silent);
        fprintf(stderr, "soundcheck: sample %ld (%.3f s) differs: recorded %d, track %d; ", i,
                (double)i / RATE, rec[r], track[i]);
        if (k < 0) {
            fprintf(stderr,
                    "the track does not resume (resampled, damaged or silent to the end)\n");
            return 1;
        }
        fprintf(stderr,
                "a dropout: %ld samples (%.1f ms) of silence, then the track from sample %ld (%ld "
                "skipped)\n",
                silent, silent * 1000.0 / RATE, k, k - i);
        dropouts++;
        silentAll += silent;
        r += silent - 1;
        i = k - 1;
    }
    long compared = r - start;
    if (dropouts) {
        fprintf(stderr, "soundcheck: %ld dropout%s, %.1f ms of silence in all, over %.2f s\n",
                dropouts, dropouts == 1 ? "" : "s", silentAll * 1000.0 / RATE,
                (double)compared / RATE);
        return 1;
    }
    printf(
        "soundcheck: %ld samples (%.2f s) equal to the track from its first sample, at recording "
        "sample %ld\n",
        compared, (double)compared / RATE, start);
    if (compared < seconds * RATE)
        return fprintf(stderr, "soundcheck: fewer than %.1f s recorded\n", seconds), 1;
    return 0;
}

// --- probe -----------------------------------------------------------------------------------

struct Arrival {
    int64_t ns;
    long samples;  // recorded so far
};

static void ReadRecorder(int fd, std::vector<int16_t>* rec, std::vector<Arrival>* arrivals,
                         std::atomic<bool>* done) {
    uint8_t buffer[4096];
    std::vector<uint8_t> bytes;
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) {
        int64_t now = BassNowNs();
        bytes.insert(bytes.end(), buffer, buffer + got);
        arrivals->push_back({now, (long)(bytes.size() / 2)});
    }
    rec->resize(bytes.size() / 2);
    memcpy(rec->data(), bytes.data(), rec->size() * 2);
    *done = true;
}

static pid_t StartRecorder(char** argv, int* fd) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], 1);
        close(pipeFds[0]);
        close(pipeFds[1]);
        execvp(argv[0], argv);
        _exit(127);
    }
    close(pipeFds[1]);
    *fd = pipeFds[0];
    return pid;
}

// Position reported at `ns`, from the log of (time, position) pairs.
static double PositionAt(const std::vector<Arrival>& log, int64_t ns) {
    auto after = std::lower_bound(log.begin(), log.end(), ns,
                                  [](const Arrival& a, int64_t t) { return a.ns < t; });
    if (after == log.begin() || after == log.end()) return -1;
    auto before = after - 1;
    double f = (double)(ns - before->ns) / (double)(after->ns - before->ns);
    return before->samples + f * (after->samples - before->samples);
}

static int Probe(const char* mp3, double seconds, char** recorder) {
    std::vector<uint8_t> bytes;
    std::vector<int16_t> track;
    if (!ReadFile(mp3, &bytes) || !DecodeTrack(mp3, &track))
        return fprintf(stderr, "soundcheck: cannot decode\n"), 1;
    if (!BASS_Init(-1, RATE, 0, nullptr) || strcmp(BassOutputName(), "sdl") != 0)
        return fprintf(stderr, "soundcheck: no sound server output (%s)\n", BassOutputName()), 1;
    HSTREAM stream = BASS_StreamCreateFile(TRUE, bytes.data(), 0, (DWORD)bytes.size(), 0);
    int fd = -1;
    pid_t pid = StartRecorder(recorder, &fd);
    if (!stream || pid < 0) return fprintf(stderr, "soundcheck: cannot start\n"), 1;
    std::vector<int16_t> rec;
    std::vector<Arrival> arrivals, positions;  // positions: samples = stream frame reported
    std::atomic<bool> done{false};
    std::thread reader(ReadRecorder, fd, &rec, &arrivals, &done);
    usleep(500000);  // the recorder is running
    BASS_Start();
    BASS_StreamPlay(stream, FALSE, 0);
    int64_t end = BassNowNs() + (int64_t)(seconds * 1e9);
    while (BassNowNs() < end) {
        DWORD p = BASS_ChannelGetPosition(stream);
        positions.push_back({BassNowNs(), (long)(p / 2)});
        usleep(1000);
    }
    BASS_Stop();
    usleep(300000);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    reader.join();
    close(fd);
    long start = Alignment(track, rec);
    if (start < 0) return fprintf(stderr, "soundcheck: nothing recorded\n"), 1;
    // When `samples` had arrived, track frame samples - start had reached the sink; the
    // position then reported runs ahead of it by the difference (an upper bound: the
    // recorder's own delay adds to it, so the least of them is the closest).
    // Only up to the first dropout does a recorded sample say which track sample it is.
    long intact = 0;
    while (intact < (long)track.size() && start + intact < (long)rec.size() &&
           rec[start + intact] == track[intact])
        intact++;
    std::vector<double> aheadMs;
    for (const Arrival& a : arrivals) {
        double reported = PositionAt(positions, a.ns);
        long heard = a.samples - start;
        if (reported <= 0 || heard <= RATE / 2 || heard >= intact) continue;
        aheadMs.push_back((reported - heard) * 1000.0 / RATE);
    }
    if (aheadMs.size() < 10) return fprintf(stderr, "soundcheck: too few arrivals\n"), 1;
    std::sort(aheadMs.begin(), aheadMs.end());
    printf(
        "soundcheck: position ahead of the sink by %.1f ms (least), %.1f ms (median), %.1f ms "
        "(most), over %zu arrivals in %.1f s without a dropout\n",
        aheadMs.front(), aheadMs[aheadMs.size() / 2], aheadMs.back(), aheadMs.size(),
        (double)intact / RATE);
    BassClose();
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "decode") == 0) return Decode(argv[2], argv[3]);
    if (argc == 5 && strcmp(argv[1], "compare") == 0)
        return Compare(argv[2], argv[3], atof(argv[4]));
    if (argc >= 6 && strcmp(argv[1], "probe") == 0 && strcmp(argv[4], "--") == 0)
        return Probe(argv[2], atof(argv[3]), argv + 5);
    fprintf(stderr,
            "usage: vernalis-soundcheck decode MP3 OUT | compare TRACK REC SECS | "
            "probe MP3 SECS -- RECORDER...\n");
    return 2;
}
