#pragma once

#include "math/Matrix4.h"
#include "math/Rgba.h"
#include "organs/Grid.h"

#include <string>
#include <string_view>

class SceneNode;
class TextWriter;

// Wavefront OBJ/MTL output of the organ surfaces. OBJ indices are global to the
// file, so every grid is written with the number of vertices written before it.

// One surface side: "v" lines (positions under the whole matrix), "vn" lines
// (normals, negated when flip is set, under the matrix's rotation part only), "vt"
// lines, then two faces per cell, their winding reversed by flip. `base` is the
// vertex count before this grid; the caller adds rows x columns afterwards.
void writeGrid(TextWriter& obj, const Grid& positions, const Grid& normals, const Grid& texCoords,
               const Matrix4& matrix, bool flip, int base);

// "newmtl", "Ka", "Kd", "Ks", "Ns", the two texture maps when textured, and an empty
// line. Texture maps name the file only, without its directories.
void writeMaterial(TextWriter& mtl, std::string_view name, const Rgba& ambient, const Rgba& diffuse,
                   const Rgba& specular, float shininess, bool textured,
                   std::string_view texturePath);

// The last component of a texture path (after the last '/' or '\').
std::string_view textureFileName(std::string_view path);

// The files an export to `chosen` writes: ".obj" and ".mtl" appended unless the
// extension already is "obj", and the name the "mtllib" line gives (the chosen
// file's title plus ".mtl").
struct ObjPaths {
    std::string obj;
    std::string mtl;
    std::string mtllib;
};
ObjPaths objExportPaths(const std::string& chosen);

// Writes `node` with everything it contains to the OBJ/MTL pair for `chosen`.
// False, with `error` saying what failed, when a file cannot be written; a failed
// export never leaves a half-written file in place of an earlier one.
bool exportObjFiles(SceneNode& node, const std::string& chosen, std::string& error);
