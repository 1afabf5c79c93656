// assetgen ASSET_DIR MODEL_DIR: generates every image, the soundtrack and the models
// of the demo. assetgen --icon FILE.svg: draws the desktop icon. The output is the same,
// byte for byte, on every run.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "assetgen/icon.h"
#include "assetgen/models.h"
#include "assetgen/soundtrack.h"
#include "assetgen/textures.h"
#include "assetgen/tga_writer.h"

static bool MakeDirs(const std::string& path) {
    for (size_t at = 1; at <= path.size(); at++) {
        if (at < path.size() && path[at] != '/') continue;
        std::string part = path.substr(0, at);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

static int Fail(const char* what) {
    std::fprintf(stderr, "assetgen: %s\n", what);
    return 1;
}

#define PACK_SOUNDTRACK(name) static const char SoundtrackName[] = name;
#include "assetgen/assets.def"

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icon") {
        std::string svg = DrawIconSvg();
        std::string temporary = std::string(argv[2]) + ".tmp";
        if (!WriteFileBytes(temporary, std::vector<uint8_t>(svg.begin(), svg.end())) ||
            std::rename(temporary.c_str(), argv[2]) != 0) {
            std::remove(temporary.c_str());
            return Fail("cannot write the icon");
        }
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: assetgen ASSET_DIR MODEL_DIR | assetgen --icon FILE.svg\n");
        return 2;
    }
    std::string assets = argv[1], models = argv[2];
    if (!MakeDirs(assets) || !MakeDirs(models)) return Fail("cannot create the output folders");
    if (!WriteTextures(assets)) return Fail("cannot write the textures");
    if (!WriteModels(models)) return Fail("cannot write the models");
    std::vector<uint8_t> mp3;
    if (!GenerateSoundtrack(mp3)) return Fail("cannot encode the soundtrack");
    if (!WriteFileBytes(assets + "/" + SoundtrackName, mp3))
        return Fail("cannot write the soundtrack");
    return 0;
}
