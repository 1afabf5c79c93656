// The demo's 3DS models, built from parametric surfaces, and the step that writes
// them into the model folder.
#pragma once
#include <string>

#include "assetgen/max3ds_writer.h"

struct ModelEntry {
    const char* fileName;
    const char* objectName;
    Mesh (*make)();
};

extern const ModelEntry ModelTable[];
extern const int ModelCount;

// Spiral galaxy lying in the x-z plane, about 400 units across; arms and bulge are
// closed and turned outwards, so it shows from both sides with back faces culled.
Mesh MakeGalaxy();
// (2,3) torus knot about 55 units across.
Mesh MakeKnot();
// Open ribbed tube along y, radius about 3, 100 long, faces turned inwards.
Mesh MakeTube();
// Point of the unit sphere under grid position (s, t) of the heads: s from the crown (0)
// to the chin's pole (1), t around the head with the face's centre line at 0.5. The
// texture coordinates of a head vertex are (t, 1 - s).
void HeadSpherePoint(float s, float t, float out[3]);
// Heads looking down +z, about 3 units tall. All three share one grid, so their
// triangles match index for index (the morph pairs them); only the shape differs.
Mesh MakeCaraTio1();
Mesh MakeCara1();
Mesh MakeCara2();

bool WriteModels(const std::string& dir);
