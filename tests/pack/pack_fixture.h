// Shared by the pack tests: each test runs in its own temporary working directory, captures
// message boxes, and points the reader at an "executable" it writes there.
#pragma once
#include <gtest/gtest.h>
#include <cstdio>
#include <unistd.h>
#include <filesystem>
#include <string>
#include <vector>
#include "pack/tpack.h"
#include "pack/tpack_write.h"
#include "platform/platform_testing.h"

struct PackBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};
inline std::vector<PackBox> PackBoxes;

inline int RecordPackBox(HWND owner, const char* text, const char* caption, UINT type) {
    PackBoxes.push_back({owner, text, caption, type});
    return IDOK;
}

typedef std::vector<uint8_t> Bytes;

// Entry data with a different pattern per entry, so a wrong offset reads wrong bytes.
inline Bytes PatternBytes(size_t size, int seed) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; i++) bytes[i] = (uint8_t)(seed * 37 + i * 11 + (i >> 8));
    return bytes;
}

inline Bytes ReadWholeFile(const std::string& path) {
    Bytes bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return bytes;
    int c;
    while ((c = fgetc(file)) != EOF) bytes.push_back((uint8_t)c);
    fclose(file);
    return bytes;
}

inline void WriteWholeFile(const std::string& path, const Bytes& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    size_t written = bytes.empty() ? 0 : fwrite(bytes.data(), 1, bytes.size(), file);
    EXPECT_EQ(written, bytes.size());
    fclose(file);
}

inline Bytes MakePack(const std::vector<TpackSource>& sources) {
    FILE* file = tmpfile();
    char error[256] = "";
    bool written =
        file && TpackWrite(file, sources.data(), (int32_t)sources.size(), error, sizeof error);
    EXPECT_TRUE(written) << error;
    Bytes bytes;
    if (file && written) {
        rewind(file);
        int c;
        while ((c = fgetc(file)) != EOF) bytes.push_back((uint8_t)c);
    }
    if (file) fclose(file);
    return bytes;
}

inline void PutLe32(Bytes& bytes, size_t at, int32_t value) {
    for (int i = 0; i < 4; i++) bytes[at + i] = (uint8_t)((uint32_t)value >> (8 * i));
}

class PackTestBase : public ::testing::Test {
protected:
    std::string dir, oldCwd, exePath;
    HWND owner = (HWND)(uintptr_t)0x5150;  // any distinct value; boxes must pass it on

    void SetUp() override {
        namespace fs = std::filesystem;
        static unsigned serial = 0;
        fs::path made = fs::temp_directory_path() / ("vernalis_pack_" + std::to_string(getpid()) +
                                                     "_" + std::to_string(++serial));
        fs::remove_all(made);
        ASSERT_TRUE(fs::create_directory(made));
        dir = made.string();
        oldCwd = fs::current_path().string();
        fs::current_path(made);
        exePath = dir + "/demo.exe";
        TPACK_Close();
        PackBoxes.clear();
        SetMessageBoxHook(RecordPackBox);
    }

    void TearDown() override {
        TPACK_Close();
        SetMessageBoxHook(nullptr);
        PlatformExePathOverride = nullptr;
        TpackSize = 0;
        std::filesystem::current_path(oldCwd);
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    // Writes the executable the reader will open and tells it the pack length.
    void InstallExe(const Bytes& bytes, int32_t packSize) {
        WriteWholeFile(exePath, bytes);
        PlatformExePathOverride = exePath.c_str();
        TpackSize = packSize;
    }

    // Program image stand-in, then the pack, then optional trailing bytes.
    void InstallExe(size_t junk, const Bytes& pack, const Bytes& trailer = Bytes()) {
        Bytes exe = PatternBytes(junk, 99);
        exe.insert(exe.end(), pack.begin(), pack.end());
        exe.insert(exe.end(), trailer.begin(), trailer.end());
        InstallExe(exe, (int32_t)pack.size());
    }

    void ExpectOneBox(const std::string& text, const std::string& caption, UINT type,
                      HWND boxOwner) {
        ASSERT_EQ(PackBoxes.size(), 1u);
        EXPECT_EQ(PackBoxes[0].text, text);
        EXPECT_EQ(PackBoxes[0].caption, caption);
        EXPECT_EQ(PackBoxes[0].type, type);
        EXPECT_EQ(PackBoxes[0].owner, boxOwner);
        PackBoxes.clear();
    }

    bool FileExists(const std::string& name) { return std::filesystem::exists(name); }
};
