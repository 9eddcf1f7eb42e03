#pragma once
// Rendering station windows offscreen, and judging the result.

#include <QImage>
#include <QRect>
#include <QString>

class QWidget;

namespace zek::shots {

// The widget as it paints now, at its own size.
QImage Render(QWidget& widget);

// Pixels of `area` that differ from the colour of its top-left pixel: 0
// for a blank area, more the more is drawn there.
int InkPixels(const QImage& image, const QRect& area);

// Pixels of `area` that differ between two renderings of one size.
int ChangedPixels(const QImage& a, const QImage& b, const QRect& area);

// Saves as PNG; false when it cannot.
bool SavePng(const QImage& image, const QString& path);

}  // namespace zek::shots
