#include "organs/GridDrawing.h"

#include "interaction/OpenGL.h"

#include <vector>

namespace {

// Reused between calls, so that drawing allocates only when a grid is wider than
// any before it.
thread_local std::vector<GLuint> stripIndices;
thread_local std::vector<Vector3> negatedNormals;

// Indices of one strip relative to the start of its first row: row g and row g + 1
// alternating, column by column.
const GLuint* stripOrder(int columns, StripDirection direction) {
    stripIndices.resize(2 * static_cast<size_t>(columns));
    for (int k = 0; k < columns; ++k) {
        const int h = direction == StripDirection::Forward ? k : columns - 1 - k;
        stripIndices[2 * k] = static_cast<GLuint>(h);
        stripIndices[2 * k + 1] = static_cast<GLuint>(columns + h);
    }
    return stripIndices.data();
}

} // namespace

// The strips are drawn from vertex arrays, one call per strip: the same vertices in
// the same order as a strip of single vertex calls, at a fraction of the calls.
void drawGridStrips(const Grid& positions, StripDirection direction, StripNormals normalMode,
                    const Grid* normals, const Grid* texCoords) {
    const int rows = positions.rows();
    const int columns = positions.columns();
    if (rows < 2 || columns < 1)
        return;
    const Vector3* normalData = nullptr;
    if (normals && normalMode != StripNormals::None) {
        normalData = normals->cells().data();
        if (normalMode == StripNormals::Negated) {
            negatedNormals.resize(normals->cells().size());
            for (size_t i = 0; i < negatedNormals.size(); ++i)
                negatedNormals[i] = -normals->cells()[i];
            normalData = negatedNormals.data();
        }
    }
    const GLuint* order = stripOrder(columns, direction);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    if (normalData)
        glEnableClientState(GL_NORMAL_ARRAY);
    if (texCoords)
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    for (int g = 0; g + 1 < rows; ++g) {
        const size_t rowStart = static_cast<size_t>(g) * static_cast<size_t>(columns);
        glVertexPointer(3, GL_DOUBLE, sizeof(Vector3), positions.cells().data() + rowStart);
        if (normalData)
            glNormalPointer(GL_DOUBLE, sizeof(Vector3), normalData + rowStart);
        if (texCoords)
            glTexCoordPointer(2, GL_DOUBLE, sizeof(Vector3), texCoords->cells().data() + rowStart);
        glDrawElements(GL_TRIANGLE_STRIP, 2 * columns, GL_UNSIGNED_INT, order);
    }
    glPopClientAttrib();
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
