#include "organs/GridDrawing.h"

#include "interaction/OpenGL.h"

namespace {

void vertex(const Grid& positions, StripNormals normalMode, const Grid* normals,
            const Grid* texCoords, int row, int column) {
    if (normals && normalMode != StripNormals::None) {
        const Vector3& n = normals->at(row, column);
        if (normalMode == StripNormals::Stored)
            glNormal3d(n.x, n.y, n.z);
        else
            glNormal3d(-n.x, -n.y, -n.z);
    }
    if (texCoords) {
        const Vector3& t = texCoords->at(row, column);
        glTexCoord2d(t.x, t.y);
    }
    const Vector3& p = positions.at(row, column);
    glVertex3d(p.x, p.y, p.z);
}

} // namespace

void drawGridStrips(const Grid& positions, StripDirection direction, StripNormals normalMode,
                    const Grid* normals, const Grid* texCoords) {
    const int rows = positions.rows();
    const int columns = positions.columns();
    for (int g = 0; g + 1 < rows; ++g) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int k = 0; k < columns; ++k) {
            const int h = direction == StripDirection::Forward ? k : columns - 1 - k;
            vertex(positions, normalMode, normals, texCoords, g, h);
            vertex(positions, normalMode, normals, texCoords, g + 1, h);
        }
        glEnd();
    }
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
