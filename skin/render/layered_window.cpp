#include "skin/render.h"

#include <QMetaObject>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QWindow>

LayeredWindow::LayeredWindow(QWidget* parent, Qt::WindowFlags extraFlags)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | extraFlags),
      m_bAlwaysThrough(extraFlags.testFlag(Qt::WindowTransparentForInput)) {
  MakeLayered();
}

void LayeredWindow::MakeLayered() {
  if (m_bLayered) return;
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_NoSystemBackground);
  m_bLayered = true;
}

void LayeredWindow::SetLayeredImage(const QImage& image, int constantAlpha) {
  m_imgLayered = image;
  m_nLayeredAlpha = qBound(0, constantAlpha, 255);
  PassPointerThrough(m_imgLayered.isNull() || m_nLayeredAlpha == 0);
  // A fade is a burst of renders inside one handler: each must reach the
  // screen, so paint now rather than wait for the event loop (but never
  // from inside this window's own painting).
  if (isVisible() && !m_bPainting)
    repaint();
  else if (!m_bPainting)
    update();
}

// A fully transparent layered window is no target for the pointer: what lies
// under it gets the clicks (a card faded out to 0 % stays shown). Changing
// the flag on the platform window keeps the window shown where it is.
void LayeredWindow::PassPointerThrough(bool through) {
  if (m_bAlwaysThrough) return;
  const Qt::WindowFlags flags = windowFlags().setFlag(Qt::WindowTransparentForInput, through);
  if (flags == windowFlags()) return;
  overrideWindowFlags(flags);
  if (QWindow* window = windowHandle()) window->setFlags(flags);
}

void LayeredWindow::Invalidate() {
  if (m_bInvalidPending) return;
  m_bInvalidPending = true;
  QMetaObject::invokeMethod(this, &LayeredWindow::FlushInvalidate, Qt::QueuedConnection);
}

void LayeredWindow::FlushInvalidate() {
  if (!m_bInvalidPending) return;
  m_bInvalidPending = false;
  OnInvalidate();
}

void LayeredWindow::paintEvent(QPaintEvent* event) {
  const QScopedValueRollback<bool> painting(m_bPainting, true);
  QPainter painter(this);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.fillRect(event->rect(), Qt::transparent);
  if (m_imgLayered.isNull() || m_nLayeredAlpha == 0) return;
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.setOpacity(m_nLayeredAlpha / 255.0);
  painter.drawImage(0, 0, m_imgLayered);
}

void InvalidateOwner(QWidget* control) {
  if (control == nullptr) return;
  control->update();
  QWidget* parent = control->parentWidget();
  if (parent == nullptr) return;
  if (auto* layered = qobject_cast<LayeredWindow*>(parent)) {
    layered->Invalidate();
  } else {
    parent->update(control->geometry());
  }
}
