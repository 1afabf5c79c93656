// Writes triangle meshes as 3D Studio (.3DS) files: one named object holding one
// triangle mesh with its vertex, mapping and face lists.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "loaders/chunk3ds.h"  // the chunk ids

// Positions, mapping coordinates (one u, v per vertex) and triangles (three vertex
// indices per face, counter-clockwise seen from the visible side).
struct Mesh {
    std::vector<float> xyz;
    std::vector<float> uv;
    std::vector<uint16_t> faces;
};

int MeshVertexCount(const Mesh& mesh);
int MeshFaceCount(const Mesh& mesh);
int MeshAddVertex(Mesh& mesh, float x, float y, float z, float u, float v);
void MeshAddFace(Mesh& mesh, int a, int b, int c);

// The file image; empty when the mesh does not fit the format's 16-bit counts and
// indices or its lists disagree.
std::vector<uint8_t> Encode3ds(const Mesh& mesh, const char* objectName);
bool Write3ds(const std::string& path, const Mesh& mesh, const char* objectName);
