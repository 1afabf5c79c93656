// vernalis-capture: renders frames of the demo offscreen at chosen stream positions.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "demo/cues.h"

enum { CAPTURE_WIDTH = 640, CAPTURE_HEIGHT = 480, CAPTURE_MAX_SCALE = 4 };

struct CaptureOptions {
    std::string exe;  // the executable whose pack is read; empty: vernalis beside the tool
    uint32_t from = 0;
    uint32_t to = TIMELINE_END - 1;
    int fps = 60;
    bool holdP = false;
    std::string out;  // FILE.png, DIR/, FILE.mp4 / FILE.mkv, or FILE.sums
    bool bench = false;
    bool help = false;     // --help or -h: print the usage and do nothing else
    bool version = false;  // --version: print the version and do nothing else
    int scale = 1;         // frames are scale times 640x480, the same picture sharper
    int part = 0;  // 1 or 2: one part of a split run (VERNALIS_CAPTURE_PART), video without sound
};

enum CaptureOutput { OUT_PNG_FILE, OUT_PNG_DIR, OUT_VIDEO, OUT_SUMS };
CaptureOutput CaptureOutputKind(const std::string& out);

// False with `error` set on bad arguments.
bool ParseCaptureArgs(int argc, char** argv, CaptureOptions* options, std::string* error);

// `path` as seen from the folder `cwd`: paths given on the command line stay the user's once
// the tool has moved to the data folder.
std::string AbsolutePath(const std::string& path, const std::string& cwd);
// The folder the models are read from: the one that holds `exe` (the executable whose pack is
// read) when it has a Data/ folder, as an installed demo and a build folder do; "" when it has
// none, and the models are looked for in the current folder.
std::string DataFolder(const std::string& exe);

// Stream position of frame k: from + floor(k * 88200 / fps), rounded down to an even number.
uint32_t CaptureFramePosition(uint32_t from, uint64_t k, int fps);
// Frame clock of a position: floor(position * 1000 / 88200) milliseconds.
uint32_t CaptureElapsedMs(uint32_t position);
// Frames a run renders: up to the one that reaches `to`, none at or past the timeline's end.
uint64_t CaptureFrameCount(const CaptureOptions& options);

// Brings the demo up offscreen as the program does, with the position and clock driven here,
// in a window `scale` times 640x480 with bands, lines and points scaled alike.
bool CaptureStart(const std::string& exePath, int scale = 1);
int CaptureWidth();
int CaptureHeight();
// CaptureStart's steps: the settings, then AudioStart, the window, DemoInit, and playback.
void CapturePrepare(const std::string& exePath, int scale);
bool CaptureOpenWindow();
bool CapturePlay();
// CaptureStart with DemoInit taken apart, timing every step up to the first frame drawn and
// printing the split; `mainMs` is when main began on the same clock.
bool CaptureStartTimed(const std::string& exePath, double mainMs);
// Draws the frame of `position`; false once the timeline has ended (nothing drawn).
bool CaptureFrame(uint32_t position, bool holdP);
// The frame just drawn, RGB, top row first; false if it could not be read back.
bool CaptureRead(std::vector<uint8_t>* rgb);
// Read-back in flight: CaptureReadStart queues the frame just drawn into a pixel buffer,
// so the next frame can be drawn before CaptureReadFinish collects it (at most two queued).
void CaptureReadStart();
bool CaptureReadFinish(std::vector<uint8_t>* rgb);

// Before a still or the first frame of a range at `target`: draws, cheaply and invisibly,
// the frames a run from 0 at `fps` draws below `target` since the state was last settled,
// so the frame at `target` shows what playing from 0 shows. Returns the frames drawn.
uint64_t CaptureCatchUp(uint32_t target, int fps, bool holdP);
// The frames of a run from 0 that CaptureCatchUp draws: first to end, end excluded.
uint64_t CatchUpFirstFrame(uint32_t target, int fps);
uint64_t CatchUpEndFrame(uint32_t target, int fps);
void CaptureStop();
// Copies the soundtrack entry of the pack into a file.
bool CaptureSoundtrack(const std::string& path, std::string* error);

// Video: raw frames piped into the ffmpeg program, H.264 with the soundtrack cut to the range.
bool VideoOpen(const CaptureOptions& options, const std::string& soundtrack, uint64_t frames,
               std::string* error);
bool VideoWrite(const std::vector<uint8_t>& rgb, std::string* error);
bool VideoClose(std::string* error);
// The video parts named in `list` (an ffmpeg concat list) joined as they are, with the soundtrack.
bool VideoJoin(const CaptureOptions& options, const std::string& soundtrack, uint64_t frames,
               const std::string& list, std::string* error);

// Temporary files of an export: TemporaryPath makes the file or, for a name ending in XXXXXX,
// the folder $TMPDIR/NAME (XXXXXX made unique), TemporaryIn only names a file in such a folder,
// TemporaryBeside makes a hidden file beside `out` with its extension, which TemporaryPublish
// renames to `out` once it is complete; "" on failure. Ctrl-C or SIGTERM stops the helper
// processes named (the parts of a split run, the ffmpeg of this process; -1: none), waits for
// them, removes every temporary and ends the tool; RemoveTemporaries removes them all now.
enum { HELPER_PART1, HELPER_PART2, HELPER_ENCODER };
std::string TemporaryPath(const char* name);
std::string TemporaryIn(const std::string& folder, const char* name);
std::string TemporaryBeside(const std::string& out);
bool TemporaryPublish(const std::string& temporary, const std::string& out, std::string* error);
void TemporaryHelper(int slot, int pid);
void RemoveTemporaries();

// A long video or checksum run is drawn by two processes at once where that keeps every frame
// as one process draws it: the first frame of the second part, or 0 to draw it in one.
// VERNALIS_CAPTURE_PROCESSES=1 keeps every run in one process.
uint64_t SplitFrame(const CaptureOptions& options, uint64_t total);
// Draws the two parts with `self` (this tool) and joins them into options.out; the exit code.
int RenderSplit(const CaptureOptions& options, const std::string& self, const std::string& exe,
                uint64_t total, uint64_t m);

// Frame-time benchmark: median ms per frame of each scene and of empty frames.
void RunBench(int frames);

// 64-bit FNV-1a of a frame's bytes: the golden-frame checksums.
uint64_t FrameChecksum(const std::vector<uint8_t>& rgb);

bool WritePng(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height,
              std::string* error);
