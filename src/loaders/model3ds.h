// 3DS mesh files expanded into triangles whose corners carry position and mapping.
#pragma once
#include <cstdint>

enum { MODEL_MAX_FACES = 40000 };

struct ModelVertex {
    float x, y, z;
    float u, v;
};

struct ModelFace {
    uint8_t vertexCount;  // always 3
    ModelVertex corners[3];
};

struct Model {
    int32_t faceCount;
    ModelFace faces[MODEL_MAX_FACES];
};

// True once the file could be opened, whatever it holds; false leaves the model untouched.
bool Load3dsFromFile(const char* path, Model* model);
