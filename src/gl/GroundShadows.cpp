#include "gl/GroundShadows.h"

#include "gl/FloorGrid.h"
#include "interaction/OpenGL.h"
#include "model/DrawDetail.h"
#include "model/LocalBox.h"
#include "model/SceneRoot.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The darkening under an object that stands on the floor.
constexpr double kStrength = 0.42;
// How far the patch reaches beyond the footprint, as a share of it.
constexpr double kSpread = 1.3;
constexpr int kRings = 5;
constexpr int kSegments = 32;

// The patch's darkness at a share t (0 middle, 1 rim) of its radius: flat near the
// middle and falling smoothly to nothing at the rim, so patches show no edge and
// neighbours that overlap blend into one.
double falloff(double t) {
    const double u = 1.0 - t * t;
    return u * u;
}

void drawShadow(const GroundShadow& shadow) {
    const auto ringPoint = [&](int ring, int segment) {
        const double t = static_cast<double>(ring) / kRings;
        const double angle = 2.0 * std::numbers::pi * segment / kSegments;
        glColor4f(0.08f, 0.09f, 0.1f, static_cast<float>(shadow.strength * falloff(t)));
        glVertex3d(shadow.centreX + t * shadow.radiusX * std::cos(angle), 0.0,
                   shadow.centreZ + t * shadow.radiusZ * std::sin(angle));
    };
    for (int ring = 0; ring < kRings; ++ring) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int segment = 0; segment <= kSegments; ++segment) {
            ringPoint(ring, segment);
            ringPoint(ring + 1, segment);
        }
        glEnd();
    }
}

} // namespace

GroundShadow shadowUnder(const LocalBox& box, const Matrix4& placement) {
    const LocalBox placed = placedBox(box, placement);
    const Vector3& lo = placed.min;
    const Vector3& hi = placed.max;
    GroundShadow shadow;
    if (hi.y < 0.0)
        return shadow;
    const double halfX = 0.5 * (hi.x - lo.x);
    const double halfZ = 0.5 * (hi.z - lo.z);
    const double height = hi.y - std::max(lo.y, 0.0);
    // Under a stem or an upright petal the footprint is a sliver: give the patch a
    // width that follows the object's size.
    const double least = std::max(0.35 * std::max(halfX, halfZ), 0.08 * height);
    // How high the object floats, against its size: 0 standing on the floor.
    const double size = std::max({halfX, halfZ, height, 1e-9});
    const double lift = std::max(lo.y, 0.0) / size;
    const double spread = kSpread * (1.0 + 0.5 * lift);
    shadow.centreX = 0.5 * (lo.x + hi.x);
    shadow.centreZ = 0.5 * (lo.z + hi.z);
    shadow.radiusX = spread * std::max(halfX, least);
    shadow.radiusZ = spread * std::max(halfZ, least);
    shadow.strength = kStrength / (1.0 + 4.0 * lift * lift);
    return shadow;
}

GroundShadow shadowOf(const FlowerObjectNode& object, const Matrix4& placement,
                      const DrawContext& draw) {
    return shadowUnder(drawnBox(object, draw), placement);
}

std::vector<GroundShadow> shadowsOf(const SceneRoot& scene, const DrawContext& draw) {
    std::vector<GroundShadow> shadows;
    shadows.reserve(scene.plants.size());
    for (const SceneRoot::Plant& plant : scene.plants)
        shadows.push_back(shadowOf(*plant.composite, plant.placement, draw));
    return shadows;
}

void drawGround(const DrawContext& draw, const std::vector<GroundShadow>& shadows) {
    if (draw.snapshot)
        return;
    drawFloorGrid(draw);
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT |
                 GL_DEPTH_BUFFER_BIT);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (const GroundShadow& shadow : shadows)
        if (shadow.strength > 0.0)
            drawShadow(shadow);
    glPopAttrib();
}
