#include "media/FrameMotion.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace velarix {

QSize thumbnailSize(int width, int height) {
    const double w = std::max(width, 1);
    const double h = std::max(height, 1);
    const double scale = std::min(kThumbnailEdge / w, kThumbnailEdge / h);
    // std::lround rounds halves away from zero.
    return QSize(std::max(1L, std::lround(w * scale)), std::max(1L, std::lround(h * scale)));
}

FrameMotionResult frameMotion(const QImage& image, const QByteArray& previousLuminance) {
    const QSize size = thumbnailSize(image.width(), image.height());
    QImage thumbnail(size, QImage::Format_RGBA8888_Premultiplied);
    thumbnail.fill(Qt::transparent);
    if (!image.isNull()) {
        QPainter painter(&thumbnail);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRect(QPoint(0, 0), size), image);
    }

    const int pixels = size.width() * size.height();
    FrameMotionResult result;
    result.luminance.resize(pixels);
    auto* luminance = reinterpret_cast<uchar*>(result.luminance.data());
    for (int y = 0; y < size.height(); ++y) {
        const uchar* rgba = thumbnail.constScanLine(y);
        for (int x = 0; x < size.width(); ++x, rgba += 4) {
            const double value = 0.299 * rgba[0] + 0.587 * rgba[1] + 0.114 * rgba[2];
            luminance[y * size.width() + x] = uchar(std::clamp(std::lround(value), 0L, 255L));
        }
    }

    if (previousLuminance.size() == pixels) {
        const auto* reference = reinterpret_cast<const uchar*>(previousLuminance.constData());
        double sum = 0;
        for (int i = 0; i < pixels; ++i)
            sum += std::abs(int(luminance[i]) - int(reference[i])) / 255.0;
        result.motion = sum / pixels;
    }
    return result;
}

} // namespace velarix
