#pragma once

#include <string>

class FlowerTorusNode;

// Writes the floral diagram of the receptacle to `path` as an SVG picture: every
// slot's glyph as the library view draws it, around the centre of the picture, and
// the floral formula as a caption below. False, with `error` saying why, when the
// file cannot be written; an earlier file at `path` is then left as it was.
bool writeFloralDiagramSvg(const FlowerTorusNode& receptacle, const std::string& path,
                           std::string& error);
