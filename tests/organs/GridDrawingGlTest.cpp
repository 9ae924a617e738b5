#include "organs/GridDrawing.h"

#include "interaction/OpenGL.h"
#include "support/GlTestContext.h"

#include <cmath>

namespace {

// A wavy sheet whose triangles face both ways as seen from the camera.
Grid wavySheet(int rows, int columns) {
    Grid grid(rows, columns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            grid.at(r, c) = {-0.8 + 1.6 * c / (columns - 1), -0.8 + 1.6 * r / (rows - 1),
                             0.3 * std::sin(5.0 * c / columns) * std::cos(4.0 * r / rows)};
    return grid;
}

// The strips as single vertex calls: what the array drawing must reproduce.
void drawStripsOneVertexAtATime(const Grid& grid, StripDirection direction) {
    for (int g = 0; g + 1 < grid.rows(); ++g) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int k = 0; k < grid.columns(); ++k) {
            const int h = direction == StripDirection::Forward ? k : grid.columns() - 1 - k;
            for (int row : {g, g + 1}) {
                const Vector3& p = grid.at(row, h);
                glVertex3d(p.x, p.y, p.z);
            }
        }
        glEnd();
    }
}

class GridDrawingGl : public GlTest {
protected:
    GridDrawingGl() : GlTest(200, 200) {}

    template <typename Draw> QImage render(Draw draw) {
        TOGL& gl = togl();
        gl.setCamera({0.3, 0.2, 2.5}, {0, 0, 0}, {0, 1, 0});
        gl.beginFrame();
        gl.loadViewMatrix();
        glDisable(GL_LIGHTING);
        glEnable(GL_CULL_FACE);
        glShadeModel(GL_FLAT);
        glColor3f(1.0f, 0.5f, 0.0f);
        draw();
        gl.endFrame();
        return gl.frameImage();
    }
};

} // namespace

// Same pixels with back faces culled: the same triangles, each with its strip winding.
TEST_F(GridDrawingGl, ArraysDrawTheTrianglesAndWindingsOfTheStrips) {
    for (const Grid& grid : {wavySheet(7, 9), wavySheet(2, 2), wavySheet(12, 3)})
        for (StripDirection direction : {StripDirection::Forward, StripDirection::Reversed}) {
            const QImage expected = render([&] { drawStripsOneVertexAtATime(grid, direction); });
            const QImage drawn = render(
                [&] { drawGridStrips(grid, direction, StripNormals::None, nullptr, nullptr); });
            EXPECT_TRUE(drawn == expected)
                << grid.rows() << "x" << grid.columns() << " "
                << (direction == StripDirection::Forward ? "forward" : "reversed");
            int lit = 0;
            for (int y = 0; y < drawn.height(); ++y)
                for (int x = 0; x < drawn.width(); ++x)
                    lit += drawn.pixelColor(x, y).red() > 200;
            EXPECT_GT(lit, 0);
        }
}

TEST_F(GridDrawingGl, GridsTooSmallForAStripDrawNothing) {
    const QImage blank = render([] {});
    for (const Grid& grid : {Grid(), Grid(1, 5), Grid(5, 1)})
        EXPECT_TRUE(render([&] {
                        drawGridStrips(grid, StripDirection::Forward, StripNormals::None, nullptr,
                                       nullptr);
                    }) == blank);
}
