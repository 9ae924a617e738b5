#include "interaction/Camera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// A dolly step is refused when it would bring the eye this close to the centre.
constexpr double kClosestDolly = 0.02;
constexpr double kOrbitPixelsPerRadian = 200.0;
// Pixels of drag that pan the camera by its distance from the centre.
constexpr double kPanPixels = 900.0;

Matrix4 rotationAbout(const Vector3& axis, double angle) {
    Matrix4 r;
    r.setRotationAxis(axis, std::cos(angle), std::sin(angle));
    return r;
}

} // namespace

void Camera::setPose(const CameraPose& pose) {
    eye = pose.eye;
    center = pose.center;
    up = pose.up;
}

void Camera::orbit(double horizontal, double vertical) {
    if (orbitStyle == OrbitStyle::Trackball)
        trackballOrbit(horizontal, vertical);
    else
        turntableOrbit(horizontal, vertical);
}

void Camera::turntableOrbit(double horizontal, double vertical) {
    const Vector3 offset = eye - center;
    const double r = offset.length();
    if (r == 0.0)
        return;
    // The eye's compass direction from the centre. Straight above or below it has
    // none; it is then read from the up vector, as if the eye had tilted there from
    // the horizon.
    Vector3 ground(offset.x, 0.0, offset.z);
    if (ground.length() <= 1e-12 * r)
        ground = Vector3(up.x, 0.0, up.z) * (offset.y > 0.0 ? -1.0 : 1.0);
    const double azimuth = std::atan2(ground.x, ground.z) + horizontal;
    const double elevation = std::clamp(std::asin(std::clamp(offset.y / r, -1.0, 1.0)) - vertical,
                                        -kTurntableSteepest, kTurntableSteepest);
    eye = center + Vector3(std::cos(elevation) * std::sin(azimuth), std::sin(elevation),
                           std::cos(elevation) * std::cos(azimuth)) *
                       r;
    up = levelled(pose()).up;
}

void Camera::trackballOrbit(double horizontal, double vertical) {
    const Matrix4 p = rotationAbout(up, horizontal);
    const Vector3 rightAxis = cross(center - eye, up);
    const Matrix4 q = rotationAbout(rightAxis, vertical);
    const Matrix4 r = q * p;
    up = r.rotateVector(up);
    eye = center + r.rotateVector(eye - center);
}

void Camera::beginDrag(int kind, int x, int y) {
    lastX = x;
    lastY = y;
    dragKind = kind;
}

bool Camera::drag(int x, int y) {
    switch (dragKind) {
    case kDollyDrag: {
        // Every pixel moves the eye by the same share of its distance, so a drag
        // feels the same close to the centre as far from it, and the eye never
        // reaches or passes the centre.
        const double moved = distance(eye, center) * std::exp2(-(y - lastY) / kDollyHalvingPixels);
        if (moved > kClosestDolly)
            eye = center + unit(eye - center) * moved;
        break;
    }
    case kOrbitDrag:
        orbit((lastX - x) / kOrbitPixelsPerRadian, (lastY - y) / kOrbitPixelsPerRadian);
        break;
    case kPanDrag: {
        const Vector3 right = unit(cross(eye - center, up));
        const Vector3 move =
            (right * (x - lastX) + up * (y - lastY)) * (distance(eye, center) / kPanPixels);
        eye += move;
        center += move;
        break;
    }
    default:
        return false;
    }
    lastX = x;
    lastY = y;
    return true;
}

Matrix4 Camera::viewMatrix() const {
    const Vector3 forward = unit(center - eye);
    const Vector3 side = unit(cross(forward, up));
    const Vector3 trueUp = cross(side, forward);
    Matrix4 m;
    const Vector3 rows[3] = {side, trueUp, -forward};
    for (int r = 0; r < 3; ++r) {
        m.at(r, 0) = rows[r].x;
        m.at(r, 1) = rows[r].y;
        m.at(r, 2) = rows[r].z;
        m.at(r, 3) = -dot(rows[r], eye);
    }
    return m;
}

CameraPose levelled(const CameraPose& pose) {
    const Vector3 forward = unit(pose.center - pose.eye);
    const Vector3 right = cross(forward, Vector3(0.0, 1.0, 0.0));
    if (right.length() < 1e-9)
        return pose;
    return {pose.eye, pose.center, cross(unit(right), forward)};
}

Matrix4 projectionMatrix(int width, int height, bool orthographic) {
    const double w = std::max(width, 1);
    const double h = std::max(height, 1);
    Matrix4 m;
    if (orthographic) {
        // The shorter side spans the extent; the longer one grows with the aspect.
        const double half = kOrthographicExtent / 2.0;
        const double halfWidth = width <= height ? half : half * w / h;
        const double halfHeight = width <= height ? half * h / w : half;
        const double nearPlane = 0.0;
        const double farPlane = kOrthographicExtent;
        m.at(0, 0) = 1.0 / halfWidth;
        m.at(1, 1) = 1.0 / halfHeight;
        m.at(2, 2) = -2.0 / (farPlane - nearPlane);
        m.at(2, 3) = -(farPlane + nearPlane) / (farPlane - nearPlane);
        return m;
    }
    const double f = 1.0 / std::tan(kFieldOfViewY / 2.0 * std::numbers::pi / 180.0);
    m.at(0, 0) = f / (w / h);
    m.at(1, 1) = f;
    m.at(2, 2) = (kFarPlane + kNearPlane) / (kNearPlane - kFarPlane);
    m.at(2, 3) = 2.0 * kFarPlane * kNearPlane / (kNearPlane - kFarPlane);
    m.at(3, 2) = -1.0;
    m.at(3, 3) = 0.0;
    return m;
}

std::vector<CameraPose> cameraFlight(const CameraPose& from, const CameraPose& to) {
    constexpr int kMostSteps = 40;
    constexpr double kStepsPerUnit = 30.0;
    int steps = static_cast<int>(distance(to.eye, from.eye) * kStepsPerUnit);
    steps = std::min(steps, kMostSteps);
    std::vector<CameraPose> poses;
    const Vector3 upFrom = unit(from.up);
    const Vector3 upTo = unit(to.up);
    const Vector3 turnAxis = cross(upFrom, upTo);
    const bool upTurns = turnAxis.length() > 0.0;
    const double upStep =
        upTurns ? std::atan2(turnAxis.length(), dot(upFrom, upTo)) / std::max(steps, 1) : 0.0;
    CameraPose pose = from;
    if (!upTurns)
        pose.up = to.up;
    for (int i = 1; i < steps; ++i) {
        pose.eye = pose.eye + (to.eye - from.eye) / steps;
        pose.center = pose.center + (to.center - from.center) / steps;
        if (upTurns)
            pose.up = rotationAbout(unit(turnAxis), upStep).rotateVector(pose.up);
        poses.push_back(pose);
    }
    poses.push_back(to);
    return poses;
}
