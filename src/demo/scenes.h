// What the scenes share: models and textures one scene loads and later scenes draw.
// Each is defined in the file of the scene that owns it.
#pragma once
#include "loaders/model3ds.h"
#include "loaders/tga.h"

// Scene 1 (scene1.cpp): drawn again by scenes 2, 4, 5 and 6.
extern Model ModelCaraTio1;
extern Model ModelGalaxy;
extern Model ModelNudo;
extern Texture TexCaraTio1;

// Scene 3 (scene3.cpp): the particle and flare textures of scenes 3 to 7.
extern Texture TexParticle;
extern Texture TexBigFlare;

// Scene 5 (scene5.cpp): the morph that scene 6 carries on.
extern Model ModelCara1;
extern Model ModelCara2;
extern Model ModelMorph;
// Moves every position coordinate of ModelMorph (CaraTio1's face count) one step towards
// `target`'s; a coordinate at its target steps down, so it ends up hovering around it.
void MorphStep(const Model* target, float step);

// The fountain at (x, y) in tenths of a unit, two units in front of the eye, with the particle
// texture; draws and advances every particle and leaves the additive blend function in force.
void DrawFountain(float x, float y);
