// Where the tool works: the paths a user gives are theirs, the models are the demo's.
#include <sys/stat.h>
#include "capture/capture.h"

std::string AbsolutePath(const std::string& path, const std::string& cwd) {
    if (path.empty() || path[0] == '/') return path;
    return cwd == "/" ? "/" + path : cwd + "/" + path;
}

std::string DataFolder(const std::string& exe) {
    size_t slash = exe.rfind('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : exe.substr(0, slash);
    struct stat info;
    std::string data = folder == "/" ? "/Data" : folder + "/Data";
    return stat(data.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? folder : "";
}
