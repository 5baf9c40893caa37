#include "gallery.h"

#include "skin/render.h"

#include <QDirIterator>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollArea>

#include <map>
#include <vector>

namespace {

struct CatalogEntry {
  const char* kind;
  int id;
  int width;
  int height;
};

std::vector<CatalogEntry> Catalog() {
#ifdef QUILLORY_HAVE_CATALOG
  return {
#include "art/catalog.inc"
  };
#else
  // Without the generator's table, list what the resources hold.
  std::vector<CatalogEntry> entries;
  static const char* const kinds[] = {"png", "bmp", "cur", "ico"};
  InitSkinResources();
  for (const char* kind : kinds) {
    QDirIterator it(QStringLiteral(":/%1").arg(QLatin1String(kind)));
    while (it.hasNext()) {
      const QString name = QFileInfo(it.next()).baseName();
      entries.push_back({kind, name.toInt(), 0, 0});
    }
  }
  return entries;
#endif
}

// The roles written beside each line of the catalog, for the labels.
std::map<int, QString> Roles() {
  std::map<int, QString> roles;
  QFile file(QStringLiteral(QUILLORY_ART_DIR "/catalog.inc"));
  if (!file.open(QIODevice::ReadOnly)) return roles;
  static const QRegularExpression line(QStringLiteral("\\{\"(\\w+)\",\\s*(\\d+),.*//\\s*(.*)$"));
  for (const QByteArray& raw : file.readAll().split('\n')) {
    const auto m = line.match(QString::fromUtf8(raw));
    if (m.hasMatch()) roles[m.captured(2).toInt()] = m.captured(3).trimmed();
  }
  return roles;
}

QString TypeOf(const char* kind) { return QString::fromLatin1(kind).toUpper(); }

class PicturePage : public QWidget {
 public:
  PicturePage() {
    const auto roles = Roles();
    for (const CatalogEntry& entry : Catalog()) {
      Tile tile;
      tile.entry = entry;
      LoadPngResource(static_cast<unsigned>(entry.id), TypeOf(entry.kind), &tile.image);
      const auto role = roles.find(entry.id);
      tile.role = role != roles.end() ? role->second : QString();
      m_tiles.push_back(tile);
    }
    Layout(1880);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x3a, 0x3d, 0x44));
    QFont small = font();
    small.setPointSize(7);
    painter.setFont(small);
    for (const Tile& tile : m_tiles) {
      DrawChecker(painter, tile.picture);
      if (!tile.image.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(tile.picture, tile.image);
      }
      const bool sizeOk = tile.image.size() == QSize(tile.entry.width, tile.entry.height) ||
                          tile.entry.width == 0;
      painter.setPen(tile.image.isNull() || !sizeOk ? QColor(255, 90, 90) : QColor(230, 230, 230));
      const QString label = QStringLiteral("%1 %2  %3×%4%5")
                                .arg(QLatin1String(tile.entry.kind))
                                .arg(tile.entry.id)
                                .arg(tile.image.width())
                                .arg(tile.image.height())
                                .arg(tile.image.isNull() ? QStringLiteral(" MISSING") : QString());
      painter.drawText(QRect(tile.picture.left(), tile.picture.bottom() + 2, tile.cell.width(), 12),
                       Qt::AlignLeft, label);
      painter.drawText(QRect(tile.picture.left(), tile.picture.bottom() + 13, tile.cell.width(), 12),
                       Qt::AlignLeft, painter.fontMetrics().elidedText(tile.role, Qt::ElideRight,
                                                                       tile.cell.width()));
    }
  }

 private:
  struct Tile {
    CatalogEntry entry;
    QImage image;
    QString role;
    QRect cell;
    QRect picture;
  };

  static void DrawChecker(QPainter& painter, const QRect& area) {
    const int step = 8;
    for (int y = area.top(); y <= area.bottom(); y += step)
      for (int x = area.left(); x <= area.right(); x += step) {
        const bool dark = ((x - area.left()) / step + (y - area.top()) / step) % 2 == 0;
        painter.fillRect(QRect(x, y, step, step).intersected(area),
                         dark ? QColor(150, 150, 150) : QColor(200, 200, 200));
      }
  }

  // Rows of tiles; pictures larger than 220 × 220 are shown scaled down.
  void Layout(int width) {
    const int gap = 10;
    const int label = 26;
    int x = gap, y = gap, rowHeight = 0;
    for (Tile& tile : m_tiles) {
      QSize shown = tile.image.isNull() ? QSize(40, 40) : tile.image.size();
      if (shown.width() > 220 || shown.height() > 220) shown.scale(220, 220, Qt::KeepAspectRatio);
      const QSize cell(qMax(shown.width(), 110), shown.height() + label);
      if (x + cell.width() > width) {
        x = gap;
        y += rowHeight + gap;
        rowHeight = 0;
      }
      tile.cell = QRect(QPoint(x, y), cell);
      tile.picture = QRect(QPoint(x, y), shown);
      x += cell.width() + gap;
      rowHeight = qMax(rowHeight, cell.height());
    }
    setMinimumSize(width, y + rowHeight + gap);
  }

  std::vector<Tile> m_tiles;
};

}  // namespace

QWidget* MakePicturePage() {
  auto* scroll = new QScrollArea;
  scroll->setWidget(new PicturePage);
  return scroll;
}
