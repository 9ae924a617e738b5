#include "organs/OrganExport.h"

#include "math/TextWriter.h"
#include "model/FlowerObjectNode.h"
#include "model/ModelContext.h"
#include "model/TextureCache.h"
#include "organs/ObjWriter.h"
#include "organs/StemShape.h"

std::string organMaterialName(const char* prefix, int objectId) {
    std::string name(prefix);
    name += std::to_string(objectId);
    return name;
}

void writeNodeMaterial(TextWriter& mtl, const std::string& name, const FlowerObjectNode& node,
                       int textureId) {
    const bool textured = node.hasTexture && FlowerObjectNode::textureKnown(textureId);
    const std::string path = textured ? textureCache()->path(textureId) : std::string();
    writeMaterial(mtl, name, node.ambient, node.diffuse, node.specular, node.shininess, textured,
                  path);
}

void writeNodeMaterials(TextWriter& mtl, const std::string& name, const FlowerObjectNode& node,
                        int textureId) {
    writeNodeMaterial(mtl, name, node, textureId);
    writeMaterial(mtl, name, node.ambient, node.diffuse, node.specular, node.shininess, false, "");
}

int writeSurfaceGroup(TextWriter& obj, const std::string& group, const std::string& material,
                      const Grid& positions, const Grid& normals, const Grid& texCoords,
                      const Matrix4& matrix, bool flip, int vertexCount) {
    obj.format("g %s\n", group);
    obj.format("usemtl %s\n", material);
    writeGrid(obj, positions, normals, texCoords, matrix, flip, vertexCount);
    return vertexCount + positions.rows() * positions.columns();
}

int writeTubeGroups(TextWriter& obj, const StemShape& tube, int part, int objectId,
                    const std::string& material, const Matrix4& matrix, int vertexCount) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on "_" + string.
    std::string suffix = "_";
    suffix += std::to_string(part);
    suffix += '_';
    suffix += std::to_string(objectId);
    vertexCount = writeSurfaceGroup(obj, "stemFront" + suffix, material, tube.positions,
                                    tube.normals, tube.texCoords, matrix, false, vertexCount);
    return writeSurfaceGroup(obj, "stemBack" + suffix, material, tube.positions, tube.normals,
                             tube.texCoords, matrix, true, vertexCount);
}

int exportTube(TextWriter& obj, TextWriter& mtl, const Matrix4& matrix, int vertexCount,
               const StemShape& tube, const char* prefix, const FlowerObjectNode& node) {
    const std::string material = organMaterialName(prefix, node.id);
    writeNodeMaterials(mtl, material, node, node.textureFront);
    return writeTubeGroups(obj, tube, 0, node.id, material, matrix, vertexCount);
}
