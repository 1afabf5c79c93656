// vernalis-capture: renders frames of the demo offscreen at chosen stream positions.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum { CAPTURE_WIDTH = 640, CAPTURE_HEIGHT = 480 };

struct CaptureOptions {
    std::string exe;       // the executable whose pack is read; empty: vernalis beside the tool
    uint32_t from = 0;
    uint32_t to = 12853247;
    int fps = 60;
    bool holdP = false;
    std::string out;
};

// False with `error` set on bad arguments.
bool ParseCaptureArgs(int argc, char** argv, CaptureOptions* options, std::string* error);

// Stream position of frame k: from + floor(k * 88200 / fps), rounded down to an even number.
uint32_t CaptureFramePosition(uint32_t from, uint64_t k, int fps);
// Frame clock of a position: floor(position * 1000 / 88200) milliseconds.
uint32_t CaptureElapsedMs(uint32_t position);

// Brings the demo up offscreen as the program does, with the position and clock driven here.
bool CaptureStart(const std::string& exePath);
// Draws the frame of `position`; false once the timeline has ended (nothing drawn).
bool CaptureFrame(uint32_t position, bool holdP);
// The frame just drawn, RGB, top row first.
void CaptureRead(std::vector<uint8_t>* rgb);
void CaptureStop();

bool WritePng(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height,
              std::string* error);
