// packbuild OUT.pack DIR NAME...
// Builds the data pack from DIR/NAME for each NAME, in the order given; the entry names are
// the NAMEs. The pack is later appended to the demo executable.
#include <sys/stat.h>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "pack/tpack_write.h"

struct LoadedFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

__attribute__((format(printf, 1, 2))) static bool Fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    fprintf(stderr, "packbuild: ");
    vfprintf(stderr, format, args);
    fputc('\n', stderr);
    va_end(args);
    return false;
}

// Reads the whole file; an entry holds at most what a signed 32-bit size describes.
static bool LoadFile(const std::string& path, LoadedFile* file) {
    FILE* in = fopen(path.c_str(), "rb");
    if (!in) return Fail("cannot open %s: %s", path.c_str(), strerror(errno));
    struct stat info;
    bool regular = fstat(fileno(in), &info) == 0 && S_ISREG(info.st_mode);
    if (!regular || info.st_size > INT32_MAX) {
        fclose(in);
        if (!regular) return Fail("%s is not a regular file", path.c_str());
        return Fail("%s is too large for a pack entry (%lld bytes, at most %d)", path.c_str(),
                    (long long)info.st_size, INT32_MAX);
    }
    file->bytes.resize((size_t)info.st_size);
    size_t size = file->bytes.size();
    bool ok = size == 0 || fread(file->bytes.data(), 1, size, in) == size;
    fclose(in);
    return ok || Fail("cannot read %s", path.c_str());
}

static bool BuildPack(const char* outPath, const std::vector<TpackSource>& sources) {
    FILE* out = fopen(outPath, "wb");
    if (!out) return Fail("cannot create %s: %s", outPath, strerror(errno));
    char error[256];
    bool written = TpackWrite(out, sources.data(), (int32_t)sources.size(), error, sizeof error);
    if (fclose(out) != 0 && written) {
        written = false;
        snprintf(error, sizeof error, "write failed");
    }
    if (written) return true;
    remove(outPath);  // never leave a partial pack for the build to pick up
    return Fail("%s: %s", outPath, error);
}

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: packbuild OUT.pack DIR NAME...\n");
        return 2;
    }
    std::vector<LoadedFile> files((size_t)(argc - 3));
    std::vector<TpackSource> sources;
    for (size_t i = 0; i < files.size(); i++) {
        files[i].name = argv[i + 3];
        if (!LoadFile(std::string(argv[2]) + "/" + files[i].name, &files[i])) return 1;
        sources.push_back(
            {files[i].name.c_str(), files[i].bytes.data(), (int32_t)files[i].bytes.size(), 0});
    }
    if (!BuildPack(argv[1], sources)) return 1;
    printf("packbuild: %s: %zu entries, %lld bytes\n", argv[1], sources.size(),
           (long long)TpackLength(sources.data(), (int32_t)sources.size()));
    return 0;
}
