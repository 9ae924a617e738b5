#pragma once

#include "math/Matrix4.h"
#include "math/Rgba.h"
#include "organs/Grid.h"

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct ObjExport;
class SceneNode;
class TextWriter;
class TextureCache;

// Wavefront OBJ/MTL output of the organ surfaces. OBJ indices are global to the
// file, so every grid is written with the number of vertices written before it.

// One copy of a surface side: "v" lines (positions under the whole matrix), "vn"
// lines (normals under the matrix's rotation part only), "vt" lines, then two faces
// per cell wound counter-clockwise about the normals. The organ grids hold the
// normals of one side (a petal's underside, a tube's inside as its rings usually
// run): with `alongStored` the copy faces that side and writes them as they are,
// otherwise it faces the other side and writes them negated. `base` is the vertex
// count before this grid; the caller adds rows x columns afterwards.
void writeGrid(TextWriter& obj, const Grid& positions, const Grid& normals, const Grid& texCoords,
               const Matrix4& matrix, bool alongStored, int base);

// The two triangles of grid cell (r, c), as (row, column) corners wound
// counter-clockwise about the normals of a copy facing the `alongStored` side.
using CellTriangles = std::array<std::array<std::pair<int, int>, 3>, 2>;
inline CellTriangles cellTriangles(int r, int c, bool alongStored) {
    if (alongStored)
        return {{{{{r, c}, {r + 1, c}, {r + 1, c + 1}}}, {{{r, c}, {r + 1, c + 1}, {r, c + 1}}}}};
    return {{{{{r, c}, {r + 1, c + 1}, {r + 1, c}}}, {{{r, c}, {r, c + 1}, {r + 1, c + 1}}}}};
}

// The normal to write at (r, c). Where the stored one has no length (a point the
// surface closes to, a fold whose two sides cancel) the nearest one along the row
// or the column that has one stands in, since a zero normal leaves the vertex
// unlit in every reader.
Vector3 usableNormal(const Grid& normals, int r, int c);

// `positions` moved by `rowDistances[r]` along the unit normal that a copy facing the
// `alongStored` side writes at each point of row r: the positions of a surface's
// back copy, lying off its front so that no renderer takes the two for one surface.
Grid shiftedAlongNormals(const Grid& positions, const Grid& normals, bool alongStored,
                         const std::vector<double>& rowDistances);

// The greatest distance of the points of `grids` from their mean: the organ's size
// for the back copies' offsets, the same however the organ is turned.
double reachOf(std::initializer_list<const Grid*> grids);

// "newmtl", "Ka", "Kd", "Ks", "Ns", the colour map naming `texture` unless it is
// empty, and an empty line. The image is the surface's colour only: naming it as a
// specular map too would make other programs take the picture for shininess.
void writeMaterial(TextWriter& mtl, std::string_view name, const Rgba& ambient, const Rgba& diffuse,
                   const Rgba& specular, float shininess, std::string_view texture);

// The last component of a texture path (after the last '/' or '\').
std::string_view textureFileName(std::string_view path);

// The name of a copy of the image read from `path` whose contents are `image`: the
// file name made portable, with a hash of the contents before the extension (the
// given one, or the file's own when `extension` is empty, as ".png"), so that two
// different images never share a name. An empty image gets the plain name.
std::string imageCopyName(std::string_view path, std::string_view image,
                          std::string_view extension);

// The name of the copy of the image at `path` that the export puts beside its MTL
// file: the image's file name with a hash of its contents before the extension, so
// that two different images never share a name and every organ using one image
// shares one copy. The image is read on the first request.
const std::string& textureCopyName(ObjExport& out, const std::string& path);

// The files an export to `chosen` writes: ".obj" and ".mtl" appended unless the
// extension already is "obj", and the name the "mtllib" line gives (the MTL file's
// name, since the two always lie side by side).
struct ObjPaths {
    std::string obj;
    std::string mtl;
    std::string mtllib;
};
ObjPaths objExportPaths(const std::string& chosen);

// Writes `node` with everything it contains to the OBJ/MTL pair for `chosen`, and
// the texture images its materials use beside them; with `singleSurfaces` each
// surface once. Textures are the images `textures` loaded them from (none without a
// cache). False, with `error` naming the file that failed, when an image cannot be
// read or a file cannot be written; a failed export leaves every earlier file as it
// was.
bool exportObjFiles(SceneNode& node, const std::string& chosen, bool singleSurfaces,
                    const TextureCache* textures, std::string& error);
