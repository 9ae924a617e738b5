#pragma once

#include "interaction/Stroke.h"
#include "math/Rgba.h"
#include "model/DrawContext.h"
#include "model/IdCounter.h"
#include "model/Parameters.h"
#include "model/PickColour.h"
#include "model/SceneNode.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Kind codes of the plant objects, fixed by their class.
enum NodeKind : int {
    kKindPistil = 0,
    kKindStamen = 1,
    kKindPetal = 2, // also leaves and sepals
    kKindStem = 3,
    kKindTorus = 4,
    kKindComposite = 5,
    kKindSketch = 6,
};

// Every editable plant object: an organ, a flower head, a free sketch or a branching
// composite. It adds the material, the texture binding, the main axis curve, the
// owned pen strokes and the editing operations to the node.
class FlowerObjectNode : public SceneNode {
public:
    FlowerObjectNode(int nodeId, int nodeKind) : SceneNode(nodeId), kind(nodeKind) {}

    // Takes the RGB of the three colours and the shininess; every alpha becomes 0.4.
    virtual void setMaterial(const Rgba& newDiffuse, const Rgba& newSpecular,
                             const Rgba& newAmbient, float newShininess);
    // Binds textures by cache index (-1 for none) and forgets the image paths kept
    // from a library whose images could not be loaded: the user chose anew.
    virtual void setTexture(bool textured, int front, int back);
    // Re-sketch: replace or bend the defining curve with a new pen stroke.
    virtual void reshapeByStroke(const Stroke& stroke) = 0;
    // Uniform scaling of the curves and geometry.
    virtual void scale(double factor) = 0;
    // A deep copy with a fresh id from the id counter.
    virtual std::unique_ptr<FlowerObjectNode> clone(IdCounter& ids) const = 0;
    // A drag of the picked sub-part (row, column) to `point`; a part rebuilt by the
    // drag takes its widths from `parameters`.
    virtual void editByPick(int row, int column, const Vector3& point,
                            const Parameters& parameters) = 0;
    // Widens the box that starts at the origin by every vertex under `matrix`, so
    // the box always contains the target frame's origin. Callers pass flag = true.
    virtual void boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix,
                             bool flag) const = 0;

    // The sketch type of a free sketch (0 branch, 1 flower, 2 leaf or petal), -1 for
    // every other object: lets containers compare sketch structure without knowing
    // the sketch class.
    virtual int sketchType() const { return -1; }

    // The identity of what drawSolid shows under `draw` outside the pick snapshot:
    // equal for objects that draw alike (a clone and its original, however placed),
    // 0 for an object that is never drawn from a shared list. Remembered for the
    // draw's model version, or without one for the frame of its detail record;
    // computed afresh without a detail record.
    std::uint64_t drawingKey(const DrawContext& draw) const;

    // Draws every owned stroke translucently at width 2 while the display switches
    // show organ strokes; nothing in the pick snapshot.
    void drawStrokes(const DrawContext& draw) const;
    // The colour of the whole object (or of one of its parts) in the pick snapshot.
    PickColour pickColour(const DrawContext& draw, int a = 0, int b = 0,
                          bool twoIndexPart = false, bool oneIndexPart = false) const {
        return pickColourOf(id, a, b, twoIndexPart, oneIndexPart, draw.pickKeys);
    }
    // The state of the picking pass: blending and lighting off, flat shading, and the
    // whole object's pick colour.
    void beginPickingPass(const DrawContext& draw) const;
    // Whether a texture id names a texture the cache knows; false without a cache.
    static bool textureKnown(const TextureCache* textures, int textureId);
    // Deep copies of the strokes of another node.
    void copyStrokesFrom(const FlowerObjectNode& other);
    // Another node's material (through setMaterial) and texture binding, for a clone.
    void copyMaterialAndTextureFrom(const FlowerObjectNode& other);

    const int kind;
    Rgba diffuse{0.0f, 0.0f, 0.0f, 0.4f};
    Rgba specular{0.0f, 0.0f, 0.0f, 0.4f};
    Rgba ambient{0.0f, 0.0f, 0.0f, 0.4f};
    float shininess = 0.0f;
    bool hasTexture = false;
    int textureFront = -1;
    int textureBack = -1;
    // The image paths a library named for a side whose image could not be loaded (a
    // missing or unreadable file, or no texture cache), kept so that saving the
    // library again still names them; empty when the side has none or its image
    // loaded.
    std::string unloadedFront;
    std::string unloadedBack;
    Stroke mainAxis;
    std::vector<std::unique_ptr<Stroke>> strokes;

protected:
    // What the class adds to its drawing key: its geometry and whatever else its
    // shaded drawing shows beyond the node's material, texture and strokes; 0 when
    // it is never drawn from a shared list.
    virtual std::uint64_t geometryKey(const DrawContext& /*draw*/) const { return 0; }

private:
    mutable std::uint64_t drawingKey_ = 0;
    mutable std::uint64_t drawingKeyVersion_ = 0;
    mutable std::uint64_t drawingKeyFrame_ = 0;
};

// Sets the material of front and back faces for shaded drawing.
void applyMaterial(const Rgba& diffuse, float shininess, const Rgba& specular, const Rgba& ambient);
