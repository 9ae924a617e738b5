#include "model/SceneRoot.h"

#include "interaction/OpenGL.h"
#include "interaction/StrokeGeometry.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/ModelContext.h"
#include "model/NodeRecord.h"

namespace {

template <typename Draw> void drawPlants(const SceneRoot& scene, Draw draw) {
    for (size_t i = 0; i < scene.m_children.size(); ++i) {
        glPushMatrix();
        glMultMatrixd(scene.m_childrenMat[i].data());
        draw(*scene.m_children[i]);
        glPopMatrix();
    }
}

} // namespace

void SceneRoot::drawWireframe() {
    drawPlants(*this, [](FlowerObjectComposite& p) { p.drawWireframe(); });
}

void SceneRoot::drawSolid() {
    drawPlants(*this, [](FlowerObjectComposite& p) { p.drawSolid(); });
}

void SceneRoot::drawTranslucent() {
    drawPlants(*this, [](FlowerObjectComposite& p) { p.drawTranslucent(); });
}

void SceneRoot::drawOverlay() {
    drawPlants(*this, [](FlowerObjectComposite& p) { p.drawOverlay(); });
}

int SceneRoot::exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) {
    for (size_t i = 0; i < m_children.size(); ++i)
        vertexCount = m_children[i]->exportObj(out, matrix * m_childrenMat[i], vertexCount);
    return vertexCount;
}

void SceneRoot::plantAlongStroke(std::unique_ptr<FlowerObjectComposite> plant,
                                 const Stroke& stroke) {
    if (!plant || stroke.empty())
        return;
    Stroke upright = stroke;
    const Vector3 start = upright.front();
    upright.translate(-start);
    const Vector3 d = upright.back() - upright.front();
    const Vector3 up(0.0, 1.0, 0.0);
    upright.transform(rotationBetween(d, up).matrix);
    plant->reshapeByStroke(upright);
    plant->parent = nullptr;
    m_children.push_back(std::move(plant));
    m_childrenMat.push_back(Matrix4::translation(start) * rotationBetween(up, d).matrix);
}

bool SceneRoot::removePlant(int objectId) {
    for (size_t i = 0; i < m_children.size(); ++i)
        if (m_children[i]->id == objectId) {
            m_children.erase(m_children.begin() + static_cast<long>(i));
            m_childrenMat.erase(m_childrenMat.begin() + static_cast<long>(i));
            return true;
        }
    return false;
}

SceneLookup SceneRoot::findInScene(int objectId) const {
    for (size_t i = 0; i < m_children.size(); ++i) {
        FlowerObjectComposite* plant = m_children[i].get();
        if (plant->id == objectId)
            return {true, plant, plant, nullptr, m_childrenMat[i]};
        const CompositeLookup inner = plant->findChild(objectId);
        if (inner.found)
            return {true, plant, inner.object, inner.holder, m_childrenMat[i] * inner.matrix};
    }
    return {};
}

ScenePick SceneRoot::pickNearest(const Vector3& origin, const Vector3& direction) const {
    ScenePick best;
    for (size_t i = 0; i < m_children.size(); ++i) {
        const Matrix4 toPlant = inverted(m_childrenMat[i]);
        const CompositeRayHit hit = m_children[i]->distanceToRay(
            transformPoint(toPlant, origin), unit(toPlant.rotateVector(direction)));
        if (hit.objectId < 0 || hit.distance >= best.distance)
            continue;
        best.distance = hit.distance;
        best.point = transformPoint(m_childrenMat[i], hit.point);
        best.objectId = hit.objectId;
        best.pointIndex = hit.pointIndex;
        best.atTip = hit.atTip;
        best.matrix = m_childrenMat[i] * hit.matrix;
        best.plantIndex = static_cast<int>(i);
        best.plantMatrix = m_childrenMat[i];
    }
    return best;
}

std::unique_ptr<SceneRoot> SceneRoot::clone() const {
    auto copy = std::make_unique<SceneRoot>(nextId());
    for (const auto& plant : m_children) {
        std::unique_ptr<FlowerObjectNode> c = plant->clone();
        copy->m_children.emplace_back(static_cast<FlowerObjectComposite*>(c.release()));
    }
    copy->m_childrenMat = m_childrenMat;
    return copy;
}

void SceneRoot::save(TextWriter& out) const {
    out.format("m_childrenMat %d\n", static_cast<int>(m_childrenMat.size()));
    for (const Matrix4& m : m_childrenMat)
        m.writeText(out);
    writeCompositeChildren(out, m_children);
}

std::unique_ptr<SceneRoot> readSceneRoot(RecordInput& input) {
    TextReader& in = input.in;
    auto scene = std::make_unique<SceneRoot>(nextId());
    std::string label;
    int count = 0;
    constexpr size_t kMinMatrixBytes = 32;
    if (!in.word(label) || !in.integer(count) || !in.plausibleCount(count, kMinMatrixBytes))
        return nullptr;
    scene->m_childrenMat.resize(static_cast<size_t>(count));
    for (Matrix4& m : scene->m_childrenMat)
        if (!m.readText(in))
            return nullptr;
    if (!in.word(label) || !in.integer(count) ||
        !readCompositeChildren(input, count, nullptr, scene->m_children))
        return nullptr;
    if (scene->m_children.size() != scene->m_childrenMat.size()) {
        in.fail("the scene's matrices do not match its plants");
        return nullptr;
    }
    return scene;
}
