// The features of the dreaming face, painted onto the heads' skin.
#pragma once
#include "assetgen/procedural.h"

void PaintFaceFeatures(Image& img);
