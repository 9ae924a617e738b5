#pragma once

#include "math/Matrix4.h"

#include <string>
#include <vector>

class FlowerObjectNode;
class Grid;
class StemShape;
struct ObjExport;

// OBJ/MTL output pieces the organs share. Every writer returns the vertex count of
// the OBJ file after it.

// How far the back copy of a surface lies from its front, along its own normals, as
// a share of the organ's reach (the greatest distance of its points from their
// centre): a renderer that traces rays needs the two apart, and a thousandth leaves
// no gap anyone sees at the edge of a petal.
constexpr double kBackCopyOffset = 1e-3;
// Inside a tube the offset is also at most this share of each ring's radius, so that
// the inner copy of a thin tube never crosses itself or pokes through at a tip.
constexpr double kInnerCopyRadiusShare = 0.05;

// The prefix immediately followed by the object id ("pistil12").
std::string organMaterialName(const char* prefix, int objectId);

// The node's material under `name`, naming the copy of texture `textureId` when the
// texture flag is set and the cache knows the texture.
void writeNodeMaterial(ObjExport& out, const std::string& name, const FlowerObjectNode& node,
                       int textureId);

// "g <group>", "usemtl <material>" and the grid; returns vertexCount + rows x columns.
// `alongStored` as for writeGrid. A back copy gives the offset of each row from the
// front (see shiftedAlongNormals); a front copy none.
int writeSurfaceGroup(ObjExport& out, const std::string& group, const std::string& material,
                      const Grid& positions, const Grid& normals, const Grid& texCoords,
                      const Matrix4& matrix, bool alongStored, int vertexCount,
                      const std::vector<double>& rowOffsets = {});

// The tube's front group "stemFront_<part>_<id>", facing out of the tube whichever
// way its rings run, then, unless the export wants single surfaces, its back group
// "stemBack_<part>_<id>" just inside it, both in `material`.
int writeTubeGroups(ObjExport& out, const StemShape& tube, int part, int objectId,
                    const std::string& material, const Matrix4& matrix, int vertexCount);

// A single-tube organ: its material named prefix + id with the front texture, and
// the tube as part 0.
int exportTube(ObjExport& out, const Matrix4& matrix, int vertexCount, const StemShape& tube,
               const char* prefix, const FlowerObjectNode& node);
