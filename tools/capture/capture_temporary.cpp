// An export's temporary files and folder in $TMPDIR, the output being written under a
// temporary name beside --out, and the processes it starts: Ctrl-C or SIGTERM stops those
// processes, waits for them and removes what is left before the tool dies.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "capture/capture.h"

enum { MAX_TEMPORARIES = 8, MAX_HELPERS = 3 };
static char Temporaries[MAX_TEMPORARIES][4096];  // removed last first: a folder's files before it
static int TemporaryCount = 0;
// Parts get SIGTERM (they clean up after themselves), ffmpeg SIGKILL.
static pid_t Helpers[MAX_HELPERS];

static void RemoveAll() {
    for (int i = TemporaryCount - 1; i >= 0; i--)
        if (unlink(Temporaries[i]) != 0) rmdir(Temporaries[i]);
}

// Only async-signal-safe calls. The helpers are waited for first, so that none of them
// writes a file after it is removed.
static void StopAndDie(int sig) {
    for (int i = 0; i < MAX_HELPERS; i++)
        if (Helpers[i] > 0) kill(Helpers[i], i == HELPER_ENCODER ? SIGKILL : SIGTERM);
    for (pid_t helper : Helpers)
        if (helper > 0)
            while (waitpid(helper, nullptr, 0) < 0 && errno == EINTR) {
            }
    RemoveAll();
    signal(sig, SIG_DFL);
    raise(sig);
}

// From the first temporary or helper on, a signal stops the helpers and removes the files.
static void StopOnSignals() {
    signal(SIGINT, StopAndDie);
    signal(SIGTERM, StopAndDie);
}

static std::string Keep(const std::string& path) {
    if (TemporaryCount == MAX_TEMPORARIES || path.size() >= sizeof Temporaries[0]) return "";
    snprintf(Temporaries[TemporaryCount++], sizeof Temporaries[0], "%s", path.c_str());
    StopOnSignals();
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

std::string TemporaryIn(const std::string& folder, const char* name) {
    return Keep(folder + "/" + name);
}

// The output's own folder, so that the rename at the end is atomic; hidden, and with the
// output's extension, which tells ffmpeg the container.
std::string TemporaryBeside(const std::string& out) {
    size_t slash = out.rfind('/');
    std::string dir = slash == std::string::npos ? "" : out.substr(0, slash + 1);
    std::string name = out.substr(dir.size());
    size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? "" : name.substr(dot);
    std::string path = dir + "." + name.substr(0, name.size() - ext.size()) + "-XXXXXX" + ext;
    int fd = mkstemps(path.data(), (int)ext.size());
    if (fd < 0) return "";
    mode_t mask = umask(0);  // the finished file gets the mode a file made by the user would
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);
    std::string kept = Keep(path);
    if (kept.empty()) unlink(path.c_str());
    return kept;
}

bool TemporaryPublish(const std::string& temporary, const std::string& out, std::string* error) {
    if (rename(temporary.c_str(), out.c_str()) == 0) return true;
    *error = "cannot rename the finished " + temporary + " to " + out + ": " + strerror(errno);
    return false;
}

void TemporaryHelper(int slot, int pid) {
    Helpers[slot] = pid;
    StopOnSignals();
}

void RemoveTemporaries() {
    RemoveAll();
    TemporaryCount = 0;
}
