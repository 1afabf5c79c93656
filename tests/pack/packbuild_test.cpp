// The pack writer and the packbuild tool: the bytes they write, what they refuse, and the
// pack the build appends to the demo.
#include <sys/wait.h>
#include <climits>
#include <cstdlib>
#include "pack/pack_fixture.h"

namespace {

class PackWriter : public PackTestBase {};

TEST_F(PackWriter, WritesHeaderDirectoryAndDataInOrder) {
    const uint8_t first[] = {1, 2, 3};
    const uint8_t second[] = {0xAA};
    std::vector<TpackSource> sources = {{"a.tga", first, 3, 0},
                                        {"sixteen+three.mp3", second, 1, 1}};
    Bytes pack = MakePack(sources);
    ASSERT_EQ(pack.size(), 20u + 56 + 4);
    EXPECT_EQ(TpackLength(sources.data(), 2), 80);
    Bytes expected = {'T', 'a', 'r', 'n', ' ', 'P', 'a', 'c', 'k', 'e',
                      'r', 0,   2,   0,   0,   0,   4,   0,   0,   0};
    Bytes entry(28, 0);
    memcpy(entry.data(), "a.tga", 5);
    entry[20] = 3;
    expected.insert(expected.end(), entry.begin(), entry.end());
    entry.assign(28, 0);
    memcpy(entry.data(), "sixteen+three.mp3", 17);
    entry[20] = 1;
    entry[24] = 1;
    expected.insert(expected.end(), entry.begin(), entry.end());
    expected.insert(expected.end(), {1, 2, 3, 0xAA});
    EXPECT_EQ(pack, expected);
}

TEST_F(PackWriter, RefusesBadNamesAndOversizedPacks) {
    uint8_t byte = 0;
    std::string longest(19, 'n'), tooLong(20, 'n');
    struct Case {
        TpackSource source;
        bool accepted;
    } cases[] = {
        {{longest.c_str(), &byte, 1, 0}, true},
        {{tooLong.c_str(), &byte, 1, 0}, false},
        {{"", &byte, 1, 0}, false},
        {{nullptr, &byte, 1, 0}, false},
        {{"neg.tga", &byte, -1, 0}, false},
        {{"huge.tga", &byte, INT32_MAX - 47, 0}, false},  // header + entry + data > 2^31 - 1
    };
    for (const Case& c : cases) {
        FILE* out = tmpfile();
        ASSERT_NE(out, nullptr);
        char error[256] = "";
        EXPECT_EQ(TpackWrite(out, &c.source, 1, error, sizeof error), c.accepted)
            << (c.source.name ? c.source.name : "(null)");
        EXPECT_EQ(c.accepted, error[0] == '\0') << error;
        if (!c.accepted) {
            EXPECT_EQ(ftell(out), 0) << "nothing written before the checks";
        }
        fclose(out);
    }
}

// --- The packbuild tool -------------------------------------------------------------------

#ifdef VERNALIS_BUILD_DIR
const char* const BuildDir = VERNALIS_BUILD_DIR;
#else
const char* const BuildDir = ".";
#endif

class PackBuildTool : public PackTestBase {
protected:
    std::string tool;

    void SetUp() override {
        PackTestBase::SetUp();
        tool = std::string(BuildDir) + "/packbuild";
        if (!FileExists(tool)) GTEST_SKIP() << "packbuild not built";
        std::filesystem::create_directory("in");
        WriteWholeFile("in/one.tga", PatternBytes(500, 1));
        WriteWholeFile("in/two.mp3", PatternBytes(70, 2));
        WriteWholeFile("in/empty.tga", Bytes());
    }

    int Run(const std::string& arguments) {
        std::string command = "'" + tool + "' " + arguments + " >/dev/null 2>&1";
        int status = system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(PackBuildTool, BuildsThePackTheWriterWould) {
    ASSERT_EQ(Run("out.pack in two.mp3 one.tga empty.tga"), 0);
    Bytes one = PatternBytes(500, 1), two = PatternBytes(70, 2);
    Bytes expected = MakePack({{"two.mp3", two.data(), 70, 0},
                               {"one.tga", one.data(), 500, 0},
                               {"empty.tga", nullptr, 0, 0}});
    EXPECT_EQ(ReadWholeFile("out.pack"), expected);
}

TEST_F(PackBuildTool, FailsClearlyAndLeavesNoPack) {
    EXPECT_NE(Run("out.pack in one.tga missing.tga"), 0);
    EXPECT_FALSE(FileExists("out.pack"));
    WriteWholeFile("in/twenty_characters_12", Bytes(3, 1));
    EXPECT_NE(Run("out.pack in one.tga twenty_characters_12"), 0);
    EXPECT_FALSE(FileExists("out.pack"));
    // A sparse file just over the 32-bit limit: refused before it is read.
    WriteWholeFile("in/big.tga", Bytes());
    ASSERT_EQ(truncate("in/big.tga", (off_t)INT32_MAX + 1), 0);
    EXPECT_NE(Run("out.pack in big.tga"), 0);
    EXPECT_FALSE(FileExists("out.pack"));
    EXPECT_NE(Run("out.pack in"), 0);  // no entries named
}

// The demo as built: its last bytes are the pack, and every entry of it is found.
TEST_F(PackBuildTool, BuiltDemoCarriesItsPack) {
    std::string exe = std::string(BuildDir) + "/vernalis";
    Bytes pack = ReadWholeFile(std::string(BuildDir) + "/vernalis.pack");
    if (!FileExists(exe) || pack.empty()) GTEST_SKIP() << "demo or pack not built";
    PlatformExePathOverride = exe.c_str();
    TpackSize = (int32_t)pack.size();
    ASSERT_TRUE(TPACK_Open(nullptr, 0));
    // Every entry of the asset list, in its order: each is found and lies after the previous.
    const char* names[] = {
#define PACK_TEXTURE(name, width, height, painter) name,
#define PACK_SOUNDTRACK(name) name,
#include "assetgen/assets.def"
    };
    int32_t previous = -1;
    for (const char* name : names) {
        EXPECT_TRUE(TPACK_Find(name)) << name;
        EXPECT_GT(PackFile.entryOffset, previous) << name;
        previous = PackFile.entryOffset;
    }
    EXPECT_TRUE(PackBoxes.empty());
    long exeLength = (long)std::filesystem::file_size(exe);
    EXPECT_EQ(PackFile.base, exeLength - (long)pack.size());
    EXPECT_EQ(PackFile.entryOffset + PackFile.entrySize, exeLength);  // BigFlare.tga is last
}

}  // namespace
