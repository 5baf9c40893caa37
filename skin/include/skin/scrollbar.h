// CSkinScrollBar: a thin vertical overlay scroll bar that is not a window.
// Its owner paints it from picture strips into its own buffer and forwards
// mouse input; it mirrors a target's scroll state and drives the target
// with vertical-scroll requests.
#pragma once

#include "skin/render.h"

#include <QEvent>
#include <QPoint>
#include <QRect>

#include <memory>

class QPainter;
class QScrollBar;

inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_ENDSCROLL = 8;

// The target's scroll state, in the shape the bar mirrors.
struct SkinScrollInfo {
  unsigned cbSize = 0;
  unsigned fMask = 0;
  int nMin = 0;
  int nMax = 0;
  unsigned nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
  bool operator==(const SkinScrollInfo&) const = default;
};

// The scroll state of a Qt scroll bar (nMax is the last line, nPage a page).
SkinScrollInfo ScrollInfoOf(const QScrollBar& bar);

// The vertical-scroll request sent to the target window.
class CVScrollEvent : public QEvent {
 public:
  CVScrollEvent(int code, int pos) : QEvent(TypeId()), m_nCode(code), m_nPos(pos) {}
  static QEvent::Type TypeId();
  int Code() const { return m_nCode; }
  int Pos() const { return m_nPos; }

 private:
  int m_nCode;
  int m_nPos;
};

// Applies a vertical-scroll request to a Qt scroll bar (targets use it).
void ApplyVScroll(QScrollBar& bar, int code, int pos);

class CSkinScrollBar {
 public:
  static constexpr unsigned kPanelTrack = 220, kPanelThumb = 219, kPanelThumbHover = 218,
                            kPanelThumbPressed = 217;
  static constexpr unsigned kViewerTrack = 277, kViewerThumb = 280, kViewerThumbHover = 279,
                            kViewerThumbPressed = 278;
  static constexpr int kTrackMargin = 20;
  static constexpr float kMinThumb = 10.0f;
  enum { kFadeShown = 0, kFadeIdle = 1, kFadeHidden = 2 };

  explicit CSkinScrollBar(QWidget* target = nullptr);
  CSkinScrollBar(const CSkinScrollBar&) = delete;
  CSkinScrollBar& operator=(const CSkinScrollBar&) = delete;
  ~CSkinScrollBar();

  void SetTarget(QWidget* target) { m_hTarget = target; }
  QWidget* Target() const { return m_hTarget; }
  // An explicit area (owner coordinates; x, y, width, height) instead of the
  // target's rectangle; the bar lies along its right edge.
  void SetArea(const QRect& area);

  bool LoadPanelImages();
  bool LoadViewerImages();
  void SetImages(const QImage& track, const QImage& thumb, const QImage& thumbHover,
                 const QImage& thumbPressed);

  bool SetScrollInfo(const SkinScrollInfo& info);
  void Draw(QPainter& graphics);
  bool OnLButtonDown(const QPoint& point);
  bool OnMouseMove(Qt::MouseButtons buttons, const QPoint& point);
  bool OnLButtonUp(const QPoint& point);
  bool OnFadeTick();
  QRect GetBarRect() const;

  // What the last draw and the mouse left behind, for the owner and tests.
  const SkinScrollInfo& Info() const { return m_info; }
  bool IsVisible() const { return m_bVisible; }
  bool IsDragging() const { return m_bDragging; }
  int Fade() const { return m_nFade; }
  float ThumbTop() const { return m_fThumbTop; }
  float ThumbLen() const { return m_fThumbLen; }
  float Extra() const { return m_fExtra; }
  QRect TrackRect() const { return m_rcTrack; }
  QRect ThumbRect() const { return m_rcThumb; }
  const QImage* CurrentThumb() const { return m_pThumbImage; }
  const QImage* ThumbImage(int state) const;

 private:
  QRect Area() const;
  int TrackWidth() const;
  int ConvertX(int x) const;
  bool Scrollable() const;
  void InvalidateTarget();
  void SendVScroll(int code, int pos);
  bool LoadSet(unsigned track, unsigned thumb, unsigned hover, unsigned pressed);

  QWidget* m_hTarget = nullptr;
  std::unique_ptr<QImage> m_pTrack;
  std::unique_ptr<QImage> m_pThumb;
  std::unique_ptr<QImage> m_pThumbHover;
  std::unique_ptr<QImage> m_pThumbPressed;
  const QImage* m_pThumbImage = nullptr;
  SkinScrollInfo m_info;
  bool m_bVisible = false;
  QRect m_rcTrack;
  QRect m_rcThumb;
  float m_fThumbTop = 0;
  float m_fThumbLen = 0;
  float m_fExtra = 0;
  bool m_bDragging = false;
  QPoint m_ptDragStart;
  int m_nDragStartTop = 0;
  int m_nFade = kFadeHidden;
  bool m_bUseArea = false;
  QRect m_rcArea;
};
