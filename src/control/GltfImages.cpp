#include "control/GltfImages.h"

#include <QBuffer>
#include <QImage>

bool gltfImageFromFile(const std::string& path, GltfImage& image, std::string& error) {
    if (readGltfImage(path, image, error))
        return true;
    const QImage picture(QString::fromStdString(path));
    if (picture.isNull())
        return false;
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    if (!picture.save(&png, "PNG")) {
        error = path + ": the image could not be converted to PNG";
        return false;
    }
    error.clear();
    image.bytes = png.data().toStdString();
    image.mimeType = "image/png";
    return true;
}
