#include "model/RecordBlocks.h"

#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/FlowerObjectNode.h"
#include "model/ReadContext.h"
#include "model/TextureCache.h"

#include <string>

namespace {

// "0 0 0 0\n": the shortest text a point line can have.
constexpr size_t kMinPointBytes = 8;
constexpr size_t kMaxTextureLine = 255;

void writeColourLine(TextWriter& out, std::string_view label, const Rgba& c) {
    out.format("%s %f %f %f %f\n", label, c.r, c.g, c.b, c.a);
}

bool readColourLine(TextReader& in, Rgba& c) {
    std::string label;
    return in.word(label) && in.real(c.r) && in.real(c.g) && in.real(c.b) && in.real(c.a);
}

// The name of a side's image: the path the cache loaded it from, else the path kept
// from a library whose image could not be loaded, else NON.
std::string textureName(bool textured, int textureId, const std::string& unloaded,
                        const WriteContext& context) {
    if (textured && FlowerObjectNode::textureKnown(context.textures, textureId))
        return context.storedPath(context.textures->path(textureId));
    if (!unloaded.empty())
        return context.storedPath(unloaded);
    return "NON";
}

// The rest of a texture line: the name after the separating blank. Gives the cache
// index, or -1 with the resolved path in `unloaded` when the image named could not
// be loaded.
int readTextureLine(TextReader& in, const ReadContext& context, std::string& unloaded) {
    unloaded.clear();
    std::string label;
    if (!in.word(label))
        return -1;
    std::string name = in.restOfLine(kMaxTextureLine);
    if (!name.empty())
        name.erase(0, 1);
    if (!name.empty() && name.back() == '\r')
        name.pop_back();
    if (name == "NON" || name.empty())
        return -1;
    const int texture = context.loadTexture(name);
    if (texture < 0)
        unloaded = context.resolvedPath(name);
    return texture;
}

} // namespace

void writeColourBlock(TextWriter& out, const Rgba& diffuse, const Rgba& specular,
                      const Rgba& ambient, float shininess) {
    writeColourLine(out, "diffuse", diffuse);
    writeColourLine(out, "specular", specular);
    writeColourLine(out, "ambient", ambient);
    out.format("shininess %f\n", shininess);
}

void writeColourBlock(TextWriter& out, const FlowerObjectNode& node) {
    writeColourBlock(out, node.diffuse, node.specular, node.ambient, node.shininess);
}

bool readColourBlock(TextReader& in, MaterialBlock& block) {
    std::string label;
    return readColourLine(in, block.diffuse) && readColourLine(in, block.specular) &&
           readColourLine(in, block.ambient) && in.word(label) && in.real(block.shininess);
}

bool readNodeColours(TextReader& in, FlowerObjectNode& node) {
    MaterialBlock block;
    if (!readColourBlock(in, block))
        return false;
    node.setMaterial(block.diffuse, block.specular, block.ambient, block.shininess);
    return true;
}

void writeTextureBlock(TextWriter& out, const FlowerObjectNode& node, const WriteContext& context) {
    out.format("textureFront %s\n",
               textureName(node.hasTexture, node.textureFront, node.unloadedFront, context));
    out.format("textureBack %s\n",
               textureName(node.hasTexture, node.textureBack, node.unloadedBack, context));
}

bool readTextureBlock(TextReader& in, const ReadContext& context, FlowerObjectNode& node) {
    node.textureFront = readTextureLine(in, context, node.unloadedFront);
    node.textureBack = readTextureLine(in, context, node.unloadedBack);
    // Index 0 is the first texture loaded: any valid index turns texturing on.
    node.hasTexture = node.textureFront >= 0 || node.textureBack >= 0;
    return in.ok();
}

void writePointList(TextWriter& out, std::string_view heading, const PointList& points) {
    out.format("%s %d\n", heading, static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
        out.format("%d %f %f %f\n", static_cast<int>(i), points[i].x, points[i].y, points[i].z);
}

bool readPointList(TextReader& in, PointList& points) {
    std::string label;
    int count = 0;
    return in.word(label) && in.integer(count) && readPoints(in, count, points);
}

bool readPoints(TextReader& in, int count, PointList& points) {
    if (!in.plausibleCount(count, kMinPointBytes))
        return false;
    points.reserve(points.size() + static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        int index = 0;
        Vector3 p;
        if (!in.integer(index) || !in.real(p.x) || !in.real(p.y) || !in.real(p.z))
            return false;
        points.push_back(p);
    }
    return true;
}

bool skipWords(TextReader& in, int count) {
    std::string word;
    for (int i = 0; i < count; ++i)
        if (!in.word(word))
            return false;
    return true;
}
