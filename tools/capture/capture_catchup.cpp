// Catch-up: before the first frame at a position P, the frames that a run from 0 at the same
// frame rate draws below P are drawn unseen, so that scene latches, the fountain, the morph and
// the GL state left by the previous frame are those of the run. They draw with the toolkit's
// geometry off, the last one in full, all into a 1x1 scissor box (the frame's clear included),
// so almost no pixel is filled. A still at P is then the run's frame at P.
#include <GL/gl.h>
#include "capture/capture.h"
#include "demo/demo.h"
#include "fx/mesh.h"

// Scene 1 keeps nothing from frame to frame, so below scene 2 one earlier frame (for the GL
// state it leaves) is enough; from scene 2 on, the state builds up from scene 1's last frame.
uint64_t CatchUpFirstFrame(uint32_t target, int fps) {
    uint32_t settled = target < SCENE2_START ? target : SCENE2_START;
    uint64_t below = CatchUpEndFrame(settled, fps);
    return below > 0 ? below - 1 : 0;
}

uint64_t CatchUpEndFrame(uint32_t target, int fps) {
    // Frame k of a run from 0 lies below `target` while floor(k * 88200 / fps) & ~1 < target.
    uint64_t k = ((uint64_t)target * (uint64_t)fps + 88199) / 88200;
    while (k > 0 && CaptureFramePosition(0, k - 1, fps) >= target) k--;
    while (CaptureFramePosition(0, k, fps) < target) k++;
    return k;
}

uint64_t CaptureCatchUp(uint32_t target, int fps, bool holdP) {
    uint64_t first = CatchUpFirstFrame(target, fps), end = CatchUpEndFrame(target, fps);
    if (first >= end) return 0;
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    glScissor(box[0], box[1], 1, 1);
    for (uint64_t k = first; k < end; k++) {
        GeometryOff = k + 1 < end;
        glEnable(GL_SCISSOR_TEST);  // the frame turns it off at its end
        CaptureFrame(CaptureFramePosition(0, k, fps), holdP);
    }
    GeometryOff = false;
    glScissor(box[0], box[1], box[2], box[3]);
    return end - first;
}
