#include "assetgen/textures.h"

#include "assetgen/tga_writer.h"

const TextureEntry TextureTable[] = {
    {"blue2.tga", 256, 256, PaintBlue2},       {"blue.tga", 256, 256, PaintBlue},
    {"caratio1.tga", 256, 256, PaintCaraTio1}, {"Ground1.tga", 128, 128, PaintGround1},
    {"hidden.tga", 256, 256, PaintHidden},     {"spring.tga", 256, 256, PaintSpring},
    {"Particle.tga", 64, 64, PaintParticle},   {"env1.tga", 256, 256, PaintEnv1},
    {"pictra2.tga", 256, 256, PaintPictra2},   {"credits.tga", 256, 1024, PaintCredits},
    {"pictra4.tga", 256, 256, PaintPictra4},   {"sky1.tga", 256, 256, PaintSky1},
    {"metal.tga", 256, 256, PaintMetal},       {"pictra1.tga", 256, 256, PaintPictra1},
    {"pictra3.tga", 256, 256, PaintPictra3},   {"BigFlare.tga", 256, 256, PaintBigFlare},
};
const int TextureCount = (int)(sizeof(TextureTable) / sizeof(TextureTable[0]));

Image PaintTexture(const TextureEntry& entry) {
    Image img = MakeImage(entry.width, entry.height);
    entry.paint(img);
    return img;
}

bool WriteTextures(const std::string& dir) {
    for (int i = 0; i < TextureCount; i++) {
        Image img = PaintTexture(TextureTable[i]);
        if (!WriteTga(dir + "/" + TextureTable[i].name, img.width, img.height, img.rgb))
            return false;
    }
    return true;
}
