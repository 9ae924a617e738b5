#pragma once

#include "math/Matrix4.h"

#include <string>

class FlowerObjectNode;
class Grid;
class StemShape;
struct ObjExport;

// OBJ/MTL output pieces the organs share. Every writer returns the vertex count of
// the OBJ file after it.

// The prefix immediately followed by the object id ("pistil12").
std::string organMaterialName(const char* prefix, int objectId);

// The node's material under `name`, naming the copy of texture `textureId` when the
// texture flag is set and the cache knows the texture.
void writeNodeMaterial(ObjExport& out, const std::string& name, const FlowerObjectNode& node,
                       int textureId);

// "g <group>", "usemtl <material>" and the grid; returns vertexCount + rows x columns.
// `back` marks the back copy of a surface.
int writeSurfaceGroup(ObjExport& out, const std::string& group, const std::string& material,
                      const Grid& positions, const Grid& normals, const Grid& texCoords,
                      const Matrix4& matrix, bool back, int vertexCount);

// The tube's front group "stemFront_<part>_<id>", then, unless the export wants
// single surfaces, its back group "stemBack_<part>_<id>", both in `material`.
int writeTubeGroups(ObjExport& out, const StemShape& tube, int part, int objectId,
                    const std::string& material, const Matrix4& matrix, int vertexCount);

// A single-tube organ: its material named prefix + id with the front texture, and
// the tube as part 0.
int exportTube(ObjExport& out, const Matrix4& matrix, int vertexCount, const StemShape& tube,
               const char* prefix, const FlowerObjectNode& node);
