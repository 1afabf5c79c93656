#include <gtest/gtest.h>
#include <unistd.h>
#include <filesystem>
#include "platform/platform_testing.h"

TEST(PlatformFiles, BackslashesSeparateFolders) {
    char pattern[] = "/tmp/vernalis_files_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string dir = pattern;
    std::filesystem::create_directories(dir + "/Data");
    FILE* made = fopen((dir + "/Data/Tubo.3ds").c_str(), "wb");
    ASSERT_NE(made, nullptr);
    fputs("x", made);
    fclose(made);
    FILE* file = PlatformOpenFile((dir + "\\Data\\Tubo.3ds").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(fgetc(file), 'x');
    fclose(file);
    EXPECT_EQ(PlatformOpenFile((dir + "\\Data\\tubo.3ds").c_str(), "rb"), nullptr);  // case counts
    EXPECT_EQ(PlatformOpenFile(nullptr, "rb"), nullptr);
    std::filesystem::remove_all(dir);
}

TEST(PlatformFiles, ExecutablePathIsTerminatedAndBounded) {
    char path[8];
    PlatformExePathOverride = "/some/long/path/to/vernalis";
    EXPECT_EQ(GetModuleFileNameA(nullptr, path, sizeof path), 7u);
    EXPECT_STREQ(path, "/some/l");
    PlatformExePathOverride = nullptr;
    char real[1024];
    ASSERT_GT(GetModuleFileNameA(nullptr, real, sizeof real), 0u);
    EXPECT_TRUE(std::filesystem::exists(real));
}
