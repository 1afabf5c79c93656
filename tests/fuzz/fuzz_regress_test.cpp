// Inputs that once broke a reader, or that stand for a limit the readers must keep, replayed
// through the fuzz targets' harness so that a fixed fault stays fixed. Each file under
// tests/fuzz/regress is KIND-what.hex (KIND: tga, 3ds, pack or mp3): '#' comment lines, then
// the input's bytes as pairs of hexadecimal digits; nothing binary is kept.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_harness.h"
#include "gl_fixture.h"

namespace {

std::vector<uint8_t> ReadHex(const std::filesystem::path& path, bool* ok) {
    std::ifstream in(path);
    std::vector<uint8_t> bytes;
    std::string line, digits;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '#') continue;
        for (char c : line)
            if (!isspace((unsigned char)c)) digits += c;
    }
    *ok = digits.size() % 2 == 0 && std::all_of(digits.begin(), digits.end(),
                                                [](char c) { return isxdigit((unsigned char)c); });
    for (size_t i = 0; *ok && i < digits.size(); i += 2)
        bytes.push_back((uint8_t)std::stoi(digits.substr(i, 2), nullptr, 16));
    return bytes;
}

class FuzzRegress : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_TRUE(FuzzSetUp());
    }
    void TearDown() override { FuzzTearDown(); }
};

}  // namespace

// Run under the sanitizers in CI: refusing or loading is fine, any memory error is not.
TEST_F(FuzzRegress, EveryKeptInputIsRefusedOrLoadedCleanly) {
    const std::map<std::string, void (*)(const uint8_t*, size_t)> kinds = {
        {"tga", FuzzTga}, {"3ds", FuzzModel3ds}, {"pack", FuzzPack}, {"mp3", FuzzSoundtrack}};
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(VERNALIS_FUZZ_REGRESS_DIR))
        if (entry.path().extension() == ".hex") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::map<std::string, int> replayed;
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        std::string name = path.filename().string();
        auto kind = kinds.find(name.substr(0, name.find('-')));
        ASSERT_NE(kind, kinds.end()) << "unknown kind";
        bool ok = false;
        std::vector<uint8_t> bytes = ReadHex(path, &ok);
        ASSERT_TRUE(ok) << "not hexadecimal pairs";
        kind->second(bytes.data(), bytes.size());
        replayed[kind->first]++;
    }
    for (const auto& kind : kinds) EXPECT_GT(replayed[kind.first], 0) << kind.first;
}
