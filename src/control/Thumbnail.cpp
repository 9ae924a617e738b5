#include "control/Thumbnail.h"

#include "gl/TOGL.h"
#include "interaction/FrameLights.h"
#include "interaction/OpenGL.h"
#include "model/SceneNode.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kSamplesAcross = 66;
constexpr int kBackgroundTolerance = 2;

int channel(std::uint32_t value, int index) {
    return static_cast<int>((value >> (8 * index)) & 0xFF);
}

bool nearColour(std::uint32_t a, std::uint32_t b) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(channel(a, c) - channel(b, c)) > kBackgroundTolerance)
            return false;
    return true;
}

QRgb toRgb(std::uint32_t value) {
    return qRgb(channel(value, 0), channel(value, 1), channel(value, 2));
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
    const int boxWidth = right - left + 1;
    const int boxHeight = bottom - top + 1;
    const int side = std::max(boxWidth, boxHeight);
    int cornerX = left, cornerY = top;
    if (boxWidth < side)
        cornerX = left - (side - boxWidth) / 2;
    else
        cornerY = top - (side - boxHeight) / 2;
    const double scale = static_cast<double>(side) / kSamplesAcross;

    QImage tile(kThumbnailSize, kThumbnailSize, QImage::Format_RGB32);
    const int last = kThumbnailSize - 1;
    for (int y = 0; y < kThumbnailSize; ++y)
        for (int x = 0; x < kThumbnailSize; ++x) {
            const int ring = std::min({x, y, last - x, last - y});
            if (ring == 0) {
                tile.setPixel(x, y, qRgb(0, 0, 0));
                continue;
            }
            if (ring == 1) {
                tile.setPixel(x, y, qRgb(255, 255, 255));
                continue;
            }
            const std::uint32_t sample =
                frame.at(cornerX + static_cast<int>(std::floor(x * scale)),
                         cornerY + static_cast<int>(std::floor(y * scale)));
            tile.setPixel(x, y,
                          nearColour(sample, frame.clearColour) ? qRgb(0, 0, 0) : toRgb(sample));
        }
    return tile;
}

QImage nothingTile() {
    QImage tile(kThumbnailSize, kThumbnailSize, QImage::Format_RGB32);
    tile.fill(qRgb(236, 236, 228));
    QPainter painter(&tile);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 0), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, kThumbnailSize - 1, kThumbnailSize - 1);
    // An empty flower pot crossed out: the tile that holds nothing.
    painter.setPen(QPen(QColor(150, 110, 80), 3));
    const QPointF pot[] = {{22, 30}, {48, 30}, {44, 54}, {26, 54}};
    painter.drawPolygon(pot, 4);
    painter.setPen(QPen(QColor(190, 40, 40), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(14, 58), QPointF(56, 14));
    return tile;
}

QImage renderThumbnail(SceneNode& object, TOGL* context, const DrawContext& records) {
    if (!context)
        return frameThumbnail(FrameColours{});
    const CameraPose camera = context->camera().pose();
    context->resetCamera();
    context->beginThumbnail();
    placeFrameLights();
    glPushMatrix();
    object.drawSolid(context->frameContext(records));
    glPopMatrix();
    context->endThumbnail();
    context->setCamera(camera.eye, camera.center, camera.up);
    FrameColours frame;
    frame.width = context->thumbnailWidth();
    frame.height = context->thumbnailHeight();
    frame.pixels = context->thumbnailBuffer();
    // The colour lookup answers the packed clear colour outside the buffer.
    frame.clearColour = context->thumbnailColour(-1, -1);
    return frameThumbnail(frame);
}
