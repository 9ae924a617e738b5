// The flower head drawn and exported: the receptacle's body, then the organs in its
// slots, each under its slot's placement and its own rotation.
#include "organs/FlowerTorusNode.h"

#include "interaction/OpenGL.h"
#include "math/ContentHash.h"
#include "model/DrawDetail.h"
#include "model/SlotSelection.h"
#include "organs/Bloom.h"
#include "organs/ModelledBud.h"
#include "organs/OrganDrawing.h"
#include "organs/OrganExport.h"

#include <functional>
#include <optional>

namespace {

// Draws the slot's organ under its placement.
template <typename Pass> void drawUnderSlot(const FlowerPart& slot, Pass pass, const DrawContext& draw) {
    glPushMatrix();
    glMultMatrixd(slot.basicTransAndRot.data());
    glMultMatrixd(slot.rotation.data());
    std::invoke(pass, *slot.object, draw);
    glPopMatrix();
}

// An empty slot outside the picking pass: a dot in its whorl's colour.
void drawEmptySlot(const FlowerPart& slot) {
    static constexpr Rgba kWhorlColours[4] = {
        {1, 0, 0, 1}, // petals
        {1, 1, 0, 1}, // pistils
        {0, 0, 1, 1}, // stamens
        {0, 0, 1, 1}, // sepals
    };
    glPushMatrix();
    glMultMatrixd(slot.basicTransAndRot.data());
    glMultMatrixd(slot.rotation.data());
    glShadeModel(GL_FLAT);
    glDisable(GL_LIGHTING);
    glPointSize(4.0f);
    glColor3fv(kWhorlColours[isWhorl(slot.whorl) ? slot.whorl : kWhorlPetal].data());
    glBegin(GL_POINTS);
    glVertex3d(0.0, 0.001, 0.0);
    glEnd();
    glPopMatrix();
}

} // namespace

void FlowerTorusNode::drawWireframe(const DrawContext& draw) {
    if (draw.snapshot)
        return;
    glPushMatrix();
    body.drawWireframe();
    drawAxisSegments(mainAxis.points, 3.0f, kAxisColour);
    drawStrokes(draw);
    glPopMatrix();
}

// The view's selection shows in the organs: a slot marked on the floral diagram
// draws its organ with the control points over it, a slot selected for editing its
// control points on the organ's wire frame; both are drawn in the picking pass too,
// so that the control points can be picked.
void FlowerTorusNode::drawSlots(const DrawContext& draw) {
    const SlotSelection* selection = draw.slotSelection;
    for (int code : {kWhorlSepal, kWhorlPetal, kWhorlStamen, kWhorlPistil}) {
        const SlotList& parts = whorl(code).parts;
        for (int i = 0; i < static_cast<int>(parts.size()); ++i) {
            const FlowerPart& slot = *parts[i];
            if (!slot.object) {
                if (!draw.snapshot)
                    drawEmptySlot(slot);
            } else if (selection && selection->isMarked(id, {code, i})) {
                drawUnderSlot(slot, &FlowerObjectNode::drawSolid, draw);
                drawUnderSlot(slot, &FlowerObjectNode::drawControlPoints, draw);
            } else if (selection && selection->isSelected(id, {code, i})) {
                drawUnderSlot(slot, &FlowerObjectNode::drawControlPoints, draw);
                drawUnderSlot(slot, &FlowerObjectNode::drawWireframe, draw);
            } else {
                drawUnderSlot(slot, drawSolidAtDetail, draw);
            }
        }
    }
}

void FlowerTorusNode::forEachOrganOpening(
    double time, const std::function<void(FlowerObjectNode&, const Matrix4&)>& visit,
    const DrawContext& draw) const {
    const ModelledBud* modelled = openingBud();
    const std::optional<FlowerBud> worked = modelled ? std::nullopt : std::optional<FlowerBud>(*this);
    for (int code : kWhorlsInsideOut) {
        const SlotList& parts = whorl(code).parts;
        const double openness = bloom.openness(code, time);
        for (int i = 0; i < static_cast<int>(parts.size()); ++i) {
            const FlowerPart& slot = *parts[i];
            if (!slot.object)
                continue;
            if (modelled)
                visit(modelled->organAt(slot, code, i, openness, slot.object->drawingKey(draw)),
                      modelled->organMatrixAt(slot, code, i, openness));
            else
                visit(*slot.object, worked->organMatrixAt(slot, code, i, openness));
        }
    }
}

template <typename Pass> void FlowerTorusNode::drawOrgans(const DrawContext& draw, Pass pass) {
    const double time = draw.bloom.of(id);
    if (time >= 1.0) {
        forEachSlot(*this, [&](const FlowerPart& slot) {
            if (slot.object)
                drawUnderSlot(slot, pass, draw);
        });
        return;
    }
    // While the head opens its organs are drawn under their opening placements, each
    // from its own lists; the view's slot marks wait until the head is open again,
    // when it can be edited.
    forEachOrganOpening(
        time,
        [&](FlowerObjectNode& organ, const Matrix4& placement) {
            glPushMatrix();
            glMultMatrixd(placement.data());
            std::invoke(pass, organ, draw);
            glPopMatrix();
        },
        draw);
}

void FlowerTorusNode::drawSolid(const DrawContext& draw) {
    if (draw.snapshot) {
        beginPickingPass(draw);
        body.drawPlain();
        drawSlotsAt(draw);
        return;
    }
    glPushMatrix();
    drawTubeSurface(draw, body, hasTexture, textureFront, diffuse, shininess, specular, ambient);
    glPopMatrix();
    glPushMatrix();
    drawSlotsAt(draw);
    drawStrokes(draw);
    glPopMatrix();
}

void FlowerTorusNode::drawSlotsAt(const DrawContext& draw) {
    const double time = draw.bloom.of(id);
    if (time >= 1.0)
        drawSlots(draw);
    else
        drawOrgans(draw, drawSolidAtDetail);
}

std::uint64_t FlowerTorusNode::geometryKey(const DrawContext& draw) const {
    // While it opens, the head is drawn organ by organ from the organs' own lists,
    // which every moment of the bloom shares.
    if (draw.slotSelection && draw.slotSelection->receptacleId() == id)
        return 0;
    if (draw.bloom.of(id) < 1.0)
        return 0;
    ContentHash hash;
    hash.add(body.contentKey());
    const bool complete = !forEachSlot(*this, [&](const FlowerPart& slot) {
        hash.add(slot.whorl).add(slot.basicTransAndRot).add(slot.rotation);
        if (!slot.object)
            return false;
        const std::uint64_t organ = slot.object->drawingKey(draw);
        hash.add(organ);
        return organ == 0;
    });
    return complete ? hash.value() : 0;
}

void FlowerTorusNode::drawControlPoints(const DrawContext& draw) {
    if (!m_basicCurve.empty())
        drawControlPoint(draw, *this, m_basicCurve.front(), 15.0f, 0, 1);
}

void FlowerTorusNode::drawPlain(const DrawContext& draw) {
    body.drawPlain();
    drawOrgans(draw, &FlowerObjectNode::drawPlain);
}

void FlowerTorusNode::drawTranslucent(const DrawContext& draw) {
    if (draw.snapshot)
        return;
    body.drawTranslucent(diffuse, shininess, specular, ambient);
    drawOrgans(draw, drawTranslucentInView);
}

int FlowerTorusNode::exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) {
    vertexCount = exportTube(out, matrix, vertexCount, body, "torus", *this);
    forEachSlot(*this, [&](FlowerPart& slot) {
        if (slot.object)
            vertexCount = slot.object->exportObj(out, matrix * slot.organMatrix(), vertexCount);
    });
    return vertexCount;
}
