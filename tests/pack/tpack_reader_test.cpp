// The pack reader against packs written here: locating the pack, lookups, and every
// failure box.
#include <climits>
#include "pack/pack_fixture.h"

namespace {

const char* const NotOpenText =
    "Error finding file.\n TPACK_Open() must be called BEFORE this function!";
const UINT NotOpenType = MB_ICONWARNING | MB_SYSTEMMODAL;

struct Entry {
    const char* name;
    Bytes data;
    uint8_t compressed;
};

std::vector<TpackSource> Sources(const std::vector<Entry>& entries) {
    std::vector<TpackSource> sources;
    for (const Entry& e : entries)
        sources.push_back({e.name, e.data.data(), (int32_t)e.data.size(), e.compressed});
    return sources;
}

class PackReader : public PackTestBase {
protected:
    std::vector<Entry> entries = {
        {"blue2.tga", PatternBytes(300, 1), 0},    {"blue.tga", PatternBytes(200, 2), 0},
        {"Particle.tga", PatternBytes(57, 3), 0},  {"empty.tga", Bytes(), 0},
        {"Zozivuv.mp3", PatternBytes(1000, 5), 0},
    };
    Bytes pack;

    void SetUp() override {
        PackTestBase::SetUp();
        pack = MakePack(Sources(entries));
    }

    // Where entry k's data must start, from the layout alone.
    int32_t ExpectedOffset(int32_t base, size_t k) {
        int32_t offset = base + 20 + 28 * (int32_t)entries.size();
        for (size_t i = 0; i < k; i++) offset += (int32_t)entries[i].data.size();
        return offset;
    }

    Bytes ReadEntryData() {
        Bytes data((size_t)PackFile.entrySize);
        EXPECT_EQ(fseek(PackFile.file, PackFile.entryOffset, SEEK_SET), 0);
        size_t read = data.empty() ? 0 : fread(data.data(), 1, data.size(), PackFile.file);
        EXPECT_EQ(read, data.size());
        return data;
    }
};

TEST_F(PackReader, LocatesPackBehindProgramImageAndFindsEveryEntry) {
    InstallExe(1234, pack);
    ASSERT_TRUE(TPACK_Open(owner, 0));
    EXPECT_TRUE(PackFile.isOpen);
    EXPECT_EQ(PackFile.base, 1234);
    for (size_t k = 0; k < entries.size(); k++) {
        ASSERT_TRUE(TPACK_Find(entries[k].name)) << entries[k].name;
        EXPECT_EQ(PackFile.entryOffset, ExpectedOffset(1234, k)) << entries[k].name;
        EXPECT_EQ(PackFile.entrySize, (int32_t)entries[k].data.size());
        EXPECT_EQ(ReadEntryData(), entries[k].data) << entries[k].name;
    }
    EXPECT_TRUE(PackBoxes.empty());
}

TEST_F(PackReader, OffsetsDoNotDependOnEarlierFinds) {
    InstallExe(7, pack);
    ASSERT_TRUE(TPACK_Open(nullptr, 0));
    const size_t order[] = {4, 0, 4, 2, 1, 2};
    for (size_t k : order) {
        ASSERT_TRUE(TPACK_Find(entries[k].name));
        EXPECT_EQ(PackFile.entryOffset, ExpectedOffset(7, k)) << entries[k].name;
        fseek(PackFile.file, 0, SEEK_SET);  // callers leave the stream anywhere
    }
    // A failed find keeps the last found entry.
    EXPECT_FALSE(TPACK_Find("missing.tga"));
    EXPECT_EQ(PackFile.entryOffset, ExpectedOffset(7, 2));
    EXPECT_EQ(PackFile.entrySize, 57);
}

// The shipped layout: 17 entries behind a 331,849-byte program image.
TEST_F(PackReader, ShippedLayoutArithmetic) {
    const int32_t sizes[17] = {197147, 197147, 197147, 2333417, 49691,  197147,
                               197147, 12827,  197147, 197147,  786971, 197147,
                               197147, 197147, 197147, 197147,  197147};
    const char* names[17] = {"blue2.tga",   "blue.tga",    "caratio1.tga", "Zozivuv.mp3",
                             "Ground1.tga", "hidden.tga",  "spring.tga",   "Particle.tga",
                             "env1.tga",    "pictra2.tga", "credits.tga",  "pictra4.tga",
                             "sky1.tga",    "metal.tga",   "pictra1.tga",  "pictra3.tga",
                             "BigFlare.tga"};
    Bytes zeros(2333417);  // the largest entry
    std::vector<TpackSource> sources;
    for (int i = 0; i < 17; i++) sources.push_back({names[i], zeros.data(), sizes[i], 0});
    Bytes shipped = MakePack(sources);
    ASSERT_EQ(shipped.size(), 5746313u);
    InstallExe(331849, shipped);
    ASSERT_TRUE(TPACK_Open(nullptr, 0));
    EXPECT_EQ(PackFile.base, 331849);
    ASSERT_TRUE(TPACK_Find("blue2.tga"));
    EXPECT_EQ(PackFile.entryOffset, 331849 + 496);
    ASSERT_TRUE(TPACK_Find("Zozivuv.mp3"));
    EXPECT_EQ(PackFile.entryOffset, 331849 + 496 + 3 * 197147);
    EXPECT_EQ(PackFile.entrySize, 2333417);
    ASSERT_TRUE(TPACK_Find("BigFlare.tga"));
    EXPECT_EQ(PackFile.entryOffset + PackFile.entrySize, 6078162);
}

TEST_F(PackReader, NamesMatchExactlyAndCaseSensitively) {
    entries.push_back({"blue.tga", PatternBytes(9, 6), 0});  // a later duplicate never wins
    pack = MakePack(Sources(entries));
    InstallExe(0, pack);
    ASSERT_TRUE(TPACK_Open(owner, 0));
    ASSERT_TRUE(TPACK_Find("Zozivuv.mp3"));
    const char* misses[] = {"particle.tga", "PARTICLE.TGA", "blue", "blue.tga ", "blue.tg", ""};
    for (const char* name : misses) {
        EXPECT_FALSE(TPACK_Find(name)) << name;
        ExpectOneBox(std::string(" Error: ") + name + " not found in package!", "Loader Error",
                     MB_ICONERROR | MB_SYSTEMMODAL, owner);
    }
    EXPECT_EQ(PackFile.entryOffset, ExpectedOffset(0, 4));
    ASSERT_TRUE(TPACK_Find("blue.tga"));
    EXPECT_EQ(PackFile.entryOffset, ExpectedOffset(0, 1));
    EXPECT_EQ(PackFile.entrySize, 200);
}

TEST_F(PackReader, CompressedEntriesAreFoundWithStoredBytes) {
    entries[1].compressed = 1;
    entries[2].compressed = 0xFF;
    pack = MakePack(Sources(entries));
    InstallExe(64, pack);
    ASSERT_TRUE(TPACK_Open(nullptr, 0));
    for (size_t k : {size_t(1), size_t(2), size_t(4)}) {
        ASSERT_TRUE(TPACK_Find(entries[k].name));
        EXPECT_EQ(PackFile.entryOffset, ExpectedOffset(64, k));
        EXPECT_EQ(ReadEntryData(), entries[k].data);
    }
}

// --- Opening ------------------------------------------------------------------------------

class PackOpen : public PackReader {
protected:
    // Opening fails with exactly this box; the pack stays closed for finds.
    void ExpectOpenFails(const std::string& text) {
        EXPECT_FALSE(TPACK_Open(owner, 0));
        ExpectOneBox(text, "TPACK_ExeOpen() Error", MB_ICONERROR, owner);
        EXPECT_FALSE(PackFile.isOpen);
        EXPECT_FALSE(TPACK_Find("blue.tga"));
        ExpectOneBox(NotOpenText, "TPACK_Find() Error", NotOpenType, nullptr);
    }
};

TEST_F(PackOpen, BytesBehindThePackShiftItsStart) {
    InstallExe(100, pack, Bytes(5, 0));
    ExpectOpenFails("Pack ID invalid!");
    EXPECT_NE(PackFile.file, nullptr);  // the stream stays open after a failed check
    InstallExe(100, pack, Bytes(1, 'T'));
    ExpectOpenFails("Pack ID invalid!");
}

TEST_F(PackOpen, TruncatedFiles) {
    Bytes cut(pack.begin(), pack.end() - 3);
    InstallExe(100, cut);
    TpackSize = (int32_t)pack.size();  // the program still expects the full pack
    ExpectOpenFails("Pack ID invalid!");

    Bytes stub = PatternBytes(50, 1);
    InstallExe(stub, (int32_t)pack.size());  // shorter than the pack: nothing at its start
    ExpectOpenFails(" Unable to read package ID!\n Package is corrupt?...");
    InstallExe(stub, 15);  // fewer than 20 bytes from the pack start to the end
    ExpectOpenFails(" Unable to read package ID!\n Package is corrupt?...");
}

TEST_F(PackOpen, SignatureComparedUpToItsTerminator) {
    Bytes variant = pack;
    variant[11] = '!';  // "Tarn Packer!" without a terminator
    InstallExe(10, variant);
    ExpectOpenFails("Pack ID invalid!");
    variant = pack;
    variant[4] = '\0';  // "Tarn"
    InstallExe(10, variant);
    ExpectOpenFails("Pack ID invalid!");
}

TEST_F(PackOpen, ExecutableMissingEmptyOrPackSizeUnset) {
    PlatformExePathOverride = "/nonexistent/vernalis/demo.exe";
    TpackSize = (int32_t)pack.size();
    ExpectOpenFails("Unable to open EXE to read!");

    InstallExe(Bytes(), (int32_t)pack.size());
    ExpectOpenFails(" Error finding pack in exe...\n Exe size not found!");

    InstallExe(10, pack);
    TpackSize = 0;
    ExpectOpenFails(" Error findind pack in exe...\n Pack file size not set correctly!");

    InstallExe(10, pack);
    TpackSize = -5;  // a pack start beyond the end of the file
    ExpectOpenFails(" Unable to read package ID!\n Package is corrupt?...");
}

// 32-bit offsets cannot describe a file over 2 GiB; its length counts as not found.
TEST_F(PackOpen, ExecutableOver2GiB) {
    InstallExe(0, pack);
    std::error_code failed;
    std::filesystem::resize_file(exePath, (uintmax_t)3 << 30, failed);
    ASSERT_FALSE(failed) << failed.message();
    ExpectOpenFails(" Error finding pack in exe...\n Exe size not found!");
}

TEST_F(PackOpen, ModesOtherThanZeroAndOne) {
    PlatformExePathOverride = "/nonexistent/vernalis/demo.exe";  // opening it would show a box
    for (uint8_t mode : {uint8_t(2), uint8_t(255)}) {
        EXPECT_FALSE(TPACK_Open(owner, mode));
        ExpectOneBox("Pack mode not valid!", "TPACK Error", MB_ICONERROR, owner);
        EXPECT_EQ(PackFile.file, nullptr);
        EXPECT_FALSE(PackFile.isOpen);
    }
}

TEST_F(PackOpen, ModeOneOpensNoFileAndFindsFailCleanly) {
    InstallExe(0, pack);
    ASSERT_TRUE(TPACK_Open(owner, 0));
    ASSERT_TRUE(TPACK_Open(owner, 1));  // drops the stream of the earlier open
    EXPECT_TRUE(PackFile.isOpen);
    EXPECT_EQ(PackFile.file, nullptr);
    EXPECT_FALSE(TPACK_Find("blue.tga"));
    ExpectOneBox(" FIND blue.tga: Error reading main header for skipping!", "TPACK_Find()",
                 MB_ICONERROR, owner);
    TPACK_Close();
}

TEST_F(PackOpen, FindBeforeOpenAndAfterClose) {
    EXPECT_FALSE(TPACK_Find("blue.tga"));
    ExpectOneBox(NotOpenText, "TPACK_Find() Error", NotOpenType, nullptr);
    InstallExe(0, pack);
    ASSERT_TRUE(TPACK_Open(owner, 0));
    TPACK_Close();
    EXPECT_EQ(PackFile.file, nullptr);
    EXPECT_FALSE(TPACK_Find("blue.tga"));
    ExpectOneBox(NotOpenText, "TPACK_Find() Error", NotOpenType, nullptr);
    TPACK_Close();  // closing twice is harmless
}

// --- Hostile directories --------------------------------------------------------------------

class PackDirectory : public PackReader {
protected:
    // Opens `bytes` as the whole pack behind a small program image.
    void OpenPack(const Bytes& bytes) {
        InstallExe(33, bytes);
        ASSERT_TRUE(TPACK_Open(owner, 0));
    }
    void ExpectSubHeaderBox(const char* name, long index, long count) {
        char text[200];
        snprintf(text, sizeof text, " Error reading sub header for %s at %ld (Total files: %ld)",
                 name, index, count);
        ExpectOneBox(text, "TPACK_Find()", MB_ICONERROR, owner);
    }
};

TEST_F(PackDirectory, CountBeyondTheFile) {
    entries = {{"a.tga", Bytes(), 0}, {"b.tga", Bytes(), 0}};
    Bytes bytes = MakePack(Sources(entries));
    PutLe32(bytes, 12, INT32_MAX);
    OpenPack(bytes);
    EXPECT_FALSE(TPACK_Find("c.tga"));
    ExpectSubHeaderBox("c.tga", 2, INT32_MAX);
}

TEST_F(PackDirectory, TruncatedDirectory) {
    Bytes bytes(pack.begin(), pack.begin() + 20 + 28 * 2 + 10);
    OpenPack(bytes);
    ASSERT_TRUE(TPACK_Find("blue.tga"));
    EXPECT_FALSE(TPACK_Find("Zozivuv.mp3"));
    ExpectSubHeaderBox("Zozivuv.mp3", 2, 5);
}

TEST_F(PackDirectory, NegativeCountHasNoEntries) {
    Bytes bytes = pack;
    PutLe32(bytes, 12, -3);
    OpenPack(bytes);
    EXPECT_FALSE(TPACK_Find("blue2.tga"));
    ExpectOneBox(" Error: blue2.tga not found in package!", "Loader Error",
                 MB_ICONERROR | MB_SYSTEMMODAL, owner);
}

// A name field filled to its last byte matches nothing, but its data still counts.
TEST_F(PackDirectory, NameWithoutTerminator) {
    Bytes bytes = pack;
    memset(&bytes[20], 'A', 20);
    OpenPack(bytes);
    EXPECT_FALSE(TPACK_Find(std::string(20, 'A').c_str()));
    EXPECT_FALSE(TPACK_Find(std::string(19, 'A').c_str()));
    EXPECT_FALSE(TPACK_Find(std::string(21, 'A').c_str()));
    EXPECT_EQ(PackBoxes.size(), 3u);
    ASSERT_TRUE(TPACK_Find("blue.tga"));
    EXPECT_EQ(PackFile.entryOffset, ExpectedOffset(33, 1));
}

// Sizes whose sum leaves 32-bit offsets, or negative sizes, never produce an offset.
TEST_F(PackDirectory, SizesThatOverflowOrGoNegative) {
    Bytes bytes = pack;
    PutLe32(bytes, 20 + 28 * 1 + 20, INT32_MAX - 1000);
    PutLe32(bytes, 20 + 28 * 2 + 20, INT32_MAX - 1000);
    OpenPack(bytes);
    ASSERT_TRUE(TPACK_Find("blue.tga"));  // still ends within 32 bits; reading it runs short
    EXPECT_EQ(PackFile.entrySize, INT32_MAX - 1000);
    EXPECT_FALSE(TPACK_Find("Particle.tga"));
    ExpectSubHeaderBox("Particle.tga", 2, 5);
    EXPECT_FALSE(TPACK_Find("empty.tga"));  // the 32-bit sum would wrap to a small offset
    ExpectSubHeaderBox("empty.tga", 3, 5);

    bytes = pack;
    PutLe32(bytes, 20 + 20, -1000);
    OpenPack(bytes);
    EXPECT_FALSE(TPACK_Find("blue2.tga"));
    ExpectSubHeaderBox("blue2.tga", 0, 5);
    EXPECT_FALSE(TPACK_Find("blue.tga"));  // would point into the directory
    ExpectSubHeaderBox("blue.tga", 1, 5);
}

TEST_F(PackDirectory, HeaderGoneAfterOpen) {
    const size_t image = 1 << 20;  // far more than the stream buffers
    InstallExe(image, pack);
    ASSERT_TRUE(TPACK_Open(owner, 0));
    ASSERT_EQ(truncate(exePath.c_str(), (off_t)image + 10), 0);
    fseek(PackFile.file, 0, SEEK_SET);  // a loader reads elsewhere
    fgetc(PackFile.file);
    EXPECT_FALSE(TPACK_Find("blue.tga"));
    ExpectOneBox(" FIND blue.tga: Error reading main header for skipping!", "TPACK_Find()",
                 MB_ICONERROR, owner);
}

}  // namespace
