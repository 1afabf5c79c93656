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

// A face count from a file, or from a record filled elsewhere, kept inside the arrays.
inline int32_t FaceLimit(int32_t count) {
    if (count < 0) return 0;
    return count > MODEL_MAX_FACES ? MODEL_MAX_FACES : count;
}

// True once the file could be opened, whatever it holds; false leaves the model untouched.
bool Load3dsFromFile(const char* path, Model* model);
