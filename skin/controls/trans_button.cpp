#include "skin/controls.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

CTransButton::CTransButton(int nId, QWidget* parent, const QString& windowText)
    : QWidget(parent), m_nId(nId), m_tooltip(this) {
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setCursor(ButtonCursor());
  m_tipTimer.setSingleShot(true);
  m_tipTimer.setInterval(kTipDelayMs);
  connect(&m_tipTimer, &QTimer::timeout, this, &CTransButton::ShowTip);
  SetWindowText(windowText);
}

void CTransButton::SetWindowText(const QString& text) {
  const qsizetype br = text.indexOf(QLatin1Char('\n'));
  m_strCaption = br < 0 ? text : text.left(br);
  SetTipText(br < 0 ? QString() : text.mid(br + 1));
}

void CTransButton::SetTipText(const QString& tip) {
  m_strTip = tip;
  m_tooltip.SetText(tip);
  if (tip.isEmpty()) m_tooltip.hide();
}

const QImage* CTransButton::Image(bool setB, int state) const {
  if (state < kNormal || state > kPressed) return nullptr;
  return (setB ? m_setB : m_setA)[static_cast<size_t>(state)].get();
}

void CTransButton::SetImage(bool setB, int state, const QImage& image) {
  if (state < kNormal || state > kPressed) return;
  auto& slot = Set(setB)[static_cast<size_t>(state)];
  if (slot.get() == m_pImage) m_pImage = nullptr;
  slot.reset();
  if (!image.isNull())
    slot = std::make_unique<QImage>(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

bool CTransButton::LoadImages(unsigned normal, unsigned hover, unsigned pressed, bool setB) {
  const unsigned ids[3] = {normal, hover, pressed};
  bool all = true;
  for (int state = kNormal; state <= kPressed; ++state) {
    QImage image;
    if (ids[state] == 0 || !LoadPngResource(ids[state], QString::fromLatin1(kResPng), &image))
      all = false;
    SetImage(setB, state, image);
  }
  if (!setB && m_setA[kNormal]) resize(m_setA[kNormal]->size());
  SetState(false);
  return all;
}

void CTransButton::SetState(bool hover) {
  const ImageSet& set = CurrentSet();
  int state = kNormal;
  if (m_bPressed)
    state = kPressed;
  else if (hover)
    state = kHover;
  const QImage* candidate = set[static_cast<size_t>(state)].get();
  if (candidate != nullptr && candidate != m_pImage) {
    m_pImage = candidate;
    m_nState = state;
    InvalidateOwner(this);
  } else if (m_pImage == nullptr && !set[kNormal] && !set[kHover] && !set[kPressed]) {
    InvalidateOwner(this);
  }
}

void CTransButton::SetImageSet(bool useB) {
  if (m_bSetB == useB) return;
  m_bSetB = useB;
  SetState(m_bHover);
}

void CTransButton::SetCaptionColor(QRgb argb) { m_clrCaption.fill(argb); }

void CTransButton::SetCaptionColor(int state, QRgb argb) {
  if (state >= kNormal && state <= kPressed) m_clrCaption[static_cast<size_t>(state)] = argb;
}

QPointF CTransButton::TurnCentre(float x, float y, int w, int h) {
  const float cx = x + (static_cast<float>(w) - 1.7f) / 2.0f;
  const float cy = y + (static_cast<float>(h) - 0.5f) / 2.0f;
  return QPointF(cx, cy);
}

QTransform CTransButton::TurnTransform(int degrees, float x, float y, int w, int h) {
  const QPointF c = TurnCentre(x, y, w, h);
  QTransform turn;
  turn.translate(c.x(), c.y());
  turn.rotate(degrees);
  turn.translate(-c.x(), -c.y());
  return turn;
}

void CTransButton::DrawInto(QPainter& dc, int x, int y) const {
  const ImageSet& set = CurrentSet();
  // A look that has no picture of its own shows by a one-pixel shift:
  // down-right while pressed, up-left while hovered.
  int dx = 0;
  if (m_pImage != nullptr) {
    if (m_bPressed && m_pImage != set[kPressed].get())
      dx = 1;
    else if (m_bHover && !m_bPressed && m_pImage == set[kNormal].get())
      dx = -1;
    const int px = x + dx;
    const int py = y + dx;
    if (m_nAngle != 0) {
      // The turn is added to the surface's transform and taken off again.
      dc.save();
      dc.setTransform(TurnTransform(m_nAngle, static_cast<float>(px), static_cast<float>(py),
                                    m_pImage->width(), m_pImage->height()),
                      true);
      dc.drawImage(px, py, *m_pImage);
      dc.restore();
    } else {
      dc.drawImage(px, py, *m_pImage);
    }
  }

  if (m_strCaption.isEmpty()) return;
  if (m_pImage == nullptr) {
    if (m_bPressed)
      dx = 1;
    else if (m_bHover)
      dx = -1;
    x += dx;
    y += dx;
  }
  QFont captionFont(font().family());
  captionFont.setPointSize(9);
  captionFont.setWeight(QFont::Normal);
  // Measured in the font it is drawn with: the window font's size is the
  // desktop's, and a caption measured in it would sit off centre.
  const QSize extent =
      QFontMetrics(captionFont, dc.device()).size(Qt::TextSingleLine, m_strCaption);
  const int tx = x + (width() - extent.width()) / 2;
  const int ty = y + (height() - extent.height()) / 2;
  dc.save();
  dc.setFont(captionFont);
  dc.setPen(QColor::fromRgba(m_clrCaption[static_cast<size_t>(m_nState)]));
  dc.drawText(QRectF(tx, ty, extent.width() * 2 + 40, extent.height() * 2 + 20),
              Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine, m_strCaption);
  dc.restore();
}

void CTransButton::paintEvent(QPaintEvent*) {
  // The owner draws the button into its own picture.
}

void CTransButton::ShowTip() {
  if (m_bHover && !m_bPressed && !m_strTip.isEmpty())
    m_tooltip.ShowAt(QCursor::pos() + QPoint(0, 20));
}

void CTransButton::mouseMoveEvent(QMouseEvent* event) {
  if (!m_bHover) {
    m_bHover = true;
    SetState(true);
    if (!m_strTip.isEmpty()) m_tipTimer.start();
  }
  QWidget::mouseMoveEvent(event);
}

void CTransButton::leaveEvent(QEvent* event) {
  m_tipTimer.stop();
  m_tooltip.hide();
  m_bHover = false;
  SetState(false);
  QWidget::leaveEvent(event);
}

void CTransButton::mousePressEvent(QMouseEvent* event) {
  m_tipTimer.stop();
  m_tooltip.hide();
  if (event->button() == Qt::LeftButton && !m_bPressed) {
    m_bPressed = true;
    SetState(true);
  }
  event->accept();
}

void CTransButton::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click is no press of its own: the click
  // before it already sent the command (play/pause would toggle twice).
  if (event->button() == Qt::LeftButton && m_bPressed) {
    m_bPressed = false;
    SetState(m_bHover);
  }
  event->accept();
}

void CTransButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_bPressed) {
    m_bPressed = false;
    if (rect().contains(event->position().toPoint())) {
      SetState(true);
      emit command(m_nId);
    } else {
      SetState(false);
    }
  }
  event->accept();
}
