#include "interaction/PlaneHits.h"
#include "interaction/Camera.h"
#include "interaction/OpenGL.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 100;

ViewTransform viewFrom(const CameraPose& pose, bool orthographic = false) {
    Camera camera;
    camera.setPose(pose);
    return {camera.viewMatrix(),
            projectionMatrix(kWidth, kHeight, orthographic),
            {0, 0, kWidth, kHeight}};
}

void expectNear(const Vector3& a, const Vector3& b, double tolerance) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

const CameraPose kFrontCamera{{0, 0, 5}, {0, 0, 0}, {0, 1, 0}};

} // namespace

TEST(PlaneHits, UnprojectAgreesWithTheUtilityLibrary) {
    // gluUnProject works on plain arrays and needs no GL context.
    for (bool orthographic : {false, true}) {
        const ViewTransform view =
            viewFrom({{0.3, 1.1, 2.41}, {0, 0.8, 0}, {0, 1, 0}}, orthographic);
        const GLint viewport[4] = {0, 0, kWidth, kHeight};
        for (double depth : {0.0, 0.1, 0.5, 0.999}) {
            for (auto [wx, wy] : {std::pair{0.0, 0.0}, {13.5, 77.25}, {199.0, 99.0}}) {
                GLdouble x, y, z;
                ASSERT_EQ(gluUnProject(wx, wy, depth, view.modelView.data(), view.projection.data(),
                                       viewport, &x, &y, &z),
                          GL_TRUE);
                Vector3 ours;
                ASSERT_TRUE(unproject(view, wx, wy, depth, ours));
                expectNear(ours, {x, y, z}, 1e-9 * (1.0 + std::fabs(z)));
            }
        }
    }
}

TEST(PlaneHits, UnprojectOfASingularTransformFails) {
    ViewTransform view = viewFrom(kFrontCamera);
    view.projection.at(3, 2) = 0.0; // last row all zero
    Vector3 out(7, 7, 7);
    EXPECT_FALSE(unproject(view, 10, 10, 0.5, out));
    EXPECT_EQ(out, Vector3(7, 7, 7));
    EXPECT_EQ(unprojectPixel(view, 10, 10, 0.5), Vector3());
    view = viewFrom(kFrontCamera);
    view.viewport = {};
    EXPECT_FALSE(unproject(view, 10, 10, 0.5, out));
}

TEST(PlaneHits, WindowYGrowsDownwards) {
    const ViewTransform view = viewFrom(kFrontCamera);
    // The top edge of the window lies 22.5 degrees above the line of sight.
    const Vector3 top = unprojectPixel(view, kWidth / 2.0, 0, 0.5);
    const Vector3 bottom = unprojectPixel(view, kWidth / 2.0, kHeight, 0.5);
    EXPECT_GT(top.y, 0.0);
    EXPECT_NEAR(top.y, -bottom.y, 1e-9);
    EXPECT_NEAR(top.y / (5.0 - top.z), std::tan(22.5 * std::numbers::pi / 180.0), 1e-9);
}

TEST(PlaneHits, ProjectingToTheWindowUndoesUnprojecting) {
    ViewTransform view = viewFrom(kFrontCamera);
    view.viewport.x = 7;
    view.viewport.y = 11;
    for (const Vector3 pixel :
         {Vector3(0, 0, 0.1), Vector3(123.5, 40, 0.9), Vector3(kWidth, kHeight, 0.5)}) {
        const Vector3 back = projectToWindow(view, unprojectPixel(view, pixel.x, pixel.y, pixel.z));
        EXPECT_LT(distance(back, pixel), 1e-6);
    }
}

TEST(PlaneHits, PickRayStartsAtTheEyeAndIsUnit) {
    const ViewTransform view = viewFrom(kFrontCamera);
    const PickRay ray = pickRay(view, kFrontCamera.eye, 30, 80);
    EXPECT_EQ(ray.origin, kFrontCamera.eye);
    EXPECT_NEAR(ray.direction.length(), 1.0, 1e-12);
    const PickRay centre = pickRay(view, kFrontCamera.eye, kWidth / 2.0, kHeight / 2.0);
    expectNear(centre.direction, {0, 0, -1}, 1e-12);
    // The near point lies on the same ray, just past the near plane at 0.02.
    const Vector3 near = pixelNearPoint(view, kWidth / 2.0, kHeight / 2.0);
    EXPECT_NEAR(near.x, 0.0, 1e-12);
    EXPECT_GT(5.0 - near.z, 0.02);
    EXPECT_LT(5.0 - near.z, 0.03);
}

TEST(PlaneHits, PlaneZ0AndY0AgainstHandComputedPoints) {
    const ViewTransform front = viewFrom(kFrontCamera);
    const double t = std::tan(22.5 * std::numbers::pi / 180.0);
    expectNear(hitPlaneZ0(pickRay(front, kFrontCamera.eye, 100, 50)), {0, 0, 0}, 1e-9);
    // Top centre pixel: 22.5 degrees up from 5 units away.
    expectNear(hitPlaneZ0(pickRay(front, kFrontCamera.eye, 100, 0)), {0, 5 * t, 0}, 1e-9);
    // Right edge: aspect 2, so twice as far sideways.
    expectNear(hitPlaneZ0(pickRay(front, kFrontCamera.eye, 200, 50)), {10 * t, 0, 0}, 1e-9);

    const CameraPose above{{0, 4, 0}, {0, 0, 0}, {0, 0, -1}};
    const ViewTransform down = viewFrom(above);
    expectNear(hitPlaneY0(pickRay(down, above.eye, 100, 50)), {0, 0, 0}, 1e-9);
    // Top of the window looks towards -z (the up vector).
    expectNear(hitPlaneY0(pickRay(down, above.eye, 100, 0)), {0, 0, -4 * t}, 1e-9);
}

TEST(PlaneHits, ParallelRaysGiveTheZeroVector) {
    const PickRay alongX{{1, 2, 3}, {1, 0, 0}};
    EXPECT_EQ(hitPlaneZ0(alongX), Vector3());
    EXPECT_EQ(hitPlaneY0(alongX), Vector3());
    // Looking from (0,0,5) at (0,0,1): the view plane is z = 0, which a ray along x
    // never meets.
    EXPECT_EQ(hitViewPlane({{0, 0, 5}, {1, 0, 0}}, {0, 0, 1}), Vector3());
    EXPECT_EQ(hitPlaneThroughPoint({0, 0, 5}, {1, 0, 5}, {0, 0, 0}, {0, 0, 1}), Vector3());
    // A target point at the eye gives no direction at all.
    EXPECT_EQ(hitPlaneThroughPoint({0, 0, 5}, {0, 0, 5}, {0, 0, 0}, {0, 0, 1}), Vector3());
}

TEST(PlaneHits, ViewPlaneAndPlaneThroughPoint) {
    // Eye (3,0,3) looking at (1,0,1): the view plane through the origin is x + z = 0.
    const PickRay ray{{3, 0, 3}, unit(Vector3(-1, 0.5, -1))};
    const Vector3 hit = hitViewPlane(ray, {1, 0, 1});
    EXPECT_NEAR(hit.x + hit.z, 0.0, 1e-12);
    expectNear(hit, Vector3(3, 0, 3) + Vector3(-1, 0.5, -1) * 3.0, 1e-12);

    // From (0,0,5) through (1,0,4) onto z = 0: five units along (1,0,-1).
    expectNear(hitPlaneThroughPoint({0, 0, 5}, {1, 0, 4}, {0, 0, 0}, {0, 0, 1}), {5, 0, 0}, 1e-12);
    // The plane through (0,0,2) with normal (0,0,-3): same ray, three units along.
    expectNear(hitPlaneThroughPoint({0, 0, 5}, {1, 0, 4}, {0, 0, 2}, {0, 0, -3}), {3, 0, 2}, 1e-12);
}

TEST(PlaneHits, CarryingOntoAPlaneTellsAHitAtTheOriginFromAParallelRay) {
    // From (0,0,5) the ray through (0,0,4) meets z = 0 at the origin: a hit.
    Vector3 hit(9, 9, 9);
    EXPECT_TRUE(rayThroughPointMeetsPlane({0, 0, 5}, {0, 0, 4}, {0, 0, 0}, {0, 0, 1}, hit));
    EXPECT_EQ(hit, Vector3());

    PointList points{{1, 0, 4}, {0, 0, 4}};
    ASSERT_TRUE(carryOntoPlane({0, 0, 5}, points, {0, 0, 0}, {0, 0, 1}));
    expectNear(points[0], {5, 0, 0}, 1e-12);
    expectNear(points[1], {0, 0, 0}, 1e-12);

    // One ray along the plane spoils the whole stroke, which stays as it was.
    const PointList drawn{{1, 0, 4}, {1, 0, 5}};
    PointList carried = drawn;
    EXPECT_FALSE(carryOntoPlane({0, 0, 5}, carried, {0, 0, 0}, {0, 0, 1}));
    EXPECT_EQ(carried, drawn);
}
