#include "tools/window-shots/window_render.h"

#include <QPixmap>
#include <QWidget>

namespace zek::shots {

QImage Render(QWidget& widget) {
  widget.ensurePolished();
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int InkPixels(const QImage& image, const QRect& area) {
  const QRect inside = area.intersected(image.rect());
  if (inside.isEmpty()) return 0;
  const QRgb background = image.pixel(inside.topLeft());
  int ink = 0;
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x) ink += image.pixel(x, y) != background ? 1 : 0;
  return ink;
}

int ChangedPixels(const QImage& a, const QImage& b, const QRect& area) {
  if (a.size() != b.size()) return area.width() * area.height();
  const QRect inside = area.intersected(a.rect());
  int changed = 0;
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x) changed += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  return changed;
}

bool SavePng(const QImage& image, const QString& path) { return image.save(path, "PNG"); }

}  // namespace zek::shots
