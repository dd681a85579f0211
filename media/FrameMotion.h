#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace velarix {

// Pictures are compared as thumbnails that fit this square.
inline constexpr int kThumbnailEdge = 96;

// The size of a w × h picture scaled to fit 96 × 96, each side rounded half away from zero and at
// least one pixel.
QSize thumbnailSize(int width, int height);

struct FrameMotionResult {
    double motion = 0;    // mean absolute luminance difference to the reference, 0 … 1
    QByteArray luminance; // one byte per thumbnail pixel, row by row: the next frame's reference
};

// Draws the image into its thumbnail and compares its luminance with the previous frame's. Without a
// reference, or with one of another pixel count, the motion is 0.
FrameMotionResult frameMotion(const QImage& image, const QByteArray& previousLuminance = {});

} // namespace velarix
