// Display lists as arrays of recorded commands, replayed by glCallList; the list base and its
// attribute stack (GL_LIST_BIT only).
#include <unordered_map>
#include <vector>
#include "platform/web/gl_state.h"

struct ListCommand {
    GlListOp op;
    float a, b, c, d;
};
static std::unordered_map<GLuint, std::vector<ListCommand>> Lists;
static GLuint NextList = 1;
static GLuint Compiling = 0;  // the list being recorded; 0: none
static bool AlsoExecute = false;
static std::vector<ListCommand> Recorded;  // list names and modes kept as floats: exact below 2^24
static GLuint ListBase = 0;
static std::vector<GLuint> SavedListBases;  // glPushAttrib(GL_LIST_BIT)
static int CallDepth = 0;

static const int MAX_CALL_DEPTH = 64;  // as GL's GL_MAX_LIST_NESTING
static const size_t MAX_ATTRIB_DEPTH = 16;

GLuint GlListBaseNow() { return ListBase; }

bool GlListCompiles(GlListOp op, float a, float b, float c, float d) {
    if (!Compiling) return false;
    Recorded.push_back({op, a, b, c, d});
    return !AlsoExecute;
}

static void CallList(GLuint list);

static void Replay(const std::vector<ListCommand>& commands) {
    for (const ListCommand& k : commands) {
        switch (k.op) {
        case LIST_BEGIN: GlDoBegin((GLenum)k.a); break;
        case LIST_END: GlDoEnd(); break;
        case LIST_VERTEX: GlDoVertex(k.a, k.b, k.c); break;
        case LIST_TEXCOORD: GlDoTexCoord(k.a, k.b); break;
        case LIST_NORMAL: GlDoNormal(k.a, k.b, k.c); break;
        case LIST_COLOR: GlDoColor(k.a, k.b, k.c, k.d); break;
        case LIST_TRANSLATE: GlDoTranslate(k.a, k.b, k.c); break;
        case LIST_ROTATE: GlDoRotate(k.a, k.b, k.c, k.d); break;
        case LIST_SCALE: GlDoScale(k.a, k.b, k.c); break;
        case LIST_CALL: CallList((GLuint)k.a); break;
        }
    }
}

static void CallList(GLuint list) {
    auto found = Lists.find(list);
    if (found == Lists.end() || CallDepth >= MAX_CALL_DEPTH) return;
    CallDepth++;
    Replay(found->second);
    CallDepth--;
}

extern "C" {

GLuint glGenLists(GLsizei range) {
    if (range < 0) return GlSetError(GL_INVALID_VALUE), 0;
    if (range == 0 || NextList > 0xFFFFFFFFu - (GLuint)range) return 0;
    GLuint first = NextList;
    NextList += (GLuint)range;
    for (GLuint i = 0; i < (GLuint)range; i++) Lists[first + i];  // empty lists exist at once
    return first;
}

void glDeleteLists(GLuint list, GLsizei range) {
    if (range < 0) return GlSetError(GL_INVALID_VALUE);
    for (GLsizei i = 0; i < range; i++) Lists.erase(list + (GLuint)i);
}

GLboolean glIsList(GLuint list) { return Lists.count(list) ? GL_TRUE : GL_FALSE; }

void glNewList(GLuint list, GLenum mode) {
    if (list == 0) return GlSetError(GL_INVALID_VALUE);
    if (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE) return GlSetError(GL_INVALID_ENUM);
    if (Compiling) return GlSetError(GL_INVALID_OPERATION);
    Compiling = list;
    AlsoExecute = mode == GL_COMPILE_AND_EXECUTE;
    Recorded.clear();
}

void glEndList() {
    if (!Compiling) return GlSetError(GL_INVALID_OPERATION);
    Lists[Compiling].swap(Recorded);
    Recorded.clear();
    Compiling = 0;
}

void glCallList(GLuint list) {
    if (!GlListCompiles(LIST_CALL, (float)list)) CallList(list);
}

void glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    if (type != GL_UNSIGNED_BYTE) return GlSetError(GL_INVALID_ENUM);
    const GLubyte* codes = (const GLubyte*)lists;
    for (GLsizei i = 0; i < n; i++) glCallList(ListBase + codes[i]);
}

void glListBase(GLuint base) { ListBase = base; }

void glPushAttrib(GLbitfield mask) {
    if (mask != GL_LIST_BIT) return GlSetError(GL_INVALID_ENUM);  // the one group offered
    if (SavedListBases.size() >= MAX_ATTRIB_DEPTH) return GlSetError(GL_STACK_OVERFLOW);
    SavedListBases.push_back(ListBase);
}

void glPopAttrib() {
    if (SavedListBases.empty()) return GlSetError(GL_STACK_UNDERFLOW);
    ListBase = SavedListBases.back();
    SavedListBases.pop_back();
}

}  // extern "C"
