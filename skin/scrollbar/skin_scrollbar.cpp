#include "skin/scrollbar.h"

#include <QCoreApplication>
#include <QPainter>
#include <QScrollBar>

#include <limits>

QEvent::Type CVScrollEvent::TypeId() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

SkinScrollInfo ScrollInfoOf(const QScrollBar& bar) {
  SkinScrollInfo info;
  info.cbSize = sizeof(SkinScrollInfo);
  info.fMask = 0x17;  // range, page, position, track position
  info.nMin = bar.minimum();
  info.nPage = static_cast<unsigned>(qMax(0, bar.pageStep()));
  info.nMax = bar.maximum() + qMax(0, bar.pageStep() - 1);
  info.nPos = bar.value();
  info.nTrackPos = bar.sliderPosition();
  return info;
}

void ApplyVScroll(QScrollBar& bar, int code, int pos) {
  switch (code) {
    case SB_LINEUP: bar.triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case SB_LINEDOWN: bar.triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case SB_PAGEUP: bar.triggerAction(QAbstractSlider::SliderPageStepSub); break;
    case SB_PAGEDOWN: bar.triggerAction(QAbstractSlider::SliderPageStepAdd); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: bar.setValue(pos); break;  // the bar clamps to its range
    case SB_TOP: bar.setValue(bar.minimum()); break;
    case SB_BOTTOM: bar.setValue(bar.maximum()); break;
    default: break;
  }
}

namespace {

// Truncation toward zero that saturates instead of overflowing on
// nonsensical scroll states.
int TruncToInt(float value) {
  if (!(value == value)) return 0;
  if (value >= 2147483520.0f) return std::numeric_limits<int>::max();
  if (value <= -2147483520.0f) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

}  // namespace

CSkinScrollBar::CSkinScrollBar(QWidget* target) : m_hTarget(target) {}

CSkinScrollBar::~CSkinScrollBar() = default;

void CSkinScrollBar::SetArea(const QRect& area) {
  m_bUseArea = true;
  m_rcArea = area;
}

bool CSkinScrollBar::LoadSet(unsigned track, unsigned thumb, unsigned hover, unsigned pressed) {
  QImage images[4];
  const unsigned ids[4] = {track, thumb, hover, pressed};
  bool all = true;
  for (int i = 0; i < 4; ++i)
    all = LoadPngResource(ids[i], QString::fromLatin1(kResPng), &images[i]) && all;
  SetImages(images[0], images[1], images[2], images[3]);
  return all;
}

bool CSkinScrollBar::LoadPanelImages() {
  return LoadSet(kPanelTrack, kPanelThumb, kPanelThumbHover, kPanelThumbPressed);
}

bool CSkinScrollBar::LoadViewerImages() {
  return LoadSet(kViewerTrack, kViewerThumb, kViewerThumbHover, kViewerThumbPressed);
}

void CSkinScrollBar::SetImages(const QImage& track, const QImage& thumb,
                               const QImage& thumbHover, const QImage& thumbPressed) {
  auto own = [](const QImage& image) {
    return image.isNull() ? nullptr : std::make_unique<QImage>(image);
  };
  m_pTrack = own(track);
  m_pThumb = own(thumb);
  m_pThumbHover = own(thumbHover);
  m_pThumbPressed = own(thumbPressed);
  m_pThumbImage = m_pThumb.get();
}

const QImage* CSkinScrollBar::ThumbImage(int state) const {
  switch (state) {
    case 0: return m_pThumb.get();
    case 1: return m_pThumbHover.get();
    case 2: return m_pThumbPressed.get();
    default: return nullptr;
  }
}

QRect CSkinScrollBar::Area() const {
  if (m_bUseArea) return m_rcArea;
  return m_hTarget != nullptr ? m_hTarget->rect() : QRect();
}

int CSkinScrollBar::TrackWidth() const { return m_pTrack ? m_pTrack->width() : 0; }

// The bar measures x from its own left edge: area.right − track width.
int CSkinScrollBar::ConvertX(int x) const {
  const QRect area = Area();
  return x - (area.x() + area.width() - TrackWidth());
}

bool CSkinScrollBar::Scrollable() const {
  return m_info.nMax != 0 && m_info.nPage != 0 &&
         static_cast<long long>(m_info.nMax) - static_cast<long long>(m_info.nPage) > 0;
}

void CSkinScrollBar::InvalidateTarget() {
  if (m_hTarget == nullptr) return;
  m_hTarget->update();
  if (QWidget* parent = m_hTarget->parentWidget(); parent != nullptr && !m_hTarget->isWindow())
    parent->update(m_hTarget->geometry());
}

void CSkinScrollBar::SendVScroll(int code, int pos) {
  if (m_hTarget == nullptr) return;
  CVScrollEvent request(code, pos);
  QCoreApplication::sendEvent(m_hTarget, &request);
}

bool CSkinScrollBar::SetScrollInfo(const SkinScrollInfo& info) {
  if (info == m_info) return false;
  m_info = info;
  if (Scrollable()) {
    if (m_nFade != kFadeShown) {
      m_nFade = kFadeShown;
      InvalidateTarget();
    }
  } else {
    m_info = SkinScrollInfo{};
    m_bVisible = false;
  }
  return true;
}

void CSkinScrollBar::Draw(QPainter& graphics) {
  if (!Scrollable()) {
    m_bVisible = false;
    return;
  }
  if (m_nFade == kFadeHidden) return;
  m_bVisible = true;

  const QRect area = Area();
  const int right = area.x() + area.width();
  const int top = area.y() + kTrackMargin;
  const int bottom = area.y() + area.height() - kTrackMargin;
  const int trackHeight = bottom - top;
  const int trackWidth = TrackWidth();
  m_rcTrack = QRect(0, top, trackWidth, trackHeight);
  if (m_pTrack) graphics.drawImage(QRectF(right - trackWidth, top, trackWidth, trackHeight), *m_pTrack);

  const float range = static_cast<float>(m_info.nMax) + 1.0f;
  float length = static_cast<float>(trackHeight) * static_cast<float>(m_info.nPage) / range;
  if (length < kMinThumb) {
    m_fExtra = kMinThumb - length;
    length = kMinThumb;
  } else {
    m_fExtra = 0;
  }
  m_fThumbLen = length;
  m_fThumbTop = (static_cast<float>(trackHeight) - m_fExtra) * static_cast<float>(m_info.nPos) / range;

  const int thumbWidth = m_pThumbImage != nullptr ? m_pThumbImage->width() : trackWidth;
  if (m_pThumbImage != nullptr)
    graphics.drawImage(QRectF(right - thumbWidth, top + m_fThumbTop, thumbWidth, length), *m_pThumbImage);
  const int thumbTop = TruncToInt(static_cast<float>(top) + m_fThumbTop);
  const int thumbBottom = TruncToInt(static_cast<float>(top) + m_fThumbTop + length);
  m_rcThumb = QRect(0, thumbTop, thumbWidth, qMax(0, thumbBottom - thumbTop));
}

bool CSkinScrollBar::OnLButtonDown(const QPoint& point) {
  const QPoint at(ConvertX(point.x()), point.y());
  if (!m_bVisible || at.x() <= 0) return false;
  bool handled = false;
  if (m_rcThumb.contains(at)) {
    if (m_pThumbPressed) m_pThumbImage = m_pThumbPressed.get();
    m_ptDragStart = point;
    m_nDragStartTop = TruncToInt(m_fThumbTop);
    m_bDragging = true;
    handled = true;
  } else if (m_rcTrack.contains(at)) {
    SendVScroll(at.y() < m_rcThumb.top() ? SB_PAGEUP : SB_PAGEDOWN, 0);
    handled = true;
  }
  if (handled && m_nFade != kFadeShown) {
    m_nFade = kFadeShown;
    InvalidateTarget();
  }
  return handled;
}

bool CSkinScrollBar::OnMouseMove(Qt::MouseButtons buttons, const QPoint& point) {
  if (m_bDragging && (buttons & Qt::LeftButton)) {
    m_nFade = kFadeShown;
    const float span = static_cast<float>(m_rcTrack.height()) - m_fExtra;
    const long long moved = static_cast<long long>(m_nDragStartTop) + point.y() - m_ptDragStart.y();
    const float newTop = static_cast<float>(qMax(0LL, moved));
    if (span > 0) {
      const int newPos = TruncToInt((static_cast<float>(m_info.nMax) + 1.0f) * newTop / span);
      if (newPos != m_info.nPos) {
        m_info.nPos = newPos;
        InvalidateTarget();
        SendVScroll(SB_THUMBTRACK, newPos);
      }
    }
    return true;
  }

  const QPoint at(ConvertX(point.x()), point.y());
  const bool onBar = m_bVisible && at.x() > 0;
  const bool overThumb = onBar && m_rcThumb.contains(at);
  const bool overTrack = onBar && m_rcTrack.contains(at);
  const QImage* wanted = overThumb ? m_pThumbHover.get() : m_pThumb.get();
  bool repaint = false;
  if (wanted != nullptr && wanted != m_pThumbImage) {
    m_pThumbImage = wanted;
    repaint = true;
  }
  if ((overThumb || overTrack) && m_nFade != kFadeShown) {
    m_nFade = kFadeShown;
    repaint = true;
  }
  return repaint;
}

bool CSkinScrollBar::OnLButtonUp(const QPoint& point) {
  if (m_bDragging) {
    m_bDragging = false;
    m_pThumbImage = m_pThumb.get();
    return true;
  }
  return m_bVisible && ConvertX(point.x()) > 0;
}

bool CSkinScrollBar::OnFadeTick() {
  if (m_bDragging) return false;
  if (m_nFade == kFadeShown) {
    m_nFade = kFadeIdle;
    return false;
  }
  if (m_nFade == kFadeIdle) {
    m_nFade = kFadeHidden;
    InvalidateTarget();
    return true;
  }
  return false;
}

QRect CSkinScrollBar::GetBarRect() const {
  const QRect area = Area();
  return area.translated(area.width() - TrackWidth(), 0);
}
