// A model file missing from Data/ stops the init of the scene that loads it, with the box that
// names it; the models before it in that scene have loaded.
#include <gtest/gtest.h>
#include <unistd.h>
#include <filesystem>
#include <vector>
#include "demo/demo.h"
#include "demo/scenes.h"
#include "test_support.h"

TEST(SceneInit, AMissingModelStopsItsSceneWithItsOwnBox) {
    namespace fs = std::filesystem;
    const struct {
        bool (*init)();
        std::vector<const char*> present;  // the model files Data/ holds
        std::vector<Model*> loaded;        // the models loaded before the missing one
        const char* text;
    } rows[] = {
        {Scene1Init,
         {"CaraTio1.3DS", "Galaxy.3DS"},
         {&ModelCaraTio1, &ModelGalaxy},
         "Data\\Nudo.3ds not found!"},
        {Scene2Init, {}, {}, "Data\\CaraTio1.3ds not found!"},
        {Scene3Init, {}, {}, "Data\\Tubo.3ds not found!"},
        // Either face file of scene 5 missing gives the same box, which names neither.
        {Scene5Init, {}, {}, "Data\\CaraTio2.3ds not found!"},
        {Scene5Init, {"cara1.3DS"}, {&ModelCara1}, "Data\\CaraTio2.3ds not found!"},
    };
    fs::path home = fs::current_path();
    fs::path dir = fs::temp_directory_path() / ("vernalis_scene_init_" + std::to_string(getpid()));
    for (const auto& row : rows) {
        fs::remove_all(dir);
        fs::create_directories(dir / "Data");
        for (const char* name : row.present)
            fs::copy_file(fs::path(VERNALIS_BUILD_DIR) / "Data" / name, dir / "Data" / name);
        for (Model* model : row.loaded) model->faceCount = 0;
        fs::current_path(dir);
        BoxesStart();
        bool loaded = row.init();
        BoxesStop();
        fs::current_path(home);

        EXPECT_FALSE(loaded) << row.text;
        ASSERT_EQ(Boxes.size(), 1u) << BoxTexts();
        EXPECT_EQ(Boxes[0].text, row.text);
        EXPECT_EQ(Boxes[0].caption, "Loading error");
        EXPECT_EQ(Boxes[0].type, (UINT)(MB_SYSTEMMODAL | MB_ICONERROR));
        for (Model* model : row.loaded) EXPECT_GT(model->faceCount, 0) << row.text;
    }
    fs::remove_all(dir);
}
