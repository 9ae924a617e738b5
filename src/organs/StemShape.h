#pragma once

#include "interaction/Stroke.h"
#include "math/Matrix4.h"
#include "math/Rgba.h"
#include "organs/Grid.h"

struct PistilChords;
class SurfaceBatches;
class TextureCache;

// The tube grid the stems, stamens, pistils and receptacles share: `rows` rings
// along an axis, `columns` points around each ring, the first and the last column
// coinciding so that the seam is closed. Every build replaces the three grids in
// full; a shape that cannot be built (fewer than 2 rings or columns, an axis without
// length) is left empty rather than filled with points that are not numbers.
class StemShape {
public:
    // More rings than this are never built, however long an axis a file brings.
    static constexpr int kMaxRows = 2000;
    // Columns beyond the largest resolution the parameters allow.
    static constexpr int kMaxColumns = 100;

    int rows() const { return positions.rows(); }
    int columns() const { return positions.columns(); }
    bool empty() const { return positions.empty(); }
    void clear();

    // Sweeps rings along `axis` (cut to the first `portion` of its length when
    // portion < 1), their radius running linearly from baseRadius to tipRadius.
    void buildTube(const Stroke& axis, double portion, double baseRadius, double tipRadius,
                   int rows, int columns);
    // Revolves `profile` (x = distance from the y axis) about the y axis.
    void buildRevolution(const Stroke& profile, int rows, int columns);
    // A spindle swept along `axis`: both ends close to a point and the middle ring has
    // 1.25 x thickness as its radius. The rings are turned about (0, 1, 0) x tangent.
    void buildAnther(const Stroke& axis, double thickness, int rows, int columns);
    // One ring per chord of a pistil outline, the chord being the ring's diameter.
    void buildAlongChords(const PistilChords& chords, int columns);

    // Normals from neighbouring grid points, wrapping across the seam; on a swept
    // tube they point into it.
    void computeNormals();
    // u = column / columns; v grows by 0.1 per row and starts again every ten rows.
    void computeTexCoords();
    void copyFrom(const StemShape& other) { *this = other; }
    // A fingerprint of the three grids.
    std::uint64_t contentKey() const {
        return ContentHash()
            .add(positions.contentKey())
            .add(normals.contentKey())
            .add(texCoords.contentKey())
            .value();
    }

    // Both corners start at the origin; every position under `matrix` widens them.
    void boundingBox(const Matrix4& matrix, Vector3& min, Vector3& max) const;

    // The centre of ring `row` (the mean of its points, the seam's copy left out) and
    // the greatest distance of its points from that centre: 0 where a tube closes.
    Vector3 ringCentre(int row) const;
    double ringRadius(int row) const;
    // Whether the stored normals point out of the tube instead of into it, as they do
    // when the rings run the other way round (a receptacle profile drawn from the top
    // down). Decided by the flux through the surface of the field pointing away from
    // each ring's centre: about twice the volume the tube holds, open ends or not, so
    // one answer holds for a whole tube even where a cap leans towards the axis. A
    // tube without volume (a flat disc) keeps its normals pointing in.
    bool normalsPointOut() const;

    void drawPlain() const;
    void drawWireframe() const;
    // Lit in the material. The surfaces go to `gather` instead when it is set (see
    // drawGridStrips), as do drawTextured's.
    void drawShaded(const Rgba& diffuse, float shininess, const Rgba& specular,
                    const Rgba& ambient, SurfaceBatches* gather) const;
    // In the fixed white material with the texture the cache keeps under `textureId`.
    void drawTextured(TextureCache& textures, int textureId, SurfaceBatches* gather) const;
    void drawTranslucent(const Rgba& diffuse, float shininess, const Rgba& specular,
                         const Rgba& ambient) const;

    Grid positions;
    Grid normals;
    Grid texCoords;

private:
    // Allocates the three grids zero-filled, or clears them when the size cannot
    // make a closed surface; false in that case.
    bool allocate(int rows, int columns);
    // Places ring `row` around `centre`: the unit circle's columns scaled by `radius`
    // and turned by `frame` (rotation only).
    void placeRing(int row, const Vector3& centre, const Matrix4& frame, double radius,
                   const PointList& circle);
    void finish();
};
