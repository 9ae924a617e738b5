#pragma once

#include "math/Matrix4.h"
#include "math/Vector3.h"

#include <vector>

// Where a 3D view looks from: the eye, the point it looks at and the up direction
// handed to the look-at transform.
struct CameraPose {
    Vector3 eye;
    Vector3 center;
    Vector3 up;
};

// The camera a new view gets back from "EyeInit", and the one the main view uses
// instead (it looks at a flower of about unit size standing on the floor).
inline constexpr CameraPose kDefaultHomeCamera{
    {0.0, 20.0, 50.0}, {0.0, 20.0, 0.0}, {0.0, 1.0, 0.0}};
inline constexpr CameraPose kMainViewHomeCamera{{0.0, 0.8, 2.41}, {0.0, 0.8, 0.0}, {0.0, 1.0, 0.0}};

// The mouse drags that move the camera.
enum CameraDragKind {
    kNoDrag = 0,
    kDollyDrag = 1,
    kOrbitDrag = 2,
    kPanDrag = 3,
};

// How an orbit drag turns the camera about its centre. The turntable keeps the
// floor level: it turns about the world's vertical and tilts the eye up or down,
// stopping short of straight above or below the centre. The trackball turns about
// the camera's own up and right axes, so it can look from anywhere, and the horizon
// tilts as it goes.
enum class OrbitStyle { Turntable, Trackball };

// The turntable tilts the eye at most this far above or below the centre's
// horizon (85 degrees), where the view still has a horizon to keep level.
inline constexpr double kTurntableSteepest = 1.4835298641951802;

// A dolly drag of this many pixels halves the eye's distance to the centre (down)
// or doubles it (up).
inline constexpr double kDollyHalvingPixels = 500.0;

// The automatic rotation turns the camera once around its centre in this many steps,
// pausing between the frames.
inline constexpr int kAutomaticRotationSteps = 300;
inline constexpr double kAutomaticRotationStep = 0.02094395102393193;
inline constexpr int kAutomaticRotationPauseMs = 33;

// The camera of one 3D view with its home pose and the state of a mouse drag. The
// pose starts at zero until the view's GL set-up copies the home camera into it.
struct Camera {
    Vector3 eye;
    Vector3 center;
    Vector3 up;
    CameraPose home = kDefaultHomeCamera;
    int lastX = 0;
    int lastY = 0;
    int dragKind = kNoDrag;
    OrbitStyle orbitStyle = OrbitStyle::Turntable;

    CameraPose pose() const { return {eye, center, up}; }
    void setPose(const CameraPose& pose);
    void reset() { setPose(home); }

    // Turns the eye about the centre, which stays, as the orbit style says:
    // `horizontal` radians about the vertical (the turntable) or the up vector (the
    // trackball), then `vertical` radians about the camera's right-hand axis. The
    // trackball turns the up vector with the eye; the turntable levels it.
    void orbit(double horizontal, double vertical);

    void beginDrag(int kind, int x, int y);
    void endDrag() { dragKind = kNoDrag; }
    // Moves the camera for the mouse now at (x, y) as the current drag asks:
    // dragging down dollies in by the same share of the distance for every pixel,
    // orbiting turns 1/200 radian per pixel, panning moves eye and centre together
    // in the view plane. False when no drag is on.
    bool drag(int x, int y);

    // The look-at transform of the pose (the matrix gluLookAt builds), in double
    // precision.
    Matrix4 viewMatrix() const;

private:
    void turntableOrbit(double horizontal, double vertical);
    void trackballOrbit(double horizontal, double vertical);
};

// The pose turned about its line of sight until its horizon is level: the camera's
// right-hand axis horizontal and its up vector at right angles to the line of sight,
// pointing upwards. A pose looking straight up or down has no horizon and keeps its
// up vector.
CameraPose levelled(const CameraPose& pose);

// The projection of a view: a 45 degree vertical field of view from 0.02 to 300
// units, or an orthographic box 20 units across the shorter window side, from 0 to
// 20 units deep. Sizes must be positive.
inline constexpr double kFieldOfViewY = 45.0;
inline constexpr double kNearPlane = 0.02;
inline constexpr double kFarPlane = 300.0;
inline constexpr double kOrthographicExtent = 20.0;
Matrix4 projectionMatrix(int width, int height, bool orthographic);

// The camera flies to a new focus in steps of this many milliseconds.
inline constexpr int kFlightStepMs = 15;

// The poses of a camera flight from `from` to `to`, the last one exactly `to`: one
// step per 1/30 of the eye's way, or 40 when that would last 600 ms or more; the
// up vector turns evenly about the axis between the two. A flight shorter than
// 1/30 is the single pose `to`.
std::vector<CameraPose> cameraFlight(const CameraPose& from, const CameraPose& to);
