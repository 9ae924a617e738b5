#include "model/FlowerObjectNode.h"

#include "interaction/OpenGL.h"
#include "math/ContentHash.h"
#include "model/ModelContext.h"
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
}

std::uint64_t FlowerObjectNode::drawingKey(std::uint64_t frame) const {
    if (frame != 0 && frame == drawingKeyFrame_)
        return drawingKey_;
    drawingKeyFrame_ = frame;
    drawingKey_ = 0;
    const std::uint64_t geometry = geometryKey(frame);
    if (geometry == 0)
        return 0;
    ContentHash hash;
    hash.add(kind).add(geometry).add(diffuse).add(specular).add(ambient).add(shininess);
    hash.add(hasTexture).add(textureFront).add(textureBack);
    hash.add(textureKnown(textureFront)).add(textureKnown(textureBack));
    const bool strokesShown = displaySwitches().drawStrokes;
    hash.add(strokesShown);
    if (strokesShown)
        for (const auto& stroke : strokes)
            hash.add(stroke->points).add(stroke->color);
    drawingKey_ = hash.value();
    return drawingKey_;
}

void FlowerObjectNode::drawStrokes() const {
    for (const auto& stroke : strokes)
        stroke->drawTranslucent(2.0f);
}

void FlowerObjectNode::beginPickingPass() const {
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    const PickColour c = pickColour();
    glColor3ub(c.red, c.green, c.blue);
}

bool FlowerObjectNode::textureKnown(int textureId) {
    TextureCache* cache = textureCache();
    return textureId >= 0 && cache && cache->has(textureId);
}

void FlowerObjectNode::copyStrokesFrom(const FlowerObjectNode& other) {
    strokes.clear();
    for (const auto& stroke : other.strokes)
        strokes.push_back(std::make_unique<Stroke>(*stroke));
}

void FlowerObjectNode::copyMaterialAndTextureFrom(const FlowerObjectNode& other) {
    setMaterial(other.diffuse, other.specular, other.ambient, other.shininess);
    setTexture(other.hasTexture, other.textureFront, other.textureBack);
}

void applyMaterial(const Rgba& diffuse, float shininess, const Rgba& specular,
                   const Rgba& ambient) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse.data());
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient.data());
}
