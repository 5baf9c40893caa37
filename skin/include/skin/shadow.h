// CShadowDlg: a borderless layered pop-up that shows one picture with its
// per-pixel transparency at a chosen opacity (drop shadows, snapshots).
#pragma once

#include "skin/render.h"

class CShadowDlg : public LayeredWindow, public _GDIplusWindow {
  Q_OBJECT

 public:
  static constexpr int IDD = 253;
  static constexpr unsigned kDefaultPicture = 254;

  explicit CShadowDlg(QWidget* parent = nullptr);

  GdiPlug& Painter() { return m_painter; }

  void DrawControls(QPainter& dc, int cx, int cy) override;
  QWidget* GetHwnd() override { return this; }

 protected:
  void OnInvalidate() override;

 private:
  GdiPlug m_painter;
};
