// Skinned controls that live inside skinned windows: the owner draws them
// into its own picture (CTransButton, COwnEdit, COwnStatic); CTransEdit
// paints its text over the parent's texture.
#pragma once

#include "skin/render.h"

#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTransform>

#include <array>
#include <memory>

class QMenu;

inline constexpr unsigned IDC_BUTTON_CURSOR = 129;

// A cursor from the artwork (":/cur/<id>.png" with its hot spot), or the
// fallback shape when the picture is missing.
QCursor LoadCursorResource(unsigned id, Qt::CursorShape fallback = Qt::ArrowCursor);
// The shared pointer shown over skinned buttons (cursor resource 129),
// loaded once.
const QCursor& ButtonCursor();

// The tooltip of a skinned button: a light gradient card with a thin border.
class CSkinTip : public QWidget {
  Q_OBJECT

 public:
  static constexpr QRgb kFill = 0xFFFFFFFF;          // RGB(255, 255, 255)
  static constexpr QRgb kGradientFill = 0xFFE4E4F0;  // RGB(228, 228, 240)
  static constexpr QRgb kText = 0xFF3D5350;          // RGB(61, 83, 80)
  static constexpr QRgb kBorder = 0xFF9095A8;        // RGB(144, 149, 168)
  static constexpr int kMaxWidth = 200;

  explicit CSkinTip(QWidget* owner);
  void SetText(const QString& text);
  const QString& Text() const { return m_strText; }
  void ShowAt(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString m_strText;
};

class CTransButton : public QWidget {
  Q_OBJECT

 public:
  enum { kNormal = 0, kHover = 1, kPressed = 2 };
  static constexpr QRgb kDefaultCaptionColor = 0xFDFDFDFD;
  static constexpr int kTipDelayMs = 400;

  CTransButton(int nId, QWidget* parent, const QString& windowText = {});

  int GetDlgCtrlID() const { return m_nId; }

  // Caption before the first line break, tooltip after it.
  void SetWindowText(const QString& text);
  const QString& Caption() const { return m_strCaption; }
  const QString& Tip() const { return m_strTip; }
  void SetTipText(const QString& tip);

  // Fills one set's three looks from PNG resources (an id of 0 leaves the
  // look empty); with set A the button takes the normal picture's size.
  // Then recomputes the shown look.
  bool LoadImages(unsigned normal, unsigned hover, unsigned pressed, bool setB = false);
  // One look of one set from a picture in hand (a null image empties it).
  void SetImage(bool setB, int state, const QImage& image);

  void SetState(bool hover);
  void SetImageSet(bool useB);
  bool IsSetB() const { return m_bSetB; }

  void SetCaptionColor(QRgb argb);
  void SetCaptionColor(int state, QRgb argb);
  void SetAngle(int degrees) { m_nAngle = degrees; }
  int Angle() const { return m_nAngle; }

  void DrawInto(QPainter& dc, int x, int y) const;

  // The turn used for a picture of w × h drawn at (x, y).
  static QPointF TurnCentre(float x, float y, int w, int h);
  static QTransform TurnTransform(int degrees, float x, float y, int w, int h);

  int State() const { return m_nState; }
  bool IsHover() const { return m_bHover; }
  bool IsPressed() const { return m_bPressed; }
  const QImage* CurrentImage() const { return m_pImage; }
  const QImage* Image(bool setB, int state) const;
  CSkinTip& ToolTip() { return m_tooltip; }

 signals:
  // The click: exactly one per completed press and release on the button.
  void command(int nId);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  using ImageSet = std::array<std::unique_ptr<QImage>, 3>;
  ImageSet& Set(bool setB) { return setB ? m_setB : m_setA; }
  const ImageSet& CurrentSet() const { return m_bSetB ? m_setB : m_setA; }
  void ShowTip();

  int m_nId;
  ImageSet m_setA;
  ImageSet m_setB;
  bool m_bSetB = false;
  const QImage* m_pImage = nullptr;
  int m_nState = kNormal;
  bool m_bHover = false;
  bool m_bPressed = false;
  QString m_strCaption;
  QString m_strTip;
  std::array<QRgb, 3> m_clrCaption{kDefaultCaptionColor, kDefaultCaptionColor,
                                   kDefaultCaptionColor};
  CSkinTip m_tooltip;
  QTimer m_tipTimer;
  int m_nAngle = 0;
};

// A read-only multi-line text box whose background is cut from the parent's
// picture, so the text looks printed on the parent's texture.
class CTransEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int IDR_EDIT_MENU = 294;
  static constexpr int ID_EDIT_COPY = 0xE122;
  static constexpr int ID_EDIT_SELECT_ALL = 0xE12A;

  CTransEdit(int nId, QWidget* parent);
  int GetDlgCtrlID() const { return m_nId; }

  // The parent's picture, in the parent's coordinates; not owned.
  void SetBackground(const QImage* background);
  void SetMenuTexts(const QString& copy, const QString& selectAll);
  void OnMenuCommand(int command);
  QMenu* Menu();

  void DrawInto(QPainter& dc, int x, int y);

 signals:
  // The overlay scroll bar beside the text must be drawn again.
  void scrollBarDirty();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  int m_nId;
  const QImage* m_pBackground = nullptr;
  QMenu* m_menu = nullptr;
  QString m_strCopy = QStringLiteral("Copy");
  QString m_strSelectAll = QStringLiteral("Select All");
  int m_nFirstLine = 0;
};

// A single-line editable field that never paints itself: the owner draws
// its text, selection and caret into its own picture.
class COwnEdit : public QLineEdit {
  Q_OBJECT

 public:
  static constexpr QRgb kSelection = 0x500000FF;
  static constexpr QRgb kText = 0xFEFFFFFF;
  static constexpr QRgb kCaret = 0xFEBBBBBB;

  COwnEdit(int nId, QWidget* parent);
  int GetDlgCtrlID() const { return m_nId; }

  QFont DrawFont(const QPaintDevice* device) const;
  // The selection's highlight when drawn at (x, y); empty without selection.
  QRectF SelectionRect(const QPaintDevice* device, int x, int y) const;
  void DrawInto(QPainter& dc, int x, int y) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int m_nId;
};

// A label that never paints itself: the owner draws its text.
class COwnStatic : public QLabel {
  Q_OBJECT

 public:
  static constexpr QRgb kText = 0xFDFFFFFF;
  static constexpr int kPointSize = 9;

  COwnStatic(int nId, QWidget* parent, const QString& text = {});
  int GetDlgCtrlID() const { return m_nId; }

  QFont DrawFont() const;
  void DrawInto(QPainter& dc, int x, int y) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int m_nId;
};

// Draws a control into its parent's picture at its place in the parent,
// if the control is shown (composing a window that is not on screen yet
// still includes the controls it will show).
template <class Control>
void DrawIfVisible(Control& control, QPainter& dc) {
  QWidget* parent = control.parentWidget();
  const bool shown = parent != nullptr ? control.isVisibleTo(parent) : control.isVisible();
  if (!shown) return;
  const QPoint at = control.pos();
  control.DrawInto(dc, at.x(), at.y());
}
