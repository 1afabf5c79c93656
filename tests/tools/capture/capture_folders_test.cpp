#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <string>
#include "capture/capture.h"

// The user's paths, as the tool sees them once it has moved to the data folder.
TEST(CaptureFolders, AbsolutePathsKeepTheUsersFolder) {
    struct Case {
        const char* path;
        const char* cwd;
        const char* absolute;
    } cases[] = {
        {"still.png", "/home/ana", "/home/ana/still.png"},
        {"frames/", "/home/ana", "/home/ana/frames/"},  // a folder of frames stays a folder
        {"../out/demo.mp4", "/home/ana/x", "/home/ana/x/../out/demo.mp4"},
        {"demo.mp4", "/", "/demo.mp4"},
        {"/tmp/a.sums", "/home/ana", "/tmp/a.sums"},
        {"", "/home/ana", ""},  // --bench has no output
    };
    for (const Case& c : cases) EXPECT_EQ(AbsolutePath(c.path, c.cwd), c.absolute) << c.path;
}

// The models are read beside the executable where it has Data/ (a build folder, the installed
// demo's folder), otherwise from the current folder.
TEST(CaptureFolders, DataFolderIsTheExecutablesWhenItHoldsData) {
    char pattern[] = "/tmp/vernalis-folders-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string top = pattern, plain = top + "/plain", linked = top + "/linked",
                file = top + "/file";
    ASSERT_EQ(mkdir(plain.c_str(), 0755), 0);
    ASSERT_EQ(mkdir(linked.c_str(), 0755), 0);
    ASSERT_EQ(mkdir(file.c_str(), 0755), 0);
    EXPECT_EQ(DataFolder(plain + "/vernalis"), "");
    ASSERT_EQ(mkdir((plain + "/Data").c_str(), 0755), 0);
    EXPECT_EQ(DataFolder(plain + "/vernalis"), plain);
    // The installed demo's Data/ is a link to the models under /usr/share.
    ASSERT_EQ(symlink((plain + "/Data").c_str(), (linked + "/Data").c_str()), 0);
    EXPECT_EQ(DataFolder(linked + "/vernalis"), linked);
    FILE* data = fopen((file + "/Data").c_str(), "w");
    ASSERT_NE(data, nullptr);
    fclose(data);
    EXPECT_EQ(DataFolder(file + "/vernalis"), "");  // a file named Data holds no models
    unlink((file + "/Data").c_str());
    unlink((linked + "/Data").c_str());
    rmdir((plain + "/Data").c_str());
    for (const std::string& folder : {plain, linked, file, top}) rmdir(folder.c_str());
}
