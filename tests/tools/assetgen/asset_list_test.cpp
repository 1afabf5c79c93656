// The one asset list against what the build made of it: every pack entry and model file it
// names was written by assetgen, with the listed size, and nothing else was.
#include <gtest/gtest.h>
#include <filesystem>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>
#include "assetgen/max3ds_writer.h"
#include "assetgen/models.h"
#include "base/le.h"
#include "loaders/tga.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> FilesIn(const char* dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

struct Listed {
    const char* name;
    int width, height;  // 0 for the soundtrack
};

TEST(AssetList, PackEntriesAreTheFilesAssetgenWrote) {
    static const Listed entries[] = {
#define PACK_TEXTURE(name, width, height, painter) {name, width, height},
#define PACK_SOUNDTRACK(name) {name, 0, 0},
#include "assetgen/assets.def"
    };
    std::set<std::string> listed;
    for (const Listed& e : entries) {
        SCOPED_TRACE(e.name);
        listed.insert(e.name);
        std::vector<uint8_t> bytes = ReadAll(fs::path(VERNALIS_ASSET_DIR) / e.name);
        ASSERT_GE(bytes.size(), (size_t)TGA_HEADER_SIZE);
        if (e.width == 0) continue;  // the soundtrack: its own tests decode it
        EXPECT_EQ(memcmp(bytes.data(), TGA_PREFIX, sizeof TGA_PREFIX), 0);
        EXPECT_EQ(GetLe16(&bytes[TGA_WIDTH_AT]), (uint32_t)e.width);
        EXPECT_EQ(GetLe16(&bytes[TGA_HEIGHT_AT]), (uint32_t)e.height);
    }
    EXPECT_EQ(listed.size(), std::size(entries));  // no name twice
    EXPECT_EQ(FilesIn(VERNALIS_ASSET_DIR), listed);
}

TEST(AssetList, ModelFilesAreTheMeshesAssetgenWrote) {
    std::set<std::string> listed;
    for (int i = 0; i < ModelCount; i++) {
        SCOPED_TRACE(ModelTable[i].fileName);
        listed.insert(ModelTable[i].fileName);
        EXPECT_EQ(ReadAll(fs::path(VERNALIS_MODEL_DIR) / ModelTable[i].fileName),
                  Encode3ds(ModelTable[i].make(), ModelTable[i].objectName));
    }
    EXPECT_EQ(FilesIn(VERNALIS_MODEL_DIR), listed);
}

}  // namespace
