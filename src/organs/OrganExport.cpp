#include "organs/OrganExport.h"

#include "model/FlowerObjectNode.h"
#include "model/ObjExport.h"
#include "model/TextureCache.h"
#include "organs/ObjWriter.h"
#include "organs/StemShape.h"

#include <algorithm>

std::string organMaterialName(const char* prefix, int objectId) {
    std::string name(prefix);
    name += std::to_string(objectId);
    return name;
}

void writeNodeMaterial(ObjExport& out, const std::string& name, const FlowerObjectNode& node,
                       int textureId) {
    const bool textured =
        node.hasTexture && FlowerObjectNode::textureKnown(out.textureCache, textureId);
    const std::string texture =
        textured ? textureCopyName(out, out.textureCache->path(textureId)) : std::string();
    writeMaterial(out.mtl, name, node.ambient, node.diffuse, node.specular, node.shininess,
                  texture);
}

int writeSurfaceGroup(ObjExport& out, const std::string& group, const std::string& material,
                      const Grid& positions, const Grid& normals, const Grid& texCoords,
                      const Matrix4& matrix, bool alongStored, int vertexCount,
                      const std::vector<double>& rowOffsets) {
    out.obj.format("g %s\n", group);
    out.obj.format("usemtl %s\n", material);
    if (rowOffsets.empty())
        writeGrid(out.obj, positions, normals, texCoords, matrix, alongStored, vertexCount);
    else
        writeGrid(out.obj, shiftedAlongNormals(positions, normals, alongStored, rowOffsets),
                  normals, texCoords, matrix, alongStored, vertexCount);
    return vertexCount + positions.rows() * positions.columns();
}

int writeTubeGroups(ObjExport& out, const StemShape& tube, int part, int objectId,
                    const std::string& material, const Matrix4& matrix, int vertexCount) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on "_" + string.
    std::string suffix = "_";
    suffix += std::to_string(part);
    suffix += '_';
    suffix += std::to_string(objectId);
    const bool outsideStored = tube.normalsPointOut();
    vertexCount =
        writeSurfaceGroup(out, "stemFront" + suffix, material, tube.positions, tube.normals,
                          tube.texCoords, matrix, outsideStored, vertexCount);
    if (out.singleSurfaces)
        return vertexCount;
    const double offset = kBackCopyOffset * reachOf({&tube.positions});
    std::vector<double> rowOffsets(static_cast<size_t>(tube.rows()));
    for (int r = 0; r < tube.rows(); ++r)
        rowOffsets[r] = std::min(offset, kInnerCopyRadiusShare * tube.ringRadius(r));
    return writeSurfaceGroup(out, "stemBack" + suffix, material, tube.positions, tube.normals,
                             tube.texCoords, matrix, !outsideStored, vertexCount, rowOffsets);
}

int exportTube(ObjExport& out, const Matrix4& matrix, int vertexCount, const StemShape& tube,
               const char* prefix, const FlowerObjectNode& node) {
    const std::string material = organMaterialName(prefix, node.id);
    writeNodeMaterial(out, material, node, node.textureFront);
    return writeTubeGroups(out, tube, 0, node.id, material, matrix, vertexCount);
}
