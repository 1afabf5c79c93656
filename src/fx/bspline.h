// Camera paths: dense point lists along a uniform cubic B-spline through control points.
#pragma once
#include <cstdint>

enum { PATH_MAX_POINTS = 10000 };

struct PathPoints {
    int32_t count;
    float points[PATH_MAX_POINTS][3];  // x, y, z
};

// Evaluates every segment of the control polygon at t = 0, 1/steps, ... below 1, at twice the
// textbook scale (the curve of the control points scaled by 2 about the origin). False after
// the "Index overflow!" warning, when 10,000 points would not suffice; output->count then
// keeps its old value.
bool BSplinePath(const PathPoints* control, PathPoints* output, int32_t steps);
