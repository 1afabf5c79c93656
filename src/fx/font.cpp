// The caption font. Glyph outlines are still to come; building and deleting it is safe now.
#include "fx/font.h"

void FontBuild() {}
void FontDelete() {}
