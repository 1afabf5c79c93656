#include "assetgen/textures.h"

#include "assetgen/tga_writer.h"

const TextureEntry TextureTable[] = {
#define PACK_TEXTURE(name, width, height, painter) {name, width, height, painter},
#include "assetgen/assets.def"
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
