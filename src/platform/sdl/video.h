// The video subsystem, brought up on first use and left at exit (which puts the desktop mode
// back on any path out).
#pragma once

// False, with a line on stderr, when no display can show a window. SDL's offscreen and dummy
// drivers are taken only when named (SDL_VIDEODRIVER): as a silent fall-back for a display that
// cannot be reached they would have the demo play to no one.
bool VideoReady();

// SDL's drivers that show nothing on a screen.
bool VideoDriverShowsNothing(const char* driver);
