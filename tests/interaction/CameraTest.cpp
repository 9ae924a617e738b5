#include "interaction/Camera.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace {

Camera cameraAt(const CameraPose& pose) {
    Camera camera;
    camera.setPose(pose);
    return camera;
}

void expectNear(const Vector3& a, const Vector3& b, double tolerance) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

// Drags the mouse one pixel at a time in y, starting at y = 0.
void dragByRows(Camera& camera, int kind, int rows) {
    camera.beginDrag(kind, 0, 0);
    const int step = rows > 0 ? 1 : -1;
    for (int y = step; y != rows + step; y += step)
        camera.drag(0, y);
    camera.endDrag();
}

} // namespace

TEST(Camera, StartsAtZeroAndResetsToItsHome) {
    Camera camera;
    EXPECT_EQ(camera.eye, Vector3());
    EXPECT_EQ(camera.home.eye, Vector3(0, 20, 50));
    camera.reset();
    EXPECT_EQ(camera.eye, Vector3(0, 20, 50));
    EXPECT_EQ(camera.center, Vector3(0, 20, 0));
    EXPECT_EQ(camera.up, Vector3(0, 1, 0));
    camera.home = kMainViewHomeCamera;
    camera.reset();
    EXPECT_EQ(camera.eye, Vector3(0, 0.8, 2.41));
    EXPECT_EQ(camera.center, Vector3(0, 0.8, 0));
}

// Each pixel of a dolly drag moves the eye by the same share of its distance, so
// equal drags scale the distance by equal ratios, however near the centre the eye
// is and however the drag is cut into mouse moves.
TEST(Camera, DollyMovesTheSameShareOfTheDistanceForEveryPixel) {
    Camera camera = cameraAt(kMainViewHomeCamera);
    std::vector<double> distances{distance(camera.eye, camera.center)};
    for (int drag = 0; drag < 4; ++drag) {
        dragByRows(camera, kDollyDrag, 125);
        distances.push_back(distance(camera.eye, camera.center));
    }
    for (size_t i = 1; i < distances.size(); ++i)
        EXPECT_NEAR(distances[i] / distances[i - 1], distances[1] / distances[0], 1e-12);
    EXPECT_NEAR(distances.back(), distances.front() / 2.0, 1e-12);

    // One long move goes as far as many short ones, and back up doubles it again.
    camera.beginDrag(kDollyDrag, 0, 0);
    EXPECT_TRUE(camera.drag(0, -500));
    EXPECT_NEAR(distance(camera.eye, camera.center), distances.front(), 1e-12);
    EXPECT_NEAR(camera.eye.x, 0.0, 1e-12);
    EXPECT_NEAR(camera.eye.y, 0.8, 1e-12);
    EXPECT_EQ(camera.center, Vector3(0, 0.8, 0));

    // Towards the centre it stops just outside the closest distance.
    dragByRows(camera, kDollyDrag, 5000);
    const double closest = distance(camera.eye, camera.center);
    EXPECT_GT(closest, 0.02);
    EXPECT_LE(closest, 0.02 * std::exp2(1.0 / kDollyHalvingPixels) + 1e-12);
    EXPECT_GT(camera.eye.z, 0.0);
}

// The turntable keeps the horizon level over any number of drags, tilting only as
// far as just short of straight above or below; the trackball, over the same drags,
// lets it tilt.
TEST(Camera, TurntableKeepsTheHorizonLevelOverManyDrags) {
    Camera turntable = cameraAt(kMainViewHomeCamera);
    Camera trackball = turntable;
    trackball.orbitStyle = OrbitStyle::Trackball;
    const double reach = distance(turntable.eye, turntable.center);
    double largestTilt = 0.0;
    for (Camera* camera : {&turntable, &trackball}) {
        camera->beginDrag(kOrbitDrag, 0, 0);
        for (int i = 1; i <= 400; ++i) {
            // Wandering drags that also push far over the top and the bottom.
            camera->drag(static_cast<int>(300 * std::sin(i * 0.37)),
                         static_cast<int>(600 * std::sin(i * 0.05)));
            const Vector3 forward = unit(camera->center - camera->eye);
            const Vector3 right = unit(cross(forward, camera->up));
            if (camera == &trackball) {
                largestTilt = std::max(largestTilt, std::abs(right.y));
                continue;
            }
            ASSERT_NEAR(right.y, 0.0, 1e-12) << "drag " << i;
            ASSERT_NEAR(dot(camera->up, forward), 0.0, 1e-12);
            ASSERT_GT(camera->up.y, 0.0);
            ASSERT_LE(std::abs(forward.y), std::sin(kTurntableSteepest) + 1e-12);
            ASSERT_NEAR(distance(camera->eye, camera->center), reach, 1e-9);
            ASSERT_EQ(camera->center, kMainViewHomeCamera.center);
        }
    }
    EXPECT_GT(largestTilt, 0.5);
}

// From a level view, a sideways or an upward drag turns both styles the same way.
TEST(Camera, TurntableAndTrackballTurnTheSameWayFromALevelView) {
    for (const auto& [dx, dy] : {std::pair{40, 0}, std::pair{0, -30}}) {
        Camera turntable = cameraAt(kMainViewHomeCamera);
        Camera trackball = turntable;
        trackball.orbitStyle = OrbitStyle::Trackball;
        for (Camera* camera : {&turntable, &trackball}) {
            camera->beginDrag(kOrbitDrag, 100, 100);
            camera->drag(100 + dx, 100 + dy);
        }
        expectNear(turntable.eye, trackball.eye, 1e-12);
        expectNear(turntable.up, trackball.up, 1e-12);
    }
}

TEST(Camera, FullHorizontalOrbitInAutomaticRotationStepsReturnsTheEye) {
    for (OrbitStyle style : {OrbitStyle::Turntable, OrbitStyle::Trackball}) {
        Camera camera = cameraAt({{0.3, 1.2, 2.0}, {0.1, 0.5, -0.2}, {0, 1, 0}});
        camera.orbitStyle = style;
        const Camera start = camera;
        for (int i = 0; i < kAutomaticRotationSteps; ++i) {
            camera.orbit(kAutomaticRotationStep, 0.0);
            EXPECT_EQ(camera.center, start.center);
            EXPECT_NEAR(distance(camera.eye, camera.center), distance(start.eye, start.center),
                        1e-12);
        }
        EXPECT_NEAR(kAutomaticRotationStep * kAutomaticRotationSteps, 2.0 * std::numbers::pi,
                    1e-14);
        expectNear(camera.eye, start.eye, 1e-9);
        expectNear(levelled(camera.pose()).up, levelled(start.pose()).up, 1e-9);
    }
}

TEST(Camera, TrackballVerticalOrbitTurnsEyeAndUpAboutTheRightAxis) {
    Camera camera = cameraAt({{0, 0, 5}, {0, 0, 0}, {0, 1, 0}});
    camera.orbitStyle = OrbitStyle::Trackball;
    camera.orbit(0.0, std::numbers::pi / 2.0);
    // Right axis (center - eye) x up = (5, 0, 0): a quarter turn about it takes the
    // eye from +z to -y and the up vector from +y to +z.
    expectNear(camera.eye, {0, -5, 0}, 1e-12);
    expectNear(camera.up, {0, 0, 1}, 1e-12);
    EXPECT_EQ(camera.center, Vector3(0, 0, 0));
}

TEST(Camera, OrbitLookingAlongTheUpVectorStaysFinite) {
    // The trackball's right axis vanishes: its vertical part does nothing instead
    // of producing NaNs. The turntable tilts the eye off the pole, away from the
    // side the up vector shows at the top.
    Camera camera = cameraAt({{0, 5, 0}, {0, 0, 0}, {0, 1, 0}});
    camera.orbitStyle = OrbitStyle::Trackball;
    camera.orbit(0.5, 0.5);
    EXPECT_TRUE(std::isfinite(camera.eye.x) && std::isfinite(camera.eye.y) &&
                std::isfinite(camera.eye.z));
    expectNear(camera.eye, {0, 5, 0}, 1e-12);

    Camera turntable = cameraAt({{0, 5, 0}, {0, 0, 0}, {0, 0, -1}});
    turntable.orbit(0.0, 0.0);
    EXPECT_NEAR(turntable.eye.y, 5 * std::sin(kTurntableSteepest), 1e-12);
    EXPECT_GT(turntable.eye.z, 0.0);
    EXPECT_NEAR(distance(turntable.eye, turntable.center), 5.0, 1e-12);
}

TEST(Camera, OrbitDragTurnsOneTwoHundredthRadianPerPixel) {
    Camera dragged = cameraAt({{0, 0, 5}, {0, 0, 0}, {0, 1, 0}});
    Camera turned = dragged;
    dragged.beginDrag(kOrbitDrag, 100, 100);
    EXPECT_TRUE(dragged.drag(60, 130));
    turned.orbit(40.0 / 200.0, -30.0 / 200.0);
    expectNear(dragged.eye, turned.eye, 1e-15);
    expectNear(dragged.up, turned.up, 1e-15);
    EXPECT_EQ(dragged.lastX, 60);
    EXPECT_EQ(dragged.lastY, 130);
}

TEST(Camera, PanMovesEyeAndCentreTogetherInTheViewPlane) {
    Camera camera = cameraAt({{0, 0, 9}, {0, 0, 0}, {0, 1, 0}});
    camera.beginDrag(kPanDrag, 0, 0);
    EXPECT_TRUE(camera.drag(100, 50));
    // r = unit((eye - center) x up) = (-1, 0, 0); distance 9 over 900 pixels.
    const Vector3 move = (Vector3(-1, 0, 0) * 100 + Vector3(0, 1, 0) * 50) * (9.0 / 900.0);
    expectNear(camera.eye, Vector3(0, 0, 9) + move, 1e-15);
    expectNear(camera.center, move, 1e-15);
}

TEST(Camera, DragWithoutADragInProgressChangesNothing) {
    Camera camera = cameraAt(kMainViewHomeCamera);
    camera.lastX = 7;
    camera.lastY = 8;
    EXPECT_FALSE(camera.drag(50, 50));
    EXPECT_EQ(camera.lastX, 7);
    EXPECT_EQ(camera.lastY, 8);
    EXPECT_EQ(camera.eye, kMainViewHomeCamera.eye);
    camera.beginDrag(kDollyDrag, 0, 0);
    camera.endDrag();
    EXPECT_FALSE(camera.drag(0, 10));
}

TEST(Camera, ViewMatrixPutsTheEyeAtTheOriginLookingDownMinusZ) {
    const Camera camera = cameraAt({{1, 2, 3}, {1, 2, -1}, {0, 2, 0}});
    const Matrix4 m = camera.viewMatrix();
    expectNear(transformPoint(m, {1, 2, 3}), {0, 0, 0}, 1e-15);
    expectNear(transformPoint(m, {1, 2, -1}), {0, 0, -4}, 1e-15);
    expectNear(transformPoint(m, {1, 3, 3}), {0, 1, 0}, 1e-15);
    expectNear(transformPoint(m, {2, 2, 3}), {1, 0, 0}, 1e-15);
}

TEST(Camera, ProjectionMatricesForBothShapesOfWindow) {
    const Matrix4 p = projectionMatrix(200, 100, false);
    const double f = 1.0 / std::tan(22.5 * std::numbers::pi / 180.0);
    EXPECT_NEAR(p.at(0, 0), f / 2.0, 1e-15);
    EXPECT_NEAR(p.at(1, 1), f, 1e-15);
    EXPECT_NEAR(p.at(2, 2), -300.02 / 299.98, 1e-15);
    EXPECT_NEAR(p.at(2, 3), -12.0 / 299.98, 1e-15);
    EXPECT_EQ(p.at(3, 2), -1.0);
    EXPECT_EQ(p.at(3, 3), 0.0);

    // Orthographic: 20 units across the shorter side, 0 to 20 deep.
    const Matrix4 wide = projectionMatrix(200, 100, true);
    EXPECT_NEAR(wide.at(0, 0), 1.0 / 20.0, 1e-15);
    EXPECT_NEAR(wide.at(1, 1), 1.0 / 10.0, 1e-15);
    EXPECT_NEAR(wide.at(2, 2), -0.1, 1e-15);
    EXPECT_NEAR(wide.at(2, 3), -1.0, 1e-15);
    const Matrix4 tall = projectionMatrix(100, 400, true);
    EXPECT_NEAR(tall.at(0, 0), 1.0 / 10.0, 1e-15);
    EXPECT_NEAR(tall.at(1, 1), 1.0 / 40.0, 1e-15);
}

TEST(Camera, FlightsStepEvenlyTurnTheUpVectorAndEndExactlyOnTheTarget) {
    const CameraPose from{{0, 0, 1}, {0, 0, 0}, {0, 1, 0}};
    // Half a unit: 15 steps, the up vector a quarter turn over them.
    const CameraPose to{{0.5, 0, 1}, {0.5, 0, 0}, {1, 0, 0}};
    const std::vector<CameraPose> steps = cameraFlight(from, to);
    ASSERT_EQ(steps.size(), 15u);
    for (size_t i = 0; i + 1 < steps.size(); ++i) {
        expectNear(steps[i].eye, {0.5 * (i + 1) / 15.0, 0, 1}, 1e-12);
        EXPECT_NEAR(steps[i].up.length(), 1.0, 1e-12);
        EXPECT_NEAR(std::atan2(steps[i].up.x, steps[i].up.y), std::numbers::pi / 2 * (i + 1) / 15.0,
                    1e-12);
    }
    EXPECT_EQ(steps.back().eye, to.eye);
    EXPECT_EQ(steps.back().up, to.up);
    // Far flights take 40 steps; one below 1/30 jumps at once.
    EXPECT_EQ(cameraFlight(from, {{0, 0, 9}, {0, 0, 0}, {0, 1, 0}}).size(), 40u);
    const std::vector<CameraPose> jump = cameraFlight(from, {{0.01, 0, 1}, {0, 0, 0}, {0, -1, 0}});
    ASSERT_EQ(jump.size(), 1u);
    EXPECT_EQ(jump.front().up, Vector3(0, -1, 0));
}
