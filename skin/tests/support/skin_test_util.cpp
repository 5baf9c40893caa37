#include "skin_test_util.h"

#include <QApplication>
#include <QMouseEvent>

namespace skintest {

QImage Solid(int w, int h, QRgb argb) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(QColor::fromRgba(argb));
  return image;
}

namespace {
void Send(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}
}  // namespace

void Move(QWidget* widget, QPoint pos, Qt::MouseButtons buttons) {
  Send(widget, QEvent::MouseMove, pos, Qt::NoButton, buttons);
}

void Press(QWidget* widget, QPoint pos) {
  Send(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
}

void Release(QWidget* widget, QPoint pos) {
  Send(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

void DoublePress(QWidget* widget, QPoint pos) {
  Press(widget, pos);
  Send(widget, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton);
}

void Leave(QWidget* widget) {
  QEvent event(QEvent::Leave);
  QApplication::sendEvent(widget, &event);
}

}  // namespace skintest
