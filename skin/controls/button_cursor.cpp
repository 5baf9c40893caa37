#include "skin/controls.h"

#include <QPixmap>

namespace {

struct CursorHotSpot {
  unsigned id;
  int x;
  int y;
};

// Hot spots of the cursor pictures, written by the artwork generator.
constexpr CursorHotSpot kHotSpots[] = {
#ifdef QUILLORY_SKIN_HAS_CURSORS
#include "art/cursors.inc"
#endif
    {0, 0, 0}};

// The generator's table first; then PNG text entries ("HotX", "hotspot-y"
// ...); without either, the tip is the top-left corner.
QPoint HotSpotOf(unsigned id, const QImage& image) {
  for (const CursorHotSpot& entry : kHotSpots)
    if (entry.id == id && id != 0) return QPoint(entry.x, entry.y);
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

QCursor LoadCursorResource(unsigned id, Qt::CursorShape fallback) {
  InitSkinResources();
  QImage image;
  if (!image.load(SkinResourcePath(QString::fromLatin1(kResCur), id))) return QCursor(fallback);
  const QPoint hot = HotSpotOf(id, image);
  return QCursor(QPixmap::fromImage(image), hot.x(), hot.y());
}

const QCursor& ButtonCursor() {
  static const QCursor cursor = LoadCursorResource(IDC_BUTTON_CURSOR, Qt::PointingHandCursor);
  return cursor;
}
