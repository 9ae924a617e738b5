#include "model/FlowerObjectNode.h"

#include "interaction/OpenGL.h"
#include "math/ContentHash.h"
#include "model/DrawDetail.h"
#include "model/TextureCache.h"

namespace {

Rgba withAlpha(const Rgba& c, float a) {
    return {c.r, c.g, c.b, a};
}

} // namespace

void FlowerObjectNode::setMaterial(const Rgba& newDiffuse, const Rgba& newSpecular,
                                   const Rgba& newAmbient, float newShininess) {
    diffuse = withAlpha(newDiffuse, 0.4f);
    specular = withAlpha(newSpecular, 0.4f);
    ambient = withAlpha(newAmbient, 0.4f);
    shininess = newShininess;
}

void FlowerObjectNode::setTexture(bool textured, int front, int back) {
    hasTexture = textured;
    textureFront = front;
    textureBack = back;
    unloadedFront.clear();
    unloadedBack.clear();
}

std::uint64_t FlowerObjectNode::drawingKey(const DrawContext& draw) const {
    const std::uint64_t frame = draw.detail ? draw.detail->frame : 0;
    const std::uint64_t version = draw.detail ? draw.modelVersion : 0;
    if (version != 0 ? version == drawingKeyVersion_ : frame != 0 && frame == drawingKeyFrame_)
        return drawingKey_;
    drawingKeyVersion_ = version;
    drawingKeyFrame_ = frame;
    drawingKey_ = 0;
    const std::uint64_t geometry = geometryKey(draw);
    if (geometry == 0)
        return 0;
    ContentHash hash;
    hash.add(kind).add(geometry).add(diffuse).add(specular).add(ambient).add(shininess);
    hash.add(hasTexture);
    for (const int texture : {textureFront, textureBack})
        hash.add(texture).add(std::uint64_t{textureKnown(draw.textures, texture) ? draw.textures->bindingVersion(texture) : 0u});
    const bool strokesShown = draw.display.drawStrokes;
    hash.add(strokesShown);
    if (strokesShown)
        for (const auto& stroke : strokes)
            hash.add(stroke->points).add(stroke->color);
    drawingKey_ = hash.value();
    return drawingKey_;
}

void FlowerObjectNode::drawStrokes(const DrawContext& draw) const {
    if (draw.snapshot || !draw.display.drawStrokes)
        return;
    for (const auto& stroke : strokes)
        stroke->drawTranslucent(2.0f);
}

void FlowerObjectNode::beginPickingPass(const DrawContext& draw) const {
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    const PickColour c = pickColour(draw);
    glColor3ub(c.red, c.green, c.blue);
}

bool FlowerObjectNode::textureKnown(const TextureCache* textures, int textureId) {
    return textureId >= 0 && textures && textures->has(textureId);
}

void FlowerObjectNode::copyStrokesFrom(const FlowerObjectNode& other) {
    strokes.clear();
    for (const auto& stroke : other.strokes)
        strokes.push_back(std::make_unique<Stroke>(*stroke));
}

void FlowerObjectNode::copyMaterialAndTextureFrom(const FlowerObjectNode& other) {
    setMaterial(other.diffuse, other.specular, other.ambient, other.shininess);
    setTexture(other.hasTexture, other.textureFront, other.textureBack);
    unloadedFront = other.unloadedFront;
    unloadedBack = other.unloadedBack;
}

void applyMaterial(const Rgba& diffuse, float shininess, const Rgba& specular,
                   const Rgba& ambient) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse.data());
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient.data());
}
