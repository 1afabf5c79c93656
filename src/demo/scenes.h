// What the scenes share: models and textures one scene loads and later scenes draw, and the
// first-frame latches and shapes the tests reach. Each is defined in the file of its scene.
#pragma once
#include "demo/kit.h"

// Scene 1 (scene1.cpp): drawn again by scenes 2, 4, 5 and 6.
extern Model ModelCaraTio1;
extern Model ModelGalaxy;
extern Model ModelNudo;
extern Texture TexCaraTio1;

// Scene 2 (scene2.cpp).
extern uint32_t Scene2StartMs;  // frame clock of each scene's first frame; 0 until then

// Scene 3 (scene3.cpp): the particle and flare textures of scenes 3 to 7.
extern Texture TexParticle;
extern Texture TexBigFlare;
extern Model ModelTubo;
extern Texture TexBlue, TexBlue2, TexPictra3;
extern uint32_t Scene3StartMs;
extern float Scene3CueT;  // scene time on the first frame at or past the life cue

// Scene 4 (scene4.cpp).
extern uint32_t Scene4StartMs;

// Scene 5 (scene5.cpp): the morph that scene 6 carries on.
extern Model ModelCara1;
extern Model ModelCara2;
extern Model ModelMorph;
extern const ModelLook MorphFace;  // ModelMorph in CaraTio1's skin, as scenes 5 and 6 draw it
extern uint32_t Scene5StartMs;
void Scene5BuildMorph();  // the morph's starting shape
// Moves every position coordinate of ModelMorph (CaraTio1's face count) one step towards
// `target`'s; a coordinate at its target steps down, so it ends up hovering around it.
void MorphStep(const Model* target, float step);

// Scene 6 (scene6.cpp).
extern uint32_t Scene6StartMs;
void Scene6PrepareMorph();  // the face snapped to the shape scene 5 was heading for

// Scene 7 (scene7.cpp).
extern Texture TexCredits, TexEnv1, TexHidden;
extern uint32_t Scene7StartMs;

// The fountain at (x, y) in tenths of a unit, two units in front of the eye, with the particle
// texture; draws and advances every particle and leaves the additive blend function in force.
void DrawFountain(float x, float y);
