#include "modes/ControlPointDrag.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "model/FlowerObjectNode.h"
#include "modes/MouseListenerState.h"

std::optional<PickedPixel> pickUnder(int x, int y) {
    TOGL* context = mainContext();
    if (!context)
        return std::nullopt;
    const PickPixel pixel = context->pixelHasObject(x, y);
    if (!pixel.found)
        return std::nullopt;
    return PickedPixel{decodePickColour(pixel.colour, &context->pickKeys()), pixel.depth};
}

std::optional<PickedControlPoint> controlPointUnder(int x, int y) {
    const auto picked = pickUnder(x, y);
    if (!picked || !picked->record.twoIndexPart)
        return std::nullopt;
    const PickRecord& record = picked->record;
    return PickedControlPoint{record.id, record.a, record.b, picked->depth};
}

void ControlPointDrag::start(const FlowerObjectNode& target, const PickedControlPoint& picked) {
    active_ = true;
    targetId_ = target.id;
    depth_ = picked.depth;
    row_ = picked.row;
    column_ = picked.column;
}

FlowerObjectNode* ControlPointDrag::target() const {
    return active_ ? appController().findObject(targetId_) : nullptr;
}

bool ControlPointDrag::moveTo(int x, int y) const {
    FlowerObjectNode* node = target();
    const TOGL* context = mainContext();
    if (!node || !context)
        return false;
    node->editByPick(row_, column_, context->unprojectPixel(x, y, depth_),
                     appController().settings().parameters);
    return true;
}

void ControlPointDrag::reset() {
    *this = ControlPointDrag();
}
