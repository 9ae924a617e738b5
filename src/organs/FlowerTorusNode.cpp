// The flower head. Sections: construction and profile, slot layout, organs in
// slots, drawing, edits, export, records.
#include "organs/FlowerTorusNode.h"

#include "interaction/OpenGL.h"
#include "interaction/RenderState.h"
#include "interaction/StrokeGeometry.h"
#include "math/Diagnostics.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/FlowerObjectComposite.h"
#include "model/ModelContext.h"
#include "model/NodeRecord.h"
#include "model/RecordBlocks.h"
#include "organs/OrganDrawing.h"
#include "organs/OrganExport.h"
#include "organs/OrganRecords.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
const Vector3 kUp(0.0, 1.0, 0.0);
const Vector3 kOut(0.0, 0.0, 1.0);

Stroke defaultProfile() {
    const Vector3 outline[] = {{0, 1, 0},       {0.2, 1.04, 0}, {0.4, 0.95, 0}, {0.35, 0.85, 0},
                               {0.23, 0.65, 0}, {0.04, 0.4, 0}, {0.03, 0, 0}};
    Stroke rough;
    for (const Vector3& p : outline)
        rough.add(p * 0.5);
    Stroke profile;
    Stroke::splineResample(rough, profile, 20);
    return profile;
}

void drawUnderSlot(const FlowerPart& slot, void (FlowerObjectNode::*draw)()) {
    glPushMatrix();
    glMultMatrixd(slot.basicTransAndRot.data());
    glMultMatrixd(slot.rotation.data());
    ((*slot.object).*draw)();
    glPopMatrix();
}

// The rotation about +y that turns the horizontal part of `direction` onto +z; the
// identity when the direction has no horizontal part.
Matrix4 turnTowards(const Vector3& direction) {
    const Vector3 horizontal(direction.x, 0.0, direction.z);
    if (horizontal.length() < 1e-12)
        return Matrix4();
    return rotationBetween(kOut, horizontal).matrix;
}

std::unique_ptr<FlowerPart> copySlot(const FlowerPart& slot) {
    auto copy = std::make_unique<FlowerPart>();
    if (slot.object)
        copy->object = slot.object->clone();
    copy->whatIam = slot.whatIam;
    copy->index = slot.index;
    copy->radius = slot.radius;
    copy->theta = slot.theta;
    copy->size = slot.size;
    copy->basicTransAndRot = slot.basicTransAndRot;
    copy->rotation = slot.rotation;
    copy->state = slot.state;
    return copy;
}

} // namespace

// --- Construction and profile

FlowerTorusNode::FlowerTorusNode(int nodeId) : FlowerObjectNode(nodeId, kKindTorus) {
    m_basicCurve = defaultProfile();
    m_resH = parameters().receptacle.horizontal;
    m_resV = parameters().receptacle.vertical;
    rebuildBody();
    updateMainAxis();
    diffuse = {0.2f, 0.8f, 0.0f, 1.0f};
    specular = {0.1f, 0.1f, 0.1f, 1.0f};
    ambient = {0.2f, 0.8f, 0.0f, 1.0f};
    shininess = 128.0f;
}

void FlowerTorusNode::setProfile(int resH, int resV, const Stroke& stroke) {
    if (resH <= 2 || resV <= 2 || stroke.size() < 3)
        return;
    m_resH = resH;
    m_resV = resV;
    m_basicCurve = stroke;
    m_basicCurve.resampleInPlace(m_resV);
    replaceAllPlacements();
    rebuildBody();
    updateMainAxis();
}

bool FlowerTorusNode::setOuterRadius(double radius, int resH, int resV) {
    if (resH <= 2 || resV <= 2 || m_basicCurve.size() < 3 || m_basicCurve.back().x == 0.0)
        return false;
    // The factor keeps the profile on its side of the axis.
    const double factor = radius / std::abs(m_basicCurve.back().x);
    Stroke widened = m_basicCurve;
    for (Vector3& p : widened.points)
        p.x *= factor;
    setProfile(resH, resV, widened);
    return true;
}

SlotList& FlowerTorusNode::slotList(int whorl) {
    switch (whorl) {
    case kWhorlPistil:
        return pistilParts;
    case kWhorlStamen:
        return stamenParts;
    case kWhorlSepal:
        return sepalParts;
    default:
        return petalParts;
    }
}

const SlotList& FlowerTorusNode::slotList(int whorl) const {
    return const_cast<FlowerTorusNode*>(this)->slotList(whorl);
}

std::uint8_t& FlowerTorusNode::layoutFlag(int whorl) {
    switch (whorl) {
    case kWhorlPistil:
        return pistilInf;
    case kWhorlStamen:
        return stamenInf;
    case kWhorlSepal:
        return sepalInf;
    default:
        return petalInf;
    }
}

std::uint8_t FlowerTorusNode::layoutFlag(int whorl) const {
    return const_cast<FlowerTorusNode*>(this)->layoutFlag(whorl);
}

double FlowerTorusNode::height() const {
    Vector3 lo, hi;
    boundingBox(lo, hi, Matrix4(), true);
    return hi.y;
}

void FlowerTorusNode::updateMainAxis() {
    const double h = height();
    mainAxis.points = {{0, 0, 0}, {0, h / 2, 0}, {0, h, 0}};
}

// --- Slot layout

Matrix4 FlowerTorusNode::placeSlot(double theta, double radius) const {
    return placeOnProfile(theta, radius, m_basicCurve.points);
}

void FlowerTorusNode::replaceAllPlacements() {
    forEachSlot(*this, [this](FlowerPart& slot) {
        slot.basicTransAndRot = placeSlot(slot.theta, slot.radius);
    });
}

void FlowerTorusNode::addSlot(int whorl, double radius, double theta, int size) {
    SlotList& list = slotList(whorl);
    auto slot = std::make_unique<FlowerPart>();
    slot->whatIam = whorl;
    slot->radius = radius;
    slot->theta = theta;
    slot->size = size;
    slot->basicTransAndRot = placeSlot(theta, radius);
    slot->index = static_cast<int>(list.size());
    list.push_back(std::move(slot));
}

void FlowerTorusNode::layoutRing(SlotList& list, bool centred, double ringRadius, double phase) {
    const int n = static_cast<int>(list.size());
    double step = 0.0;
    if (centred)
        step = n > 1 ? 2 * kPi / (n - 1) : 0.0;
    else
        step = n > 0 ? 2 * kPi / n : 0.0;
    for (int i = 0; i < n; ++i) {
        FlowerPart& slot = *list[i];
        slot.radius = (centred && i == 0) ? 0.0 : ringRadius;
        slot.theta = i * step + phase;
        slot.basicTransAndRot = placeSlot(slot.theta, slot.radius);
    }
}

void FlowerTorusNode::layoutBand(int whorl, double inner, double outer, int size,
                                 double divergence) {
    if (outer - inner <= 1.0 || size <= 0)
        return;
    const PointList& profile = m_basicCurve.points;
    const double length = polylineLength(profile);
    if (!(length > 0.0))
        return;
    const double sA = inner * length / 300.0;
    const double sB = outer * length / 300.0;

    double bandArea = 0.0;
    Vector3 previous = pointAtArcLength(profile, sA);
    const double areaStep = (sB - sA) / 1000.0;
    for (double s = sA; s <= sB; s += areaStep) {
        const Vector3 p = pointAtArcLength(profile, s);
        bandArea += 2 * kPi * p.x * distance(p, previous);
        previous = p;
    }
    const double unitLength = length / 300.0;
    const double organArea = kPi * (size * unitLength) * (size * unitLength);
    const double delta = divergence * kPi / 180.0;
    const double organs = bandArea / organArea;
    // A band with no area holds no organs but the first pistil.
    const double step = organs > 0.0 ? (sB - sA) / (10.0 * organs) : (sB - sA) + 1.0;

    SlotList& list = slotList(whorl);
    double accumulated = whorl == kWhorlPistil ? organArea : 0.0;
    int k = 0;
    previous = pointAtArcLength(profile, sA);
    for (double s = sA; s <= sB;) {
        if (accumulated >= organArea) {
            auto slot = std::make_unique<FlowerPart>();
            slot->theta = k * delta;
            double t = 0.0;
            slot->basicTransAndRot = placeOnProfileByArcLength(slot->theta, s, profile, t);
            slot->radius = s * 300.0 / length;
            slot->size = size;
            slot->index = static_cast<int>(list.size());
            slot->whatIam = whorl;
            list.push_back(std::move(slot));
            accumulated -= organArea;
            ++k;
        } else {
            const Vector3 p = pointAtArcLength(profile, s);
            accumulated += 2 * kPi * p.x * distance(p, previous);
            previous = p;
            s += step;
        }
    }
}

void FlowerTorusNode::relayoutRings(double pistilRadius, double stamenRadius, double petalRadius,
                                    double sepalRadius) {
    if (pistilInf == 0)
        layoutRing(pistilParts, true, pistilRadius, 0.0);
    if (stamenInf == 0)
        layoutRing(stamenParts, false, stamenRadius, kPi / 2);
    if (petalInf == 0)
        layoutRing(petalParts, false, petalRadius, kPi);
    if (sepalInf == 0)
        layoutRing(sepalParts, false, sepalRadius, -kPi / 2);
}

void FlowerTorusNode::clearSlots(int whorl) {
    slotList(whorl).clear();
}

void FlowerTorusNode::removeLastSlots(int whorl, int count) {
    SlotList& list = slotList(whorl);
    const size_t removed = std::min(list.size(), static_cast<size_t>(std::max(count, 0)));
    list.resize(list.size() - removed);
}

void FlowerTorusNode::highlightRange(double a, double b) {
    if (a == b)
        return;
    const double low = std::min(a, b);
    const double high = std::max(a, b);
    // A slot that holds an organ keeps it however often it is highlighted: only an
    // empty slot becomes an empty highlighted one.
    forEachSlot(*this, [low, high](FlowerPart& slot) {
        if (slot.radius >= low && slot.radius <= high)
            slot.state = slot.holdsOrgan() ? kSlotFilledHighlighted : kSlotEmptyHighlighted;
    });
}

void FlowerTorusNode::clearSelection() {
    forEachSlot(*this, [](FlowerPart& slot) { slot.selected = false; });
}

// --- Organs in slots

void FlowerTorusNode::attachOrgan(int whorl, int index, std::unique_ptr<FlowerObjectNode> organ,
                                  const PointList& axisPoints, const Vector3& side) {
    SlotList& list = slotList(whorl);
    if (!organ || index < 0 || index >= static_cast<int>(list.size()) || axisPoints.empty())
        return;
    FlowerPart& slot = *list[index];
    // The drawn axis, moved to the origin and turned so that it runs up +y with the
    // side direction along +z, is the organ's new shape; the slot's rotation turns
    // it back onto the drawn directions.
    Stroke axis{axisPoints};
    axis.translate(-axis.front());
    const Vector3 d = axis.back() - axis.front();
    const Matrix4 upright = rotationBetween(d, kUp).matrix;
    Vector3 sideUpright = upright.rotateVector(side);
    sideUpright.y = 0.0;
    const Matrix4 facing =
        sideUpright.length() > 1e-12 ? rotationBetween(sideUpright, kOut).matrix : Matrix4();
    const Matrix4 toOrgan = facing * upright;
    axis.transform(toOrgan);
    organ->reshapeByStroke(axis);
    Matrix4 slotRotation = slot.basicTransAndRot;
    slotRotation.setTranslation({0, 0, 0});
    slot.rotation = inverted(slotRotation) * inverted(toOrgan);
    slot.object = std::move(organ);
    slot.state = kSlotFilled;
}

bool FlowerTorusNode::replaceOrgan(int organId, std::unique_ptr<FlowerObjectNode> organ,
                                   const Vector3& reference) {
    if (!organ)
        return false;
    return forEachSlot(*this, [&](FlowerPart& slot) {
        if (!slot.object || slot.object->id != organId)
            return false;
        // The reference direction in the organ's frame chooses the side the new
        // organ faces; the old shape is kept where it was in the receptacle.
        const Vector3 local = inverted(slot.organMatrix()).rotateVector(reference);
        const Matrix4 turn = turnTowards(local);
        const Matrix4 back = inverted(turn);
        slot.rotation = slot.rotation * turn;
        Stroke axis = slot.object->mainAxis;
        axis.transform(back);
        organ->reshapeByStroke(axis);
        if (slot.object->kind == kKindSketch)
            FlowerObjectComposite::takeStrokes(*slot.object, *organ, back);
        slot.object = std::move(organ);
        slot.state = kSlotFilled;
        return true;
    });
}

bool FlowerTorusNode::detachOrgan(int organId) {
    return forEachSlot(*this, [organId](FlowerPart& slot) {
        if (!slot.object || slot.object->id != organId)
            return false;
        slot.object.reset();
        slot.state = slot.state == kSlotFilledHighlighted ? kSlotEmptyHighlighted : kSlotEmpty;
        return true;
    });
}

OrganLookup FlowerTorusNode::findOrgan(int organId) {
    if (id == organId)
        return {true, this, this, Matrix4()};
    OrganLookup found;
    forEachSlot(*this,
                [&](FlowerPart& slot) {
                    FlowerObjectNode* organ = slot.object.get();
                    if (!organ)
                        return false;
                    const Matrix4 m = slot.organMatrix();
                    if (organ->id == organId) {
                        found = {true, this, organ, m};
                    } else if (FlowerObjectComposite* composite = asComposite(organ)) {
                        const CompositeLookup inner = composite->findChild(organId);
                        if (inner.found)
                            found = {true, inner.holder, inner.object, m * inner.matrix};
                    } else if (organ->kind == kKindTorus) {
                        found = static_cast<FlowerTorusNode&>(*organ).findOrgan(organId);
                        found.matrix = m * found.matrix;
                    }
                    return found.found;
                },
                {kWhorlPistil, kWhorlPetal, kWhorlStamen, kWhorlSepal});
    return found;
}

SlotHit FlowerTorusNode::nearestEmptySlot(const Vector3& origin, const Vector3& direction) const {
    SlotHit hit;
    double best = 1000000.0;
    const Vector3 unitDirection = unit(direction);
    for (int whorl : {kWhorlPistil, kWhorlStamen, kWhorlPetal, kWhorlSepal})
        for (const auto& slot : slotList(whorl)) {
            if (slot->object)
                continue;
            const Vector3 p = slot->basicTransAndRot.translationPart();
            const double d = distanceToAxis(p, origin, unitDirection);
            if (d < best) {
                best = d;
                hit.whorl = whorl;
                hit.index = slot->index;
                hit.position = p;
            }
        }
    if (!(best < 0.01))
        return {};
    hit.found = true;
    const Vector3 horizontal(hit.position.x, 0.0, hit.position.z);
    if (horizontal.length() < 0.0001) {
        hit.side = unit(Vector3(-unitDirection.x, 0.0, -unitDirection.z));
    } else {
        hit.side = unit(cross(horizontal, kUp));
        if (dot(hit.side, unitDirection) > 0.0)
            hit.side = -hit.side;
    }
    return hit;
}

// --- Drawing

void FlowerTorusNode::drawWireframe() {
    if (renderState().snapshot)
        return;
    glPushMatrix();
    body.drawWireframe();
    drawAxisSegments(mainAxis.points, 3.0f, kAxisColour);
    if (displaySwitches().drawStrokes)
        drawStrokes();
    glPopMatrix();
}

void FlowerTorusNode::drawSlots() {
    static constexpr Rgba kWhorlColours[4] = {
        {1, 0, 0, 1}, // petals
        {1, 1, 0, 1}, // pistils
        {0, 0, 1, 1}, // stamens
        {0, 0, 1, 1}, // sepals
    };
    forEachSlot(*this,
                [](FlowerPart& slot) {
                    if (slot.object && slot.state == kSlotFilled) {
                        if (slot.selected) {
                            drawUnderSlot(slot, &FlowerObjectNode::drawControlPoints);
                            drawUnderSlot(slot, &FlowerObjectNode::drawWireframe);
                        } else {
                            drawUnderSlot(slot, &FlowerObjectNode::drawSolid);
                        }
                    } else if (slot.object && slot.state == kSlotFilledHighlighted) {
                        drawUnderSlot(slot, &FlowerObjectNode::drawSolid);
                        drawUnderSlot(slot, &FlowerObjectNode::drawControlPoints);
                    } else if (!slot.object && !renderState().snapshot) {
                        const int whorl =
                            slot.whatIam >= 0 && slot.whatIam < 4 ? slot.whatIam : kWhorlPetal;
                        glPushMatrix();
                        glMultMatrixd(slot.basicTransAndRot.data());
                        glMultMatrixd(slot.rotation.data());
                        glShadeModel(GL_FLAT);
                        glDisable(GL_LIGHTING);
                        glPointSize(4.0f);
                        glColor3fv(kWhorlColours[whorl].data());
                        glBegin(GL_POINTS);
                        glVertex3d(0.0, 0.001, 0.0);
                        glEnd();
                        glPopMatrix();
                    }
                },
                {kWhorlSepal, kWhorlPetal, kWhorlStamen, kWhorlPistil});
}

void FlowerTorusNode::drawSolid() {
    if (renderState().snapshot) {
        beginPickingPass();
        body.drawPlain();
        drawSlots();
        return;
    }
    glPushMatrix();
    drawTubeSurface(body, hasTexture, textureFront, diffuse, shininess, specular, ambient);
    glPopMatrix();
    glPushMatrix();
    drawSlots();
    if (displaySwitches().drawStrokes)
        drawStrokes();
    glPopMatrix();
}

void FlowerTorusNode::drawControlPoints() {
    if (!m_basicCurve.empty())
        drawControlPoint(*this, m_basicCurve.front(), 15.0f, 0, 1);
}

void FlowerTorusNode::drawPlain() {
    body.drawPlain();
    forEachSlot(*this, [](const FlowerPart& slot) {
        if (slot.object && slot.state == kSlotFilled)
            drawUnderSlot(slot, &FlowerObjectNode::drawPlain);
    });
}

void FlowerTorusNode::drawTranslucent() {
    if (renderState().snapshot)
        return;
    body.drawTranslucent(diffuse, shininess, specular, ambient);
    forEachSlot(*this, [](const FlowerPart& slot) {
        if (slot.object)
            drawUnderSlot(slot, &FlowerObjectNode::drawTranslucent);
    });
}

// --- Edits

void FlowerTorusNode::reshapeByStroke(const Stroke& stroke) {
    if (stroke.size() < 3)
        return;
    const double h = height();
    double f = h != 0.0 ? stroke.back().y / h : 0.0;
    if (f <= 0.2) {
        f = 0.2;
        diagnostic("flower head stroke too short: scaled by the smallest factor, 0.2");
    }
    scale(f);
}

void FlowerTorusNode::scale(double factor) {
    if (factor < 0.0)
        return;
    m_basicCurve.scale(factor);
    rebuildBody();
    replaceAllPlacements();
    forEachSlot(*this, [factor](FlowerPart& slot) {
        if (slot.object)
            slot.object->scale(factor);
    });
    updateMainAxis();
}

void FlowerTorusNode::editByPick(int row, int column, const Vector3& point) {
    if (row == 0 && column == 1 && m_basicCurve.size() >= 2) {
        const Vector3 top = m_basicCurve.front();
        const Vector3 bottom = m_basicCurve.back();
        if (top.y != bottom.y) {
            m_basicCurve.scale((point.y - bottom.y) / (top.y - bottom.y));
            rebuildBody();
            replaceAllPlacements();
        }
    }
    updateMainAxis();
}

std::unique_ptr<FlowerObjectNode> FlowerTorusNode::clone() const {
    auto copy = std::make_unique<FlowerTorusNode>(nextId());
    copy->m_basicCurve = m_basicCurve;
    copy->m_resH = m_resH;
    copy->m_resV = m_resV;
    copy->rebuildBody();
    copy->setMaterial(diffuse, specular, ambient, shininess);
    copy->setTexture(hasTexture, textureFront, textureBack);
    copy->copyStrokesFrom(*this);
    copy->mainAxis = mainAxis;
    for (int whorl : kSlotWalkOrder)
        for (const auto& slot : slotList(whorl))
            copy->slotList(whorl).push_back(copySlot(*slot));
    copy->pistilInf = pistilInf;
    copy->stamenInf = stamenInf;
    copy->petalInf = petalInf;
    copy->sepalInf = sepalInf;
    return copy;
}

void FlowerTorusNode::boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix,
                                  bool flag) const {
    body.boundingBox(matrix, min, max);
    forEachSlot(*this, [&](const FlowerPart& slot) {
        if (!slot.object)
            return;
        Vector3 lo, hi;
        slot.object->boundingBox(lo, hi, matrix * slot.organMatrix(), flag);
        widenBox(min, max, lo);
        widenBox(min, max, hi);
    });
}

// --- Export

int FlowerTorusNode::exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) {
    vertexCount = exportTube(out, matrix, vertexCount, body, "torus", *this);
    // The slots the file saves with an organ are the ones exported with it.
    forEachSlot(*this, [&](FlowerPart& slot) {
        if (slot.holdsOrgan())
            vertexCount = slot.object->exportObj(out, matrix * slot.organMatrix(), vertexCount);
    });
    return vertexCount;
}

// --- Records

namespace {

struct WhorlHeadings {
    int whorl;
    const char* heading;      // "... %d\n"
    const char* indexLine;    // "... %d\n"
    const char* closingIndex; // "... %d\n"
    const char* closing;
    int headingWords;
    int indexWords;
    int closingIndexWords;
    int closingWords;
};

constexpr WhorlHeadings kWhorlRecords[] = {
    {kWhorlPistil, "Pistil Parts %d\n", "pistil index %d\n", "end pistil parts index %d\n",
     "end Pistil Parts\n\n", 2, 2, 4, 3},
    {kWhorlStamen, "stamen parts %d\n", "stamen index %d\n", "end stamen parts index %d\n",
     "end Stamen Parts\n\n", 2, 2, 4, 3},
    {kWhorlPetal, "petal parts %d\n", "petal index %d\n", "end petal parts index %d\n",
     "end Petal Parts\n\n", 2, 2, 4, 3},
    {kWhorlSepal, "sepal parts %d\n", "sepal index %d\n", "end sepal parts index %d\n",
     "end Sepal Parts\n\n", 2, 2, 4, 3},
};

// "basicTransAndRot 0 ... rotation 0 ...": the shortest text a slot can have.
constexpr size_t kMinSlotBytes = 120;

void writeSlot(TextWriter& out, const FlowerPart& slot) {
    out.text("basicTransAndRot\n");
    slot.basicTransAndRot.writeRaw(out);
    out.text("rotation\n");
    slot.rotation.writeRaw(out);
    out.format("theta %f radius %f\n", slot.theta, slot.radius);
    out.format("size %d \n", slot.size);
    out.format("whatIam %d\n", slot.whatIam);
    const bool holds = slot.holdsOrgan();
    out.format("flower object %d\n", holds ? 1 : 0);
    if (holds)
        writeTypedRecord(out, *slot.object);
}

bool readLabelledInteger(TextReader& in, int words, int& value) {
    return skipWords(in, words) && in.integer(value);
}

bool readSlot(RecordInput& input, FlowerPart& slot) {
    TextReader& in = input.in;
    int holds = 0;
    if (!skipWords(in, 1) || !slot.basicTransAndRot.readRaw(in) || !skipWords(in, 1) ||
        !slot.rotation.readRaw(in) || !skipWords(in, 1) || !in.real(slot.theta) ||
        !skipWords(in, 1) || !in.real(slot.radius) || !readLabelledInteger(in, 1, slot.size) ||
        !readLabelledInteger(in, 1, slot.whatIam) || !readLabelledInteger(in, 2, holds))
        return false;
    if (holds == 1) {
        slot.object = readTypedRecord(input);
        if (!in.ok())
            return false;
        // A child whose closing line did not match gives no organ: the slot stays
        // empty rather than filled with nothing.
        slot.state = slot.object ? kSlotFilled : kSlotEmpty;
    }
    return true;
}

} // namespace

void FlowerTorusNode::save(TextWriter& out) const {
    out.text("Color\n");
    writeColourBlock(out, *this);
    writePointList(out, "m_basicCurve", m_basicCurve.points);
    out.format("m_resH %d\n", m_resH);
    out.format("m_resV %d\n", m_resV);
    out.format("pistilInf %d\n", pistilInf);
    out.format("stamenInf %d\n", stamenInf);
    out.format("petalInf %d\n", petalInf);
    out.format("sepalInf %d\n", sepalInf);
    writePointList(out, "mainAxis", mainAxis.points);
    out.text("\n");
    for (const WhorlHeadings& w : kWhorlRecords) {
        const SlotList& list = slotList(w.whorl);
        out.format(w.heading, static_cast<int>(list.size()));
        for (size_t i = 0; i < list.size(); ++i) {
            out.format(w.indexLine, static_cast<int>(i));
            writeSlot(out, *list[i]);
            out.format(w.closingIndex, static_cast<int>(i));
        }
        out.text(w.closing);
    }
}

std::unique_ptr<FlowerObjectNode> readTorus(RecordInput& input) {
    TextReader& in = input.in;
    auto torus = std::make_unique<FlowerTorusNode>(nextId());
    torus->m_basicCurve.clear();
    int flags[4] = {};
    if (!skipWords(in, 1) || !readNodeColours(in, *torus) ||
        !readPointList(in, torus->m_basicCurve.points) ||
        !readLabelledInteger(in, 1, torus->m_resH) || !readLabelledInteger(in, 1, torus->m_resV))
        return nullptr;
    for (int& flag : flags)
        if (!readLabelledInteger(in, 1, flag))
            return nullptr;
    torus->pistilInf = flags[0] != 0;
    torus->stamenInf = flags[1] != 0;
    torus->petalInf = flags[2] != 0;
    torus->sepalInf = flags[3] != 0;
    torus->mainAxis.clear();
    if (!readPointList(in, torus->mainAxis.points))
        return nullptr;
    for (const WhorlHeadings& w : kWhorlRecords) {
        int count = 0;
        if (!readLabelledInteger(in, w.headingWords, count) ||
            !in.plausibleCount(count, kMinSlotBytes))
            return nullptr;
        SlotList& list = torus->slotList(w.whorl);
        for (int i = 0; i < count; ++i) {
            int index = 0;
            auto slot = std::make_unique<FlowerPart>();
            if (!readLabelledInteger(in, w.indexWords, index) || !readSlot(input, *slot) ||
                !readLabelledInteger(in, w.closingIndexWords, index))
                return nullptr;
            slot->index = i;
            list.push_back(std::move(slot));
        }
        if (!skipWords(in, w.closingWords))
            return nullptr;
    }
    // Resolutions outside the parameter ranges would build absurd or empty bodies.
    torus->m_resH = clampedResolution(torus->m_resH);
    torus->m_resV = clampedResolution(torus->m_resV);
    if (torus->m_basicCurve.size() < 2) {
        in.fail("a receptacle profile needs at least two points");
        return nullptr;
    }
    torus->body.buildRevolution(torus->m_basicCurve, torus->m_resV, torus->m_resH);
    return torus;
}
