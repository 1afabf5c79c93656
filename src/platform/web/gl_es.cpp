#include "platform/web/gl_es.h"
#include <cstdio>

GlesTable Es;

bool GlesLoad(void* (*getProc)(const char*)) {
    bool complete = true;
#define GL_ES_FETCH(name, result, params)                                  \
    Es.name = (result(*) params)getProc("gl" #name);                       \
    if (!Es.name) {                                                        \
        fprintf(stderr, "GL layer: the GLES 2 context has no gl%s\n", #name); \
        complete = false;                                                  \
    }
    GL_ES_FUNCTIONS(GL_ES_FETCH)
#undef GL_ES_FETCH
    return complete;
}
