#include "skin/controls.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace {
constexpr int kPadding = 4;
}

CSkinTip::CSkinTip(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

void CSkinTip::SetText(const QString& text) {
  m_strText = text;
  const int inner = kMaxWidth - 2 * kPadding - 2;
  const QRect bounds = fontMetrics().boundingRect(QRect(0, 0, inner, 100000),
                                                  Qt::TextWordWrap, m_strText);
  resize(qMin(kMaxWidth, bounds.width() + 2 * kPadding + 2), bounds.height() + 2 * kPadding + 2);
}

void CSkinTip::ShowAt(const QPoint& globalPos) {
  if (m_strText.isEmpty()) return;
  // Buttons stand near the screen's right edge (the main window): keep the
  // whole tip on the screen.
  QPoint at = globalPos;
  const QScreen* screen = QGuiApplication::screenAt(globalPos);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    const QRect area = screen->availableGeometry();
    at.setX(qMax(area.left(), qMin(at.x(), area.right() + 1 - width())));
    at.setY(qMax(area.top(), qMin(at.y(), area.bottom() + 1 - height())));
  }
  move(at);
  show();
  raise();
}

void CSkinTip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient fill(0, 0, 0, height());
  fill.setColorAt(0, QColor::fromRgb(kFill));
  fill.setColorAt(1, QColor::fromRgb(kGradientFill));
  painter.fillRect(rect(), fill);
  painter.setPen(QColor::fromRgb(kBorder));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.setPen(QColor::fromRgb(kText));
  painter.drawText(rect().adjusted(kPadding + 1, kPadding + 1, -kPadding - 1, -kPadding - 1),
                   Qt::TextWordWrap, m_strText);
}
