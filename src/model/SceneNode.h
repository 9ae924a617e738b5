#pragma once

#include "math/Matrix4.h"

struct DrawContext;
struct ObjExport;
class TextWriter;
struct WriteContext;

// The abstract node of every drawable thing: plant objects and scenes. The views,
// the library and the exporter use these operations without knowing the concrete
// class. The order of the virtual operations is fixed. Every draw pass receives the
// frame's draw context and reads nothing else about the frame.
class SceneNode {
public:
    explicit SceneNode(int nodeId) : id(nodeId) {}
    SceneNode(const SceneNode&) = delete;
    SceneNode& operator=(const SceneNode&) = delete;

    // Curves and wire frame (the "Show Wire Frame" display).
    virtual void drawWireframe(const DrawContext& draw) = 0;
    // Shaded with material or textures; flat pick colours in the pick snapshot.
    virtual void drawSolid(const DrawContext& draw) = 0;
    // Editable control points ("Show Control Points").
    virtual void drawControlPoints(const DrawContext& draw) = 0;
    // Bare geometry in whatever colour the caller set.
    virtual void drawPlain(const DrawContext& draw) = 0;
    // See-through context (blended, no depth writes); nothing in the pick snapshot.
    virtual void drawTranslucent(const DrawContext& draw) = 0;
    // Guides drawn after the object.
    virtual void drawOverlay(const DrawContext& draw) = 0;
    virtual ~SceneNode() = default;
    // Appends the geometry under `matrix` to an export's OBJ and MTL text;
    // `vertexCount` is the number of vertices the OBJ file holds so far, the result
    // the new number.
    virtual int exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) = 0;
    // Writes the body of the node's library record.
    virtual void save(TextWriter& out, const WriteContext& context) const = 0;

    // The object identity, fresh from the id counter for every node.
    int id;
};
