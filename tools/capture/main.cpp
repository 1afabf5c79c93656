// vernalis-capture [--exe PATH] [--from POS] [--to POS] [--fps N] [--scale N] [--hold-p]
//                  --out PATH | --bench | --help | --version
// Renders the demo's frames offscreen to PNG files or a video, or times them. The models are
// read from Data/ beside the executable whose pack is read (else from the current folder).
#include <sys/stat.h>
#include <cerrno>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include "capture/capture.h"
#include "demo/demo.h"
#include "platform/win32.h"

static std::string ToolPath() {
    char path[4096];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length);
}

static std::string ToolFolder() {
    std::string tool = ToolPath();
    size_t slash = tool.rfind('/');
    return slash == std::string::npos ? std::string(".") : tool.substr(0, slash);
}

static const char USAGE[] =
    "usage: vernalis-capture [--exe PATH] [--from POS] [--to POS] [--fps N] [--scale N] "
    "[--hold-p]\n"
    "                        --out FILE.png|DIR/|FILE.mp4|FILE.mkv|FILE.sums\n"
    "       vernalis-capture [--exe PATH] --bench\n"
    "       vernalis-capture --help | --version\n";

static const char HELP[] =  // a format: the end of the timeline goes in
    "Renders the demo's frames offscreen. The pack is read from vernalis beside this tool (or\n"
    "--exe PATH), the models from Data/ beside that executable, else from the current folder.\n"
    "\n"
    "  --from POS, --to POS  stream positions (88200 a second) of the first and last frame;\n"
    "                        defaults 0 and %u, the whole demo\n"
    "  --fps N               frames per second (1 to 1000, default 60): frame k shows position\n"
    "                        from + floor(k * 88200 / N), rounded down to even\n"
    "  --scale N             frames N times 640x480 (1 to 4): the same picture, sharper\n"
    "  --hold-p              P held on every frame (scene 7 shows its hidden layer)\n"
    "  --out FILE.png        one still (--from equal to --to)\n"
    "  --out DIR/            DIR/000000.png, DIR/000001.png, ...\n"
    "  --out FILE.mp4|.mkv   H.264 video with the soundtrack cut to the range\n"
    "  --out FILE.sums       one checksum line per frame (index, position, 64-bit FNV-1a)\n"
    "  --bench               frame times of every scene and the split of the start-up\n"
    "\n"
    "A still at POS, and the first frame of a range from POS, show what playing from 0 at the\n"
    "same --fps shows there: the frames such a run draws before POS are drawn unseen first, so\n"
    "scenes, fountain and morph have moved on as far. Where POS is one of that run's positions\n"
    "the still is exactly its frame. This takes a few seconds deep into the demo.\n"
    "\n"
    "A video or checksum run of 20 s or more whose frames are those of a run from 0 is drawn by\n"
    "two processes at once, the second from the state such a run brings, and joined: the same\n"
    "frames, sooner on two cores. VERNALIS_CAPTURE_PROCESSES=1 keeps it in one process.\n";

// Paths given relative to the user's folder are made absolute, then the tool moves to the
// folder that holds the models, wherever it was started from.
static bool EnterDataFolder(CaptureOptions* options, std::string* exe, std::string* error) {
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) {
        *error = std::string("cannot tell the current folder: ") + strerror(errno);
        return false;
    }
    options->out = AbsolutePath(options->out, cwd);
    *exe = AbsolutePath(*exe, cwd);
    std::string data = DataFolder(*exe);
    if (!data.empty() && chdir(data.c_str()) != 0) {
        *error = "cannot enter the data folder " + data + ": " + strerror(errno);
        return false;
    }
    return true;
}

static int Usage(const std::string& error) {
    fprintf(stderr, "vernalis-capture: %s\n%s", error.c_str(), USAGE);
    return 2;
}

static bool MakeFolder(const std::string& dir, std::string* error) {
    std::string path;
    for (size_t i = 0; i < dir.size(); i++) {
        path += dir[i];
        if ((dir[i] == '/' || i + 1 == dir.size()) && path != "/" &&
            mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
            *error = "cannot create folder " + path;
            return false;
        }
    }
    return true;
}

static double NowMs() { return PlatformMonotonicNs() / 1e6; }

static std::string FramePath(const std::string& out, uint64_t k) {
    if (out.back() != '/') return out;
    char name[32];
    snprintf(name, sizeof name, "%06llu.png", (unsigned long long)k);
    return out + name;
}

// One line on stderr, rewritten in place: a bar, frames done, frames per second, time left.
static void Progress(uint64_t done, uint64_t total, double startMs) {
    double seconds = (NowMs() - startMs) / 1000.0;
    double rate = seconds > 0 ? done / seconds : 0;
    int left = rate > 0 ? (int)((total - done) / rate) : 0;
    char bar[31];
    int filled = total ? (int)(30 * done / total) : 30;
    for (int i = 0; i < 30; i++) bar[i] = i < filled ? '#' : '-';
    bar[30] = '\0';
    fprintf(stderr, "\r[%s] frame %llu/%llu  %.1f fps  %d:%02d left ", bar,
            (unsigned long long)done, (unsigned long long)total, rate, left / 60, left % 60);
}

struct FrameSink {
    CaptureOutput kind;
    FILE* sums;
    std::string error;
};

static bool OutputFrame(const CaptureOptions& options, FrameSink* sink, uint64_t k,
                        const std::vector<uint8_t>& rgb) {
    if (sink->kind == OUT_SUMS) {
        fprintf(sink->sums, "%llu %u %016llx\n", (unsigned long long)k,
                CaptureFramePosition(options.from, k, options.fps),
                (unsigned long long)FrameChecksum(rgb));
        return true;
    }
    if (sink->kind == OUT_VIDEO) return VideoWrite(rgb, &sink->error);
    return WritePng(FramePath(options.out, k), rgb, CaptureWidth(), CaptureHeight(), &sink->error);
}

// Frame k is read back while frame k + 1 is drawn, then written out.
static bool DrawAll(const CaptureOptions& options, FrameSink* sink, uint64_t total) {
    std::vector<uint8_t> rgb;
    double startMs = NowMs();
    uint64_t caught = CaptureCatchUp(options.from, options.fps, options.holdP);
    if (caught)
        fprintf(stderr,
                "vernalis-capture: %llu earlier frame%s drawn unseen in %.2f s, as a run from 0 "
                "draws them\n",
                (unsigned long long)caught, caught == 1 ? "" : "s", (NowMs() - startMs) / 1000.0);
    startMs = NowMs();
    for (uint64_t k = 0; k <= total; k++) {
        if (k < total) {
            CaptureFrame(CaptureFramePosition(options.from, k, options.fps), options.holdP);
            CaptureReadStart();
        }
        if (k == 0) continue;
        if (!CaptureReadFinish(&rgb)) {
            sink->error = "cannot read the frame back";
            return false;
        }
        if (!OutputFrame(options, sink, k - 1, rgb)) return false;
        if (total > 1 && options.part != 2) Progress(k, total, startMs);
    }
    return true;
}

// A file at --out appears only once it is complete: it is written under a temporary name
// beside it and renamed at the end. A part of a split run writes straight into the run's
// temporary folder.
static int RenderFrames(const CaptureOptions& given) {
    CaptureOptions options = given;
    FrameSink sink = {CaptureOutputKind(options.out), nullptr, ""};
    uint64_t total = CaptureFrameCount(options);
    if (total == 0) {
        fprintf(stderr,
                "vernalis-capture: no frame: position %u is past the end of the timeline (%u)\n",
                options.from, (unsigned)TIMELINE_END);
        return 1;
    }
    if (sink.kind != OUT_PNG_DIR && !options.part) options.out = TemporaryBeside(given.out);
    if (options.out.empty()) {
        fprintf(stderr, "vernalis-capture: cannot write beside %s: %s\n", given.out.c_str(),
                strerror(errno));
        return 1;
    }
    // A part of a split run has no sound: the parts are joined with it.
    bool sound = sink.kind == OUT_VIDEO && !options.part;
    std::string soundtrack = sound ? TemporaryPath("vernalis-soundtrack-XXXXXX.mp3") : "";
    if (sink.kind == OUT_VIDEO &&
        ((sound && (soundtrack.empty() || !CaptureSoundtrack(soundtrack, &sink.error))) ||
         !VideoOpen(options, soundtrack, total, &sink.error))) {
        fprintf(stderr, "vernalis-capture: %s\n", sink.error.c_str());
        RemoveTemporaries();
        return 1;
    }
    sink.sums = sink.kind == OUT_SUMS ? fopen(options.out.c_str(), "w") : nullptr;
    bool ok = sink.kind != OUT_SUMS || sink.sums;
    if (!ok) sink.error = "cannot write " + options.out + ": " + strerror(errno);
    ok = ok && DrawAll(options, &sink, total);
    if (total > 1 && options.part != 2) fprintf(stderr, "\n");
    if (sink.sums && fclose(sink.sums) != 0 && ok) {
        ok = false;
        sink.error = "cannot write " + options.out;
    }
    std::string closing;
    if (sink.kind == OUT_VIDEO && !VideoClose(&closing) && ok) {
        ok = false;
        sink.error = closing;
    }
    if (ok && options.out != given.out) ok = TemporaryPublish(options.out, given.out, &sink.error);
    RemoveTemporaries();
    if (!ok) {
        fprintf(stderr, "vernalis-capture: %s\n", sink.error.c_str());
        return 1;
    }
    if (!options.part)
        fprintf(stderr, "vernalis-capture: wrote %llu frame%s to %s\n", (unsigned long long)total,
                total == 1 ? "" : "s", given.out.c_str());
    return 0;
}

int main(int argc, char** argv) {
    double mainMs = NowMs();
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureArgs(argc, argv, &options, &error)) return Usage(error);
    if (options.help) {
        printf("%s\n", USAGE);
        printf(HELP, (unsigned)(TIMELINE_END - 1));
        return 0;
    }
    if (options.version) {
        printf("vernalis-capture %s\n", VERNALIS_VERSION);
        return 0;
    }
    std::string exe = options.exe.empty() ? ToolFolder() + "/vernalis" : options.exe;
    if (access(exe.c_str(), R_OK) != 0) return Usage("cannot read the executable " + exe);
    if (!EnterDataFolder(&options, &exe, &error)) {
        fprintf(stderr, "vernalis-capture: %s\n", error.c_str());
        return 1;
    }
    if (!options.bench && options.out.back() == '/' && !MakeFolder(options.out, &error))
        return Usage(error);
    const char* part = getenv("VERNALIS_CAPTURE_PART");
    options.part = part ? atoi(part) : 0;
    if (!options.bench && !options.part) {
        uint64_t total = CaptureFrameCount(options);
        uint64_t cut = SplitFrame(options, total);
        if (cut) return RenderSplit(options, ToolPath(), exe, total, cut);
    }
    if (options.bench ? !CaptureStartTimed(exe, mainMs) : !CaptureStart(exe, options.scale)) {
        fprintf(stderr, "vernalis-capture: the demo could not start (see the messages above)\n");
        CaptureStop();
        return 1;
    }
    int status = 0;
    if (options.bench) RunBench(120);
    else status = RenderFrames(options);
    CaptureStop();
    return status;
}
