#include "skin/render.h"

#include <QPainter>

GdiPlug::GdiPlug(QWidget* owner) : m_pOwner(owner), m_hWnd(owner) {}

GdiPlug::~GdiPlug() = default;

void GdiPlug::Connect(_GDIplusWindow* painter) {
  m_pPainter = painter;
  m_hWnd = painter != nullptr ? painter->GetHwnd() : nullptr;
  m_pOwner = m_hWnd;
  if (m_pOwner != nullptr && m_pBackground && m_nWidth > 0 && m_nHeight > 0)
    m_pOwner->resize(m_nWidth, m_nHeight);
}

void GdiPlug::Attach(_GDIplusWindow* painter, unsigned backgroundId, bool topMost) {
  Connect(painter);
  LoadBackground(backgroundId);
  if (topMost && m_pOwner != nullptr &&
      !m_pOwner->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
    // Changing flags hides a shown window; keep it as it was.
    const bool shown = m_pOwner->isVisible();
    m_pOwner->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (shown) m_pOwner->show();
  }
}

bool GdiPlug::LoadBackground(unsigned id) {
  m_pBackground.reset();
  QImage image;
  if (!LoadPngResource(id, QString::fromLatin1(kResPng), &image)) return false;
  m_pBackground = std::make_unique<QImage>(std::move(image));
  m_nWidth = m_pBackground->width();
  m_nHeight = m_pBackground->height();
  if (m_pOwner != nullptr) m_pOwner->resize(m_nWidth, m_nHeight);
  return true;
}

bool GdiPlug::SetBackground(const QImage& image) {
  if (image.isNull()) return false;
  // A deep copy: the caller may change or drop its own picture afterwards.
  auto copy = std::make_unique<QImage>(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  copy->detach();
  m_pBackground = std::move(copy);
  m_nWidth = m_pBackground->width();
  m_nHeight = m_pBackground->height();
  return true;
}

void GdiPlug::SetSize(int width, int height) {
  m_nWidth = qMax(0, width);
  m_nHeight = qMax(0, height);
}

int GdiPlug::ConstantAlpha(int percent) {
  const int clamped = percent > 100 ? 100 : percent;
  const int alpha = static_cast<int>(clamped * 2.55);
  return alpha < 0 ? 0 : alpha;
}

void GdiPlug::Render(bool activate, int percent) {
  m_blend.SourceConstantAlpha = static_cast<unsigned char>(ConstantAlpha(percent));

  if (m_pOwner != nullptr) {
    if (m_nWidth > 0 && m_nHeight > 0) m_pOwner->resize(m_nWidth, m_nHeight);
    m_pOwner->raise();
    if (activate && m_pOwner->isVisible()) m_pOwner->activateWindow();
  }
  const int cx = m_pOwner != nullptr ? m_pOwner->width() : m_nWidth;
  const int cy = m_pOwner != nullptr ? m_pOwner->height() : m_nHeight;

  auto* layered = qobject_cast<LayeredWindow*>(m_hWnd);
  if (layered != nullptr) layered->MakeLayered();

  if (m_nWidth > 0 && m_nHeight > 0) {
    m_imgComposed = QImage(m_nWidth, m_nHeight, QImage::Format_ARGB32_Premultiplied);
    m_imgComposed.fill(Qt::transparent);
    QPainter dc(&m_imgComposed);
    dc.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                      QPainter::TextAntialiasing);
    if (m_pBackground) dc.drawImage(QRect(0, 0, m_nWidth, m_nHeight), *m_pBackground);
    if (m_pPainter != nullptr) m_pPainter->DrawControls(dc, cx, cy);
  } else {
    m_imgComposed = QImage();
  }

  if (layered != nullptr) layered->SetLayeredImage(m_imgComposed, m_blend.SourceConstantAlpha);
}
