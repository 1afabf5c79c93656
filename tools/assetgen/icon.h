// The desktop icon: a scalable picture (SVG text) of an aurora over a three-armed galaxy,
// the demo's own motifs, the same text on every run.
#pragma once
#include <string>

std::string DrawIconSvg();
