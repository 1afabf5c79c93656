// The caption font: outline glyphs compiled into display lists.
#pragma once

void FontBuild();
void FontDelete();
