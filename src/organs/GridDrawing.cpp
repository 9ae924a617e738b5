#include "organs/GridDrawing.h"

#include "interaction/OpenGL.h"
#include "model/DrawDetail.h"
#include "model/FlowerObjectNode.h"
#include "model/SurfaceBatches.h"

#include <algorithm>
#include <vector>

namespace {

// Reused between calls, so that drawing allocates only when a grid is larger than
// any before it.
struct StripTriangles {
    int rows = -1;
    int columns = -1;
    int rowStep = -1;
    int columnStep = -1;
    std::vector<GLuint> indices;
};
// One list per strip direction, kept while grids of the same size follow each other
// (the two sides of a surface, the organs of a whorl).
thread_local StripTriangles stripTriangleLists[2];
thread_local std::vector<GLfloat> vertexFloats;
thread_local std::vector<GLfloat> normalFloats;
thread_local std::vector<GLfloat> texCoordFloats;

// The grid as packed floats, the form GL takes without converting vertex by vertex;
// `sign` negates every component, `components` keeps the first two or all three.
const GLfloat* packed(const Grid& grid, std::vector<GLfloat>& out, int components, float sign) {
    out.resize(grid.cells().size() * static_cast<size_t>(components));
    GLfloat* f = out.data();
    for (const Vector3& p : grid.cells()) {
        *f++ = sign * static_cast<GLfloat>(p.x);
        *f++ = sign * static_cast<GLfloat>(p.y);
        if (components == 3)
            *f++ = sign * static_cast<GLfloat>(p.z);
    }
    return out.data();
}

// Every `step`-th of `count` indices, the last always among them.
std::vector<int> keptIndices(int count, int step) {
    std::vector<int> kept;
    for (int i = 0; i < count - 1; i += step)
        kept.push_back(i);
    kept.push_back(count - 1);
    return kept;
}

// The triangles of every strip of a rows x columns grid as one index list: the
// strip between rows g and g + 1 alternates them column by column, and its
// triangle k is (k, k + 1, k + 2) with the first two swapped for odd k, which is
// exactly the triangle, winding and last (flat-shading) vertex a triangle strip
// gives. One draw call per grid instead of one per strip. A thinned grid keeps
// every rowStep-th row and columnStep-th column, with the first and the last.
const GLuint* stripTriangles(int rows, int columns, int rowStep, int columnStep,
                             StripDirection direction, GLsizei& count) {
    StripTriangles& list = stripTriangleLists[direction == StripDirection::Forward ? 0 : 1];
    count = static_cast<GLsizei>(list.indices.size());
    if (list.rows == rows && list.columns == columns && list.rowStep == rowStep &&
        list.columnStep == columnStep)
        return list.indices.data();
    list.rows = rows;
    list.columns = columns;
    list.rowStep = rowStep;
    list.columnStep = columnStep;
    const std::vector<int> keptRows = keptIndices(rows, rowStep);
    std::vector<int> keptColumns = keptIndices(columns, columnStep);
    if (direction == StripDirection::Reversed)
        std::reverse(keptColumns.begin(), keptColumns.end());
    const int strips = static_cast<int>(keptColumns.size());
    std::vector<GLuint>& stripIndices = list.indices;
    stripIndices.clear();
    for (size_t r = 0; r + 1 < keptRows.size(); ++r) {
        const auto at = [&](int k) {
            return static_cast<GLuint>((k % 2 ? keptRows[r + 1] : keptRows[r]) * columns +
                                       keptColumns[k / 2]);
        };
        for (int k = 0; k + 2 < 2 * strips; ++k) {
            const GLuint a = at(k), b = at(k + 1), c = at(k + 2);
            stripIndices.insert(stripIndices.end(), {k % 2 ? b : a, k % 2 ? a : b, c});
        }
    }
    count = static_cast<GLsizei>(stripIndices.size());
    return stripIndices.data();
}

// The mean distance between neighbouring points down the rows (first) and along
// the columns (second).
std::pair<double, double> meanSpacing(const Grid& grid) {
    double down = 0.0, along = 0.0;
    for (int g = 0; g < grid.rows(); ++g)
        for (int h = 0; h < grid.columns(); ++h) {
            if (g + 1 < grid.rows())
                down += distance(grid.at(g, h), grid.at(g + 1, h));
            if (h + 1 < grid.columns())
                along += distance(grid.at(g, h), grid.at(g, h + 1));
        }
    return {down / std::max(1, (grid.rows() - 1) * grid.columns()),
            along / std::max(1, grid.rows() * (grid.columns() - 1))};
}

// The strips are drawn from vertex arrays in one call: the same triangles with the
// same windings as strips of single vertex calls, at a fraction of the calls. The
// normals of a thinned grid are the full grid's at the points kept. Gathered with
// `bothFaces`, the batch draws them unculled with two-sided lighting.
void drawStrips(const Grid& positions, StripDirection direction, StripNormals normalMode,
                const Grid* normals, const Grid* texCoords, SurfaceBatches* gather,
                bool bothFaces) {
    const int rows = positions.rows();
    const int columns = positions.columns();
    if (rows < 2 || columns < 1)
        return;
    const GLfloat* vertexData = packed(positions, vertexFloats, 3, 1.0f);
    const GLfloat* normalData = nullptr;
    if (normals && normalMode != StripNormals::None)
        normalData =
            packed(*normals, normalFloats, 3, normalMode == StripNormals::Negated ? -1.0f : 1.0f);
    const GLfloat* texCoordData = texCoords ? packed(*texCoords, texCoordFloats, 2, 1.0f) : nullptr;
    // Thinned for a reduced-detail list: at least two cells down (the rows run along
    // an organ) and four across (a tube stays round), down to one and two (a tube
    // a flat ribbon) where they span no more than a cell may.
    int rowStep = 1, columnStep = 1;
    if (gather) {
        const auto [down, along] = meanSpacing(positions);
        const double pixelsPerUnit = gather->pixelsPerUnitHere();
        rowStep = gridStep(down, pixelsPerUnit, rows - 1, 2, 1);
        columnStep = gridStep(along, pixelsPerUnit, columns - 1, 4, 2);
    }
    GLsizei count = 0;
    const GLuint* triangles = stripTriangles(rows, columns, rowStep, columnStep, direction, count);
    if (gather) {
        gather->add(vertexData, normalData, texCoordData, rows * columns, triangles, count,
                    bothFaces);
        return;
    }
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, vertexData);
    if (normalData) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, normalData);
    }
    if (texCoordData) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, texCoordData);
    }
    glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_INT, triangles);
    glPopClientAttrib();
}

} // namespace

void drawGridStrips(const Grid& positions, StripDirection direction, StripNormals normalMode,
                    const Grid* normals, const Grid* texCoords, SurfaceBatches* gather) {
    drawStrips(positions, direction, normalMode, normals, texCoords, gather, false);
}

void drawBothFaces(const Grid& positions, StripDirection direction, const Grid* normals,
                   SurfaceBatches* gather) {
    const StripNormals normalMode = normals ? StripNormals::Stored : StripNormals::None;
    if (gather && normals) {
        drawStrips(positions, direction, normalMode, normals, nullptr, gather, true);
        return;
    }
    const bool culling = glIsEnabled(GL_CULL_FACE);
    glDisable(GL_CULL_FACE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    drawStrips(positions, direction, normalMode, normals, nullptr, nullptr, false);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    if (culling)
        glEnable(GL_CULL_FACE);
}

void drawGridCells(const Grid& positions) {
    for (int g = 0; g + 1 < positions.rows(); ++g)
        for (int h = 0; h + 1 < positions.columns(); ++h) {
            const Vector3 corners[5] = {positions.at(g, h), positions.at(g, h + 1),
                                        positions.at(g + 1, h + 1), positions.at(g + 1, h),
                                        positions.at(g, h)};
            glBegin(GL_LINE_STRIP);
            for (const Vector3& p : corners)
                glVertex3d(p.x, p.y, p.z);
            const Vector3& diagonal = positions.at(g + 1, h + 1);
            glVertex3d(diagonal.x, diagonal.y, diagonal.z);
            glEnd();
        }
}

void beginLitSurface(const Rgba& diffuse, float shininess, const Rgba& specular,
                     const Rgba& ambient, int lights) {
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    for (int i = 0; i < lights; ++i)
        glEnable(GL_LIGHT0 + i);
    glDisable(GL_BLEND);
    applyMaterial(diffuse, shininess, specular, ambient);
}

void beginTexturedSurface(int lights) {
    beginLitSurface({1.0f, 1.0f, 1.0f, 1.0f}, 128.0f, {0.5f, 0.5f, 0.5f, 1.0f},
                    {0.8f, 0.8f, 0.8f, 1.0f}, lights);
}
