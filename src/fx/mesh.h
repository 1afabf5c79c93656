// Immediate-mode drawing of expanded 3DS models: wireframe lines or textured triangles.
#pragma once
#include "loaders/model3ds.h"

// Both apply translate(tx,ty,tz), then rotations rx, ry, rz (degrees, about X, Y, Z, in that
// call order) to the current matrix without pushing it, then emit every face. Texturing,
// colour, blending, lighting and culling are the caller's.
void DrawModel(const Model* model, float tx, float ty, float tz, float rx, float ry, float rz);
void DrawModelTextured(const Model* model, float tx, float ty, float tz, float rx, float ry,
                       float rz);

// Models are drawn from display lists of the current context, compiled on first use: forget
// them before that context goes, so a later context compiles its own.
void MeshForgetCompiled();

// While true, the drawing routines of the toolkit (models and particles) apply their
// placement, advance their animation and leave the GL state as a drawn frame does, but send
// no geometry: the capture tool draws the frames before a still this way.
extern bool GeometryOff;
