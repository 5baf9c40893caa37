#include "gallery.h"

#include "skin/controls.h"
#include "skin/scrollbar.h"
#include "skin/shadow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>

#include <functional>
#include <memory>
#include <vector>

namespace {

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

enum class Look { Normal, Hover, Pressed, Disabled };

void PutInto(CTransButton* button, Look look) {
  if (look == Look::Hover || look == Look::Pressed)
    SendMouse(button, QEvent::MouseMove, {2, 2}, Qt::NoButton, Qt::NoButton);
  if (look == Look::Pressed)
    SendMouse(button, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
  if (look == Look::Disabled) button->setEnabled(false);
}

struct ButtonKind {
  const char* name;
  unsigned normal, hover, pressed;
  const char* caption = nullptr;
  QRgb captionColor = CTransButton::kDefaultCaptionColor;
  bool setB = false;  // show the B set (normal, hover, pressed given as B)
  unsigned aNormal = 0;
  bool light = false;  // drawn for a light surface (the main window's header, paper)
};

// A player background with its controls at their designed places.
struct PlayerSample {
  QPoint origin;
  QImage background;
};

class ControlPage : public QWidget {
 public:
  ControlPage() {
    setMinimumSize(1880, 1150);
    BuildButtons();
    BuildTurned();
    BuildPlayer();
    BuildCard();
    BuildPad();
    BuildViewer();
    BuildScrollBars();
    m_tip = std::make_unique<CSkinTip>(this);
    m_tip->SetText(QStringLiteral("Tooltip: white to RGB(228, 228, 240), text RGB(61, 83, 80), "
                                  "border RGB(144, 149, 168), at most 200 pixels wide"));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    painter.fillRect(rect(), QColor(0x3a, 0x3d, 0x44));
    if (!m_imgSurface.isNull()) painter.drawImage(0, 0, m_imgSurface);
    QFont small = font();
    small.setPointSize(7);
    for (const auto& [at, text] : m_labels) {
      painter.setFont(small);
      painter.setPen(QColor(225, 225, 225));
      painter.drawText(at, text);
    }
    for (CTransButton* button : m_buttons) DrawIfVisible(*button, painter);
    for (COwnEdit* edit : m_edits) DrawIfVisible(*edit, painter);
    for (COwnStatic* label : m_statics) DrawIfVisible(*label, painter);
    for (auto& bar : m_bars) {
      bar->SetScrollInfo(bar->Info().nMax != 0 ? bar->Info() : SkinScrollInfo{});
      bar->Draw(painter);
    }
    m_viewerBar->SetScrollInfo(ScrollInfoOf(*m_text->verticalScrollBar()));
    m_viewerBar->Draw(painter);
    // Beside the scroll bars, clear of their caption.
    m_tip->render(&painter, QPoint(1060, m_nTop + 250));
  }

 private:
  void Label(QPoint at, const QString& text) { m_labels.emplace_back(at, text); }

  // Pictures drawn under the controls (backgrounds of the sample windows).
  void Surface(QPoint at, const QImage& image) {
    if (m_imgSurface.isNull()) {
      m_imgSurface = QImage(1880, 1150, QImage::Format_ARGB32_Premultiplied);
      m_imgSurface.fill(Qt::transparent);
    }
    QPainter(&m_imgSurface).drawImage(at, image);
  }

  // A light surface like the main window's header.
  void Panel(const QRect& area) {
    if (m_imgSurface.isNull()) {
      m_imgSurface = QImage(1880, 1150, QImage::Format_ARGB32_Premultiplied);
      m_imgSurface.fill(Qt::transparent);
    }
    QPainter(&m_imgSurface).fillRect(area, QColor(0xee, 0xf0, 0xf2));
  }

  CTransButton* AddButton(const ButtonKind& kind, QPoint at, Look look) {
    auto* button = new CTransButton(1000, this,
                                    kind.caption ? QString::fromUtf8(kind.caption) : QString());
    if (kind.setB) {
      button->LoadImages(kind.aNormal, kind.aNormal, kind.aNormal);
      button->LoadImages(kind.normal, kind.hover, kind.pressed, true);
      button->SetImageSet(true);
    } else {
      button->LoadImages(kind.normal, kind.hover, kind.pressed);
    }
    if (kind.caption) button->SetCaptionColor(kind.captionColor);
    if (button->CurrentImage() == nullptr) button->resize(90, 24);
    button->move(at);
    PutInto(button, look);
    m_buttons.push_back(button);
    return button;
  }

  void BuildButtons() {
    static const ButtonKind kinds[] = {
        {"pad delete", 189, 191, 190},
        {"pad copy", 194, 193, 192},
        {"pad export", 198, 200, 199},
        {"close (main)", 165, 167, 166, nullptr, 0, false, 0, true},
        {"minimise", 159, 161, 160, nullptr, 0, false, 0, true},
        {"mode: narrow", 162, 164, 163, nullptr, 0, false, 0, true},
        {"mode: wide (set B)", 244, 243, 242, nullptr, 0, true, 162, true},
        {"account", 252, 251, 250, nullptr, 0, false, 0, true},
        {"close (image)", 179, 181, 180},
        {"close (text)", 288, 287, 286, nullptr, 0, false, 0, true},
        {"close (player)", 291, 290, 289},
        {"play", 170, 172, 171},
        {"pause (set B)", 173, 175, 174, nullptr, 0, true, 170},
        {"stop", 176, 178, 177},
        {"knob", 182, 184, 183},
        {"help", 285, 284, 283},
        {"sync: one picture", 292, 0, 0, nullptr, 0, false, 0, true},
        {"logout", 265, 264, 263, "Logout", 0xFE000000},
        {"caption only", 0, 0, 0, "Caption", 0xFDFDFDFD},
    };
    static const char* const looks[] = {"normal", "hover", "pressed", "disabled"};
    Label({10, 18}, QStringLiteral("Buttons: normal / hover / pressed / disabled "
                                   "(a look without its own picture shifts by one pixel)"));
    int x = 10, y = 30;
    for (const ButtonKind& kind : kinds) {
      QImage probe;
      LoadPngResource(kind.normal, QStringLiteral("PNG"), &probe);
      const int w = probe.isNull() ? 90 : probe.width();
      const int h = probe.isNull() ? 24 : probe.height();
      const int block = qMax(4 * (qMax(w, 44) + 8), 150);
      if (x + block > 1870) {
        x = 10;
        y += 95;
      }
      Label({x, y + 10}, QString::fromLatin1(kind.name));
      const int step = qMax(w, 44) + 8;
      if (kind.light) Panel(QRect(x - 4, y + 14, 4 * step + 4, h + 8));
      for (int i = 0; i < 4; ++i) {
        const QPoint at(x + i * step + 2, y + 18);
        AddButton(kind, at, static_cast<Look>(i));
        if (kind.normal == 189 || kind.normal == 165 || kind.normal == 0)
          Label({at.x(), at.y() + h + 14}, QString::fromLatin1(looks[i]));
      }
      x += block + 14;
    }
    m_nTop = y + 100;
  }

  void BuildTurned() {
    Label({10, m_nTop}, QStringLiteral("Sync button turned (0, 30, 60, 90, 135, 180, 270 degrees)"));
    const int angles[] = {0, 30, 60, 90, 135, 180, 270};
    Panel(QRect(6, m_nTop + 8, 7 * 50 + 4, 43));
    for (int i = 0; i < 7; ++i) {
      auto* button = AddButton({"sync", 292, 292, 292}, QPoint(10 + i * 50, m_nTop + 12), Look::Normal);
      button->SetAngle(angles[i]);
    }
  }

  void BuildPlayer() {
    const QPoint o(400, m_nTop);
    Label(o, QStringLiteral("Audio player 262 with its controls, title selected"));
    QImage background;
    LoadPngResource(262, QStringLiteral("PNG"), &background);
    QImage fill;
    LoadPngResource(185, QStringLiteral("PNG"), &fill);
    Surface(o + QPoint(0, 6), background);
    if (!fill.isNull()) {
      QImage half = fill.copy(0, 0, fill.width() / 2, fill.height());
      Surface(o + QPoint(45, 6 + 70), half);
    }
    const int bw = background.isNull() ? 525 : background.width();
    const QPoint base = o + QPoint(0, 6);
    AddButton({"play", 170, 172, 171}, base + QPoint(bw / 2 - 52, 95), Look::Hover);
    AddButton({"stop", 176, 178, 177}, base + QPoint(bw / 2 + 17, 95), Look::Normal);
    AddButton({"close", 291, 290, 289}, base + QPoint(bw - 52, 7), Look::Normal);
    AddButton({"knob", 182, 184, 183}, base + QPoint(36 + 100, 60), Look::Normal);
    auto* title = new COwnEdit(1005, this);
    title->setText(QStringLiteral("Morning voice memo"));
    title->setGeometry(QRect(base + QPoint(55, 24), QSize(300, 20)));
    title->setSelection(8, 5);
    m_edits.push_back(title);
    auto* elapsed = new COwnStatic(1010, this, QStringLiteral("01:12"));
    elapsed->move(base + QPoint(45, 84));
    auto* total = new COwnStatic(1011, this, QStringLiteral("03:25"));
    total->move(base + QPoint(bw - 80, 84));
    m_statics.push_back(elapsed);
    m_statics.push_back(total);
  }

  void BuildCard() {
    const QPoint o(960, m_nTop);
    Label(o, QStringLiteral("Account card 266"));
    QImage card;
    LoadPngResource(266, QStringLiteral("PNG"), &card);
    const QPoint base = o + QPoint(0, 6);
    Surface(base, card);
    AddButton({"logout", 265, 264, 263, "Logout", 0xFE000000}, base + QPoint(50, 42), Look::Normal);
    AddButton({"help", 285, 284, 283}, base + QPoint(210, 90), Look::Hover);
    auto* account = new COwnStatic(1021, this, QStringLiteral("someone@quillory.example"));
    const int width = QFontMetrics(account->DrawFont()).horizontalAdvance(account->text());
    account->move(base + QPoint(((card.isNull() ? 252 : card.width()) - width) / 2, 15));
    auto* help = new COwnStatic(1024, this, QStringLiteral("Help"));
    help->move(base + QPoint(170, 95));
    m_statics.push_back(account);
    m_statics.push_back(help);
  }

  void BuildPad() {
    const QPoint o(1240, m_nTop);
    Label(o, QStringLiteral("Action pads 256 and 259"));
    QImage pad3, pad2;
    LoadPngResource(256, QStringLiteral("PNG"), &pad3);
    LoadPngResource(259, QStringLiteral("PNG"), &pad2);
    Surface(o + QPoint(0, 6), pad3);
    Surface(o + QPoint(0, 80), pad2);
    AddButton({"delete", 189, 191, 190}, o + QPoint(10, 14), Look::Normal);
    AddButton({"copy", 194, 193, 192}, o + QPoint(78, 14), Look::Hover);
    AddButton({"export", 198, 200, 199}, o + QPoint(146, 14), Look::Pressed);
    AddButton({"delete", 189, 191, 190}, o + QPoint(10, 88), Look::Normal);
    AddButton({"export", 198, 200, 199}, o + QPoint(78, 88), Look::Normal);
  }

  void BuildViewer() {
    const QPoint o(10, m_nTop + 170);
    Label(o, QStringLiteral("Text viewer: frame 282, paper 281, text box, khaki scroll bar, close"));
    QImage frame, paper;
    LoadPngResource(282, QStringLiteral("PNG"), &frame);
    LoadPngResource(281, QStringLiteral("BMP"), &paper);
    const QPoint base = o + QPoint(0, 8);
    Surface(base, frame);
    const QPoint paperAt = base + QPoint(8, 8);
    Surface(paperAt, paper);
    m_text = new CTransEdit(1017, this);
    QStringList lines;
    for (int i = 1; i <= 60; ++i)
      lines << QStringLiteral("Line %1 of a text clip, printed on the paper.").arg(i);
    m_text->setPlainText(lines.join(QLatin1Char('\n')));
    QPalette pal = m_text->palette();
    pal.setColor(QPalette::Text, QColor(0x4a, 0x32, 0x1e));
    m_text->setPalette(pal);
    m_text->setGeometry(QRect(paperAt + QPoint(20, 45), QSize(340, 330)));
    m_text->SetBackground(&m_imgSurface);
    m_text->verticalScrollBar()->setValue(12);
    m_viewerBar = std::make_unique<CSkinScrollBar>(m_text);
    m_viewerBar->LoadViewerImages();
    m_viewerBar->SetArea(QRect(paperAt + QPoint(370, 45), QSize(14, 330)));
    AddButton({"close", 288, 287, 286}, paperAt + QPoint(414 - 45, 6), Look::Normal);
  }

  void BuildScrollBars() {
    const QPoint o(470, m_nTop + 240);
    Label(o, QStringLiteral("Panel scroll bar: shown, thumb hover, thumb pressed (dragging), "
                            "idle one tick, hidden; and with content that fits"));
    const char* const names[] = {"shown", "hover", "pressed", "idle", "hidden", "fits"};
    for (int i = 0; i < 6; ++i) {
      auto* target = new QWidget(this);
      target->setGeometry(o.x() + i * 90, o.y() + 10, 60, 340);
      target->setAttribute(Qt::WA_TransparentForMouseEvents);
      auto bar = std::make_unique<CSkinScrollBar>(target);
      bar->LoadPanelImages();
      bar->SetArea(target->geometry());
      SkinScrollInfo info;
      info.nMax = i == 5 ? 10 : 999;
      info.nPage = i == 5 ? 50 : 150;
      info.nPos = 300;
      bar->SetScrollInfo(info);
      QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
      {
        QPainter probe(&scratch);
        bar->Draw(probe);
      }
      const QRect thumb = bar->ThumbRect();
      const QPoint onThumb(target->geometry().right() - 5, thumb.center().y());
      if (i == 1) bar->OnMouseMove(Qt::NoButton, onThumb);
      if (i == 2) bar->OnLButtonDown(onThumb);
      if (i == 3) bar->OnFadeTick();
      if (i == 4) {
        bar->OnFadeTick();
        bar->OnFadeTick();
      }
      Label({o.x() + i * 90, o.y() + 364}, QString::fromLatin1(names[i]));
      m_bars.push_back(std::move(bar));
    }
  }

  int m_nTop = 0;
  QImage m_imgSurface;
  std::vector<std::pair<QPoint, QString>> m_labels;
  std::vector<CTransButton*> m_buttons;
  std::vector<COwnEdit*> m_edits;
  std::vector<COwnStatic*> m_statics;
  std::vector<std::unique_ptr<CSkinScrollBar>> m_bars;
  CTransEdit* m_text = nullptr;
  std::unique_ptr<CSkinScrollBar> m_viewerBar;
  std::unique_ptr<CSkinTip> m_tip;
};

// A three-button action pad as a real layered window.
class SamplePad : public LayeredWindow, public _GDIplusWindow {
 public:
  SamplePad(QWidget* owner, int percent) : LayeredWindow(owner, Qt::Tool), m_nPercent(percent) {
    m_plug.Attach(this, 256);
    const unsigned ids[3][3] = {{189, 191, 190}, {194, 193, 192}, {198, 200, 199}};
    for (int i = 0; i < 3; ++i) {
      auto* button = new CTransButton(1013 + i, this);
      button->LoadImages(ids[i][0], ids[i][1], ids[i][2]);
      button->move(10 + i * 68, 8);
      m_buttons.push_back(button);
    }
  }
  void DrawControls(QPainter& dc, int, int) override {
    for (CTransButton* button : m_buttons) DrawIfVisible(*button, dc);
  }
  QWidget* GetHwnd() override { return this; }
  GdiPlug m_plug;

 protected:
  void OnInvalidate() override { m_plug.Render(false, m_nPercent); }

 private:
  int m_nPercent;
  std::vector<CTransButton*> m_buttons;
};

}  // namespace

QWidget* MakeControlPage() { return new ControlPage; }

// Keeps the sample windows shown only while the controls page is: over the
// pictures page they would hide the pictures under them.
class FollowPage : public QObject {
 public:
  FollowPage(QWidget* page, std::vector<QWidget*> windows)
      : QObject(page), m_windows(std::move(windows)) {
    page->installEventFilter(this);
    for (QWidget* window : m_windows) window->setVisible(page->isVisible());
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
      for (QWidget* window : m_windows) window->setVisible(event->type() == QEvent::Show);
    return false;
  }

 private:
  std::vector<QWidget*> m_windows;
};

void ShowLayeredSamples(QWidget* anchor, QWidget* page) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  // A light desk with a stand-in main window (220 × 688 at 13, 0 inside the
  // narrow shadow), so the shadow and the pads are seen over something.
  const QPoint origin(screen.right() - 300, screen.top() + 250);
  auto* desk = new QWidget(anchor, Qt::Tool | Qt::FramelessWindowHint);
  desk->setStyleSheet(QStringLiteral("background: #c9ced6;"));
  desk->setGeometry(QRect(origin, QSize(300, 900)));
  desk->show();
  auto* stand = new QWidget(anchor, Qt::Tool | Qt::FramelessWindowHint);
  stand->setStyleSheet(QStringLiteral("background: #f4f1ea;"));
  stand->setGeometry(QRect(origin + QPoint(20 + 13, 20), QSize(220, 688)));
  stand->show();
  auto* shadow = new CShadowDlg(anchor);
  shadow->move(origin + QPoint(20, 20));
  shadow->show();
  for (int percent = 0; percent <= 99; percent += 3) shadow->Painter().Render(false, percent);
  shadow->Painter().Render(false, 100);

  auto* pad = new SamplePad(anchor, 100);
  pad->move(origin + QPoint(60, 300));
  pad->show();
  pad->m_plug.Render(false, 100);

  auto* faded = new SamplePad(anchor, 50);
  faded->move(origin + QPoint(60, 400));
  faded->show();
  faded->m_plug.Render(false, 50);

  new FollowPage(page, {desk, stand, shadow, pad, faded});
}
