// Tube grids: the four builds, normals and texture coordinates, bounds, drawing.
#include "organs/StemShape.h"

#include "interaction/OpenGL.h"
#include "interaction/StrokeGeometry.h"
#include "model/FlowerObjectNode.h"
#include "model/TextureCache.h"
#include "organs/GridDrawing.h"
#include "organs/OrganShaping.h"
#include "organs/PistilChords.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

const Vector3 kUp(0.0, 1.0, 0.0);

// `count` points at equal arc-length spacing along `line`; empty when the line has
// no length to space them along.
PointList evenlySpaced(const Stroke& line, int count) {
    if (count < 2 || !(line.length() > 0.0))
        return {};
    Stroke spaced;
    Stroke::resample(count - 1, line, spaced);
    return std::move(spaced.points);
}

// The part of `axis` up to arc length `portion` x length: every point before that
// length, then the point at it.
Stroke firstPortion(const Stroke& axis, double portion) {
    const double cut = portion * axis.length();
    Stroke kept;
    double walked = 0.0;
    for (int i = 0; i < axis.size(); ++i) {
        if (i > 0)
            walked += distance(axis.points[i], axis.points[i - 1]);
        if (walked >= cut)
            break;
        kept.add(axis.points[i]);
    }
    kept.add(axis.pointAtLength(cut).point);
    return kept;
}

// The direction of the axis at point i: the end segments at the ends, the sum of
// the two neighbouring segments inside.
Vector3 tangentAt(const PointList& A, size_t i) {
    const size_t last = A.size() - 1;
    if (i == 0)
        return unit(A[1] - A[0]);
    if (i == last)
        return unit(A[last] - A[last - 1]);
    return unit((A[i + 1] - A[i]) + (A[i] - A[i - 1]));
}

Matrix4 turnUpOnto(const Vector3& direction) {
    return rotationBetween(kUp, direction).matrix;
}

// Column j of a ring of radius 1 in the x-z plane: angle j x 2 pi / (columns - 1),
// turning from +x towards -z, so that the last column closes the seam.
PointList unitCircle(int columns) {
    PointList circle(static_cast<size_t>(columns));
    const double step = 2.0 * std::numbers::pi / (columns - 1);
    for (int j = 0; j < columns; ++j)
        circle[j] = {std::cos(j * step), 0.0, -std::sin(j * step)};
    return circle;
}

// The spindle's outline: a half circle of diameter 1 over 0 < x < 1, closed at both
// ends.
double spindle(double x) {
    if (x <= 0.0 || x >= 1.0)
        return 0.0;
    return std::sqrt(0.25 - (x - 0.5) * (x - 0.5));
}

} // namespace

void StemShape::clear() {
    positions.clear();
    normals.clear();
    texCoords.clear();
}

bool StemShape::allocate(int rows, int columns) {
    if (rows < 2 || columns < 2 || rows > kMaxRows || columns > kMaxColumns) {
        clear();
        return false;
    }
    positions.resize(rows, columns);
    normals.resize(rows, columns);
    texCoords.resize(rows, columns);
    return true;
}

void StemShape::placeRing(int row, const Vector3& centre, const Matrix4& frame, double radius,
                          const PointList& circle) {
    for (int j = 0; j < columns(); ++j)
        positions.at(row, j) = frame.rotateVector(circle[j] * radius) + centre;
}

void StemShape::finish() {
    computeNormals();
    computeTexCoords();
}

void StemShape::buildTube(const Stroke& axis, double portion, double baseRadius, double tipRadius,
                          int rows, int columns) {
    rows = std::min(rows, kMaxRows);
    const PointList A = evenlySpaced(portion < 1.0 ? firstPortion(axis, portion) : axis, rows);
    if (A.size() != static_cast<size_t>(rows) || !allocate(rows, columns)) {
        clear();
        return;
    }
    const PointList circle = unitCircle(columns);
    for (int i = 0; i < rows; ++i) {
        const double f = static_cast<double>(i) / (rows - 1);
        const double radius = (1.0 - f) * baseRadius + f * tipRadius;
        placeRing(i, A[i], turnUpOnto(tangentAt(A, i)), radius, circle);
    }
    finish();
}

void StemShape::buildRevolution(const Stroke& profile, int rows, int columns) {
    rows = std::min(rows, kMaxRows);
    const PointList P = evenlySpaced(profile, rows);
    if (P.size() != static_cast<size_t>(rows) || !allocate(rows, columns)) {
        clear();
        return;
    }
    const PointList circle = unitCircle(columns);
    for (int r = 0; r < rows; ++r) {
        // Scaling the circle by x itself starts a point left of the axis (x < 0) half a
        // turn round, at distance |x|.
        const double x = P[r].x;
        for (int j = 0; j < columns; ++j)
            positions.at(r, j) = {x * circle[j].x, P[r].y, x * circle[j].z};
    }
    finish();
}

void StemShape::buildAnther(const Stroke& axis, double thickness, int rows, int columns) {
    rows = std::min(rows, kMaxRows);
    if (columns == 0 || rows < 2 || !(axis.length() > 0.0)) {
        clear();
        return;
    }
    // The build smooths a working copy: the stored axis stays as drawn, so that
    // rebuilding (and every save and load) leaves the anther's shape unchanged.
    Stroke spine = axis;
    spine.resampleInPlace(rows - 1);
    spine.splineSmooth();
    spine.resampleInPlace(rows - 1);
    if (spine.size() != rows || !allocate(rows, columns)) {
        clear();
        return;
    }
    const PointList& A = spine.points;
    const PointList circle = unitCircle(columns);
    for (int i = 0; i < rows; ++i) {
        const Vector3 T = tangentAt(A, i);
        const double c = std::clamp(dot(kUp, T), -1.0, 1.0);
        const double angle = std::acos(c);
        Matrix4 frame;
        frame.setRotationAxis(cross(kUp, T), std::cos(angle), std::sin(angle));
        const double radius = spindle(static_cast<double>(i) / (rows - 1)) * thickness * 2.5;
        placeRing(i, A[i], frame, radius, circle);
    }
    finish();
}

namespace {

// Whether the outline the chords came from runs counter-clockwise in the x-y plane
// (up its right side and down its left), from the sign of its enclosed area.
bool runsCounterClockwise(const PistilChords& chords) {
    PointList outline = chords.sideA;
    outline.insert(outline.end(), chords.sideB.rbegin(), chords.sideB.rend());
    double twiceArea = 0.0;
    for (size_t i = 0; i < outline.size(); ++i) {
        const Vector3& p = outline[i];
        const Vector3& q = outline[(i + 1) % outline.size()];
        twiceArea += p.x * q.y - q.x * p.y;
    }
    return twiceArea > 0.0;
}

} // namespace

void StemShape::buildAlongChords(const PistilChords& chords, int columns) {
    const int rows = chords.size();
    if (!allocate(rows, columns))
        return;
    const PointList& M = chords.midpoints;
    // The chord's perpendicular points up the pistil for an outline drawn up its
    // left side; drawn the other way round it would point down and turn every ring
    // but the last inside out.
    const double turn = runsCounterClockwise(chords) ? -1.0 : 1.0;
    const PointList circle = unitCircle(columns);
    for (int r = 0; r < rows; ++r) {
        const Vector3& A = chords.sideA[r];
        const Vector3& B = chords.sideB[r];
        const double radius = distance(A, B) / 2.0;
        Vector3 centre = M[r];
        Vector3 direction;
        if (r + 1 < rows) {
            centre = (A + B) * 0.5;
            const Vector3 chord = (B - A) * turn;
            direction = {-chord.y, chord.x, M[r + 1].z - centre.z};
        } else if (rows > 1) {
            direction = M[r] - M[r - 1];
        }
        placeRing(r, centre, turnUpOnto(unit(direction)), radius, circle);
    }
    finish();
}

void StemShape::computeNormals() {
    const Grid& P = positions;
    const int rows = P.rows();
    const int last = P.columns() - 1;
    if (rows < 2 || last < 1)
        return;
    // Towards the next column of row g; across the seam from the last column.
    const auto ahead = [&](int g, int h) {
        return h < last ? P.at(g, h + 1) - P.at(g, h) : P.at(g, 1) - P.at(g, h);
    };
    // Towards the previous column of row g; across the seam from column 0.
    const auto behind = [&](int g, int h) {
        return h > 0 ? P.at(g, h - 1) - P.at(g, h) : P.at(g, last - 1) - P.at(g, 0);
    };
    for (int h = 0; h <= last; ++h) {
        const Vector3 along = h < last ? P.at(1, h + 1) - P.at(1, h) : P.at(1, h) - P.at(1, h - 1);
        normals.at(0, h) = unit(cross(P.at(1, h) - P.at(0, h), along));
    }
    for (int g = 1; g + 1 < rows; ++g)
        for (int h = 0; h <= last; ++h) {
            const Vector3 a = unit(cross(P.at(g + 1, h) - P.at(g, h), ahead(g + 1, h)));
            const Vector3 b = unit(cross(P.at(g - 1, h) - P.at(g, h), behind(g - 1, h)));
            normals.at(g, h) = unit(a + b);
        }
    const int g = rows - 1;
    for (int h = 0; h <= last; ++h) {
        const Vector3 back =
            h > 0 ? P.at(g - 1, h - 1) - P.at(g - 1, h) : P.at(g - 1, 0) - P.at(g - 1, 1);
        normals.at(g, h) = unit(cross(P.at(g - 1, h) - P.at(g, h), back));
    }
}

void StemShape::computeTexCoords() {
    const int columns = positions.columns();
    double v = 0.0;
    for (int r = 0; r < positions.rows(); ++r) {
        if (r > 0) {
            v += 0.1;
            if (v >= 0.999999)
                v = 0.0;
        }
        for (int j = 0; j < columns; ++j)
            texCoords.at(r, j) = {static_cast<double>(j) / columns, v, 0.0};
    }
}

void StemShape::boundingBox(const Matrix4& matrix, Vector3& min, Vector3& max) const {
    boxAroundOrigin(positions.cells(), matrix, min, max);
}

Vector3 StemShape::ringCentre(int row) const {
    // The last column repeats the first.
    const int distinct = std::max(1, columns() - 1);
    Vector3 sum;
    for (int c = 0; c < distinct; ++c)
        sum += positions.at(row, c);
    return sum * (1.0 / distinct);
}

double StemShape::ringRadius(int row) const {
    const Vector3 centre = ringCentre(row);
    double radius = 0.0;
    for (int c = 0; c < columns(); ++c)
        radius = std::max(radius, distance(positions.at(row, c), centre));
    return radius;
}

bool StemShape::normalsPointOut() const {
    double flux = 0.0;
    for (int r = 0; r + 1 < rows(); ++r) {
        const Vector3 axis = (ringCentre(r) + ringCentre(r + 1)) * 0.5;
        for (int c = 0; c + 1 < columns(); ++c) {
            const Vector3& a = positions.at(r, c);
            const Vector3& b = positions.at(r + 1, c);
            const Vector3& d = positions.at(r + 1, c + 1);
            const Vector3& e = positions.at(r, c + 1);
            // The cell's area vector, turned as the stored normals are: along the rings'
            // direction crossed with the columns'.
            const Vector3 area = cross(d - a, e - b) * 0.5;
            flux += dot(area, (a + b + d + e) * 0.25 - axis);
        }
    }
    return flux > 0.0;
}

// --- Drawing

namespace {

// Tubes are lit by the first three lights.
constexpr int kTubeLights = 3;

// The two sides of a textured tube, culled: forward strips face one way with the
// normals negated, reversed strips the other way with the normals as stored.
void drawTexturedSides(const StemShape& shape, SurfaceBatches* gather) {
    drawGridStrips(shape.positions, StripDirection::Forward, StripNormals::Negated, &shape.normals,
                   &shape.texCoords, gather);
    drawGridStrips(shape.positions, StripDirection::Reversed, StripNormals::Stored, &shape.normals,
                   &shape.texCoords, gather);
}

// Outside and inside in one pass, the reversed strips winding counter-clockwise seen
// from the side the stored normals point to; lit with normals, plain without.
void drawBothFacesOf(const StemShape& shape, bool lit, SurfaceBatches* gather) {
    drawBothFaces(shape.positions, StripDirection::Reversed, lit ? &shape.normals : nullptr,
                  gather);
}

} // namespace

void StemShape::drawPlain() const {
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    drawBothFacesOf(*this, false, nullptr);
}

void StemShape::drawWireframe() const {
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    glEnable(GL_BLEND);
    glLineWidth(2.0f);
    glColor4f(0.3f, 0.3f, 1.0f, 0.6f);
    drawGridCells(positions);
    glDisable(GL_BLEND);
}

void StemShape::drawShaded(const Rgba& diffuse, float shininess, const Rgba& specular,
                           const Rgba& ambient, SurfaceBatches* gather) const {
    beginLitSurface(diffuse, shininess, specular, ambient, kTubeLights);
    drawBothFacesOf(*this, true, gather);
}

void StemShape::drawTextured(TextureCache& textures, int textureId, SurfaceBatches* gather) const {
    beginTexturedSurface(kTubeLights);
    glEnable(GL_TEXTURE_2D);
    textures.bind(textureId);
    drawTexturedSides(*this, gather);
    glDisable(GL_TEXTURE_2D);
}

void StemShape::drawTranslucent(const Rgba& diffuse, float shininess, const Rgba& specular,
                                const Rgba& ambient) const {
    beginLitSurface(diffuse, shininess, specular, ambient, kTubeLights);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    drawBothFacesOf(*this, true, nullptr);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}
