#include "skin/controls.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>

COwnEdit::COwnEdit(int nId, QWidget* parent) : QLineEdit(parent), m_nId(nId) {
  setAttribute(Qt::WA_NoSystemBackground);
  setFrame(false);
  auto changed = [this] { InvalidateOwner(this); };
  connect(this, &QLineEdit::textChanged, this, changed);
  connect(this, &QLineEdit::cursorPositionChanged, this, changed);
  connect(this, &QLineEdit::selectionChanged, this, changed);
}

QFont COwnEdit::DrawFont(const QPaintDevice* device) const {
  QFont drawn(font().family());
  int points = font().pointSize();
  if (points <= 0) {
    const int dpi = device != nullptr && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
    points = font().pixelSize() * 72 / dpi;
  }
  drawn.setPointSize(qMax(1, points));
  drawn.setWeight(QFont::Normal);
  return drawn;
}

QRectF COwnEdit::SelectionRect(const QPaintDevice* device, int x, int y) const {
  if (!hasSelectedText()) return {};
  const QFontMetricsF fm(DrawFont(device), const_cast<QPaintDevice*>(device));
  const QString value = text();
  const int start = selectionStart();
  const qreal before = fm.horizontalAdvance(value.left(start));
  const qreal width = fm.horizontalAdvance(value.mid(start, selectedText().size()));
  return QRectF(x + before, y, width, fm.height());
}

void COwnEdit::DrawInto(QPainter& dc, int x, int y) const {
  const QFont drawn = DrawFont(dc.device());
  const QFontMetricsF fm(drawn, dc.device());
  const QString value = text();

  dc.save();
  const QRectF selection = SelectionRect(dc.device(), x, y);
  if (!selection.isEmpty()) dc.fillRect(selection, QColor::fromRgba(kSelection));

  dc.setFont(drawn);
  dc.setPen(QColor::fromRgba(kText));
  dc.drawText(QPointF(x, y + fm.ascent()), value);

  const int n = cursorPosition();
  const qreal caretX = n > 0 ? x + fm.horizontalAdvance(value.left(n)) : x;
  dc.setRenderHint(QPainter::Antialiasing, false);
  dc.setPen(QPen(QColor::fromRgba(kCaret), 1));
  dc.drawLine(QPointF(caretX, y), QPointF(caretX, y + fm.height()));
  dc.restore();
}

void COwnEdit::paintEvent(QPaintEvent*) {
  // The owner draws the field into its own picture.
}

void COwnEdit::keyPressEvent(QKeyEvent* event) {
  InvalidateOwner(this);
  QLineEdit::keyPressEvent(event);
}
