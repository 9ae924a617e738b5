#pragma once

#include "math/PointSequence.h"
#include "math/Rgba.h"

#include <string_view>

class FlowerObjectNode;
class TextReader;
class TextWriter;
struct ReadContext;
struct WriteContext;

// The blocks several record bodies share.

struct MaterialBlock {
    Rgba diffuse;
    Rgba specular;
    Rgba ambient;
    float shininess = 0.0f;
};

// "diffuse %f %f %f %f\n", "specular ...", "ambient ...", "shininess %f\n".
void writeColourBlock(TextWriter& out, const Rgba& diffuse, const Rgba& specular,
                      const Rgba& ambient, float shininess);
void writeColourBlock(TextWriter& out, const FlowerObjectNode& node);
// Reads the four lines, labels as tokens not compared; alphas as written.
bool readColourBlock(TextReader& in, MaterialBlock& block);
// Reads a colour block into the node through setMaterial (alphas become 0.4).
bool readNodeColours(TextReader& in, FlowerObjectNode& node);

// "textureFront %s\n" and "textureBack %s\n" with the paths the texture cache loaded
// the images from, or the paths kept for images that could not be loaded (relative
// to the library's folder for images inside it), or NON for none.
void writeTextureBlock(TextWriter& out, const FlowerObjectNode& node, const WriteContext& context);
// Reads both lines; images are loaded through the context's texture cache, and the
// path of one that cannot be loaded is kept on the node.
bool readTextureBlock(TextReader& in, const ReadContext& context, FlowerObjectNode& node);

// A heading with the count ("mainAxis %d\n"), then "%d %f %f %f\n" per point.
void writePointList(TextWriter& out, std::string_view heading, const PointList& points);
// Reads the heading's word and count and the points (indices ignored).
bool readPointList(TextReader& in, PointList& points);
// Skips `count` label words; labels are read as words and not compared.
bool skipWords(TextReader& in, int count);
// Reads the points of a list whose count was read already.
bool readPoints(TextReader& in, int count, PointList& points);
