// vernalis-capture [--exe PATH] [--from POS] [--to POS] [--fps N] [--hold-p] --out PATH
//                  [--bench]
// Renders the demo's frames offscreen to PNG files or a video, or times them; run it from the
// folder that holds vernalis and Data/.
#include <sys/stat.h>
#include <cerrno>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include "capture/capture.h"
#include "demo/demo.h"
#include "platform/win32.h"

static std::string ToolFolder() {
    char path[4096];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string tool(path, length);
    size_t slash = tool.rfind('/');
    return slash == std::string::npos ? std::string(".") : tool.substr(0, slash);
}

static const char USAGE[] = "usage: vernalis-capture [--exe PATH] [--from POS] [--to POS] [--fps N] "
                            "[--hold-p] --out FILE.png|DIR/|FILE.mp4|FILE.mkv|FILE.sums\n"
                            "       vernalis-capture [--exe PATH] --bench\n"
                            "       vernalis-capture --help\n";

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

static std::string TemporarySoundtrackPath() {
    const char* dir = getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/vernalis-soundtrack-XXXXXX.mp3";
    int fd = mkstemps(path.data(), 4);
    if (fd < 0) return "";
    close(fd);
    return path;
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
    fprintf(stderr, "\r[%s] frame %llu/%llu  %.1f fps  %d:%02d left ", bar, (unsigned long long)done,
            (unsigned long long)total, rate, left / 60, left % 60);
}

static int RenderFrames(const CaptureOptions& options) {
    CaptureOutput kind = CaptureOutputKind(options.out);
    uint64_t total = CaptureFrameCount(options);
    if (total == 0) {
        fprintf(stderr, "vernalis-capture: no frame: position %u is past the end of the timeline (%u)\n",
                options.from, (unsigned)TIMELINE_END);
        return 1;
    }
    std::string error, soundtrack = kind == OUT_VIDEO ? TemporarySoundtrackPath() : "";
    if (kind == OUT_VIDEO && (soundtrack.empty() || !CaptureSoundtrack(soundtrack, &error) ||
                              !VideoOpen(options, soundtrack, total, &error))) {
        fprintf(stderr, "vernalis-capture: %s\n", error.c_str());
        remove(soundtrack.c_str());
        return 1;
    }
    FILE* sums = kind == OUT_SUMS ? fopen(options.out.c_str(), "w") : nullptr;
    if (kind == OUT_SUMS && !sums) {
        fprintf(stderr, "vernalis-capture: cannot write %s\n", options.out.c_str());
        return 1;
    }
    std::vector<uint8_t> rgb;
    double startMs = NowMs();
    bool ok = true;
    for (uint64_t k = 0; ok && k < total; k++) {
        uint32_t position = CaptureFramePosition(options.from, k, options.fps);
        CaptureFrame(position, options.holdP);
        CaptureRead(&rgb);
        if (kind == OUT_SUMS)
            fprintf(sums, "%llu %u %016llx\n", (unsigned long long)k, position,
                    (unsigned long long)FrameChecksum(rgb));
        else
            ok = kind == OUT_VIDEO ? VideoWrite(rgb, &error)
                                   : WritePng(FramePath(options.out, k), rgb, CAPTURE_WIDTH, CAPTURE_HEIGHT, &error);
        if (total > 1) Progress(k + 1, total, startMs);
    }
    if (total > 1) fprintf(stderr, "\n");
    if (sums && fclose(sums) != 0) {
        ok = false;
        error = "cannot write " + options.out;
    }
    if (kind == OUT_VIDEO) {
        std::string closing;
        if (!VideoClose(&closing) && ok) {
            ok = false;
            error = closing;
        }
        remove(soundtrack.c_str());
    }
    if (!ok) {
        fprintf(stderr, "vernalis-capture: %s\n", error.c_str());
        return 1;
    }
    fprintf(stderr, "vernalis-capture: wrote %llu frame%s to %s\n", (unsigned long long)total,
            total == 1 ? "" : "s", options.out.c_str());
    return 0;
}

int main(int argc, char** argv) {
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureArgs(argc, argv, &options, &error)) return Usage(error);
    if (options.help) {
        fputs(USAGE, stdout);
        return 0;
    }
    std::string exe = options.exe.empty() ? ToolFolder() + "/vernalis" : options.exe;
    if (access(exe.c_str(), R_OK) != 0) return Usage("cannot read the executable " + exe);
    if (!options.bench && options.out.back() == '/' && !MakeFolder(options.out, &error))
        return Usage(error);
    if (!CaptureStart(exe)) {
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
