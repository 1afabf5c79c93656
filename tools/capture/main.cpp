// vernalis-capture [--exe PATH] [--from POS] [--to POS] [--fps N] [--hold-p] --out PATH
// Renders the demo's frames offscreen to PNG files, from the folder holding vernalis and Data/.
#include <sys/stat.h>
#include <cerrno>
#include <unistd.h>
#include <cstdio>
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

static int Usage(const std::string& error) {
    fprintf(stderr, "vernalis-capture: %s\n"
                    "usage: vernalis-capture [--exe PATH] [--from POS] [--to POS] [--fps N] "
                    "[--hold-p] --out FILE.png|DIR/\n", error.c_str());
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

static std::string FramePath(const std::string& out, uint64_t k) {
    if (out.back() != '/') return out;
    char name[32];
    snprintf(name, sizeof name, "%06llu.png", (unsigned long long)k);
    return out + name;
}

static int RenderFrames(const CaptureOptions& options) {
    std::vector<uint8_t> rgb;
    std::string error;
    uint64_t written = 0;
    bool many = options.from != options.to;
    for (uint64_t k = 0;; k++) {
        uint32_t position = CaptureFramePosition(options.from, k, options.fps);
        if (!CaptureFrame(position, options.holdP)) break;
        CaptureRead(&rgb);
        if (!WritePng(FramePath(options.out, k), rgb, CAPTURE_WIDTH, CAPTURE_HEIGHT, &error)) {
            fprintf(stderr, "\nvernalis-capture: %s\n", error.c_str());
            return 1;
        }
        written++;
        if (many)
            fprintf(stderr, "\rframe %llu  position %u  (%.2f s)", (unsigned long long)written,
                    position, position / 88200.0);
        if (position >= options.to) break;
    }
    if (many) fprintf(stderr, "\n");
    if (written == 0) {
        fprintf(stderr, "vernalis-capture: no frame: position %u is past the end of the timeline (%u)\n",
                options.from, (unsigned)TIMELINE_END);
        return 1;
    }
    fprintf(stderr, "vernalis-capture: wrote %llu frame%s to %s\n", (unsigned long long)written,
            written == 1 ? "" : "s", options.out.c_str());
    return 0;
}

int main(int argc, char** argv) {
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureArgs(argc, argv, &options, &error)) return Usage(error);
    std::string exe = options.exe.empty() ? ToolFolder() + "/vernalis" : options.exe;
    if (access(exe.c_str(), R_OK) != 0) return Usage("cannot read the executable " + exe);
    if (options.out.back() == '/' && !MakeFolder(options.out, &error)) return Usage(error);
    if (!CaptureStart(exe)) {
        fprintf(stderr, "vernalis-capture: the demo could not start (see the messages above)\n");
        CaptureStop();
        return 1;
    }
    int status = RenderFrames(options);
    CaptureStop();
    return status;
}
