// Command line of the capture tool.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include "capture/capture.h"
#include "demo/cues.h"

// Digits only: no sign, no leading blank (strtoull would take "+5" and " 5").
static bool ParseNumber(const char* text, uint64_t max, uint64_t* value) {
    if (!text || *text < '0' || *text > '9') return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long parsed = strtoull(text, &end, 10);
    if (errno || *end || parsed > max) return false;
    *value = parsed;
    return true;
}

static bool Fail(std::string* error, const std::string& text) {
    *error = text;
    return false;
}

static bool EndsWith(const std::string& text, const char* suffix) {
    size_t n = strlen(suffix);
    return text.size() > n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

CaptureOutput CaptureOutputKind(const std::string& out) {
    if (!out.empty() && out.back() == '/') return OUT_PNG_DIR;
    if (EndsWith(out, ".mp4") || EndsWith(out, ".mkv")) return OUT_VIDEO;
    if (EndsWith(out, ".sums")) return OUT_SUMS;
    return OUT_PNG_FILE;
}

bool ParseCaptureArgs(int argc, char** argv, CaptureOptions* options, std::string* error) {
    bool toGiven = false;  // --from alone past the default --to is past the timeline, said later
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        uint64_t number = 0;
        if (arg == "--help" || arg == "-h") {
            options->help = true;
            return true;
        }
        if (arg == "--version") {
            options->version = true;
            return true;
        }
        if (arg == "--hold-p" || arg == "--bench") {
            (arg == "--bench" ? options->bench : options->holdP) = true;
            continue;
        }
        if (arg != "--exe" && arg != "--from" && arg != "--to" && arg != "--fps" &&
            arg != "--out" && arg != "--scale")
            return Fail(error, "unknown argument '" + arg + "'");
        if (!value) return Fail(error, arg + " needs a value");
        i++;
        if (arg == "--exe") {
            options->exe = value;
        } else if (arg == "--out") {
            options->out = value;
        } else if (arg == "--fps") {
            if (!ParseNumber(value, 1000, &number) || number == 0)
                return Fail(error, "--fps must be a whole number from 1 to 1000");
            options->fps = (int)number;
        } else if (arg == "--scale") {
            if (!ParseNumber(value, CAPTURE_MAX_SCALE, &number) || number == 0)
                return Fail(error, "--scale must be a whole number from 1 to 4");
            options->scale = (int)number;
        } else {
            if (!ParseNumber(value, 0xFFFFFFFFu, &number))
                return Fail(error, arg + " must be a stream position from 0 to 4294967295");
            (arg == "--from" ? options->from : options->to) = (uint32_t)number;
            toGiven = toGiven || arg == "--to";
        }
    }
    if (options->bench) return true;
    if (options->out.empty()) return Fail(error, "--out PATH is required");
    if (!toGiven && options->from > options->to) options->to = options->from;
    if (options->from > options->to) return Fail(error, "--from is past --to");
    bool png = EndsWith(options->out, ".png");
    if (!png && CaptureOutputKind(options->out) == OUT_PNG_FILE)
        return Fail(error,
                    "--out must name a FILE.png, a DIR/, a FILE.mp4 / FILE.mkv or a FILE.sums");
    if (png && options->from != options->to)
        return Fail(error,
                    "--out FILE.png writes one frame: give --from equal to --to, or --out DIR/");
    return true;
}

uint32_t CaptureFramePosition(uint32_t from, uint64_t k, int fps) {
    uint64_t position = from + k * STREAM_BYTES_PER_SECOND / (uint64_t)fps;
    if (position > 0xFFFFFFFFu) position = 0xFFFFFFFFu;
    return (uint32_t)(position & ~(uint64_t)1);
}

uint32_t CaptureElapsedMs(uint32_t position) {
    return (uint32_t)((uint64_t)position * 1000 / STREAM_BYTES_PER_SECOND);
}

uint64_t CaptureFrameCount(const CaptureOptions& options) {
    uint64_t count = 0;
    for (uint64_t k = 0;; k++) {
        uint32_t position = CaptureFramePosition(options.from, k, options.fps);
        if (position >= TIMELINE_END) break;
        count++;
        if (position >= (options.to & ~1u))
            break;  // positions are even: an odd --to is reached one below
    }
    return count;
}
