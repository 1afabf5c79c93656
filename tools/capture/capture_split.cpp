// Long exports in two processes at once. One process keeps about one and a half cores busy:
// its drawing thread and llvmpipe's rasteriser threads mostly take turns, since a frame can
// only be read once every frame sent before it is finished. Two processes, each drawing one
// part of the run, keep both cores busy. The second part starts from the state a run from 0
// brings (drawn unseen, as a still's is), so the joined run is frame for frame the
// one-process run.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "capture/capture.h"

// Work per frame of each scene in ms: CPU from --bench on a 2-core llvmpipe machine, plus
// what every exported frame costs alike (read-back, pipe, encoding), measured by timing the
// two parts of the whole demo. Only how evenly a run is cut depends on it.
static const double SCENE_COST[7] = {12.4, 8.2, 16.0, 9.3, 4.9, 7.5, 7.1};
static const double FRAME_COST = 8.0;
static const uint32_t MIN_SPLIT_SPAN = 20 * STREAM_BYTES_PER_SECOND;

static double FrameCost(uint32_t position) {
    int scene = 0;
    while (scene < 6 && position >= SCENE_STARTS[scene + 1]) scene++;
    return SCENE_COST[scene] + FRAME_COST;
}

static CaptureOptions Part(const CaptureOptions& options, uint32_t from, uint32_t to) {
    CaptureOptions part = options;
    part.from = from;
    part.to = to;
    return part;
}

// Cutting before frame m keeps every frame only where the run's frames are those of a run
// from 0 (whose state the second part brings up) and each part draws exactly its share.
static bool CutKeepsFrames(const CaptureOptions& options, uint64_t total, uint64_t m) {
    uint64_t first = (uint64_t)options.from * options.fps / STREAM_BYTES_PER_SECOND;
    while (first > 0 && CaptureFramePosition(0, first, options.fps) > options.from) first--;
    while (CaptureFramePosition(0, first, options.fps) < options.from) first++;
    for (uint64_t k = 0; k < total; k++)
        if (CaptureFramePosition(options.from, k, options.fps) !=
            CaptureFramePosition(0, first + k, options.fps))
            return false;
    uint32_t cut = CaptureFramePosition(options.from, m, options.fps);
    for (uint64_t k = 0; k < total - m; k++)
        if (CaptureFramePosition(cut, k, options.fps) !=
            CaptureFramePosition(options.from, m + k, options.fps))
            return false;
    CaptureOptions before =
        Part(options, options.from, CaptureFramePosition(options.from, m - 1, options.fps));
    return CaptureFrameCount(before) == m &&
           CaptureFrameCount(Part(options, cut, options.to)) == total - m;
}

uint64_t SplitFrame(const CaptureOptions& options, uint64_t total) {
    CaptureOutput kind = CaptureOutputKind(options.out);
    const char* processes = getenv("VERNALIS_CAPTURE_PROCESSES");
    if ((kind != OUT_VIDEO && kind != OUT_SUMS) || total < 2 ||
        (processes && atoi(processes) == 1) || sysconf(_SC_NPROCESSORS_ONLN) < 2 ||
        CaptureFramePosition(options.from, total - 1, options.fps) - options.from < MIN_SPLIT_SPAN)
        return 0;
    double all = 0;
    for (uint64_t k = 0; k < total; k++)
        all += FrameCost(CaptureFramePosition(options.from, k, options.fps));
    uint64_t half = 1;
    for (double sum = FrameCost(CaptureFramePosition(options.from, 0, options.fps));
         half < total - 1 && sum < all / 2; half++)
        sum += FrameCost(CaptureFramePosition(options.from, half, options.fps));
    for (uint64_t step = 0; step < 8; step++) {
        if (half + step < total && CutKeepsFrames(options, total, half + step)) return half + step;
        if (half > step + 1 && CutKeepsFrames(options, total, half - step)) return half - step;
    }
    return 0;
}

static pid_t Parts[2];

static pid_t StartPart(int number, const std::string& self, const std::string& exe,
                       const CaptureOptions& part) {
    std::vector<std::string> args = {self,
                                     "--exe",
                                     exe,
                                     "--from",
                                     std::to_string(part.from),
                                     "--to",
                                     std::to_string(part.to),
                                     "--fps",
                                     std::to_string(part.fps),
                                     "--scale",
                                     std::to_string(part.scale),
                                     "--out",
                                     part.out};
    if (part.holdP) args.push_back("--hold-p");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        setenv("VERNALIS_CAPTURE_PART", number == 1 ? "1" : "2", 1);
        execv(self.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

// Waits for both parts; when one fails the other is stopped.
static bool PartsSucceeded() {
    bool ok = Parts[0] > 0 && Parts[1] > 0;
    if (!ok)
        for (pid_t part : Parts)
            if (part > 0) kill(part, SIGTERM);
    for (int left = (Parts[0] > 0) + (Parts[1] > 0); left > 0;) {
        int status = 0;
        pid_t pid = wait(&status);
        if (pid < 0 && errno == EINTR) continue;
        if (pid < 0) break;
        int i = pid == Parts[0] ? 0 : pid == Parts[1] ? 1 : -1;
        if (i < 0) continue;
        Parts[i] = -1;
        TemporaryHelper(i, -1);
        left--;
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) continue;
        ok = false;
        if (Parts[1 - i] > 0) kill(Parts[1 - i], SIGTERM);
    }
    return ok;
}

// The second part's lines renumbered from m.
static bool JoinSums(const std::string& first, const std::string& second, uint64_t m,
                     const std::string& out, std::string* error) {
    FILE* a = fopen(first.c_str(), "r");
    FILE* b = fopen(second.c_str(), "r");
    FILE* joined = a && b ? fopen(out.c_str(), "w") : nullptr;
    bool ok = joined != nullptr;
    int c;
    while (ok && (c = fgetc(a)) != EOF) ok = fputc(c, joined) != EOF;
    unsigned long long k, sum;
    unsigned position;
    while (ok && fscanf(b, "%llu %u %llx", &k, &position, &sum) == 3)
        ok = fprintf(joined, "%llu %u %016llx\n", k + m, position, sum) > 0;
    if (a) fclose(a);
    if (b) fclose(b);
    if (joined && fclose(joined) != 0) ok = false;
    if (!ok) *error = "cannot join the parts into " + out;
    return ok;
}

static bool JoinVideo(const CaptureOptions& options, const std::string& exe, const std::string& dir,
                      const std::string* parts, uint64_t total, std::string* error) {
    std::string list = TemporaryIn(dir, "parts.txt"),
                soundtrack = TemporaryIn(dir, "soundtrack.mp3");
    FILE* file = fopen(list.c_str(), "w");
    if (!file) {
        *error = "cannot write " + list;
        return false;
    }
    for (int i = 0; i < 2; i++) {
        fputs("file '", file);
        for (char c : parts[i]) fputs(c == '\'' ? "'\\''" : std::string(1, c).c_str(), file);
        fputs("'\n", file);
    }
    if (fclose(file) != 0) {
        *error = "cannot write " + list;
        return false;
    }
    CapturePrepare(exe, options.scale);
    return CaptureSoundtrack(soundtrack, error) &&
           VideoJoin(options, soundtrack, total, list, error);
}

int RenderSplit(const CaptureOptions& options, const std::string& self, const std::string& exe,
                uint64_t total, uint64_t m) {
    std::string dir = TemporaryPath("vernalis-parts-XXXXXX");
    if (dir.empty()) {
        fprintf(stderr, "vernalis-capture: cannot make a temporary folder for the parts\n");
        return 1;
    }
    bool video = CaptureOutputKind(options.out) == OUT_VIDEO;
    // MP4 parts keep each frame's time exact (Matroska rounds them to milliseconds).
    std::string parts[2] = {TemporaryIn(dir, video ? "part1.mp4" : "part1.sums"),
                            TemporaryIn(dir, video ? "part2.mp4" : "part2.sums")};
    uint32_t cut = CaptureFramePosition(options.from, m, options.fps);
    CaptureOptions first =
        Part(options, options.from, CaptureFramePosition(options.from, m - 1, options.fps));
    CaptureOptions second = Part(options, cut, options.to);
    first.out = parts[0];
    second.out = parts[1];
    fprintf(stderr,
            "vernalis-capture: frames 0-%llu and %llu-%llu drawn by two processes at once; "
            "progress shown for the first\n",
            (unsigned long long)m - 1, (unsigned long long)m, (unsigned long long)total - 1);
    for (int i = 0; i < 2; i++) {
        Parts[i] = StartPart(i + 1, self, exe, i == 0 ? first : second);
        TemporaryHelper(i, Parts[i]);
    }
    std::string error = "a part could not be drawn (see the messages above)";
    CaptureOptions joined = options;  // joined under a temporary name beside --out, then renamed
    bool ok = PartsSucceeded();
    joined.out = ok ? TemporaryBeside(options.out) : "";
    if (ok && joined.out.empty()) {
        ok = false;
        error = "cannot write beside " + options.out + ": " + strerror(errno);
    }
    ok = ok && (video ? JoinVideo(joined, exe, dir, parts, total, &error)
                      : JoinSums(parts[0], parts[1], m, joined.out, &error));
    ok = ok && TemporaryPublish(joined.out, options.out, &error);
    RemoveTemporaries();
    if (!ok) {
        fprintf(stderr, "vernalis-capture: %s\n", error.c_str());
        return 1;
    }
    fprintf(stderr, "vernalis-capture: wrote %llu frames to %s\n", (unsigned long long)total,
            options.out.c_str());
    return 0;
}
