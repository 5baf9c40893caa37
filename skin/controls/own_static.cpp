#include "skin/controls.h"

#include <QFontMetricsF>
#include <QPainter>

COwnStatic::COwnStatic(int nId, QWidget* parent, const QString& text)
    : QLabel(text, parent), m_nId(nId) {
  setAttribute(Qt::WA_NoSystemBackground);
}

QFont COwnStatic::DrawFont() const {
  QFont drawn(font().family());
  drawn.setPointSize(kPointSize);
  drawn.setWeight(QFont::Normal);
  return drawn;
}

void COwnStatic::DrawInto(QPainter& dc, int x, int y) const {
  const QFont drawn = DrawFont();
  const QFontMetricsF fm(drawn, dc.device());
  dc.save();
  dc.setFont(drawn);
  dc.setPen(QColor::fromRgba(kText));
  dc.drawText(QPointF(x, y + fm.ascent()), text());
  dc.restore();
}

void COwnStatic::paintEvent(QPaintEvent*) {
  // The owner draws the label into its own picture.
}
