#pragma once

#include "math/Matrix4.h"

#include <string>

class FlowerObjectNode;
class Grid;
class StemShape;
class TextWriter;

// OBJ/MTL output pieces the organs share. Every writer returns the vertex count of
// the OBJ file after it.

// The prefix immediately followed by the object id ("pistil12").
std::string organMaterialName(const char* prefix, int objectId);

// The node's material under `name`, with the texture `textureId` when the texture
// flag is set and the cache knows it.
void writeNodeMaterial(TextWriter& mtl, const std::string& name, const FlowerObjectNode& node,
                       int textureId);
// writeNodeMaterial, then the same material again without a texture.
void writeNodeMaterials(TextWriter& mtl, const std::string& name, const FlowerObjectNode& node,
                        int textureId);

// "g <group>", "usemtl <material>" and the grid; returns vertexCount + rows x columns.
int writeSurfaceGroup(TextWriter& obj, const std::string& group, const std::string& material,
                      const Grid& positions, const Grid& normals, const Grid& texCoords,
                      const Matrix4& matrix, bool flip, int vertexCount);

// The tube's front group "stemFront_<part>_<id>" (flip 0), then its back group
// "stemBack_<part>_<id>" (flip 1), both in `material`.
int writeTubeGroups(TextWriter& obj, const StemShape& tube, int part, int objectId,
                    const std::string& material, const Matrix4& matrix, int vertexCount);

// A single-tube organ: its material named prefix + id with the front texture (twice,
// textured then plain), and the tube as part 0.
int exportTube(TextWriter& obj, TextWriter& mtl, const Matrix4& matrix, int vertexCount,
               const StemShape& tube, const char* prefix, const FlowerObjectNode& node);
