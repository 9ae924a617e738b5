#include "organs/ObjWriter.h"

#include "math/FileText.h"
#include "math/TextWriter.h"
#include "model/ObjExport.h"
#include "model/SceneNode.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <set>
#include <utility>

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

// FNV-1a over the bytes: copy names only need to tell different images apart.
std::string contentHash(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char b : bytes) {
        hash ^= static_cast<unsigned char>(b);
        hash *= 1099511628211ull;
    }
    std::string digits(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        digits[static_cast<size_t>(i)] = "0123456789abcdef"[hash & 15];
    return digits;
}

// Letters, digits, '-', '_' and '.' pass; anything else becomes '_', since MTL
// readers disagree on names with blanks or other punctuation.
std::string portableName(std::string_view name) {
    std::string out(name);
    for (char& ch : out) {
        const bool plain = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                           (ch >= '0' && ch <= '9') || ch == '-' || ch == '_' || ch == '.';
        if (!plain)
            ch = '_';
    }
    return out;
}

} // namespace

void writeGrid(TextWriter& obj, const Grid& positions, const Grid& normals, const Grid& texCoords,
               const Matrix4& matrix, bool alongStored, int base) {
    const int rows = positions.rows();
    const int columns = positions.columns();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            writeVector(obj, "v ", transformPoint(matrix, positions.at(r, c)));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const Vector3 n = usableNormal(normals, r, c);
            writeVector(obj, "vn ", matrix.rotateVector(alongStored ? n : -n));
        }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            writeVector(obj, "vt ", texCoords.at(r, c));
    const auto index = [&](const std::pair<int, int>& corner) {
        return base + corner.first * columns + corner.second + 1;
    };
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < columns; ++c)
            for (const auto& [a, b, d] : cellTriangles(r, c, alongStored))
                writeFace(obj, index(a), index(b), index(d));
}

Vector3 usableNormal(const Grid& normals, int r, int c) {
    const auto usable = [&](int row, int column) {
        return row >= 0 && row < normals.rows() && column >= 0 && column < normals.columns() &&
               normals.at(row, column).lengthSquared() > 1e-12;
    };
    const int reach = std::max(normals.rows(), normals.columns());
    for (int d = 0; d < reach; ++d) {
        const std::array<std::pair<int, int>, 4> candidates = {
            {{r, c - d}, {r, c + d}, {r - d, c}, {r + d, c}}};
        for (const auto& [row, column] : candidates)
            if (usable(row, column))
                return normals.at(row, column);
    }
    // A grid without any area has no side to face.
    return {0.0, 0.0, 1.0};
}

Grid shiftedAlongNormals(const Grid& positions, const Grid& normals, bool alongStored,
                         const std::vector<double>& rowDistances) {
    Grid shifted = positions;
    for (int r = 0; r < shifted.rows(); ++r)
        for (int c = 0; c < shifted.columns(); ++c) {
            const Vector3 n = unit(usableNormal(normals, r, c));
            shifted.at(r, c) += n * (alongStored ? rowDistances[r] : -rowDistances[r]);
        }
    return shifted;
}

double reachOf(std::initializer_list<const Grid*> grids) {
    Vector3 sum;
    size_t count = 0;
    for (const Grid* grid : grids)
        for (const Vector3& p : grid->cells()) {
            sum += p;
            ++count;
        }
    if (count == 0)
        return 0.0;
    const Vector3 centre = sum * (1.0 / static_cast<double>(count));
    double reach = 0.0;
    for (const Grid* grid : grids)
        for (const Vector3& p : grid->cells())
            reach = std::max(reach, distance(p, centre));
    return reach;
}

std::string_view textureFileName(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

void writeMaterial(TextWriter& mtl, std::string_view name, const Rgba& ambient, const Rgba& diffuse,
                   const Rgba& specular, float shininess, std::string_view texture) {
    mtl.format("newmtl %s\n", name);
    mtl.format("Ka %f %f %f\n", ambient.r, ambient.g, ambient.b);
    mtl.format("Kd %f %f %f\n", diffuse.r, diffuse.g, diffuse.b);
    mtl.format("Ks %f %f %f\n", specular.r, specular.g, specular.b);
    mtl.format("Ns %f\n", shininess);
    if (!texture.empty())
        mtl.format("map_Kd %s\n", texture);
    mtl.text("\n");
}

std::string imageCopyName(std::string_view path, std::string_view image,
                          std::string_view extension) {
    const std::string_view file = textureFileName(path);
    const size_t dot = file.rfind('.');
    const std::string stem = portableName(file.substr(0, dot));
    const std::string suffix = portableName(
        extension.empty() && dot != std::string_view::npos ? file.substr(dot) : extension);
    if (image.empty())
        return stem + suffix;
    const std::string hash = contentHash(image);
    // An image that is itself a copy from an earlier export keeps its name.
    return stem.ends_with("-" + hash) ? stem + suffix : stem + "-" + hash + suffix;
}

const std::string& textureCopyName(ObjExport& out, const std::string& path) {
    const auto [entry, added] = out.textures.try_emplace(path);
    ObjTextureCopy& copy = entry->second;
    if (added) {
        // An image that cannot be read keeps its plain name; the export then fails.
        if (!readWholeFile(path, copy.image, copy.error))
            copy.image.clear();
        copy.name = imageCopyName(path, copy.image, "");
    }
    return copy.name;
}

ObjPaths objExportPaths(const std::string& chosen) {
    // npos + 1 is 0: a name without directories is used whole.
    const size_t slash = chosen.find_last_of("/\\");
    const std::string name = chosen.substr(slash + 1);
    const size_t dot = name.rfind('.');
    const bool endsInObj = dot != std::string::npos && name.substr(dot + 1) == "obj";
    ObjPaths paths;
    paths.obj = endsInObj ? chosen : chosen + ".obj";
    paths.mtl = endsInObj ? chosen.substr(0, chosen.size() - 3) + "mtl" : chosen + ".mtl";
    paths.mtllib = paths.mtl.substr(slash + 1);
    return paths;
}

bool exportObjFiles(SceneNode& node, const std::string& chosen, bool singleSurfaces,
                    const TextureCache* textures, std::string& error) {
    const ObjPaths paths = objExportPaths(chosen);
    ObjExport out;
    out.singleSurfaces = singleSurfaces;
    out.textureCache = textures;
    out.obj.format("mtllib %s\n", paths.mtllib);
    node.exportObj(out, Matrix4(), 0);
    FileSet files = {{paths.obj, out.obj.take()}, {paths.mtl, out.mtl.take()}};
    const std::filesystem::path folder = std::filesystem::path(paths.mtl).parent_path();
    std::set<std::string> copied;
    for (auto& [path, copy] : out.textures) {
        if (!copy.error.empty()) {
            error = copy.error;
            return false;
        }
        // The same image reached through two paths is copied once.
        if (copied.insert(copy.name).second)
            files.emplace_back((folder / copy.name).string(), std::move(copy.image));
    }
    return writeFilesAtomically(files, error);
}
