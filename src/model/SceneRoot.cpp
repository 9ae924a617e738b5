#include "model/SceneRoot.h"

#include "interaction/OpenGL.h"
#include "interaction/StrokeGeometry.h"
#include "model/ContainerRecord.h"
#include "model/DrawDetail.h"
#include "model/ReadContext.h"

namespace {

using Plant = SceneRoot::Plant;

const PartList<Plant, Matrix4> kPlacements{"m_childrenMat", &Plant::placement};
const char* const kPlantsHeading = "m_children";

template <typename Draw> void drawPlants(const SceneRoot& scene, Draw draw) {
    for (const Plant& plant : scene.plants) {
        glPushMatrix();
        glMultMatrixd(plant.placement.data());
        draw(*plant.composite);
        glPopMatrix();
    }
}

} // namespace

void SceneRoot::drawWireframe(const DrawContext& draw) {
    drawPlants(*this, [&](FlowerObjectComposite& p) { p.drawWireframe(draw); });
}

void SceneRoot::drawSolid(const DrawContext& draw) {
    drawPlants(*this, [&](FlowerObjectComposite& p) { drawSolidAtDetail(p, draw); });
}

void SceneRoot::drawTranslucent(const DrawContext& draw) {
    drawPlants(*this, [&](FlowerObjectComposite& p) { drawTranslucentInView(p, draw); });
}

void SceneRoot::drawOverlay(const DrawContext& draw) {
    drawPlants(*this, [&](FlowerObjectComposite& p) { p.drawOverlay(draw); });
}

int SceneRoot::exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) {
    for (const Plant& plant : plants)
        vertexCount = plant.composite->exportObj(out, matrix * plant.placement, vertexCount);
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
    plants.push_back(
        {std::move(plant), Matrix4::translation(start) * rotationBetween(up, d).matrix});
}

bool SceneRoot::removePlant(int objectId) {
    for (auto plant = plants.begin(); plant != plants.end(); ++plant)
        if (plant->composite->id == objectId) {
            plants.erase(plant);
            return true;
        }
    return false;
}

bool SceneRoot::removePart(FlowerObjectComposite& holder, int objectId) {
    using Removal = FlowerObjectComposite::Removal;
    Removal removal = holder.removePart(objectId);
    const bool removed = removal != Removal::None;
    // Each emptied composite is removed by the one that holds it, never by itself.
    for (FlowerObjectComposite* emptied = &holder; removal == Removal::Emptied;) {
        FlowerObjectComposite* const owner = emptied->parent;
        if (!owner) {
            removePlant(emptied->id);
            break;
        }
        removal = owner->removePart(emptied->id);
        emptied = owner;
    }
    return removed;
}

SceneLookup SceneRoot::findInScene(int objectId) const {
    for (const Plant& plant : plants) {
        FlowerObjectComposite* composite = plant.composite.get();
        if (composite->id == objectId)
            return {true, composite, composite, nullptr, plant.placement};
        const CompositeLookup inner = composite->findChild(objectId);
        if (inner.found)
            return {true, composite, inner.object, inner.holder, plant.placement * inner.matrix};
    }
    return {};
}

ScenePick SceneRoot::pickNearest(const Vector3& origin, const Vector3& direction) const {
    ScenePick best;
    for (size_t i = 0; i < plants.size(); ++i) {
        const Matrix4& placement = plants[i].placement;
        const Matrix4 toPlant = inverted(placement);
        const CompositeRayHit hit = plants[i].composite->distanceToRay(
            transformPoint(toPlant, origin), unit(toPlant.rotateVector(direction)));
        if (hit.objectId < 0 || hit.distance >= best.distance)
            continue;
        best.distance = hit.distance;
        best.point = transformPoint(placement, hit.point);
        best.objectId = hit.objectId;
        best.pointIndex = hit.pointIndex;
        best.atTip = hit.atTip;
        best.matrix = placement * hit.matrix;
        best.plantIndex = static_cast<int>(i);
        best.plantMatrix = placement;
    }
    return best;
}

std::unique_ptr<SceneRoot> SceneRoot::clone(IdCounter& ids) const {
    auto copy = std::make_unique<SceneRoot>(ids.nextId());
    for (const Plant& plant : plants)
        copy->plants.push_back({asComposite(plant.composite->clone(ids)), plant.placement});
    return copy;
}

void SceneRoot::save(TextWriter& out, const WriteContext& context) const {
    writePartList(out, kPlacements, plants);
    writeChildren(out, kPlantsHeading, plants, &Plant::composite, context);
}

std::unique_ptr<SceneRoot> readSceneRoot(RecordInput& input) {
    auto scene = std::make_unique<SceneRoot>(input.context.ids.nextId());
    PartListReader<Plant> lists(scene->plants);
    std::vector<std::unique_ptr<FlowerObjectNode>> plants;
    if (!lists.read(input.in, kPlacements) || !readChildren(input, nullptr, true, plants))
        return nullptr;
    if (!lists.give(std::move(plants), &Plant::composite)) {
        input.in.fail("the scene's matrices do not match its plants");
        return nullptr;
    }
    return scene;
}
