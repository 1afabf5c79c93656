#include "platform/web/gl_es.h"
#include <cstdio>

// Until GlLayerInit, every entry does nothing, as GL calls do without a current context (a
// resize may come before the context is made).
template <typename F>
struct Nothing;
template <typename R, typename... A>
struct Nothing<R(A...)> {
    static R Call(A...) { return R(); }
};
#define GL_ES_NOTHING(name, result, params) Nothing<result params>::Call,
GlesTable Es = {GL_ES_FUNCTIONS(GL_ES_NOTHING)};
#undef GL_ES_NOTHING

bool GlesLoad(void* (*getProc)(const char*)) {
    bool complete = true;
#define GL_ES_FETCH(name, result, params)                                     \
    if (void* found = getProc("gl" #name)) {                                  \
        Es.name = (result(*) params)found;                                    \
    } else {                                                                  \
        fprintf(stderr, "GL layer: the GLES 2 context has no gl%s\n", #name); \
        complete = false;                                                     \
    }
    GL_ES_FUNCTIONS(GL_ES_FETCH)
#undef GL_ES_FETCH
    return complete;
}
