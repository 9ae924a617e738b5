#include "control/Thumbnail.h"

#include "gl/TOGL.h"
#include "interaction/FrameLights.h"
#include "interaction/OpenGL.h"
#include "model/FlowerObjectNode.h"
#include "model/LocalBox.h"
#include "model/SceneRoot.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

constexpr int kBackgroundTolerance = 2;
// The tile's one-pixel border, and the square inside it that shows the frame.
const QRgb kTileBorder = qRgb(150, 150, 146);
constexpr int kInside = kThumbnailSize - 2;
// The share of the square left free on each side of the object's pixels.
constexpr double kMargin = 0.05;
// The tile's camera looks down on the object from this far above the horizon, along
// -z as the main view's home camera does, through this vertical field of view.
constexpr double kElevation = 22.0 * std::numbers::pi / 180.0;
constexpr double kFieldOfViewY = 30.0;

int channel(std::uint32_t value, int index) {
    return static_cast<int>((value >> (8 * index)) & 0xFF);
}

bool nearColour(std::uint32_t a, std::uint32_t b) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(channel(a, c) - channel(b, c)) > kBackgroundTolerance)
            return false;
    return true;
}

std::uint32_t packed(const Rgba& colour) {
    const auto byte = [](float v) { return static_cast<std::uint32_t>(std::lround(v * 255.0f)); };
    return byte(colour.r) + 256u * byte(colour.g) + 65536u * byte(colour.b);
}

// The colour a tile pixel shows for the frame pixels that the rectangle [x0, x1) x
// [y0, y1) covers: the mean of those the object drew, over the background by the
// square root of the share they cover. Edges so come out smooth, while a stem or a
// filament thinner than a tile pixel stays plainly visible instead of fading into
// the background as a plain mean would leave it. A rectangle less than a pixel
// across takes the pixel under its middle.
QRgb tilePixel(const FrameColours& frame, double x0, double y0, double x1, double y1) {
    const std::uint32_t background = frame.clearColour;
    if (x1 - x0 < 1.0) {
        const std::uint32_t p = frame.at(static_cast<int>(std::floor(0.5 * (x0 + x1))),
                                         static_cast<int>(std::floor(0.5 * (y0 + y1))));
        return qRgb(channel(p, 0), channel(p, 1), channel(p, 2));
    }
    const int left = static_cast<int>(std::floor(x0)), right = static_cast<int>(std::ceil(x1));
    const int top = static_cast<int>(std::floor(y0)), bottom = static_cast<int>(std::ceil(y1));
    double sum[3] = {0.0, 0.0, 0.0};
    int drawn = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const std::uint32_t p = frame.at(x, y);
            if (nearColour(p, background))
                continue;
            ++drawn;
            for (int c = 0; c < 3; ++c)
                sum[c] += channel(p, c);
        }
    const double weight = std::sqrt(static_cast<double>(drawn) / ((right - left) * (bottom - top)));
    int mixed[3];
    for (int c = 0; c < 3; ++c) {
        const double object = drawn > 0 ? sum[c] / drawn : 0.0;
        mixed[c] = static_cast<int>(
            std::lround(channel(background, c) + (object - channel(background, c)) * weight));
    }
    return qRgb(mixed[0], mixed[1], mixed[2]);
}

// The box around everything `node` draws, in the frame it is drawn in.
LocalBox boxOfNode(const SceneNode& node) {
    LocalBox box;
    if (const auto* object = dynamic_cast<const FlowerObjectNode*>(&node)) {
        object->boundingBox(box.min, box.max, Matrix4(), true);
    } else if (const auto* scene = dynamic_cast<const SceneRoot*>(&node)) {
        for (const SceneRoot::Plant& plant : scene->plants) {
            LocalBox own;
            plant.composite->boundingBox(own.min, own.max, Matrix4(), true);
            const LocalBox placed = placedBox(own, plant.placement);
            widenBox(box.min, box.max, placed.min);
            widenBox(box.min, box.max, placed.max);
        }
    }
    return box;
}

// Puts the camera and the projection of the frame under way where they show the
// whole sphere around `box` in a viewport of `aspect` (width over height).
void frameBox(TOGL& context, const LocalBox& box, double aspect) {
    const Vector3 middle = (box.min + box.max) * 0.5;
    const double radius = std::max(distance(box.min, box.max) * 0.5, 1e-4);
    const double halfFieldY = kFieldOfViewY / 2.0 * std::numbers::pi / 180.0;
    const double halfField = std::min(halfFieldY, std::atan(std::tan(halfFieldY) * aspect));
    const double away = radius / std::sin(halfField);
    context.setCamera(middle + Vector3(0.0, std::sin(kElevation), std::cos(kElevation)) * away,
                      middle, Vector3(0.0, 1.0, 0.0));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfViewY, aspect, away - radius * 1.01, away + radius * 1.01);
    glMatrixMode(GL_MODELVIEW);
}

} // namespace

std::uint32_t FrameColours::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height ||
        pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height))
        return clearColour;
    const int bufferRow = height - 1 - y;
    return pixels[static_cast<size_t>(bufferRow) * static_cast<size_t>(width) +
                  static_cast<size_t>(x)];
}

QImage frameThumbnail(const FrameColours& frame) {
    int left = frame.width, top = frame.height, right = -1, bottom = -1;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if (!nearColour(frame.at(x, y), frame.clearColour)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0) {
        left = 0;
        top = 0;
        right = std::max(frame.width - 1, 0);
        bottom = std::max(frame.height - 1, 0);
    }
    const double side = std::max(right - left + 1, bottom - top + 1) / (1.0 - 2.0 * kMargin);
    const double cornerX = 0.5 * (left + right + 1) - 0.5 * side;
    const double cornerY = 0.5 * (top + bottom + 1) - 0.5 * side;
    const double scale = side / kInside;

    QImage tile(kThumbnailSize, kThumbnailSize, QImage::Format_RGB32);
    tile.fill(kTileBorder);
    for (int y = 0; y < kInside; ++y)
        for (int x = 0; x < kInside; ++x)
            tile.setPixel(x + 1, y + 1,
                          tilePixel(frame, cornerX + x * scale, cornerY + y * scale,
                                     cornerX + (x + 1) * scale, cornerY + (y + 1) * scale));
    return tile;
}

QImage nothingTile() {
    QImage tile(kThumbnailSize, kThumbnailSize, QImage::Format_RGB32);
    tile.fill(kTileBorder);
    QPainter painter(&tile);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(1, 1, kInside, kInside, QColor::fromRgbF(kTileBackground.r, kTileBackground.g,
                                                              kTileBackground.b));
    // An empty flower pot crossed out: the tile that holds nothing.
    painter.setPen(QPen(QColor(150, 110, 80), 3));
    const QPointF pot[] = {{22, 30}, {48, 30}, {44, 54}, {26, 54}};
    painter.drawPolygon(pot, 4);
    painter.setPen(QPen(QColor(190, 40, 40), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(14, 58), QPointF(56, 14));
    return tile;
}

QImage renderThumbnail(SceneNode& object, TOGL* context, const DrawContext& records) {
    FrameColours frame;
    frame.clearColour = packed(kTileBackground);
    if (!context)
        return frameThumbnail(frame);
    const CameraPose camera = context->camera().pose();
    context->beginThumbnail(kTileBackground);
    frame.width = context->thumbnailWidth();
    frame.height = context->thumbnailHeight();
    frameBox(*context, boxOfNode(object), static_cast<double>(frame.width) / frame.height);
    placeFrameLights();
    glPushMatrix();
    object.drawSolid(context->frameContext(records));
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(context->viewTransform().projection.data());
    glMatrixMode(GL_MODELVIEW);
    context->endThumbnail();
    context->setCamera(camera.eye, camera.center, camera.up);
    frame.pixels = context->thumbnailBuffer();
    return frameThumbnail(frame);
}
