// An export's temporary files and folder in $TMPDIR, and the processes it starts: Ctrl-C or
// SIGTERM stops those processes and removes what is left before the tool dies.
#include <signal.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include "capture/capture.h"

enum { MAX_TEMPORARIES = 6, MAX_HELPERS = 2 };
static char Temporaries[MAX_TEMPORARIES][4096];  // removed last first: a folder's files before it
static int TemporaryCount = 0;
static pid_t Helpers[MAX_HELPERS];

static void RemoveAll() {
    for (int i = TemporaryCount - 1; i >= 0; i--)
        if (unlink(Temporaries[i]) != 0) rmdir(Temporaries[i]);
}

static void StopAndDie(int sig) {
    for (pid_t helper : Helpers)
        if (helper > 0) kill(helper, SIGTERM);
    RemoveAll();
    signal(sig, SIG_DFL);
    raise(sig);
}

static std::string Keep(const std::string& path) {
    if (TemporaryCount == MAX_TEMPORARIES || path.size() >= sizeof Temporaries[0]) return "";
    snprintf(Temporaries[TemporaryCount++], sizeof Temporaries[0], "%s", path.c_str());
    signal(SIGINT, StopAndDie);
    signal(SIGTERM, StopAndDie);
    return path;
}

std::string TemporaryPath(const char* name) {
    const char* dir = getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/" + name;
    size_t x = path.rfind("XXXXXX");
    if (x == std::string::npos) return "";
    bool folder = x + 6 == path.size();
    int fd = folder ? -1 : mkstemps(path.data(), (int)(path.size() - x - 6));
    if (folder ? !mkdtemp(path.data()) : fd < 0) return "";
    if (fd >= 0) close(fd);
    std::string kept = Keep(path);
    if (kept.empty()) folder ? rmdir(path.c_str()) : unlink(path.c_str());
    return kept;
}

std::string TemporaryIn(const std::string& folder, const char* name) { return Keep(folder + "/" + name); }

void TemporaryHelper(int slot, int pid) { Helpers[slot] = pid; }

void RemoveTemporaries() {
    RemoveAll();
    TemporaryCount = 0;
}
