#include "fx/bspline.h"
#include "platform/win32.h"

// One coordinate of a curve point. The weights sum to 6; dividing by 3 instead of 6 gives the
// doubled scale the camera paths are laid out for.
static float Blend(const float w[4], const float* p[4], int axis) {
    double sum = 0;
    for (int i = 0; i < 4; i++) sum += (double)w[i] * p[i][axis];
    return (float)(sum * 0.3333333333333333);
}

static void Weights(float t, float w[4]) {
    float t2 = t * t;
    float t3 = t2 * t;
    w[0] = (float)(1.0 - 3.0 * t + 3.0 * t2 - t3);
    w[1] = (float)(4.0 - 6.0 * t2 + 3.0 * t3);
    w[2] = (float)(1.0 + 3.0 * t + 3.0 * t2 - 3.0 * t3);
    w[3] = t3;
}

bool BSplinePath(const PathPoints* control, PathPoints* output, int32_t steps) {
    int32_t n = control->count;
    if (n > PATH_MAX_POINTS) n = PATH_MAX_POINTS;  // never read past the record
    if (steps < 1) steps = 1;                      // one point per segment, and no endless loop
    double dt = 1.0 / steps;
    int32_t k = 0;
    for (int32_t j = 1; j < n - 2; j++) {
        const float* p[4] = {control->points[j - 1], control->points[j], control->points[j + 1],
                             control->points[j + 2]};
        // t accumulates in single precision, so a segment yields steps or steps + 1 points.
        for (float t = 0; t < 1; t = (float)(t + dt)) {
            float w[4];
            Weights(t, w);
            for (int axis = 0; axis < 3; axis++) output->points[k][axis] = Blend(w, p, axis);
            k++;
            if (k > PATH_MAX_POINTS - 1) {
                MessageBoxA(nullptr, "Index overflow!", "B-Spline Error", MB_OK | MB_ICONWARNING);
                return false;
            }
        }
    }
    output->count = k;
    return true;
}
