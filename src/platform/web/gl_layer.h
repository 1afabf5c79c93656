// Our fixed-function OpenGL 1.1 layer over OpenGL ES 2 / WebGL 1: the GL names of GL/gl.h,
// implemented with shaders. What it covers is what the demo draws with:
// - immediate mode: GL_LINES, GL_TRIANGLES, GL_TRIANGLE_STRIP and GL_QUADS, one colour,
//   texture coordinate and normal per vertex, always smooth shaded; consecutive begin/end
//   blocks under the same state are sent as one upload of indexed triangles;
// - the model-view (32 deep) and projection (4 deep) stacks, gluPerspective and gluLookAt;
// - lighting with the first enabled light (ambient, diffuse, position; no specular, spot or
//   attenuation), the light model's ambient, material ambient and diffuse, GL_COLOR_MATERIAL
//   on GL_AMBIENT_AND_DIFFUSE; normals are not renormalised (GL_NORMALIZE is not offered);
// - one 2D texture, GL_MODULATE, RGB and RGBA bytes; a texture without an image, or with a
//   mipmap filter, leaves texturing off as in GL 1.1;
// - blending, depth test, face culling, scissor, passed to the GLES state;
// - display lists as recorded command arrays (vertex attributes, begin/end, matrix steps,
//   colour, nested calls); other commands run at once while a list is compiled;
// - glPushAttrib/glPopAttrib of GL_LIST_BIT.
// GL_LINE_SMOOTH, GL_POLYGON_SMOOTH and GL_POINT_SMOOTH are remembered and answered by
// glIsEnabled but change nothing: WebGL has no smoothing. Lines are one pixel wide.
#pragma once

// Fetches the GLES 2 entry points through `getProc` (eglGetProcAddress natively, emscripten's
// in the browser: the layer's own glEnable and friends shadow the library's names) and
// builds the shaders. Needs the GLES 2 context current, once: the layer serves one context.
// False if anything is missing. GL calls before it change only the layer's own state.
bool GlLayerInit(void* (*getProc)(const char*));
// Blocks under the same state wait to be drawn together until something changes: call
// glFlush (or glFinish, or read the pixels) before a frame is presented.
