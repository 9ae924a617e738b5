#include "modes/scene/MouseListenerForScenePetal.h"

#include "control/AppController.h"
#include "control/FloralDiagram.h"
#include "gl/TOGL.h"
#include "interaction/OpenGL.h"
#include "interaction/StrokeGeometry.h"
#include "model/FlowerObjectComposite.h"
#include "modes/PlantGrowth.h"
#include "organs/FlowerPetalNode.h"
#include "organs/FlowerTorusNode.h"

namespace {

constexpr float kPreviewColour[4] = {0.3f, 0.8f, 0.3f, 0.4f};

} // namespace

void MouseListenerForScenePetal::prepareOnFocus() {
    fromSketch_ = false;
    resetStrokes();
}

void MouseListenerForScenePetal::prepareFromSketch() {
    fromSketch_ = true;
    resetStrokes();
}

void MouseListenerForScenePetal::resetStrokes() {
    for (Stroke& stroke : strokes_)
        stroke.clear();
    stage_ = 0;
    hostId_ = sketchId_ = -1;
    slotWhorl_ = slotIndex_ = -1;
    previewPoints_.clear();
    previewNormals_.clear();
}

FlowerObjectNode* MouseListenerForScenePetal::findHost(Matrix4& focusMatrix) {
    SceneFocusManager& focus = appController().sceneFocus();
    FlowerObjectNode* current = focus.focusWithMatrix(focusMatrix);
    if (!current)
        return nullptr;
    FlowerObjectNode* host = current;
    Matrix4 hostMatrix = focusMatrix;
    if (fromSketch_) {
        if (current->kind != kKindSketch)
            return nullptr;
        host = focus.parentWithMatrix(hostMatrix);
        if (!host)
            return nullptr;
    }
    if (!asComposite(host) && host->kind != kKindTorus)
        return nullptr;
    // Strokes drawn for another place are no start for this one.
    if (stage_ > 0 && (host->id != hostId_ || (fromSketch_ && current->id != sketchId_)))
        resetStrokes();
    hostId_ = host->id;
    hostMatrix_ = hostMatrix;
    sketchId_ = fromSketch_ ? current->id : -1;
    return host;
}

void MouseListenerForScenePetal::onLButtonDown(int x, int y) {
    Matrix4 focusMatrix;
    const FlowerObjectNode* host = mainContext() ? findHost(focusMatrix) : nullptr;
    if (!host)
        return;
    pressAt(x, y);
    if (tool_ != kToolPen)
        return;
    if (stage_ == 0) {
        if (fromSketch_) {
            takeSketchMidrib(focusMatrix);
            stage_ = 1;
        } else {
            if (!startMidrib(*host, x, y)) {
                leftDown = false;
                return;
            }
            drawing_ = true;
            return;
        }
    }
    startOutline(x, y);
    drawing_ = true;
}

bool MouseListenerForScenePetal::startMidrib(const FlowerObjectNode& host, int x, int y) {
    const PickRay ray = localRay(hostMatrix_, x, y);
    if (const FlowerObjectComposite* composite = asComposite(&host)) {
        if (composite->mainAxis.size() < 2)
            return false;
        const Stroke::RayPick nearest =
            composite->mainAxis.pickWithRay(ray.origin, ray.direction);
        attach_ = transformPoint(hostMatrix_, nearest.point);
        const Camera& camera = mainContext()->camera();
        facing_ = camera.eye - camera.center;
    } else {
        const SlotHit hit =
            static_cast<const FlowerTorusNode&>(host).nearestEmptySlot(ray.origin, ray.direction);
        if (!hit.found)
            return false;
        slotWhorl_ = hit.whorl;
        slotIndex_ = hit.index;
        attach_ = transformPoint(hostMatrix_, hit.position);
        facing_ = hostMatrix_.rotateVector(hit.side);
    }
    startStroke(strokes_[0], attach_);
    return true;
}

void MouseListenerForScenePetal::takeSketchMidrib(const Matrix4& sketchMatrix) {
    Matrix4 unused;
    const FlowerObjectNode* sketch = appController().sceneFocus().focusWithMatrix(unused);
    strokes_[0] = sketch->mainAxis.transformed(sketchMatrix);
    sketchAcross_ = sketchMatrix.rotateVector({1.0, 0.0, 0.0});
    attach_ = strokes_[0].empty() ? Vector3() : strokes_[0].front();
}

void MouseListenerForScenePetal::startOutline(int x, int y) {
    const Stroke& midrib = strokes_[0];
    if (midrib.size() < 2)
        return;
    const Vector3 F = midrib.front();
    const Vector3 L = midrib.back();
    const Vector3 d = unit(L - F);
    // The blade holds the midrib and the direction it was drawn facing (a sketch's
    // blade lies across its own x axis), and is seen from the viewer's side.
    Vector3 s = fromSketch_ ? sketchAcross_ : cross(facing_, d);
    if (dot(mainContext()->camera().eye - F, s) < 0.0)
        s = -s;
    bladeNormal_ = unit(s);

    const Vector3 across = unit(cross(d, bladeNormal_));
    const double halfWidth = kPreviewWidth * distance(L, F);
    previewPoints_.clear();
    previewNormals_.clear();
    const std::vector<Vector3>& p = midrib.points;
    for (size_t i = 0; i < p.size(); ++i) {
        const Vector3 along = i + 1 < p.size() ? p[i + 1] - p[i] : p[i] - p[i - 1];
        const Vector3 normal = unit(cross(along, across));
        previewPoints_.push_back(p[i] + across * halfWidth);
        previewPoints_.push_back(p[i] - across * halfWidth);
        previewNormals_.push_back(normal);
        previewNormals_.push_back(normal);
    }
    Stroke& outline = strokes_[static_cast<size_t>(stage_)];
    outline.clear();
    outline.add(F);
    outline.add(hitStrokePlane(x, y, F, bladeNormal_));
    outline.add(L);
    redrawMainView();
}

bool MouseListenerForScenePetal::dragLeft(int x, int y) {
    if (!drawing_)
        return true;
    if (stage_ == 0) {
        extendStroke(strokes_[0], hitStrokePlane(x, y, attach_, facing_));
        return true;
    }
    // The outline keeps ending at the midrib's tip.
    std::vector<Vector3>& outline = strokes_[static_cast<size_t>(stage_)].points;
    if (outline.size() >= 2) {
        outline.insert(outline.end() - 1, hitStrokePlane(x, y, strokes_[0].front(), bladeNormal_));
        redrawMainView();
    }
    return true;
}

void MouseListenerForScenePetal::onLButtonUp(int, int) {
    if (!takeRelease())
        return;
    if (tool_ == kToolPen && drawing_) {
        if (stage_ == 0) {
            if (strokes_[0].size() < kMinimumMidribPoints)
                strokes_[0].clear();
            else
                stage_ = 1;
        } else if (stage_ == 1) {
            stage_ = 2;
        } else if (const std::string step = buildPetal(); !step.empty()) {
            noteChange(kChangeScene, step);
        }
    }
    endRelease();
}

std::unique_ptr<FlowerPetalNode> MouseListenerForScenePetal::petalInFrame(const Matrix4& frame) const {
    const Matrix4 back = inverted(frame);
    const Stroke midrib = strokes_[0].transformed(back);
    Stroke first = strokes_[1].transformed(back);
    Stroke second = strokes_[2].transformed(back);
    // Across the blade at half its height, the outline further to -x is the left.
    const double half = midrib.back().y / 2.0;
    if (first.xAtHeight(half) > second.xAtHeight(half))
        std::swap(first, second);
    first.resampleInPlace(first.size() - 1);
    second.resampleInPlace(second.size() - 1);
    AppController& controller = appController();
    return std::make_unique<FlowerPetalNode>(controller.nextId(), first, midrib, second,
                                             controller.settings().parameters);
}

std::string MouseListenerForScenePetal::buildPetal() {
    AppController& c = appController();
    Matrix4 focusMatrix;
    const bool placed = findHost(focusMatrix) != nullptr && stage_ == 2 && strokes_[0].size() >= 2;
    const Vector3 F = placed ? strokes_[0].front() : Vector3();
    const Vector3 d = placed ? unit(strokes_[0].back() - F) : Vector3();
    std::string step;
    if (placed) {
        // The petal's frame: base at the midrib's first point, midrib up +y, the
        // blade's normal +z.
        const Matrix4 upright = rotationBetween({0.0, 1.0, 0.0}, d).matrix;
        const Matrix4 facing =
            rotationBetween(upright.rotateVector({0.0, 0.0, 1.0}), bladeNormal_).matrix;
        std::unique_ptr<FlowerPetalNode> petal =
            petalInFrame(Matrix4::translation(F) * facing * upright);
        const Matrix4 back = inverted(hostMatrix_);
        const Stroke midrib = strokes_[0].transformed(back);
        const Vector3 normal = unit(back.rotateVector(bladeNormal_));
        SceneFocusManager& focus = c.sceneFocus();
        FlowerObjectNode* current = focus.focus();
        int focusId = -1;
        if (fromSketch_) {
            // Seen from the sketch's own frame, the blade faces where it was drawn.
            const Vector3 outward = unit(inverted(focusMatrix).rotateVector(bladeNormal_));
            focusId = focus.replaceFocus(std::move(petal), {0.0, 0.0, 1.0}, outward,
                                         appController().ids());
            step = "Replace sketch with petal";
        } else if (FlowerObjectComposite* plant = asComposite(current)) {
            std::unique_ptr<FlowerObjectComposite> branch = asPlant(std::move(petal));
            focusId = branch->id;
            const double length = plant->mainAxis.length();
            const double t =
                length > 0.0 ? plant->mainAxis.lengthToNearest(transformPoint(back, attach_)) / length
                             : 0.0;
            plant->addBranch(t, std::move(branch), midrib, normal);
            step = "Draw leaf";
        } else if (auto* torus = dynamic_cast<FlowerTorusNode*>(current);
                   torus && isWhorl(slotWhorl_)) {
            // Only the empty slot the midrib started in takes the petal.
            const SlotList& list = torus->whorl(slotWhorl_).parts;
            if (slotIndex_ >= 0 && slotIndex_ < static_cast<int>(list.size()) &&
                !list[static_cast<size_t>(slotIndex_)]->object) {
                focusId = petal->id;
                torus->attachOrgan(slotWhorl_, slotIndex_, std::move(petal), midrib.points,
                                   normal);
                // A slot marked on the floral diagram is no longer waiting for a copy.
                floralDiagram().selection().unmark(torus->id, {slotWhorl_, slotIndex_});
                step = "Draw petal";
            }
        }
        if (focusId == -1)
            step.clear();
        else
            c.focusDown(focusId, false);
    }
    resetStrokes();
    return step;
}

void MouseListenerForScenePetal::onDraw(const DrawContext& draw) {
    SceneListener::onDraw(draw);
    for (const Stroke& stroke : strokes_)
        stroke.drawColored(4.0f);
    if (stage_ == 0 || previewPoints_.size() < 4)
        return;
    glEnable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, kPreviewColour);
    // The preview shows from either side, lit on the side the viewer sees.
    glDisable(GL_CULL_FACE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glBegin(GL_QUAD_STRIP);
    for (size_t i = 0; i < previewPoints_.size(); ++i) {
        const Vector3& n = previewNormals_[i];
        const Vector3& p = previewPoints_[i];
        glNormal3d(n.x, n.y, n.z);
        glVertex3d(p.x, p.y, p.z);
    }
    glEnd();
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    glEnable(GL_CULL_FACE);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
}

bool MouseListenerForScenePetal::orbitsWith(int tool) const {
    return tool != kToolAxisModify;
}
