#include "modes/scene/BillboardSketching.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "interaction/OpenGL.h"
#include "model/SceneRoot.h"
#include "organs/FlowerSketchNode.h"

namespace {

// How near a billboard stroke's ray must pass a plant's axis to start from it.
constexpr double kAxisReach = 0.01;
constexpr int kMinimumPoints = 3;

int sketchTypeOf(int tool) {
    switch (tool) {
    case kToolLeafBillboard:
        return FlowerSketchNode::kLeafOrPetal;
    case kToolFlowerBillboard:
        return FlowerSketchNode::kFlower;
    default:
        return FlowerSketchNode::kBranch;
    }
}

// The plane of a billboard: its local z = 0.
void billboardPlane(const Matrix4& matrix, Vector3& point, Vector3& normal) {
    point = transformPoint(matrix, Vector3());
    normal = transformPoint(matrix, Vector3(0.0, 0.0, 1.0)) - point;
}

} // namespace

bool BillboardSketching::isTool(int tool) {
    return tool == kToolBranchBillboard || tool == kToolFlowerBillboard ||
           tool == kToolLeafBillboard;
}

bool BillboardSketching::startStroke(SceneRoot& scene, const TOGL& view, int x, int y,
                                     int withinId, Vector3& planePoint, Vector3& planeNormal,
                                     Vector3& first) {
    if (!start(scene, view, x, y, withinId, planePoint, planeNormal))
        return false;
    first = state_ == kEditing
                ? view.hitPlaneThroughPoint(view.hitViewPlane(x, y), planePoint, planeNormal)
                : planePoint;
    return true;
}

std::string BillboardSketching::release(SceneRoot& scene, const Stroke& stroke, int tool,
                                        bool drawn, bool click, const PickRecord& pick,
                                        int withinId) {
    std::string step;
    if (isTool(tool) && drawn)
        step = finish(scene, stroke, tool);
    const bool selecting = tool == kToolCursor || tool == kToolBrowsing || isTool(tool);
    if (click && selecting && !select(scene, pick.id, pick.oneIndexPart, withinId)) {
        reset();
        appController().settings().drawingTool = kToolCursor;
    }
    return step;
}

void BillboardSketching::reset() {
    state_ = kNone;
    billboardId_ = -1;
    ownerId_ = -1;
}

void BillboardSketching::follow(int seenId) {
    if (seenId != seenId_)
        reset();
    seenId_ = seenId;
}

bool BillboardSketching::select(SceneRoot& scene, int pickedId, bool strokePicked, int withinId) {
    const SceneLookup found = scene.findInScene(pickedId);
    auto* sketch = found.found ? dynamic_cast<FlowerSketchNode*>(found.object) : nullptr;
    if (!sketch || !strokePicked || !found.holder)
        return false;
    if (withinId != -1) {
        const SceneLookup within = scene.findInScene(withinId);
        const FlowerObjectComposite* focus = within.found ? asComposite(within.object) : nullptr;
        if (!focus || !focus->findChild(pickedId).found)
            return false;
    }
    AppController& c = appController();
    c.settings().sketchColour = sketch->strokeColour();
    c.settings().drawingTool = kToolFlowerBillboard;
    state_ = kEditing;
    billboardId_ = pickedId;
    return true;
}

bool BillboardSketching::start(SceneRoot& scene, const TOGL& view, int x, int y, int withinId,
                               Vector3& planePoint, Vector3& planeNormal) {
    const Camera& camera = view.camera();
    if (state_ == kEditing) {
        const SceneLookup edited = scene.findInScene(billboardId_);
        if (edited.found) {
            billboardPlane(edited.matrix, planePoint, planeNormal);
            return true;
        }
        reset();
    }
    const PickRay ray = view.pickRay(x, y);
    // The nearest axis to the ray: of every plant, or of the focus composite.
    int hitId = -1;
    bool atTip = false;
    Vector3 hitPoint;
    if (withinId == -1) {
        const ScenePick pick = scene.pickNearest(ray.origin, ray.direction);
        if (pick.distance < kAxisReach) {
            hitId = pick.objectId;
            atTip = pick.atTip;
            hitPoint = pick.point;
        }
    } else if (const SceneLookup within = scene.findInScene(withinId);
               within.found && asComposite(within.object)) {
        const Matrix4 back = inverted(within.matrix);
        const CompositeRayHit hit = asComposite(within.object)
                                        ->distanceToRay(transformPoint(back, ray.origin),
                                                        unit(back.rotateVector(ray.direction)));
        if (hit.objectId >= 0 && hit.distance < kAxisReach) {
            hitId = hit.objectId;
            atTip = hit.atTip;
            hitPoint = transformPoint(within.matrix, hit.point);
        }
    }
    const SceneLookup hit = scene.findInScene(hitId);
    FlowerObjectComposite* owner =
        hit.found ? (asComposite(hit.object) ? asComposite(hit.object) : hit.holder) : nullptr;
    if (owner) {
        const Matrix4 ownerMatrix = scene.findInScene(owner->id).matrix;
        const double length = owner->mainAxis.length();
        position_ =
            length > 0.0
                ? owner->mainAxis.lengthToNearest(transformPoint(inverted(ownerMatrix), hitPoint)) /
                      length
                : 0.0;
        ownerId_ = owner->id;
        state_ = atTip ? kFromTip : kFromAxis;
        planePoint = hitPoint;
        planeNormal = camera.eye - camera.center;
        return true;
    }
    state_ = kFromGround;
    ownerId_ = -1;
    planePoint = view.hitPlaneY0(x, y);
    planeNormal = camera.center - camera.eye;
    planeNormal.y = 0.0;
    return true;
}

std::string BillboardSketching::finish(SceneRoot& scene, const Stroke& stroke, int tool) {
    if (stroke.size() < kMinimumPoints) {
        if (state_ != kEditing)
            reset();
        return {};
    }
    if (state_ == kEditing) {
        const SceneLookup edited = scene.findInScene(billboardId_);
        auto* sketch = edited.found ? dynamic_cast<FlowerSketchNode*>(edited.object) : nullptr;
        if (!sketch)
            return {};
        sketch->addStroke(stroke.transformed(inverted(edited.matrix)));
        return "Draw billboard stroke";
    }
    IdCounter& ids = appController().ids();
    auto sketch = std::make_unique<FlowerSketchNode>(ids.nextId(), sketchTypeOf(tool));
    const int id = sketch->id;
    const Vector3 facing(0.0, 0.0, 1.0);
    if (state_ == kFromGround) {
        auto plant = std::make_unique<FlowerObjectComposite>(ids.nextId());
        plant->appendAlongAxis(std::move(sketch), stroke, facing);
        scene.plantAlongStroke(std::move(plant), stroke);
    } else {
        const SceneLookup ownerFound = scene.findInScene(ownerId_);
        FlowerObjectComposite* owner = ownerFound.found ? asComposite(ownerFound.object) : nullptr;
        if (!owner) {
            reset();
            return {};
        }
        const Stroke local = stroke.transformed(inverted(ownerFound.matrix));
        if (state_ == kFromTip) {
            owner->appendAlongAxis(std::move(sketch), local, facing);
        } else {
            auto branch = std::make_unique<FlowerObjectComposite>(ids.nextId());
            branch->appendAlongAxis(std::move(sketch), local, facing);
            owner->addBranch(position_, std::move(branch), local, facing);
        }
    }
    // The sketch keeps the stroke in its own frame, wherever the attachment put it.
    const SceneLookup placed = scene.findInScene(id);
    if (!placed.found) {
        reset();
        return {};
    }
    static_cast<FlowerSketchNode*>(placed.object)
        ->addStroke(stroke.transformed(inverted(placed.matrix)));
    state_ = kEditing;
    billboardId_ = id;
    return "Draw billboard";
}

void BillboardSketching::drawEdited(SceneRoot& scene, const DrawContext& draw) const {
    if (state_ != kEditing)
        return;
    const SceneLookup edited = scene.findInScene(billboardId_);
    if (!edited.found)
        return;
    glPushMatrix();
    glMultMatrixd(edited.matrix.data());
    edited.object->drawSolid(draw);
    glPopMatrix();
}
