#pragma once

#include "math/Vector3.h"

#include <string>

struct DrawContext;
class Stroke;
class TOGL;

// The window messages a view forwards to its listener, in the order of the
// listener's operations.
enum class MouseMessage {
    LButtonUp,
    RButtonUp,
    MButtonUp,
    LButtonDown,
    RButtonDown,
    MButtonDown,
    LButtonDblClk,
    RButtonDblClk,
    MButtonDblClk,
    MouseMove,
};

// An interaction mode: one operation per mouse message of a view (x and y are
// client coordinates, y growing downwards) and one overlay draw that the main view
// calls in every paint after the scene, with its context current. Every mode is a
// singleton that keeps its state while other modes are active.
class MouseListenerState {
public:
    MouseListenerState() = default;
    MouseListenerState(const MouseListenerState&) = delete;
    MouseListenerState& operator=(const MouseListenerState&) = delete;

    // Every operation does nothing unless the mode overrides it.
    virtual void onLButtonUp(int, int) {}
    virtual void onRButtonUp(int, int) {}
    virtual void onMButtonUp(int, int) {}
    virtual void onLButtonDown(int, int) {}
    virtual void onRButtonDown(int, int) {}
    virtual void onMButtonDown(int, int) {}
    virtual void onLButtonDblClk(int, int) {}
    virtual void onRButtonDblClk(int, int) {}
    virtual void onMButtonDblClk(int, int) {}
    virtual void onMouseMove(int, int) {}
    // The mode's overlay in a normal frame of the main view (never in the pick
    // snapshot).
    virtual void onDraw(const DrawContext&) {}

    // The button went down in this state and has not come up yet.
    bool leftDown = false;
    bool rightDown = false;
    bool middleDown = false;

protected:
    // Listeners are destroyed as their own class, never through this base.
    ~MouseListenerState() = default;

    // Window pixels carried into space through the main camera (the zero vector
    // where a ray is parallel to its plane, or without a main view).
    Vector3 pixelNearPoint(int x, int y) const;
    Vector3 hitPlaneThroughPoint(const Vector3& q, const Vector3& planePoint,
                                 const Vector3& normal) const;
    Vector3 hitPlaneY0(int x, int y) const;
    Vector3 hitViewPlane(int x, int y) const;
    Vector3 hitPlaneZ0(int x, int y) const;
    // The pixel's view-plane point carried along its eye ray onto the plane through
    // `planePoint` with `normal`: where strokes on an upright drawing plane land.
    Vector3 hitStrokePlane(int x, int y, const Vector3& planePoint, const Vector3& normal) const {
        return hitPlaneThroughPoint(hitViewPlane(x, y), planePoint, normal);
    }

    // The camera buttons: the right button orbits, the middle button dollies, the
    // Browsing tool's left button pans; the drag holds the mouse for the main view
    // until its button comes up.
    void beginOrbit(int x, int y);
    void beginDolly(int x, int y);
    void beginPan(int x, int y);
    // The right or middle button came up: its flag clears and the drag ends.
    void endRightDrag();
    void endMiddleDrag();
    // Moves the camera while only the right or middle button is held; whether it
    // moved (the main view is then redrawn).
    bool dragCameraWithButtons(int x, int y);
    // Moves the camera for a drag in progress and redraws.
    bool dragCamera(int x, int y);

    // The model moved a new object's strokes by `move`, to put the object's base at
    // the origin; the main camera moves the same way, so that the object stays on
    // screen where it was drawn.
    static void moveCameraWith(const Vector3& move);

    // Stroke capture: a press empties the stroke and starts it at `point`, each
    // move while the left button is down adds one point and redraws.
    void startStroke(Stroke& stroke, const Vector3& point);
    void extendStroke(Stroke& stroke, const Vector3& point);

    // An interim repaint of the main view while a stroke or drag is in progress.
    static void redrawMainView();
    // What the message changed, published by the commit that ends it; `step` names
    // a change of the model.
    static void noteChange(unsigned changes, const std::string& step = {});
};

// The main view's context, null while there is no main view.
TOGL* mainContext();

// Calls the listener's operation for the message.
void deliverMouseMessage(MouseListenerState& listener, MouseMessage message, int x, int y);
