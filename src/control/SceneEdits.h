#pragma once

#include "math/Vector3.h"

#include <memory>

class AppController;
class FlowerObjectNode;

// The edits of the open scene that commands start: the focus or the candidates
// replaced by copies of the library view's selection, a petal drawn onto the focus,
// and a focused sketch giving way to an organ drawn along its stroke. Each moves the
// focus and switches the mode through the controller and notes what it changed.
class SceneEdits {
public:
    explicit SceneEdits(AppController& controller) : controller_(controller) {}

    // "Load object from library": the candidates, or else the focus, are replaced by
    // copies of the library view's selection.
    void loadSelectedIntoFocus();
    // Whether there is something for it to replace: candidates, or a focus whose
    // holder is on the focus path.
    bool canLoadSelectedIntoFocus() const;
    // "Leaf or Petal creation": a plant or flower head in focus takes a petal drawn
    // onto it (mode 2); the petal mode starts a new petal in any case.
    void startPetalOnFocus();
    // Whether a plant or flower head is in focus to take the petal.
    bool focusTakesPetal() const;
    // The focused sketch gives way to an organ drawn along its stroke. A sketch with
    // no parent on the focus path stays; the new organ takes its place and the focus.
    // A stamen and a flower head go into a plant or a flower head, a stem only into
    // a plant; the flower head is scaled to the sketch's length.
    void replaceSketchWithStamen();
    void replaceSketchWithStem();
    void replaceSketchWithFlower();
    // The sketch's stroke, resampled to the petal rows, becomes the midrib of a petal
    // the petal mode draws in its place.
    void replaceSketchWithPetal();
    // Whether the focused sketch can give way to an organ of this kind (kKindStamen,
    // kKindStem, kKindTorus or kKindPetal) by the rules above.
    bool sketchReplaceableBy(int kind) const;

private:
    // The focused sketch, null when the focus is none.
    FlowerObjectNode* focusedSketch() const;
    // Puts `organ` in the focused sketch's place and focuses it; whether it went in.
    bool putInSketchPlace(std::unique_ptr<FlowerObjectNode> organ);
    // The direction a replacement is attached along, in the frame of the focus's
    // parent: upright, or towards the viewer with "z direction Here".
    Vector3 attachmentOrientation() const;
    // The side a part that is not a composite keeps, seen from its parent.
    Vector3 outwardOfFocus() const;
    // The scene modes forget half-finished strokes and picks; the petal mode starts
    // a new petal.
    void forgetSceneInteraction() const;
    void preparePetal(bool fromSketch) const;

    AppController& controller_;
};
