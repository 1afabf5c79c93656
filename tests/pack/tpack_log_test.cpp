// The pack reader's debug log: present only in builds with TPACK_DEBUG.
#include "pack/pack_fixture.h"

namespace {

const std::string Separator = " " + std::string(53, '=') + "\n";

class PackLog : public PackTestBase {
protected:
    Bytes one = PatternBytes(200, 1), two = PatternBytes(30, 2);
    Bytes pack;
    void SetUp() override {
        PackTestBase::SetUp();
        pack = MakePack({{"blue.tga", one.data(), 200, 0}, {"Squeezed.tga", two.data(), 30, 1}});
    }
    // One session: open, two finds, a miss, close.
    void RunSession() {
        InstallExe(100, pack);
        ASSERT_TRUE(TPACK_Open(nullptr, 0));
        ASSERT_TRUE(TPACK_Find("blue.tga"));
        ASSERT_TRUE(TPACK_Find("Squeezed.tga"));
        ASSERT_FALSE(TPACK_Find("nope"));
        TPACK_Close();
    }
    std::string LogText() {
        Bytes bytes = ReadWholeFile("pdebug.log");
        return std::string(bytes.begin(), bytes.end());
    }
};

#ifndef TPACK_DEBUG

TEST_F(PackLog, NoLogFileWithoutTheSwitch) {
    RunSession();
    EXPECT_FALSE(TPACK_Open(nullptr, 7));
    TPACK_Log("anything");
    EXPECT_FALSE(FileExists("pdebug.log"));
}

#else

TEST_F(PackLog, SessionIsLoggedLineByLine) {
    RunSession();
    std::string text = LogText();
    size_t start = text.find(" Loading archive");
    ASSERT_NE(start, std::string::npos) << text;
    std::string banner = text.substr(0, start);
    EXPECT_EQ(banner.compare(0, Separator.size(), Separator), 0) << banner;
    EXPECT_NE(banner.find("://"), std::string::npos) << "the banner carries a web address";
    long size = (long)pack.size();
    std::string expected =
        " Loading archive TPK from: " + exePath + "\n" +
        " Exe size: " + std::to_string(100 + size) + " bytes\n" + " Pack file at: 100 (" +
        std::to_string(size) + " Bytes)\n" + " Pack ID: 'Tarn Packer' Files: 2\n" +
        " Tarn Packer is a good signature! ;)\n" + " Unpacker ready for loading!\n\n" + Separator +
        " Searching blue.tga...\n" + " blue.tga found at 176 (200 Bytes - Uncompressed)\n" +
        " Searching Squeezed.tga...\n" + " Squeezed.tga found at 376 (30 Bytes - Compressed)\n" +
        " Searching nope...\n" + " Error: nope not found in package!\n" + "\n" + Separator +
        " Session closed.\n";
    EXPECT_EQ(text.substr(start), expected);
}

TEST_F(PackLog, UncreatableLogWarnsOnceAndOpenGoesOn) {
    std::filesystem::create_directory("pdebug.log");  // fopen "w+" cannot open a directory
    InstallExe(100, pack);
    HWND owner = (HWND)(uintptr_t)0x77;
    ASSERT_TRUE(TPACK_Open(owner, 0));
    ExpectOneBox("Unable to create debug file, skipping...", "TPACK: Warning", MB_ICONWARNING,
                 owner);
    ASSERT_TRUE(TPACK_Find("blue.tga"));
    TPACK_Close();
    EXPECT_TRUE(PackBoxes.empty());
}

#endif

}  // namespace
