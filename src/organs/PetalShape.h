#pragma once

#include "math/Matrix4.h"
#include "math/Rgba.h"
#include "organs/Grid.h"

#include <string>

class PetalControlPointManager;
class TextWriter;
struct ObjExport;
class SurfaceBatches;
class TextureCache;

enum class PetalHalf { Left, Right };

// The visible surface of a petal: a uniform bicubic B-spline over the control net,
// sampled in two halves split along the midrib. The left half runs from the left
// edge (column 0) to the midrib (last column), the right half from the midrib to
// the right edge. The stored normals are the back side's (-z for a flat petal); the
// front is drawn with their negation. Texture coordinates map the petal onto the
// disc inscribed in the texture image, base at the bottom and tip at the top.
//
// The shape never reads the net by itself: edits show once the owner samples again.
class PetalShape {
public:
    // Resamples at rows x columns samples per half, both raised to at least 3.
    void rebuild(const PetalControlPointManager& net, int rows, int columns);
    // Re-evaluates the positions and normals at the current resolution (texture
    // coordinates depend on the resolution alone).
    void sample(const PetalControlPointManager& net);
    // One surface point. s runs from -1 (the base) to the row count (the tip); t from
    // -1 to midrib + 1, from the left edge to the midrib on the left half and from
    // the midrib to the right edge on the right.
    static Vector3 evaluate(double s, double t, PetalHalf half,
                            const PetalControlPointManager& net);
    void computeNormals();
    void computeTexCoords();
    void copyFrom(const PetalShape& other) { *this = other; }
    // A fingerprint of the grids of both halves.
    std::uint64_t contentKey() const {
        ContentHash hash;
        for (const Half* half : {&left_, &right_})
            hash.add(half->positions.contentKey())
                .add(half->normals.contentKey())
                .add(half->texCoords.contentKey());
        return hash.value();
    }

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    const Grid& positions(PetalHalf half) const { return side(half).positions; }
    const Grid& normals(PetalHalf half) const { return side(half).normals; }
    const Grid& texCoords(PetalHalf half) const { return side(half).texCoords; }

    // Both sides, positions only, in whatever colour the caller set (the pick pass).
    void drawPlain() const;
    // Cell outlines with one diagonal, unlit, in a fixed blue.
    void drawWireframe() const;
    // Lit in the material. The surfaces go to `gather` instead when it is set (see
    // drawGridStrips), as do drawTextured's.
    void drawShaded(const Rgba& diffuse, float shininess, const Rgba& specular,
                    const Rgba& ambient, SurfaceBatches* gather) const;
    // The front texture on the front side and the back texture on the back; either
    // stands in for the other when one is -1.
    void drawTextured(TextureCache& textures, int front, int back, SurfaceBatches* gather) const;
    // Shaded, blended and without depth writes.
    void drawTranslucent(const Rgba& diffuse, float shininess, const Rgba& specular,
                         const Rgba& ambient) const;

    // The four OBJ groups (right front, right back, left front, left back) of object
    // `objectId` with the materials named, without the back ones when the export
    // wants single surfaces; returns the new vertex count.
    int writeObj(ObjExport& out, const Matrix4& matrix, int vertexCount, int objectId,
                 const std::string& frontMaterial, const std::string& backMaterial) const;

private:
    struct Half {
        Grid positions;
        Grid normals;
        Grid texCoords;
    };
    const Half& side(PetalHalf half) const { return half == PetalHalf::Left ? left_ : right_; }

    int rows_ = 0;
    int columns_ = 0;
    Half left_;
    Half right_;
};
