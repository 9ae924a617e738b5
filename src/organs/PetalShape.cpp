#include "organs/PetalShape.h"

#include "interaction/OpenGL.h"
#include "math/PointSequence.h"
#include "model/FlowerObjectNode.h"
#include "model/ObjExport.h"
#include "model/TextureCache.h"
#include "organs/GridDrawing.h"
#include "organs/ObjWriter.h"
#include "organs/OrganExport.h"
#include "organs/PetalControlPointManager.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The control indices in [lo, hi] that can weigh in at parameter u, with their
// weights. The cubic kernel vanishes two units away, so at most four indices from
// floor(u) - 1 contribute; summing only those, in index order, gives bit for bit
// what summing over every index would, since the other terms add exact zeros.
struct BasisWindow {
    int first = 0;
    int count = 0;
    double weight[4] = {};
};

BasisWindow basisWindow(double u, int lo, int hi) {
    BasisWindow window;
    // Two units beyond the index range every weight is zero (and a parameter that
    // is not a number weighs nothing either).
    if (!(u > lo - 2.0 && u < hi + 2.0))
        return window;
    const int base = static_cast<int>(std::floor(u));
    window.first = std::max(lo, base - 1);
    for (int i = window.first; i <= std::min(hi, base + 2); ++i)
        window.weight[window.count++] = bsplineBasis(u - i);
    return window;
}

// The columns a column window reads on each half: the left half columns 0 to the
// midrib, the right half the midrib for offsets up to 0 and the columns beyond it.
// Indices beyond the net are clamped to it, so the side edges follow the outline
// columns.
struct ColumnTaps {
    BasisWindow window;
    int left[4] = {};
    int right[4] = {};
};

ColumnTaps columnTaps(double t, const PetalControlPointManager& net) {
    const int c = net.midribColumn();
    ColumnTaps taps{basisWindow(t, -2, c + 2)};
    for (int b = 0; b < taps.window.count; ++b) {
        const int j = taps.window.first + b;
        taps.left[b] = std::clamp(j, 0, c);
        taps.right[b] = j <= 0 ? c : std::min(c + j, net.lastColumn());
    }
    return taps;
}

BasisWindow rowWindow(double s, const PetalControlPointManager& net) {
    return basisWindow(s, -2, net.rowCount() + 1);
}

struct HalfPoints {
    Vector3 left;
    Vector3 right;
};

// The surface points of both halves with the given windows, each summed in index
// order. Rows beyond the net are clamped too, so the surface meets the base and the
// tip exactly; on those two rows the left half reads only the midrib.
HalfPoints sumWindows(const BasisWindow& along, const ColumnTaps& across,
                      const PetalControlPointManager& net) {
    HalfPoints sum;
    if (net.empty())
        return sum;
    const int tip = net.tipRow();
    const int c = net.midribColumn();
    for (int a = 0; a < along.count; ++a) {
        const int row = std::clamp(along.first + a, 0, tip);
        const Vector3* line = &net.points().at(row, 0);
        const bool endRow = row == 0 || row == tip;
        for (int b = 0; b < across.window.count; ++b) {
            const double w = along.weight[a] * across.window.weight[b];
            sum.left += line[endRow ? c : across.left[b]] * w;
            sum.right += line[across.right[b]] * w;
        }
    }
    return sum;
}

// Unit normals of one half. Where a neighbour column would lie outside the grid,
// the difference to the column on the other side stands in for it.
void normalsOf(const Grid& P, Grid& N) {
    const int rows = P.rows();
    const int columns = P.columns();
    if (rows < 2 || columns < 2)
        return;
    const auto ahead = [&](int g, int h) {
        return h + 1 < columns ? P.at(g, h + 1) - P.at(g, h) : P.at(g, h) - P.at(g, h - 1);
    };
    const auto behind = [&](int g, int h) {
        return h > 0 ? P.at(g, h - 1) - P.at(g, h) : P.at(g, 0) - P.at(g, 1);
    };
    const int last = rows - 1;
    for (int h = 0; h < columns; ++h) {
        N.at(0, h) = unit(cross(P.at(1, h) - P.at(0, h), ahead(1, h)));
        N.at(last, h) = unit(cross(P.at(last - 1, h) - P.at(last, h), behind(last - 1, h)));
    }
    for (int g = 1; g < last; ++g)
        for (int h = 0; h < columns; ++h) {
            const Vector3 a = unit(cross(behind(g, h), P.at(g + 1, h) - P.at(g, h)));
            const Vector3 b = unit(cross(ahead(g, h), P.at(g - 1, h) - P.at(g, h)));
            N.at(g, h) = unit(a + b);
        }
}

// One side of both halves, textured: each side wears its own texture, so the sides
// are drawn apart, culled.
void drawTexturedHalves(const PetalShape& shape, StripDirection direction, StripNormals normals,
                        SurfaceBatches* gather) {
    for (const PetalHalf half : {PetalHalf::Left, PetalHalf::Right})
        drawGridStrips(shape.positions(half), direction, normals, &shape.normals(half),
                       &shape.texCoords(half), gather);
}

// Both faces of both halves in one pass: the forward strips wind counter-clockwise
// seen from the side the stored normals point to. Lit with normals, plain without.
void drawHalvesBothFaces(const PetalShape& shape, bool lit, SurfaceBatches* gather) {
    for (const PetalHalf half : {PetalHalf::Left, PetalHalf::Right})
        drawBothFaces(shape.positions(half), StripDirection::Forward,
                      lit ? &shape.normals(half) : nullptr, gather);
}

// Petals are lit by the first two lights.
constexpr int kPetalLights = 2;

} // namespace

void PetalShape::rebuild(const PetalControlPointManager& net, int rows, int columns) {
    rows_ = std::max(rows, 3);
    columns_ = std::max(columns, 3);
    for (Half* half : {&left_, &right_}) {
        half->positions.resize(rows_, columns_);
        half->normals.resize(rows_, columns_);
        half->texCoords.resize(rows_, columns_);
    }
    sample(net);
    computeTexCoords();
}

void PetalShape::sample(const PetalControlPointManager& net) {
    if (rows_ < 2 || columns_ < 2)
        return;
    // The parameters step evenly from -1 to one past the net on each axis; they are
    // computed from the sample index so that the last sample lands exactly on the
    // tip and on the edge.
    const double rowSpan = net.rowCount() + 1.0;
    const double columnSpan = net.midribColumn() + 2.0;
    std::vector<ColumnTaps> across(static_cast<size_t>(columns_));
    for (int h = 0; h < columns_; ++h)
        across[h] = columnTaps(-1.0 + columnSpan * h / (columns_ - 1), net);
    for (int g = 0; g < rows_; ++g) {
        const BasisWindow along = rowWindow(-1.0 + rowSpan * g / (rows_ - 1), net);
        for (int h = 0; h < columns_; ++h) {
            const HalfPoints p = sumWindows(along, across[h], net);
            left_.positions.at(g, h) = p.left;
            right_.positions.at(g, h) = p.right;
        }
    }
    computeNormals();
}

Vector3 PetalShape::evaluate(double s, double t, PetalHalf half,
                             const PetalControlPointManager& net) {
    const HalfPoints p = sumWindows(rowWindow(s, net), columnTaps(t, net), net);
    return half == PetalHalf::Left ? p.left : p.right;
}

void PetalShape::computeNormals() {
    normalsOf(left_.positions, left_.normals);
    normalsOf(right_.positions, right_.normals);
}

void PetalShape::computeTexCoords() {
    if (rows_ < 2 || columns_ < 2)
        return;
    for (int g = 0; g < rows_; ++g) {
        const double v = static_cast<double>(g) / (rows_ - 1);
        const double w = std::sqrt(v - v * v);
        for (int h = 0; h < columns_; ++h) {
            const double step = h * w / (columns_ - 1);
            left_.texCoords.at(g, h) = {0.5 - w + step, v, 0.0};
            right_.texCoords.at(g, h) = {0.5 + step, v, 0.0};
        }
    }
}

void PetalShape::drawPlain() const {
    drawHalvesBothFaces(*this, false, nullptr);
}

void PetalShape::drawWireframe() const {
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glShadeModel(GL_FLAT);
    glLineWidth(2.0f);
    glColor4d(0.3, 0.3, 1.0, 0.6);
    drawGridCells(left_.positions);
    drawGridCells(right_.positions);
}

void PetalShape::drawShaded(const Rgba& diffuse, float shininess, const Rgba& specular,
                            const Rgba& ambient, SurfaceBatches* gather) const {
    beginLitSurface(diffuse, shininess, specular, ambient, kPetalLights);
    drawHalvesBothFaces(*this, true, gather);
}

void PetalShape::drawTextured(TextureCache& textures, int front, int back,
                              SurfaceBatches* gather) const {
    beginTexturedSurface(kPetalLights);
    glEnable(GL_TEXTURE_2D);
    textures.bind(front >= 0 ? front : back);
    drawTexturedHalves(*this, StripDirection::Reversed, StripNormals::Negated, gather);
    textures.bind(back >= 0 ? back : front);
    drawTexturedHalves(*this, StripDirection::Forward, StripNormals::Stored, gather);
    glDisable(GL_TEXTURE_2D);
}

void PetalShape::drawTranslucent(const Rgba& diffuse, float shininess, const Rgba& specular,
                                 const Rgba& ambient) const {
    beginLitSurface(diffuse, shininess, specular, ambient, kPetalLights);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    drawHalvesBothFaces(*this, true, nullptr);
    // Opaque drawing with depth writes is what every other pass expects.
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

int PetalShape::writeObj(ObjExport& out, const Matrix4& matrix, int vertexCount, int objectId,
                         const std::string& frontMaterial, const std::string& backMaterial) const {
    struct Group {
        const char* name;
        const Half& half;
        const std::string& material;
        bool back;
    };
    const Group groups[] = {{"petalRightFront_", right_, frontMaterial, false},
                            {"petalRightBack_", right_, backMaterial, true},
                            {"petalLeftFront_", left_, frontMaterial, false},
                            {"petalLeftBack_", left_, backMaterial, true}};
    // The back copies lie a hair below the front, both halves alike so that they
    // still meet along the midrib.
    const double offset = kBackCopyOffset * reachOf({&right_.positions, &left_.positions});
    // A group is named like a material: its prefix followed by the object id.
    for (const Group& g : groups)
        if (!g.back || !out.singleSurfaces)
            vertexCount = writeSurfaceGroup(
                out, organMaterialName(g.name, objectId), g.material, g.half.positions,
                g.half.normals, g.half.texCoords, matrix, g.back, vertexCount,
                std::vector<double>(g.back ? g.half.positions.rows() : 0, offset));
    return vertexCount;
}
