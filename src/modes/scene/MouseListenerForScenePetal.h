#pragma once

#include "modes/scene/SceneListener.h"

#include <array>
#include <memory>
#include <vector>

class FlowerPetalNode;

// Petals and leaves drawn where they grow in a scene (mode 2): a midrib and then two
// outlines with the Pen. The midrib starts at the nearest point of the focused
// plant's axis, in the empty slot of the focused flower head under the press, or is
// the stroke of a focused sketch the petal replaces. The outlines lie on the plane
// through the midrib across the side it was drawn from, and each always runs from
// the midrib's base to its tip, however the drag starts or stops. A translucent lit
// blade previews the petal. With the third stroke the petal is built at the
// parameter dialog's resolutions, put in its place and focused for bending.
class MouseListenerForScenePetal final : public SceneListener {
public:
    // Shorter midribs are dropped.
    static constexpr int kMinimumMidribPoints = 4;
    // The preview blade's half width, as a share of the midrib's chord.
    static constexpr double kPreviewWidth = 0.65;

    void onLButtonDown(int x, int y) override;
    void onLButtonUp(int x, int y) override;
    void onDraw(const DrawContext& draw) override;

    // The next petal is drawn onto the focus (a plant or a flower head).
    void prepareOnFocus();
    // The next petal replaces the focused sketch, whose stroke is its midrib.
    void prepareFromSketch();
    void resetStrokes();

    // Which stroke comes next: 0 the midrib, 1 and 2 the outlines.
    int stage() const { return stage_; }
    // Midrib, first and second outline, in world coordinates.
    const std::array<Stroke, 3>& strokes() const { return strokes_; }

private:
    // Where the petal goes, read afresh at every press: false when the focus does not
    // fit the kind of petal prepared (null then). `focusMatrix` receives the focus's matrix.
    FlowerObjectNode* findHost(Matrix4& focusMatrix);
    bool startMidrib(const FlowerObjectNode& host, int x, int y);
    void takeSketchMidrib(const Matrix4& sketchMatrix);
    void startOutline(int x, int y);
    // Every tool but Axis Modify.
    bool orbitsWith(int tool) const override;
    bool dragLeft(int x, int y) override;
    // The petal of the three strokes put in its place; the step name of the change,
    // empty when nothing was built.
    std::string buildPetal();
    // The petal in its own frame: base at the origin, midrib up +y, blade across +x.
    std::unique_ptr<FlowerPetalNode> petalInFrame(const Matrix4& frame) const;

    std::array<Stroke, 3> strokes_;
    int stage_ = 0;
    bool fromSketch_ = false;
    int hostId_ = -1;
    int sketchId_ = -1;
    Matrix4 hostMatrix_;
    // Where the midrib starts and the direction its plane faces (world).
    Vector3 attach_;
    Vector3 facing_;
    // The sketch's own x axis, across the blade of the petal replacing it.
    Vector3 sketchAcross_;
    // The blade's normal: the outlines lie on the plane through the base with it.
    Vector3 bladeNormal_;
    int slotWhorl_ = -1;
    int slotIndex_ = -1;
    // The preview blade: pairs of points across each midrib point, with normals.
    std::vector<Vector3> previewPoints_;
    std::vector<Vector3> previewNormals_;
};
