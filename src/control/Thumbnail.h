#pragma once

#include "math/Rgba.h"

#include <QImage>

#include <cstdint>
#include <vector>

struct DrawContext;
class SceneNode;
class TOGL;

// A rendered frame as the thumbnail framing reads it: one RGBA value per pixel
// (red in the low byte), rows bottom-up as OpenGL reads them.
struct FrameColours {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    // The background, packed as R + 256 G + 65536 B with each channel 0..255.
    std::uint32_t clearColour = 0xFFFFFF;

    // The pixel in window coordinates (top row first); the clear colour outside.
    std::uint32_t at(int x, int y) const;
};

constexpr int kThumbnailSize = 70;
// The light, neutral ground every tile shows its object on, the "nothing" tile's too.
constexpr Rgba kTileBackground{236.0f / 255.0f, 236.0f / 255.0f, 228.0f / 255.0f, 1.0f};

// Frames the drawn part of a frame into a 70 x 70 tile with a grey border: the box
// of pixels that differ from the background by more than 2 in a channel (the whole
// frame when none does) is widened to a square with a small margin on every side,
// and each tile pixel inside the border shows the frame pixels it covers mixed
// into one, so that a frame drawn larger than the tile comes out smooth. Where the
// square reaches beyond the frame the background shows.
QImage frameThumbnail(const FrameColours& frame);

// The tile under key -1 of every library category: the "nothing" entry that
// dropping a thumbnail on deletes it.
QImage nothingTile();

// Renders `object` alone into a tile, lit as the views light it, on the tiles'
// background: solid, no control points, no wire frame, seen from in front and a
// little above with the camera drawn back until the object's box fits the frame,
// so that a tiny organ and a tall plant alike fill the tile. The context's camera
// is left as it was and nothing of the controller changes. A blank tile without a
// context. `records` are the drawing records of the object's owner (see
// TOGL::frameContext).
QImage renderThumbnail(SceneNode& object, TOGL* context, const DrawContext& records);
