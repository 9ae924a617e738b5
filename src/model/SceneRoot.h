#pragma once

#include "model/FlowerObjectComposite.h"
#include "model/SceneNode.h"

#include <memory>
#include <vector>

struct RecordInput;

// Where an object stands in a scene.
struct SceneLookup {
    bool found = false;
    // The top-level plant that is or contains the object.
    FlowerObjectComposite* plant = nullptr;
    FlowerObjectNode* object = nullptr;
    // The composite holding the object; null when the object is the plant itself.
    FlowerObjectComposite* holder = nullptr;
    // The object's model matrix in the scene.
    Matrix4 matrix;
};

// The nearest plant part to a picking ray, in scene coordinates.
struct ScenePick {
    double distance = 1000000.0;
    Vector3 point;
    int objectId = -1;
    int pointIndex = -1;
    bool atTip = false;
    // The model matrix of the hit object.
    Matrix4 matrix;
    // The plant that holds it and that plant's matrix.
    int plantIndex = -1;
    Matrix4 plantMatrix;
};

// A scene: plants (composites), each standing at its own place.
class SceneRoot : public SceneNode {
public:
    explicit SceneRoot(int nodeId) : SceneNode(nodeId) {}

    void drawWireframe(const DrawContext& draw) override;
    void drawSolid(const DrawContext& draw) override;
    void drawControlPoints(const DrawContext&) override {}
    void drawPlain(const DrawContext&) override {}
    void drawTranslucent(const DrawContext& draw) override;
    void drawOverlay(const DrawContext& draw) override;
    // Every plant under its place in the scene.
    int exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) override;
    void save(TextWriter& out, const WriteContext& context) const override;

    // Plants `plant` on the stroke: its axis re-fitted to the stroke moved to the
    // origin and turned upright, the plant placed at the stroke's first point.
    void plantAlongStroke(std::unique_ptr<FlowerObjectComposite> plant, const Stroke& stroke);
    bool removePlant(int objectId);
    // The eraser on a part that `holder`, a composite of this scene, holds (its
    // removePart). A composite the removal leaves without segments goes from its own
    // holder in turn, and a plant left without segments leaves the scene.
    bool removePart(FlowerObjectComposite& holder, int objectId);
    SceneLookup findInScene(int objectId) const;
    // The nearest part over every plant; 1000000 for an empty scene.
    ScenePick pickNearest(const Vector3& origin, const Vector3& direction) const;
    std::unique_ptr<SceneRoot> clone(IdCounter& ids) const;

    // A plant and where it stands in the scene.
    struct Plant {
        std::unique_ptr<FlowerObjectComposite> composite;
        Matrix4 placement;
    };
    std::vector<Plant> plants;
};

std::unique_ptr<SceneRoot> readSceneRoot(RecordInput& input);
