// Skin drawing helpers: numbered picture resources, the layered-window
// renderer GdiPlug with its mix-in _GDIplusWindow, and CImageEx.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <memory>

// Resource types: the pictures are compiled in as :/png/<id>.png and so on.
inline constexpr const char* kResPng = "PNG";
inline constexpr const char* kResBmp = "BMP";
inline constexpr const char* kResCur = "CUR";
inline constexpr const char* kResIco = "ICO";

// Makes sure the artwork compiled into the skin library is registered; the
// loaders call it themselves, so owners never need to.
void InitSkinResources();

// ":/png/254.png" for ("PNG", 254).
QString SkinResourcePath(const QString& type, unsigned id);

// Decodes resource `id` of `type` into *out (premultiplied ARGB32, fully
// decoded, owned by the caller). Returns false and leaves *out untouched when
// the resource is missing or cannot be decoded.
bool LoadPngResource(unsigned id, const QString& type, QImage* out);

// A frameless, translucent top-level window that shows one composed picture
// at a constant alpha, the way the window manager shows a layered window.
// The picture and the alpha are kept so that tests can look at them.
class LayeredWindow : public QWidget {
  Q_OBJECT

 public:
  explicit LayeredWindow(QWidget* parent = nullptr, Qt::WindowFlags extraFlags = {});

  // Replaces what the window shows; repaints at once when it is on screen.
  void SetLayeredImage(const QImage& image, int constantAlpha);
  const QImage& LayeredImage() const { return m_imgLayered; }
  int LayeredAlpha() const { return m_nLayeredAlpha; }
  bool IsLayered() const { return m_bLayered; }
  void MakeLayered();

  // A control asks its owner to compose again (a state change); the request
  // is coalesced and answered by OnInvalidate from the event loop.
  void Invalidate();
  // Runs any pending invalidation now (tests and fades use it).
  void FlushInvalidate();

 protected:
  // What the owner does when asked to compose again; owners usually render.
  virtual void OnInvalidate() {}
  void paintEvent(QPaintEvent* event) override;

 private:
  void PassPointerThrough(bool through);

  QImage m_imgLayered;
  int m_nLayeredAlpha = 0;
  bool m_bLayered = false;
  bool m_bInvalidPending = false;
  bool m_bPainting = false;
  // Made transparent for input by its creator: so at every alpha.
  bool m_bAlwaysThrough = false;
};

// Tells the window that draws `control` that it must draw it again.
void InvalidateOwner(QWidget* control);

// The mix-in every window rendered by GdiPlug implements.
class _GDIplusWindow {
 public:
  virtual ~_GDIplusWindow() = default;
  // Draw the visible skinned controls; dc's origin is the window's top-left.
  virtual void DrawControls(QPainter& dc, int cx, int cy) = 0;
  virtual QWidget* GetHwnd() = 0;
};

// The blend the layered picture is shown with.
struct BlendFunction {
  unsigned char BlendOp = 0;              // source over
  unsigned char BlendFlags = 0;
  unsigned char SourceConstantAlpha = 255;
  unsigned char AlphaFormat = 1;          // per-pixel alpha
};

// Renders one layered pop-up: background picture, the owner's controls on
// top, shown at a constant alpha. One per window, not copyable.
class GdiPlug {
 public:
  explicit GdiPlug(QWidget* owner = nullptr);
  GdiPlug(const GdiPlug&) = delete;
  GdiPlug& operator=(const GdiPlug&) = delete;
  ~GdiPlug();

  // The owner's wiring in its initialisation: painter, window, size to an
  // already loaded background, load `backgroundId`, top-most if asked.
  void Attach(_GDIplusWindow* painter, unsigned backgroundId, bool topMost = true);
  void Connect(_GDIplusWindow* painter);

  bool LoadBackground(unsigned id);
  bool SetBackground(const QImage& image);
  // The size the next render composes at (the background is scaled to it).
  void SetSize(int width, int height);
  void Render(bool activate, int percent);

  static int ConstantAlpha(int percent);

  int Width() const { return m_nWidth; }
  int Height() const { return m_nHeight; }
  const QImage* Background() const { return m_pBackground.get(); }
  const BlendFunction& Blend() const { return m_blend; }
  // The picture composed by the last render.
  const QImage& Composed() const { return m_imgComposed; }

  QWidget* m_pOwner = nullptr;
  QWidget* m_hWnd = nullptr;
  BlendFunction m_blend;
  std::unique_ptr<QImage> m_pBackground;
  int m_nWidth = 0;
  int m_nHeight = 0;
  _GDIplusWindow* m_pPainter = nullptr;

 private:
  QImage m_imgComposed;
};

// A straight-alpha 32-bit image loaded from a PNG resource; it can clear
// the colour of fully transparent pixels so they blend as nothing.
class CImageEx {
 public:
  // False when the resource is missing or cannot be decoded (the image is
  // then empty).
  bool LoadFromResource(unsigned id, bool clearTransparent);
  void Destroy() { m_image = QImage(); }
  bool IsNull() const { return m_image.isNull(); }
  int GetWidth() const { return m_image.width(); }
  int GetHeight() const { return m_image.height(); }
  const QImage& Image() const { return m_image; }

 private:
  QImage m_image;
};
