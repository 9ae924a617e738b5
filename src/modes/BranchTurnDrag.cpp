#include "modes/BranchTurnDrag.h"

#include "gl/TOGL.h"
#include "model/FlowerObjectComposite.h"

void BranchTurnDrag::start(const FlowerObjectComposite& plant, int partId, int x, int y) {
    const FlowerObjectComposite::BranchTurn turn = plant.branchTurnedBy(partId);
    if (turn.branchId < 0)
        return;
    branchId_ = turn.branchId;
    holderId_ = turn.holderId;
    lastX_ = x;
    lastY_ = y;
}

bool BranchTurnDrag::dragTo(FlowerObjectComposite& plant, const Matrix4& model, const TOGL& view,
                            int x, int y) {
    if (holderId_ < 0)
        return false;
    Matrix4 holderMatrix = model;
    FlowerObjectComposite* holder = nullptr;
    if (holderId_ == plant.id) {
        holder = &plant;
    } else {
        const CompositeLookup found = plant.findChild(holderId_);
        holder = asComposite(found.object);
        holderMatrix = model * found.matrix;
    }
    if (!holder)
        return false;
    const Vector3 drag = view.hitViewPlane(x, y) - view.hitViewPlane(lastX_, lastY_);
    lastX_ = x;
    lastY_ = y;
    const Camera& camera = view.camera();
    return drag.length() != 0.0 &&
           holder->turnBranch(branchId_, drag, holderMatrix, camera.center - camera.eye);
}
