#include "skin/shadow.h"

// A tool window: never in the taskbar or the task switcher. It never takes
// focus, and clicks fall through it to the window it decorates.
CShadowDlg::CShadowDlg(QWidget* parent)
    : LayeredWindow(parent, Qt::Tool | Qt::WindowDoesNotAcceptFocus |
                                Qt::WindowTransparentForInput) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  m_painter.Connect(this);
  m_painter.LoadBackground(kDefaultPicture);
  m_painter.Render(false, 0);
}

void CShadowDlg::DrawControls(QPainter&, int, int) {}

void CShadowDlg::OnInvalidate() { m_painter.Render(true, 100); }
