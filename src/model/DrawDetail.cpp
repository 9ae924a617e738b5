#include "model/DrawDetail.h"

#include "model/DrawContext.h"
#include "model/DrawingCache.h"
#include "model/FlowerObjectNode.h"
#include "model/SurfaceBatches.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// An object whose box spans more pixels than this is drawn in full from its own
// parts: its grids would hardly thin, and its parts may be edited while in view.
constexpr double kMostListPixels = 256.0;
// The widest a thinned grid's cell may be on screen. Shading is interpolated over
// cells this small much as over the full grid's, so a change of level hardly shows.
constexpr double kCellPixels = 6.0;

struct ClipPoint {
    double x, y, z, w;
};

ClipPoint clip(const Matrix4& m, const Vector3& p) {
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14],
            m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15]};
}

// Where the box stands in the frame.
struct BoxOnScreen {
    bool outside = false;
    // Every corner in front of the eye; only then are the sizes below known.
    bool inFront = true;
    double extentPixels = 0.0;
    // The largest ratio of an edge's length on screen to its length in the box.
    double pixelsPerUnit = 0.0;
};

BoxOnScreen project(const LocalBox& box, const Matrix4& toClip, double width, double height) {
    std::array<Vector3, 8> corner;
    std::array<ClipPoint, 8> c;
    for (int i = 0; i < 8; ++i) {
        corner[i] = box.corner(i);
        c[i] = clip(toClip, corner[i]);
    }
    BoxOnScreen on;
    // Outside when every corner lies beyond one and the same plane of the frustum.
    const auto allBeyond = [&](auto beyond) {
        return std::all_of(c.begin(), c.end(), beyond);
    };
    on.outside = allBeyond([](const ClipPoint& p) { return p.x < -p.w; }) ||
                 allBeyond([](const ClipPoint& p) { return p.x > p.w; }) ||
                 allBeyond([](const ClipPoint& p) { return p.y < -p.w; }) ||
                 allBeyond([](const ClipPoint& p) { return p.y > p.w; }) ||
                 allBeyond([](const ClipPoint& p) { return p.z < -p.w; }) ||
                 allBeyond([](const ClipPoint& p) { return p.z > p.w; });
    if (on.outside)
        return on;
    std::array<double, 8> px, py;
    double loX = 1e300, hiX = -1e300, loY = 1e300, hiY = -1e300;
    for (int i = 0; i < 8; ++i) {
        if (c[i].w <= 1e-9 || c[i].z < -c[i].w) {
            on.inFront = false;
            return on;
        }
        px[i] = (c[i].x / c[i].w + 1.0) * 0.5 * width;
        py[i] = (c[i].y / c[i].w + 1.0) * 0.5 * height;
        loX = std::min(loX, px[i]);
        hiX = std::max(hiX, px[i]);
        loY = std::min(loY, py[i]);
        hiY = std::max(hiY, py[i]);
    }
    on.extentPixels = std::max(hiX - loX, hiY - loY);
    for (int i = 0; i < 8; ++i)
        for (int axis : {1, 2, 4}) {
            const int j = i | axis;
            if (j == i)
                continue;
            const double length = distance(corner[i], corner[j]);
            if (length > 1e-12)
                on.pixelsPerUnit =
                    std::max(on.pixelsPerUnit, std::hypot(px[j] - px[i], py[j] - py[i]) / length);
        }
    return on;
}

// The detail record of a frame that draws from the cache, or null.
const DrawDetail* cachedDetail(const DrawContext& draw) {
    const DrawDetail* detail = draw.detail;
    return detail && detail->cache && !draw.fullDetail && !draw.batches ? detail : nullptr;
}

// Where the box of what `node` draws, under the current model-view matrix, stands
// in the frame.
BoxOnScreen placeInFrame(const FlowerObjectNode& node, const DrawContext& draw,
                         const DrawDetail& detail) {
    const LocalBox box = drawnBox(node, draw);
    Matrix4 modelView;
    glGetDoublev(GL_MODELVIEW_MATRIX, &modelView[0]);
    return project(box, detail.projection * modelView, detail.viewportWidth, detail.viewportHeight);
}

} // namespace

LocalBox drawnBox(const FlowerObjectNode& node, const DrawContext& draw) {
    const auto measure = [&] {
        LocalBox measured;
        node.boundingBox(measured.min, measured.max, Matrix4(), true);
        // Shown strokes are drawn with the object and may reach beyond its surfaces.
        if (draw.display.drawStrokes)
            for (const auto& stroke : node.strokes)
                for (const Vector3& p : stroke->points)
                    widenBox(measured.min, measured.max, p);
        return measured;
    };
    const std::uint64_t key = node.drawingKey(draw);
    if (!draw.detail || !draw.detail->cache || key == 0)
        return measure();
    return draw.detail->cache->boxOf(key, measure);
}

bool drawFromCache(FlowerObjectNode& node, const DrawContext& draw) {
    const DrawDetail* detail = cachedDetail(draw);
    if (!detail)
        return false;
    const std::uint64_t key = node.drawingKey(draw);
    if (key == 0)
        return false;
    DrawingCache& cache = *detail->cache;
    const BoxOnScreen on = placeInFrame(node, draw, *detail);
    if (on.outside)
        return true;
    // Picks draw each part that reaches the region in full, under its own pick colour.
    if (draw.snapshot || !on.inFront || on.extentPixels > kMostListPixels)
        return false;
    // A power of two at or above the object's scale: the grids thin in steps, and
    // never coarser than its size asks.
    const int level = static_cast<int>(std::ceil(std::log2(std::max(on.pixelsPerUnit, 1e-3))));
    return cache.drawList(key, level, [&] {
        SurfaceBatches batches(std::ldexp(1.0, level));
        DrawContext compiling = draw;
        compiling.batches = &batches;
        node.drawSolid(compiling);
        batches.emit();
    });
}

void drawSolidAtDetail(FlowerObjectNode& node, const DrawContext& draw) {
    if (!drawFromCache(node, draw))
        node.drawSolid(draw);
}

void drawTranslucentInView(FlowerObjectNode& node, const DrawContext& draw) {
    if (const DrawDetail* detail = cachedDetail(draw)) {
        const std::uint64_t key = node.drawingKey(draw);
        if (key != 0 && placeInFrame(node, draw, *detail).outside)
            return;
    }
    node.drawTranslucent(draw);
}

int gridStep(double spacing, double pixelsPerUnit, int cells, int minimumCells, int fewestCells) {
    const double cellPixels = spacing * pixelsPerUnit;
    const int floor = std::min(cells, cellPixels * cells <= kCellPixels ? fewestCells : minimumCells);
    int step = 1;
    while (cellPixels * (2 * step) <= kCellPixels && (cells + 2 * step - 1) / (2 * step) >= floor)
        step *= 2;
    return step;
}
