#include "skin/controls.h"

#include <QPixmap>

namespace {

// Cursor pictures may carry their hot spot as PNG text entries ("HotX",
// "hotspot-x"...); without them the tip is the top-left corner.
QPoint HotSpotOf(const QImage& image) {
  QPoint hot(0, 0);
  for (const QString& key : image.textKeys()) {
    const QString lower = key.toLower();
    if (!lower.contains(QLatin1String("hot"))) continue;
    bool ok = false;
    const int value = image.text(key).trimmed().toInt(&ok);
    if (!ok) continue;
    if (lower.endsWith(QLatin1Char('x'))) hot.setX(value);
    if (lower.endsWith(QLatin1Char('y'))) hot.setY(value);
  }
  return hot;
}

}  // namespace

const QCursor& ButtonCursor() {
  static const QCursor cursor = [] {
    QImage image;
    InitSkinResources();
    const QString path = SkinResourcePath(QString::fromLatin1(kResCur), IDC_BUTTON_CURSOR);
    if (!image.load(path)) return QCursor(Qt::PointingHandCursor);
    const QPoint hot = HotSpotOf(image);
    return QCursor(QPixmap::fromImage(image), hot.x(), hot.y());
  }();
  return cursor;
}
