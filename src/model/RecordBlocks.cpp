#include "model/RecordBlocks.h"

#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/FlowerObjectNode.h"
#include "model/ModelContext.h"
#include "model/TextureCache.h"
#include "model/TexturePaths.h"

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

std::string textureName(bool textured, int textureId) {
    TextureCache* cache = textureCache();
    if (!textured || textureId < 0 || !cache || !cache->has(textureId))
        return "NON";
    return storedTexturePath(cache->path(textureId));
}

// The rest of a texture line: the name after the separating blank, or -1 for NON.
int readTextureLine(TextReader& in) {
    std::string label;
    if (!in.word(label))
        return -1;
    std::string name = in.restOfLine(kMaxTextureLine);
    if (!name.empty())
        name.erase(0, 1);
    if (!name.empty() && name.back() == '\r')
        name.pop_back();
    TextureCache* cache = textureCache();
    if (name == "NON" || name.empty() || !cache)
        return -1;
    return cache->load(resolvedTexturePath(name));
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

void writeTextureBlock(TextWriter& out, const FlowerObjectNode& node) {
    out.format("textureFront %s\n", textureName(node.hasTexture, node.textureFront));
    out.format("textureBack %s\n", textureName(node.hasTexture, node.textureBack));
}

bool readTextureBlock(TextReader& in, FlowerObjectNode& node) {
    node.textureFront = readTextureLine(in);
    node.textureBack = readTextureLine(in);
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
