#include "organs/ObjWriter.h"

#include "math/FileText.h"
#include "math/TextWriter.h"
#include "model/SceneNode.h"

#include <algorithm>

namespace {

// Exports are mostly these two kinds of line, so each is assembled whole before it
// is handed to the writer.
void writeVector(TextWriter& obj, std::string_view tag, const Vector3& v) {
    char line[3 * TextWriter::kMaxRealChars + 8];
    char* end = std::copy(tag.begin(), tag.end(), line);
    end = TextWriter::realTo(end, v.x);
    *end++ = ' ';
    end = TextWriter::realTo(end, v.y);
    *end++ = ' ';
    end = TextWriter::realTo(end, v.z);
    *end++ = '\n';
    obj.text(std::string_view(line, static_cast<size_t>(end - line)));
}

void writeFace(TextWriter& obj, int a, int b, int c) {
    char line[9 * TextWriter::kMaxIntegerChars + 16] = {'f', ' '};
    char* end = line + 2;
    for (const int corner : {a, b, c}) {
        for (int k = 0; k < 3; ++k) {
            end = TextWriter::integerTo(end, corner);
            *end++ = k < 2 ? '/' : ' ';
        }
    }
    end[-1] = '\n';
    obj.text(std::string_view(line, static_cast<size_t>(end - line)));
}

} // namespace

void writeGrid(TextWriter& obj, const Grid& positions, const Grid& normals, const Grid& texCoords,
               const Matrix4& matrix, bool flip, int base) {
    const int rows = positions.rows();
    const int columns = positions.columns();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            writeVector(obj, "v ", transformPoint(matrix, positions.at(r, c)));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const Vector3& n = normals.at(r, c);
            writeVector(obj, "vn ", matrix.rotateVector(flip ? -n : n));
        }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            writeVector(obj, "vt ", texCoords.at(r, c));
    const auto index = [&](int r, int c) { return base + r * columns + c + 1; };
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < columns; ++c) {
            const int a = index(r, c), b = index(r + 1, c), d = index(r + 1, c + 1),
                      e = index(r, c + 1);
            if (flip) {
                writeFace(obj, a, b, d);
                writeFace(obj, a, d, e);
            } else {
                writeFace(obj, a, d, b);
                writeFace(obj, a, e, d);
            }
        }
}

std::string_view textureFileName(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

void writeMaterial(TextWriter& mtl, std::string_view name, const Rgba& ambient, const Rgba& diffuse,
                   const Rgba& specular, float shininess, bool textured,
                   std::string_view texturePath) {
    mtl.format("newmtl %s\n", name);
    mtl.format("Ka %f %f %f\n", ambient.r, ambient.g, ambient.b);
    mtl.format("Kd %f %f %f\n", diffuse.r, diffuse.g, diffuse.b);
    mtl.format("Ks %f %f %f\n", specular.r, specular.g, specular.b);
    mtl.format("Ns %f\n", shininess);
    if (textured) {
        mtl.format("map_Kd %s\n", textureFileName(texturePath));
        mtl.format("map_Ks %s\n", textureFileName(texturePath));
    }
    mtl.text("\n");
}

ObjPaths objExportPaths(const std::string& chosen) {
    ObjPaths paths;
    const size_t slash = chosen.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? chosen : chosen.substr(slash + 1);
    const size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    const std::string title = dot == std::string::npos ? name : name.substr(0, dot);
    if (extension != "obj") {
        paths.obj = chosen + ".obj";
        paths.mtl = chosen + ".mtl";
    } else {
        paths.obj = chosen;
        paths.mtl = chosen.substr(0, chosen.size() - 3) + "mtl";
    }
    paths.mtllib = title + ".mtl";
    return paths;
}

bool exportObjFiles(SceneNode& node, const std::string& chosen, std::string& error) {
    const ObjPaths paths = objExportPaths(chosen);
    TextWriter obj;
    TextWriter mtl;
    obj.format("mtllib %s\n", paths.mtllib);
    node.exportObj(obj, mtl, Matrix4(), 0);
    return writeFileAtomically(paths.obj, obj.str(), error) &&
           writeFileAtomically(paths.mtl, mtl.str(), error);
}
