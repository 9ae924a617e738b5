#pragma once

#include "math/PointSequence.h"
#include "math/Rgba.h"

struct DrawContext;
class FlowerObjectNode;
class StemShape;

// Drawing pieces the organs share.

// The colour main axes are drawn in.
extern const Rgba kAxisColour;

// The polyline as separate segments of `width` in `colour`, flat and unlit.
void drawAxisSegments(const PointList& points, float width, const Rgba& colour);

// A control point: a point of `size` in `colour` (RGB), flat and unlit; in the pick
// snapshot in the pick colour of `node` with the part indices (partA, partB). A part
// index beyond what a pick colour holds (0..30) would name another point when
// clicked, so such a point is left out of the snapshot and cannot be picked.
void drawControlPoint(const DrawContext& draw, const FlowerObjectNode& node, const Vector3& p,
                      float size, int partA, int partB,
                      const Rgba& colour = {1.0f, 0.0f, 0.0f, 1.0f});

// The rule the tube organs share: textured when the texture flag is set and the
// cache knows the texture, otherwise shaded in the given material. A texture the
// cache no longer knows is forgotten (the id becomes -1), so that the organ is drawn
// with its material from then on.
void drawTubeSurface(const DrawContext& draw, const StemShape& tube, bool hasTexture, int& textureId,
                     const Rgba& diffuse, float shininess, const Rgba& specular,
                     const Rgba& ambient);
