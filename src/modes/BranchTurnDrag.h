#pragma once

#include "math/Matrix4.h"

class FlowerObjectComposite;
class TOGL;

// The Cursor's drag on a plant: the branch carrying the part picked at the press
// turns within the composite holding it, following the drag on the view plane.
// Both are held by id and found again at every move.
class BranchTurnDrag {
public:
    // Holds the branch of `plant` that carries the part `partId`, from pixel (x, y);
    // nothing when no branch carries it.
    void start(const FlowerObjectComposite& plant, int partId, int x, int y);
    // Turns the held branch by the drag to pixel (x, y); `model` places `plant` in
    // the world. Whether it turned.
    bool dragTo(FlowerObjectComposite& plant, const Matrix4& model, const TOGL& view, int x, int y);
    void reset() { *this = BranchTurnDrag(); }

private:
    int branchId_ = -1;
    int holderId_ = -1;
    int lastX_ = 0;
    int lastY_ = 0;
};
