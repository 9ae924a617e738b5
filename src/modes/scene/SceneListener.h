#pragma once

#include "interaction/PlaneHits.h"
#include "interaction/Stroke.h"
#include "math/Matrix4.h"
#include "math/Vector3.h"
#include "model/PickColour.h"
#include "modes/CameraButtonListener.h"
#include "modes/scene/BillboardSketching.h"

class FlowerObjectNode;
class SceneRoot;

// What the two scene editing modes (0 and 1) share: the camera buttons, the pick
// under the cursor, the Eraser and the stroke being drawn on its plane. The left
// button's press reads the open scene and the focus afresh; later events find what
// they act on again by id.
class SceneListener : public CameraButtonListener {
public:
    // The camera buttons, noting where a right click happens.
    void onRButtonDown(int x, int y) override;
    void onRButtonUp(int x, int y) override;
    // The cameras' drags and the Browsing pan here; the other tools' drags in
    // `dragLeft`, and the stroke on its plane.
    void onMouseMove(int x, int y) override;
    void onDraw(const DrawContext& draw) override;

    const Stroke& stroke() const { return stroke_; }
    const BillboardSketching& billboard() const { return billboard_; }
    // Forgets a half-finished stroke or pick; called when a scene is opened.
    void resetTransientState();

protected:
    ~SceneListener() = default;

    // A move with the left button down for the Eraser and the Cursor; whether the
    // tool took it (else it extends the stroke being drawn).
    virtual bool dragLeft(int x, int y) = 0;
    // The left button came up after a press this mode took: a pan ends. False for a
    // release whose press this mode did not take (the second release of a double
    // click).
    bool takeRelease();
    // The release is done: the stroke and the drag are forgotten and the views
    // repainted at the commit.
    void endRelease();

    // The focus when it is of this kind, with its matrix; null otherwise.
    static FlowerObjectNode* focusOfKind(int kind, Matrix4& matrix);
    // The pick ray of the pixel in the frame whose model matrix is `matrix` (a zero
    // ray without a main view).
    static PickRay localRay(const Matrix4& matrix, int x, int y);
    // The pick snapshot's record under the pixel; id -1 over nothing.
    static PickRecord pickAt(int x, int y);
    // Erases the part under the pixel: one stroke of a sketch (the sketch goes with
    // its last stroke), an organ of a receptacle, a branch or a piece of an axis
    // with the pieces after it. With `withinId` other than -1 only parts below that
    // object go. The scene, a plant's receptacle body and `withinId` itself stay.
    // Whether anything went.
    static bool eraseAt(SceneRoot& scene, int x, int y, int withinId);
    // The left button came up where it went down.
    bool clicked(int x, int y) const { return x == pressX_ && y == pressY_; }
    // A right press and release on the same pixel.
    bool rightClicked(int x, int y) const { return rightPressed_ && x == rightX_ && y == rightY_; }
    // The Cursor's hold on a control point of the focus (`focusId`), picked under the
    // pixel; whether one was there.
    bool pickFocusPoint(int focusId, int x, int y);
    // Moves the held point to the pixel at its pick depth, carried into the focus's
    // frame; whether it moved (the focus must still be the one picked on).
    bool dragFocusPoint(int x, int y);
    // The focus an organ mode edits flies up one level when the double click lands
    // on nothing.
    void flyUpOverEmpty(int x, int y);
    // A double click in the plant modes: the focus flies down into the part under
    // the pixel, or up one level over nothing (animated when `animateUp`).
    void moveFocusByDoubleClick(int x, int y, bool animateUp);
    // Extends the stroke on its plane while it is being drawn.
    void extendOnPlane(int x, int y);
    void pressAt(int x, int y);
    // A billboard tool's press: the stroke starts where the billboard sketching
    // puts it.
    void startBillboard(SceneRoot& scene, int x, int y, int withinId);
    // The release's billboard stroke and click: a stroke drawn with a billboard
    // tool goes to the billboard sketching; a click with the Cursor, Browsing or a
    // billboard tool selects the billboard under it, or else drops the one edited
    // and takes the Cursor.
    void finishBillboard(SceneRoot& scene, int x, int y, int withinId);

    Stroke stroke_;
    Vector3 planePoint_;
    Vector3 planeNormal_;
    // The stroke is being drawn (the press started it on its plane).
    bool drawing_ = false;
    int tool_ = -1;
    int lastX_ = 0;
    int lastY_ = 0;
    // Something the Cursor drag turned or moved, to publish at the release.
    bool turned_ = false;
    BillboardSketching billboard_;

private:
    int pointOwnerId_ = -1;
    int pointRow_ = -1;
    int pointColumn_ = -1;
    float pointDepth_ = 1.0f;
    int pressX_ = -1;
    int pressY_ = -1;
    int rightX_ = -1;
    int rightY_ = -1;
    bool rightPressed_ = false;
};
