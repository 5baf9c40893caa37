// Small helpers shared by the skin tests: pictures and synthetic input.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

namespace skintest {

// A w × h picture filled with one colour (premultiplied ARGB32).
QImage Solid(int w, int h, QRgb argb);

// Synthetic mouse input delivered straight to the widget.
void Move(QWidget* widget, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton);
void Press(QWidget* widget, QPoint pos);
void Release(QWidget* widget, QPoint pos);
// The second press of a double click: a press, then the double-click event.
void DoublePress(QWidget* widget, QPoint pos);
void Leave(QWidget* widget);

// Bounding box of pixels matching `pred`; empty when none match.
template <class Pred>
QRect BoundsOf(const QImage& image, Pred pred) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (pred(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
  return bounds;
}

}  // namespace skintest
