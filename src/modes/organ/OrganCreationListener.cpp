#include "modes/organ/OrganCreationListener.h"

#include "control/AppController.h"
#include "modes/OrganModeSwitch.h"
#include "organs/FlowerPistilNode.h"
#include "organs/FlowerStamenNode.h"

#include <cassert>

// What one creation mode makes of its stroke.
struct OneStrokeOrgan {
    // Shorter strokes make nothing.
    int minimumPoints;
    // The release point is the stroke's last.
    bool releaseEndsStroke;
    int modifyMode;
    const char* step;
    // Where the organ built from the stroke has its origin, in the stroke's frame.
    Vector3 (*originOf)(const Stroke& stroke);
    std::unique_ptr<FlowerObjectNode> (*build)(int id, const Stroke& stroke,
                                               const Parameters& parameters);
};

namespace {

const OneStrokeOrgan kStamen{
    4,
    false,
    kModeStamenModify,
    "Draw stamen",
    [](const Stroke& stroke) { return stroke.front(); },
    [](int id, const Stroke& stroke,
       const Parameters& parameters) -> std::unique_ptr<FlowerObjectNode> {
        Stroke filament = stroke;
        filament.translate(-stroke.front());
        return std::make_unique<FlowerStamenNode>(id, filament, parameters);
    },
};

const OneStrokeOrgan kPistil{
    10,
    true,
    kModePistilModify,
    "Draw pistil",
    &FlowerPistilNode::originOfOutline,
    [](int id, const Stroke& stroke,
       const Parameters& parameters) -> std::unique_ptr<FlowerObjectNode> {
        return std::make_unique<FlowerPistilNode>(id, stroke, parameters);
    },
};

} // namespace

OrganCreationListener::OrganCreationListener(NodeKind kind)
    : organ_(kind == kKindPistil ? kPistil : kStamen) {
    assert(kind == kKindPistil || kind == kKindStamen);
}

void OrganCreationListener::onLButtonDown(int x, int y) {
    startStroke(stroke_, hitPlaneZ0(x, y));
}

void OrganCreationListener::onMouseMove(int x, int y) {
    extendStroke(stroke_, hitPlaneZ0(x, y));
}

void OrganCreationListener::onLButtonUp(int x, int y) {
    if (!leftDown)
        return;
    leftDown = false;
    if (organ_.releaseEndsStroke)
        stroke_.add(hitPlaneZ0(x, y));
    if (stroke_.size() >= organ_.minimumPoints) {
        moveCameraWith(-organ_.originOf(stroke_));
        AppController& controller = appController();
        editNewOrgan(organ_.build(controller.nextId(), stroke_, controller.settings().parameters),
                     organ_.modifyMode, organ_.step);
    }
    stroke_.clear();
    noteChange(kChangeMainView);
}
