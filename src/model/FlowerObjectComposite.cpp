// Branching plants. Sections: construction (append, branch), search and removal,
// replacement, re-fitting to strokes, drawing and export, records.
#include "model/FlowerObjectComposite.h"

#include "interaction/OpenGL.h"
#include "interaction/RenderState.h"
#include "interaction/StrokeGeometry.h"
#include "math/Diagnostics.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/ModelContext.h"
#include "model/NodeRecord.h"
#include "model/RecordBlocks.h"
#include "model/SceneRoot.h"

#include <cmath>

namespace {

const Vector3 kUp(0.0, 1.0, 0.0);
const Vector3 kOut(0.0, 0.0, 1.0);

Matrix4 rotation(const Vector3& from, const Vector3& to) {
    return rotationBetween(from, to).matrix;
}

// A copy of the stroke moved so that it starts at the origin.
Stroke startingAtOrigin(const Stroke& stroke) {
    Stroke copy = stroke;
    if (!copy.empty())
        copy.translate(-copy.front());
    return copy;
}

Vector3 chord(const Stroke& stroke) {
    return stroke.size() < 2 ? Vector3() : stroke.back() - stroke.front();
}

// The frames of a new part: the stroke is turned so that its chord runs up +y and
// `side` lies along +z; `toPart` maps stroke points into that frame and
// `placement` (rotation only) maps the frame back.
struct PartFrame {
    Matrix4 toPart;
    Matrix4 placement;
    Matrix4 sideTurn; // Z: +z onto the side direction
};

PartFrame partFrame(const Vector3& d, const Vector3& side) {
    const Matrix4 A = rotation(d, kUp);
    const Matrix4 B = rotation(kUp, d);
    const Vector3 s = A.rotateVector(side);
    const Matrix4 C = rotation(s, kOut);
    const Matrix4 Z = rotation(kOut, s);
    return {C * A, B * Z, Z};
}

// The piece of `axis` from arc length `from` to `to`: its two end points and the
// axis points between them.
Stroke axisPiece(const Stroke& axis, double from, double to) {
    Stroke piece;
    piece.add(axis.pointAtLength(from).point);
    double walked = 0.0;
    for (int i = 1; i < axis.size(); ++i) {
        walked += distance(axis.points[i], axis.points[i - 1]);
        if (walked > from && walked < to && i < axis.size() - 1)
            piece.add(axis.points[i]);
    }
    piece.add(axis.pointAtLength(to).point);
    return piece;
}

void multiplyPositions(std::vector<double>& positions, double factor) {
    for (double& p : positions)
        p *= factor;
}

} // namespace

// --- Construction

void FlowerObjectComposite::appendAlongAxis(std::unique_ptr<FlowerObjectNode> node,
                                            const Stroke& stroke, const Vector3& side,
                                            Matrix4* placement) {
    if (!node)
        return;
    if (node->kind == kKindComposite)
        diagnostic("a composite becomes a segment along a plant's axis");
    Stroke fitted = startingAtOrigin(stroke);
    const PartFrame frame = partFrame(chord(fitted), side);
    fitted.transform(frame.toPart);
    node->reshapeByStroke(fitted);

    const double oldLength = mainAxis.length();
    const Vector3 end = mainAxis.empty() ? Vector3() : mainAxis.back();
    for (const Vector3& q : node->mainAxis.points)
        mainAxis.add(transformPoint(frame.placement, q) + end);

    const Matrix4 segmentMatrix = Matrix4::translation(end) * frame.placement;
    m_childrenArongAxis.push_back(std::move(node));
    m_childrenMatArongAxis.push_back(segmentMatrix);
    m_childrenMatArongAxisZrot.push_back(frame.sideTurn);

    const double newLength = mainAxis.length();
    if (newLength != 0.0) {
        const double r = oldLength / newLength;
        multiplyPositions(childPositionLRAA, r);
        multiplyPositions(childPositionLR, r);
        childPositionLRAA.push_back(r);
    } else {
        childPositionLRAA.push_back(0.0);
    }
    if (placement)
        *placement = segmentMatrix;
    if (FlowerObjectComposite* segment = asComposite(m_childrenArongAxis.back().get()))
        segment->parent = this;
}

void FlowerObjectComposite::addBranch(double position,
                                      std::unique_ptr<FlowerObjectComposite> branch,
                                      const Stroke& stroke, const Vector3& side,
                                      Matrix4* placement) {
    if (!branch)
        return;
    const Stroke::PointAtLength at = mainAxis.pointAtLength(position * mainAxis.length());
    Stroke fitted = startingAtOrigin(stroke);
    const Vector3 d = chord(fitted);
    const PartFrame frame = partFrame(d, side);
    fitted.transform(frame.toPart);
    branch->reshapeByStroke(fitted);

    const Matrix4 branchPlacement = Matrix4::translation(at.point) * frame.placement;
    m_childrenMat.push_back(branchPlacement);
    m_childrenMatRot.push_back(Matrix4());
    m_childrenMatRelateveRot.push_back(rotation(at.direction, d) * frame.sideTurn);
    childPositionLR.push_back(position);
    branch->parent = this;
    m_children.push_back(std::move(branch));
    if (placement)
        *placement = branchPlacement;
}

// --- Search and removal

FlowerObjectComposite::BranchTurn FlowerObjectComposite::branchTurnedBy(int partId) const {
    if (partId == id)
        return {};
    const CompositeLookup picked = findChild(partId);
    if (!picked.found || picked.holder == this)
        return {};
    const CompositeLookup branch = findChild(picked.holder->id);
    if (!branch.found)
        return {};
    return {picked.holder->id, branch.holder->id};
}

CompositeLookup FlowerObjectComposite::findChild(int objectId) const {
    for (size_t j = 0; j < m_childrenArongAxis.size(); ++j) {
        FlowerObjectNode& segment = *m_childrenArongAxis[j];
        if (segment.id == objectId)
            return {true, const_cast<FlowerObjectComposite*>(this), &segment,
                    m_childrenMatArongAxis[j]};
        if (const FlowerObjectComposite* composite = asComposite(&segment)) {
            CompositeLookup inner = composite->findChild(objectId);
            if (inner.found) {
                inner.matrix = m_childrenMatArongAxis[j] * inner.matrix;
                return inner;
            }
        }
    }
    for (size_t i = 0; i < m_children.size(); ++i) {
        FlowerObjectComposite& branch = *m_children[i];
        if (branch.id == objectId)
            return {true, const_cast<FlowerObjectComposite*>(this), &branch, branchMatrix(i)};
        CompositeLookup inner = branch.findChild(objectId);
        if (inner.found) {
            inner.matrix = branchMatrix(i) * inner.matrix;
            return inner;
        }
    }
    return {};
}

Matrix4 FlowerObjectComposite::matrixOfBranch(int objectId) const {
    for (size_t i = 0; i < m_children.size(); ++i)
        if (m_children[i]->id == objectId)
            return branchMatrix(i);
    return Matrix4();
}

void FlowerObjectComposite::removeBranchAt(size_t i) {
    m_children.erase(m_children.begin() + static_cast<long>(i));
    m_childrenMatRot.erase(m_childrenMatRot.begin() + static_cast<long>(i));
    m_childrenMatRelateveRot.erase(m_childrenMatRelateveRot.begin() + static_cast<long>(i));
    m_childrenMat.erase(m_childrenMat.begin() + static_cast<long>(i));
    childPositionLR.erase(childPositionLR.begin() + static_cast<long>(i));
}

bool FlowerObjectComposite::removeBranch(int objectId) {
    for (const auto& segment : m_childrenArongAxis)
        if (FlowerObjectComposite* composite = asComposite(segment.get());
            composite && composite->removeBranch(objectId))
            return true;
    for (size_t i = 0; i < m_children.size(); ++i) {
        const FlowerObjectComposite& branch = *m_children[i];
        bool matches = branch.id == objectId;
        for (const auto& segment : branch.m_childrenArongAxis)
            matches = matches || segment->id == objectId;
        if (matches) {
            removeBranchAt(i);
            return true;
        }
    }
    for (const auto& branch : m_children)
        if (branch->removeBranch(objectId))
            return true;
    return false;
}

void FlowerObjectComposite::removeSegmentsFrom(size_t first) {
    const auto from = static_cast<long>(first);
    m_childrenArongAxis.erase(m_childrenArongAxis.begin() + from, m_childrenArongAxis.end());
    m_childrenMatArongAxis.erase(m_childrenMatArongAxis.begin() + from,
                                 m_childrenMatArongAxis.end());
    m_childrenMatArongAxisZrot.erase(m_childrenMatArongAxisZrot.begin() + from,
                                     m_childrenMatArongAxisZrot.end());
    childPositionLRAA.erase(childPositionLRAA.begin() + from, childPositionLRAA.end());
}

bool FlowerObjectComposite::cutAtSegment(int objectId, SceneRoot* openScene) {
    size_t cut = m_childrenArongAxis.size();
    for (size_t j = 0; j < m_childrenArongAxis.size() && cut == m_childrenArongAxis.size(); ++j) {
        const FlowerObjectNode& segment = *m_childrenArongAxis[j];
        if (segment.id == objectId ||
            (asComposite(&segment) && asComposite(&segment)->findChild(objectId).found))
            cut = j;
    }
    if (cut == m_childrenArongAxis.size())
        return false;
    removeSegmentsFrom(cut);
    if (m_childrenArongAxis.empty()) {
        // The emptied composite goes; `this` is deleted by whoever removes it.
        const int ownId = id;
        FlowerObjectComposite* const holder = parent;
        if (!holder) {
            if (openScene)
                openScene->removePlant(ownId);
        } else if (!holder->removeBranch(ownId)) {
            holder->cutAtSegment(ownId, openScene);
        }
        return true;
    }
    for (FlowerObjectComposite* c = this; c; c = c->parent)
        c->rebuildAxis();
    return true;
}

// --- Replacement

bool FlowerObjectComposite::replaceSegment(int objectId, std::unique_ptr<FlowerObjectNode> node,
                                           Vector3 orientation) {
    for (size_t j = 0; j < m_childrenArongAxis.size(); ++j) {
        if (m_childrenArongAxis[j]->id != objectId)
            continue;
        if (!node)
            return false;
        orientation.normalize();
        const Matrix4 P = rotation(kOut, orientation);
        const Matrix4 Q = rotation(orientation, kOut);
        FlowerObjectNode& old = *m_childrenArongAxis[j];
        Stroke axis = old.mainAxis;
        axis.transform(Q);
        node->reshapeByStroke(axis);
        m_childrenMatArongAxis[j] = m_childrenMatArongAxis[j] * P;
        m_childrenMatArongAxisZrot[j] = m_childrenMatArongAxisZrot[j] * P;
        if (old.kind == kKindSketch)
            takeStrokes(old, *node, Q);
        if (FlowerObjectComposite* composite = asComposite(node.get()))
            composite->parent = this;
        m_childrenArongAxis[j] = std::move(node);
        return true;
    }
    return false;
}

size_t FlowerObjectComposite::branchIndex(int objectId) const {
    for (size_t i = 0; i < m_children.size(); ++i)
        if (m_children[i]->id == objectId)
            return i;
    return m_children.size();
}

void FlowerObjectComposite::replaceBranch(int objectId,
                                          std::unique_ptr<FlowerObjectComposite> branch,
                                          const Vector3& orientation) {
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i]->id != objectId)
            continue;
        Stroke axis = m_children[i]->mainAxis;
        axis.transform(branchMatrix(i));
        const double position = childPositionLR[i];
        removeBranch(objectId);
        addBranch(position, std::move(branch), axis, orientation);
        return;
    }
}

void FlowerObjectComposite::replaceLike(int objectId, const FlowerObjectComposite& model,
                                        const Vector3& orientation) {
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i]->id != objectId)
            continue;
        FlowerObjectComposite& target = *m_children[i];
        const Vector3 inBranch = inverted(branchMatrix(i)).rotateVector(orientation);
        for (size_t j = 0;
             j < target.m_childrenArongAxis.size() && j < model.m_childrenArongAxis.size(); ++j) {
            const Vector3 inSegment =
                inverted(target.m_childrenMatArongAxis[j]).rotateVector(inBranch);
            target.replaceSegment(target.m_childrenArongAxis[j]->id,
                                  model.m_childrenArongAxis[j]->clone(), inSegment);
        }
        // Replacing a branch moves its replacement to the end of the list, so the
        // branches to replace are named by id before the first one goes.
        const size_t count = std::min(target.m_children.size(), model.m_children.size());
        std::vector<int> replaced;
        for (size_t k = 0; k < count; ++k)
            replaced.push_back(target.m_children[k]->id);
        for (size_t k = 0; k < count; ++k) {
            const size_t at = target.branchIndex(replaced[k]);
            const Vector3 side = target.branchMatrix(at).rotateVector(kOut);
            std::unique_ptr<FlowerObjectNode> copy = model.m_children[k]->clone();
            target.replaceBranch(replaced[k],
                                 std::unique_ptr<FlowerObjectComposite>(
                                     static_cast<FlowerObjectComposite*>(copy.release())),
                                 side);
        }
        return;
    }
}

bool FlowerObjectComposite::turnBranch(int objectId, const Vector3& drag, const Matrix4& model,
                                       const Vector3& viewDirection) {
    if (drag.length() > 0.08)
        return false;
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i]->id != objectId)
            continue;
        Matrix4 toBranch = model * branchMatrix(i);
        toBranch.invert();
        // Both are directions: the branch's offset from the plant's base must not
        // turn into a drag, or a mouse that did not move would still turn it.
        const Vector3 w = toBranch.rotateVector(viewDirection);
        const Vector3 v = toBranch.rotateVector(drag);
        const double angle = 1.5 * v.length();
        Matrix4 turn;
        turn.setRotationAxis(cross(v, w), std::cos(angle), std::sin(angle));
        m_childrenMatRot[i] = m_childrenMatRot[i] * turn;
        return true;
    }
    return false;
}

void FlowerObjectComposite::takeStrokes(FlowerObjectNode& from, FlowerObjectNode& to,
                                        const Matrix4& matrix) {
    for (auto& stroke : from.strokes) {
        stroke->transform(matrix);
        to.strokes.push_back(std::move(stroke));
    }
    from.strokes.clear();
}

bool FlowerObjectComposite::sameStructure(const FlowerObjectComposite& other) const {
    if (m_children.size() != other.m_children.size() ||
        m_childrenArongAxis.size() != other.m_childrenArongAxis.size())
        return false;
    for (size_t i = 0; i < m_children.size(); ++i)
        if (!m_children[i]->sameStructure(*other.m_children[i]))
            return false;
    for (size_t j = 0; j < m_childrenArongAxis.size(); ++j) {
        const int type = m_childrenArongAxis[j]->sketchType();
        if (type < 0 || type != other.m_childrenArongAxis[j]->sketchType())
            return false;
    }
    return true;
}

// --- Axis and re-fitting

void FlowerObjectComposite::rebuildAxis() {
    mainAxis.clear();
    for (size_t j = 0; j < m_childrenArongAxis.size(); ++j)
        for (const Vector3& p : m_childrenArongAxis[j]->mainAxis.points)
            mainAxis.add(transformPoint(m_childrenMatArongAxis[j], p));
}

void FlowerObjectComposite::rebuildAxisUpward() {
    for (FlowerObjectComposite* c = this; c; c = c->parent)
        c->rebuildAxis();
}

void FlowerObjectComposite::rebuildAxisKeepPositions() {
    const double oldLength = mainAxis.length();
    rebuildAxis();
    const double newLength = mainAxis.length();
    if (newLength == 0.0)
        return;
    multiplyPositions(childPositionLR, oldLength / newLength);
    multiplyPositions(childPositionLRAA, oldLength / newLength);
}

void FlowerObjectComposite::reshapeByStroke(const Stroke& stroke) {
    if (stroke.size() < 4)
        return;
    const double oldLength = mainAxis.length();
    mainAxis.points = stroke.points;
    mainAxis.resampleInPlace(stroke.size() - 1);
    const double newLength = mainAxis.length();
    // An axis that had no length yet cannot be stretched: its parts keep their size.
    const double k = oldLength > 0.0 ? newLength / oldLength : 1.0;

    for (size_t j = 0; j < m_childrenArongAxis.size(); ++j) {
        FlowerObjectNode& segment = *m_childrenArongAxis[j];
        const double start = childPositionLRAA[j] * newLength;
        const double length = segment.mainAxis.length() * k;
        Stroke piece = axisPiece(mainAxis, start, start + length);
        const Vector3 pieceStart = piece.front();
        const Vector3 d = chord(piece);
        const Matrix4 F = rotation(d, kUp);
        const Matrix4 E = rotation(kUp, d);
        const Matrix4 G = inverted(m_childrenMatArongAxisZrot[j]);
        piece.translate(-pieceStart);
        piece.transform(G * F);
        segment.reshapeByStroke(piece);
        m_childrenMatArongAxis[j] =
            Matrix4::translation(pieceStart) * E * m_childrenMatArongAxisZrot[j];
    }
    for (size_t i = 0; i < m_children.size(); ++i) {
        const Stroke::PointAtLength at = mainAxis.pointAtLength(childPositionLR[i] * newLength);
        m_childrenMat[i] = Matrix4::translation(at.point) * rotation(kUp, at.direction) *
                           m_childrenMatRelateveRot[i];
        if (k <= 1.0) {
            Stroke shrunk = m_children[i]->mainAxis;
            shrunk.scale(k);
            m_children[i]->reshapeByStroke(shrunk);
        }
    }
    rebuildAxis();
}

void FlowerObjectComposite::scale(double factor) {
    // The axis is re-fitted to a scaled copy, so that the parts see the change of
    // length (and branches shrink with a shrinking plant).
    Stroke scaled = mainAxis;
    scaled.scale(factor);
    reshapeByStroke(scaled);
}

void FlowerObjectComposite::setMaterial(const Rgba& newDiffuse, const Rgba& newSpecular,
                                        const Rgba& newAmbient, float newShininess) {
    const auto pass = [&](FlowerObjectNode& child) {
        if (child.kind == kKindStem || child.kind == kKindTorus || child.kind == kKindComposite)
            child.setMaterial(newDiffuse, newSpecular, newAmbient, newShininess);
    };
    for (const auto& branch : m_children)
        pass(*branch);
    for (const auto& segment : m_childrenArongAxis)
        pass(*segment);
}

// --- Picking

CompositeRayHit nearestStrokePoint(const FlowerObjectNode& node, const Vector3& origin,
                                   const Vector3& direction) {
    CompositeRayHit best;
    const auto consider = [&](const Stroke& stroke) {
        if (stroke.empty())
            return;
        const Stroke::RayPick pick = stroke.pickWithRay(origin, direction);
        if (pick.distance < best.distance) {
            best.distance = pick.distance;
            best.point = pick.point;
            best.pointIndex = pick.index;
            best.objectId = node.id;
        }
    };
    for (const auto& stroke : node.strokes)
        consider(*stroke);
    if (node.mainAxis.size() >= 2)
        consider(node.mainAxis);
    best.atTip = best.objectId >= 0 && !node.mainAxis.empty() &&
                 distance(best.point, node.mainAxis.back()) < 0.01;
    return best;
}

CompositeRayHit FlowerObjectComposite::distanceToRay(const Vector3& origin,
                                                     const Vector3& direction) const {
    CompositeRayHit best;
    const auto keep = [&](CompositeRayHit hit, const Matrix4& matrix) {
        if (hit.distance >= best.distance)
            return;
        hit.point = transformPoint(matrix, hit.point);
        hit.matrix = matrix * hit.matrix;
        best = hit;
    };
    // The ray in a part's frame: the origin as a point, the direction as a vector.
    const auto rayIn = [&](const Matrix4& matrix, Vector3& o, Vector3& d) {
        const Matrix4 back = inverted(matrix);
        o = transformPoint(back, origin);
        d = unit(back.rotateVector(direction));
    };
    for (size_t j = 0; j < m_childrenArongAxis.size(); ++j) {
        const FlowerObjectNode& segment = *m_childrenArongAxis[j];
        Vector3 o, d;
        rayIn(m_childrenMatArongAxis[j], o, d);
        const FlowerObjectComposite* composite = asComposite(&segment);
        keep(composite ? composite->distanceToRay(o, d) : nearestStrokePoint(segment, o, d),
             m_childrenMatArongAxis[j]);
    }
    if (mainAxis.size() >= 2) {
        const Stroke::RayPick pick = mainAxis.pickWithRay(origin, direction);
        if (pick.distance < best.distance) {
            best = CompositeRayHit();
            best.distance = pick.distance;
            best.point = pick.point;
            best.pointIndex = pick.index;
            best.objectId = id;
            best.atTip = distance(pick.point, mainAxis.back()) < 0.01;
        }
    }
    for (size_t i = 0; i < m_children.size(); ++i) {
        Vector3 o, d;
        const Matrix4 matrix = branchMatrix(i);
        rayIn(matrix, o, d);
        keep(m_children[i]->distanceToRay(o, d), matrix);
    }
    return best;
}

// --- Drawing and export

namespace {

template <typename Draw> void drawParts(const FlowerObjectComposite& c, Draw draw) {
    for (size_t i = 0; i < c.m_children.size(); ++i) {
        glPushMatrix();
        glMultMatrixd(c.m_childrenMat[i].data());
        glMultMatrixd(c.m_childrenMatRot[i].data());
        draw(*c.m_children[i]);
        glPopMatrix();
    }
    for (size_t j = 0; j < c.m_childrenArongAxis.size(); ++j) {
        glPushMatrix();
        glMultMatrixd(c.m_childrenMatArongAxis[j].data());
        draw(*c.m_childrenArongAxis[j]);
        glPopMatrix();
    }
}

} // namespace

void FlowerObjectComposite::drawWireframe() {
    drawParts(*this, [](FlowerObjectNode& n) { n.drawWireframe(); });
    if (renderState().snapshot)
        return;
    Stroke axis = mainAxis;
    axis.color = {0.0f, 0.0f, 1.0f, 0.5f};
    axis.drawColored(3.0f);
}

void FlowerObjectComposite::drawSolid() {
    drawParts(*this, [](FlowerObjectNode& n) { n.drawSolid(); });
}

void FlowerObjectComposite::drawPlain() {
    drawParts(*this, [](FlowerObjectNode& n) { n.drawPlain(); });
}

void FlowerObjectComposite::drawTranslucent() {
    drawParts(*this, [](FlowerObjectNode& n) { n.drawTranslucent(); });
}

void FlowerObjectComposite::drawOverlay() {
    if (renderState().snapshot || mainAxis.size() < 2)
        return;
    const double h = distance(mainAxis.back(), mainAxis.front()) / 20.0;
    glShadeModel(GL_FLAT);
    glDisable(GL_LIGHTING);
    glColor3d(0.0, 0.0, 1.0);
    glBegin(GL_LINE_LOOP);
    glVertex3d(h, 0.0, h);
    glVertex3d(h, 0.0, -h);
    glVertex3d(-h, 0.0, -h);
    glVertex3d(-h, 0.0, h);
    glEnd();
}

void FlowerObjectComposite::drawHighlightBox() const {
    if (renderState().snapshot)
        return;
    Vector3 lo, hi;
    boundingBox(lo, hi, Matrix4(), true);
    const Vector3 c[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z},
                          {lo.x, hi.y, lo.z}, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z},
                          {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    static constexpr int kEdges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                          {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    static constexpr int kFaces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                         {3, 2, 6, 7}, {0, 3, 7, 4}, {1, 2, 6, 5}};
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    glLineWidth(2.0f);
    glColor3d(1.0, 1.0, 0.0);
    glBegin(GL_LINES);
    for (const auto& e : kEdges) {
        glVertex3d(c[e[0]].x, c[e[0]].y, c[e[0]].z);
        glVertex3d(c[e[1]].x, c[e[1]].y, c[e[1]].z);
    }
    glEnd();
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glColor4d(0.0, 0.5, 0.0, 0.2);
    glBegin(GL_QUADS);
    for (const auto& f : kFaces)
        for (int k : f)
            glVertex3d(c[k].x, c[k].y, c[k].z);
    glEnd();
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glPopMatrix();
}

int FlowerObjectComposite::exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) {
    forEachPlacedChild(*this, [&](FlowerObjectNode& child, const Matrix4& placement, bool segment) {
        if (segment)
            diagnostic("OBJ export of a segment: %d placements along the axis, %d turns",
                       static_cast<int>(m_childrenMatArongAxis.size()),
                       static_cast<int>(m_childrenMatRelateveRot.size()));
        vertexCount = child.exportObj(out, matrix * placement, vertexCount);
    });
    return vertexCount;
}

void FlowerObjectComposite::boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix,
                                        bool flag) const {
    min = Vector3();
    max = Vector3();
    const auto widen = [&](const FlowerObjectNode& part, const Matrix4& m) {
        Vector3 lo, hi;
        part.boundingBox(lo, hi, m, flag);
        widenBox(min, max, lo);
        widenBox(min, max, hi);
    };
    for (size_t j = 0; j < m_childrenArongAxis.size(); ++j)
        widen(*m_childrenArongAxis[j], matrix * m_childrenMatArongAxis[j]);
    for (size_t i = 0; i < m_children.size(); ++i)
        widen(*m_children[i], matrix * branchMatrix(i));
}

std::unique_ptr<FlowerObjectNode> FlowerObjectComposite::clone() const {
    auto copy = std::make_unique<FlowerObjectComposite>(nextId());
    copy->mainAxis = mainAxis;
    copy->childPositionLR = childPositionLR;
    copy->childPositionLRAA = childPositionLRAA;
    copy->m_childrenMat = m_childrenMat;
    copy->m_childrenMatRelateveRot = m_childrenMatRelateveRot;
    copy->m_childrenMatRot = m_childrenMatRot;
    copy->m_childrenMatArongAxis = m_childrenMatArongAxis;
    copy->m_childrenMatArongAxisZrot = m_childrenMatArongAxisZrot;
    for (const auto& branch : m_children) {
        std::unique_ptr<FlowerObjectNode> c = branch->clone();
        auto* composite = static_cast<FlowerObjectComposite*>(c.release());
        // The copy's parts point back at the copy, so that edits inside a copied
        // plant re-place its ancestors like in the original.
        composite->parent = copy.get();
        copy->m_children.emplace_back(composite);
    }
    for (const auto& segment : m_childrenArongAxis) {
        copy->m_childrenArongAxis.push_back(segment->clone());
        if (FlowerObjectComposite* composite = asComposite(copy->m_childrenArongAxis.back().get()))
            composite->parent = copy.get();
    }
    return copy;
}

// --- Records

namespace {

void writeMatrixList(TextWriter& out, std::string_view heading, const std::vector<Matrix4>& list) {
    out.format("%s %d\n", heading, static_cast<int>(list.size()));
    for (const Matrix4& m : list)
        m.writeText(out);
}

void writePositions(TextWriter& out, std::string_view heading, const std::vector<double>& list) {
    out.format("%s %d\n", heading, static_cast<int>(list.size()));
    for (double v : list)
        out.format("%f\n", v);
}

// "0 " sixteen times: the shortest text of a matrix.
constexpr size_t kMinMatrixBytes = 32;
constexpr size_t kMinPositionBytes = 2;
// "Composit 1\n\nColor ...": the shortest text a composite child can have.
constexpr size_t kMinChildBytes = 64;

bool readCount(TextReader& in, int& count, size_t minBytesPerItem) {
    std::string label;
    return in.word(label) && in.integer(count) && in.plausibleCount(count, minBytesPerItem);
}

bool readMatrixList(TextReader& in, std::vector<Matrix4>& list) {
    int count = 0;
    if (!readCount(in, count, kMinMatrixBytes))
        return false;
    list.resize(static_cast<size_t>(count));
    for (Matrix4& m : list)
        if (!m.readText(in))
            return false;
    return true;
}

bool readPositions(TextReader& in, std::vector<double>& list) {
    int count = 0;
    if (!readCount(in, count, kMinPositionBytes))
        return false;
    list.resize(static_cast<size_t>(count));
    for (double& v : list)
        if (!in.real(v))
            return false;
    return true;
}

// "child index %d" before each child.
bool readChildIndex(TextReader& in) {
    int index = 0;
    return skipWords(in, 2) && in.integer(index);
}

// A child's closing "end %d" line: read, not compared.
bool skipChildEnd(TextReader& in) {
    int number = 0;
    return skipWords(in, 1) && in.integer(number);
}

} // namespace

void writeCompositeChildren(TextWriter& out,
                            const std::vector<std::unique_ptr<FlowerObjectComposite>>& children) {
    out.format("m_children %d\n", static_cast<int>(children.size()));
    for (size_t i = 0; i < children.size(); ++i) {
        out.format("child index %d\n", static_cast<int>(i));
        out.format("Composit %d\n\n", children[i]->id);
        children[i]->save(out);
        out.format("end %d\n\n", children[i]->id);
    }
    out.text("end m_children\n\n");
}

bool readCompositeChildren(RecordInput& input, int count, FlowerObjectComposite* parent,
                           std::vector<std::unique_ptr<FlowerObjectComposite>>& children) {
    TextReader& in = input.in;
    if (!in.plausibleCount(count, kMinChildBytes))
        return false;
    for (int i = 0; i < count; ++i) {
        std::string keyword;
        int number = 0;
        if (!readChildIndex(in) || !in.word(keyword) || !in.integer(number))
            return false;
        if (keyword != "Composit") {
            in.fail("a branch must be a Composit entry, not '" + keyword + "'");
            return false;
        }
        std::unique_ptr<FlowerObjectNode> child = readRecordBody(input, keyword);
        if (!child || !skipChildEnd(in))
            return false;
        auto* composite = static_cast<FlowerObjectComposite*>(child.release());
        composite->parent = parent;
        children.emplace_back(composite);
    }
    return skipWords(in, 2);
}

void FlowerObjectComposite::save(TextWriter& out) const {
    out.text("Color\n");
    writeColourBlock(out, *this);
    writePointList(out, "mainAxis", mainAxis.points);
    out.text("\n");
    writePositions(out, "childPositionLR", childPositionLR);
    writePositions(out, "childPositionLRAA", childPositionLRAA);
    writeMatrixList(out, "m_childrenMat", m_childrenMat);
    writeMatrixList(out, "m_childrenMatRelateveRot", m_childrenMatRelateveRot);
    writeMatrixList(out, "m_childrenMatRot", m_childrenMatRot);
    writeMatrixList(out, "m_childrenMatArongAxis", m_childrenMatArongAxis);
    writeMatrixList(out, "m_childrenMatArongAxisZrot", m_childrenMatArongAxisZrot);
    writeCompositeChildren(out, m_children);
    out.format("m_childrenArongAxis %d\n", static_cast<int>(m_childrenArongAxis.size()));
    for (size_t j = 0; j < m_childrenArongAxis.size(); ++j) {
        out.format("child index %d\n", static_cast<int>(j));
        writeTypedRecord(out, *m_childrenArongAxis[j]);
    }
    out.text("end m_childrenArongAxis\n\n");
}

std::unique_ptr<FlowerObjectNode> readComposite(RecordInput& input) {
    TextReader& in = input.in;
    auto composite = std::make_unique<FlowerObjectComposite>(nextId());
    // A composite keeps the material of its constructor: its colours are read and
    // dropped.
    MaterialBlock ignored;
    int count = 0;
    if (!skipWords(in, 1) || !readColourBlock(in, ignored) ||
        !readPointList(in, composite->mainAxis.points) ||
        !readPositions(in, composite->childPositionLR) ||
        !readPositions(in, composite->childPositionLRAA) ||
        !readMatrixList(in, composite->m_childrenMat) ||
        !readMatrixList(in, composite->m_childrenMatRelateveRot) ||
        !readMatrixList(in, composite->m_childrenMatRot) ||
        !readMatrixList(in, composite->m_childrenMatArongAxis) ||
        !readMatrixList(in, composite->m_childrenMatArongAxisZrot) || !skipWords(in, 1) ||
        !in.integer(count) ||
        !readCompositeChildren(input, count, composite.get(), composite->m_children) ||
        !skipWords(in, 1) || !in.integer(count) || !in.plausibleCount(count, kMinChildBytes))
        return nullptr;
    for (int j = 0; j < count; ++j) {
        std::string keyword;
        int number = 0;
        if (!readChildIndex(in) || !in.word(keyword) || !in.integer(number))
            return nullptr;
        std::unique_ptr<FlowerObjectNode> segment = readRecordBody(input, keyword);
        if (!segment || !skipChildEnd(in))
            return nullptr;
        if (FlowerObjectComposite* inner = asComposite(segment.get()))
            inner->parent = composite.get();
        composite->m_childrenArongAxis.push_back(std::move(segment));
    }
    if (!skipWords(in, 2))
        return nullptr;
    const size_t branches = composite->m_children.size();
    const size_t segments = composite->m_childrenArongAxis.size();
    if (composite->m_childrenMat.size() != branches ||
        composite->m_childrenMatRelateveRot.size() != branches ||
        composite->m_childrenMatRot.size() != branches ||
        composite->childPositionLR.size() != branches ||
        composite->m_childrenMatArongAxis.size() != segments ||
        composite->m_childrenMatArongAxisZrot.size() != segments ||
        composite->childPositionLRAA.size() != segments) {
        in.fail("the composite's matrix and position lists do not match its children");
        return nullptr;
    }
    return composite;
}
