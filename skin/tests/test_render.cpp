// The layered-window renderer: constant alpha, composition of background
// and controls, background loading, and the transparent-pixel clearing.
#include <gtest/gtest.h>

#include <ostream>

#include "skin/controls.h"
#include "skin/render.h"
#include "skin_test_util.h"

#include <QPainter>
#include <QWindow>

using skintest::Solid;

namespace {

constexpr unsigned kMissingId = 59999;
constexpr unsigned kMarginPicture = 60001;  // 8 × 8, see data/make_test_art.cpp
constexpr unsigned kBluePicture = 60002;    // 40 × 30 opaque blue

// A pop-up with one skinned button, rendered the way every skinned pop-up is.
class PadWindow : public LayeredWindow, public _GDIplusWindow {
 public:
  PadWindow() : m_button(1013, this) {
    m_button.SetImage(false, CTransButton::kNormal, Solid(10, 10, 0xFFFF0000));
    m_button.resize(10, 10);
    m_button.SetState(false);
    m_button.move(5, 5);
    m_plug.Connect(this);
  }
  void DrawControls(QPainter& dc, int cx, int cy) override {
    m_nDrawCalls++;
    m_size = QSize(cx, cy);
    DrawIfVisible(m_button, dc);
  }
  QWidget* GetHwnd() override { return this; }

  GdiPlug m_plug;
  CTransButton m_button;
  int m_nDrawCalls = 0;
  QSize m_size;
};

struct AlphaCase {
  int percent;
  int alpha;
};

void PrintTo(const AlphaCase& c, std::ostream* os) { *os << c.percent << "%"; }


class RenderAlpha : public testing::TestWithParam<AlphaCase> {};

TEST_P(RenderAlpha, ConstantAlphaIsTruncatedPercentTimes255Over100) {
  PadWindow window;
  window.m_plug.SetBackground(Solid(40, 30, 0xFF0000FF));
  window.m_plug.Render(false, GetParam().percent);
  EXPECT_EQ(GdiPlug::ConstantAlpha(GetParam().percent), GetParam().alpha);
  EXPECT_EQ(window.m_plug.Blend().SourceConstantAlpha, GetParam().alpha);
  EXPECT_EQ(window.LayeredAlpha(), GetParam().alpha);
  EXPECT_EQ(window.m_plug.Blend().AlphaFormat, 1);
}

INSTANTIATE_TEST_SUITE_P(Percents, RenderAlpha,
                         testing::Values(AlphaCase{0, 0}, AlphaCase{50, 127}, AlphaCase{99, 252},
                                         AlphaCase{100, 254}, AlphaCase{150, 254},
                                         AlphaCase{3, 7}, AlphaCase{-5, 0}));

TEST(Render, ComposesBackgroundWithControlsOnTopAtTheBackgroundSize) {
  PadWindow window;
  window.resize(100, 100);
  ASSERT_TRUE(window.m_plug.SetBackground(Solid(40, 30, 0xFF0000FF)));
  window.m_plug.Render(false, 100);

  EXPECT_EQ(window.size(), QSize(40, 30));
  EXPECT_EQ(window.m_nDrawCalls, 1);
  EXPECT_EQ(window.m_size, QSize(40, 30));
  const QImage& shown = window.LayeredImage();
  ASSERT_EQ(shown.size(), QSize(40, 30));
  EXPECT_EQ(shown.pixel(1, 1), 0xFF0000FFu);    // background
  EXPECT_EQ(shown.pixel(5, 5), 0xFFFF0000u);    // button's top-left
  EXPECT_EQ(shown.pixel(14, 14), 0xFFFF0000u);  // button's bottom-right
  EXPECT_EQ(shown.pixel(15, 15), 0xFF0000FFu);
  EXPECT_TRUE(window.IsLayered());
  EXPECT_TRUE(window.testAttribute(Qt::WA_TranslucentBackground));
}

TEST(Render, HiddenControlIsLeftOutAndEachRenderComposesAfresh) {
  PadWindow window;
  window.m_plug.SetBackground(Solid(40, 30, 0xFF0000FF));
  window.m_plug.Render(false, 100);
  EXPECT_EQ(window.LayeredImage().pixel(6, 6), 0xFFFF0000u);
  window.m_button.hide();
  window.m_plug.Render(false, 100);
  EXPECT_EQ(window.LayeredImage().pixel(6, 6), 0xFF0000FFu);
  EXPECT_EQ(window.m_nDrawCalls, 2);
}

TEST(Render, ScalesBackgroundToASizeSetByTheOwner) {
  PadWindow window;
  QImage two = Solid(10, 10, 0xFF00FF00);
  QPainter(&two).fillRect(5, 0, 5, 10, QColor(0, 0, 255));
  window.m_plug.SetBackground(two);
  window.m_plug.SetSize(40, 20);
  window.m_plug.Render(true, 100);
  EXPECT_EQ(window.size(), QSize(40, 20));
  EXPECT_EQ(window.LayeredImage().pixel(2, 18), 0xFF00FF00u);
  EXPECT_EQ(window.LayeredImage().pixel(37, 2), 0xFF0000FFu);
}

TEST(Render, KeepsTransparentPixelsTransparent) {
  PadWindow window;
  QImage frame = Solid(20, 20, 0x80000000);
  {
    QPainter painter(&frame);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(5, 5, 10, 10, Qt::transparent);
  }
  window.m_button.hide();
  window.m_plug.SetBackground(frame);
  window.m_plug.Render(false, 50);
  EXPECT_EQ(qAlpha(window.LayeredImage().pixel(10, 10)), 0);
  EXPECT_EQ(qAlpha(window.LayeredImage().pixel(1, 1)), 0x80);
}

TEST(Render, WindowOnScreenShowsTheComposedPictureAtTheConstantAlpha) {
  PadWindow window;
  window.m_plug.SetBackground(Solid(40, 30, 0xFF0000FF));
  window.show();
  window.m_plug.Render(false, 50);
  const QImage shown = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(shown.size(), QSize(40, 30));
  EXPECT_NEAR(qAlpha(shown.pixel(1, 1)), 127, 1);
  EXPECT_EQ(qBlue(shown.pixel(1, 1)), 255);
  EXPECT_NEAR(qAlpha(shown.pixel(6, 6)), 127, 1);
  EXPECT_EQ(qRed(shown.pixel(6, 6)), 255);
  window.m_plug.Render(false, 0);
  EXPECT_EQ(qAlpha(window.grab().toImage().pixel(1, 1)), 0);
}

TEST(Render, FullyTransparentWindowLetsThePointerThrough) {
  // A card faded out to 0 % stays shown: clicks must reach what lies under
  // it instead of its invisible buttons.
  PadWindow window;
  window.m_plug.SetBackground(Solid(40, 30, 0xFF0000FF));
  window.show();
  ASSERT_NE(window.windowHandle(), nullptr);
  const struct {
    int percent;
    bool through;
  } steps[] = {{0, true}, {3, false}, {100, false}, {0, true}, {50, false}};
  for (const auto& step : steps) {
    window.m_plug.Render(false, step.percent);
    EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowTransparentForInput), step.through)
        << step.percent << "%";
    EXPECT_EQ(window.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput),
              step.through)
        << step.percent << "%";
    EXPECT_TRUE(window.isVisible());
  }
}

TEST(Render, WindowMadeTransparentForInputStaysSoWhenShown) {
  LayeredWindow window(nullptr, Qt::Tool | Qt::WindowTransparentForInput);
  window.show();
  window.SetLayeredImage(Solid(10, 10, 0xFF000000), 254);
  EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
}

TEST(Background, MissingPictureLeavesNoBackgroundAndTheSizeUnchanged) {
  PadWindow window;
  window.resize(50, 40);
  EXPECT_FALSE(window.m_plug.LoadBackground(kMissingId));
  EXPECT_EQ(window.m_plug.Background(), nullptr);
  EXPECT_EQ(window.size(), QSize(50, 40));
  window.m_plug.Render(false, 100);  // must not crash
  EXPECT_EQ(window.size(), QSize(50, 40));
  EXPECT_EQ(window.LayeredAlpha(), 254);
}

TEST(Background, MissingPictureReplacesAnEarlierOne) {
  PadWindow window;
  ASSERT_TRUE(window.m_plug.LoadBackground(kBluePicture));
  EXPECT_FALSE(window.m_plug.LoadBackground(kMissingId));
  EXPECT_EQ(window.m_plug.Background(), nullptr);
  EXPECT_EQ(window.size(), QSize(40, 30));
}

TEST(Background, LoadSizesTheWindowAndAttachWiresTheOwner) {
  PadWindow window;
  GdiPlug plug;
  plug.Attach(&window, kBluePicture);
  EXPECT_EQ(plug.m_pPainter, &window);
  EXPECT_EQ(plug.m_hWnd, &window);
  EXPECT_EQ(plug.m_pOwner, &window);
  ASSERT_NE(plug.Background(), nullptr);
  EXPECT_EQ(plug.Width(), 40);
  EXPECT_EQ(plug.Height(), 30);
  EXPECT_EQ(window.size(), QSize(40, 30));
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  plug.Render(false, 100);
  EXPECT_EQ(window.LayeredImage().pixel(20, 2), 0xFF0000FFu);
}

TEST(Background, ConnectSizesTheWindowToAnAlreadyLoadedBackground) {
  PadWindow window;
  GdiPlug plug;
  ASSERT_TRUE(plug.LoadBackground(kBluePicture));
  window.resize(77, 77);
  plug.Connect(&window);
  EXPECT_EQ(window.size(), QSize(40, 30));
}

TEST(Background, SetBackgroundKeepsItsOwnCopyAndDoesNotResize) {
  PadWindow window;
  window.resize(60, 60);
  auto image = std::make_unique<QImage>(Solid(20, 10, 0xFF00FF00));
  ASSERT_TRUE(window.m_plug.SetBackground(*image));
  image->fill(Qt::red);
  image.reset();
  EXPECT_EQ(window.size(), QSize(60, 60));
  ASSERT_NE(window.m_plug.Background(), nullptr);
  EXPECT_EQ(window.m_plug.Background()->pixel(3, 3), 0xFF00FF00u);
  EXPECT_EQ(window.m_plug.Width(), 20);
}

TEST(PngResource, LoadsDecodedPremultipliedAndLeavesOutputAloneWhenMissing) {
  QImage image = Solid(3, 3, 0xFF123456);
  EXPECT_FALSE(LoadPngResource(kMissingId, QString::fromLatin1(kResPng), &image));
  EXPECT_EQ(image.size(), QSize(3, 3));
  EXPECT_EQ(image.pixel(0, 0), 0xFF123456u);
  ASSERT_TRUE(LoadPngResource(kBluePicture, QString::fromLatin1(kResPng), &image));
  EXPECT_EQ(image.size(), QSize(40, 30));
  EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ(SkinResourcePath(QStringLiteral("PNG"), 254), QStringLiteral(":/png/254.png"));
  EXPECT_EQ(SkinResourcePath(QStringLiteral("CUR"), 129), QStringLiteral(":/cur/129.png"));
}

TEST(ImageEx, ClearingZeroesOnlyFullyTransparentPixels) {
  CImageEx image;
  ASSERT_TRUE(image.LoadFromResource(kMarginPicture, true));
  ASSERT_EQ(image.GetWidth(), 8);
  const QImage& px = image.Image();
  EXPECT_EQ(px.pixel(0, 0), 0u);
  EXPECT_EQ(px.pixel(7, 3), 0u);
  EXPECT_EQ(px.pixel(1, 1), qRgba(0, 255, 0, 1));  // alpha 1 keeps its colour
  EXPECT_EQ(px.pixel(3, 3), qRgba(255, 0, 0, 255));
}

TEST(ImageEx, WithoutClearingTheStoredColourStays) {
  CImageEx image;
  ASSERT_TRUE(image.LoadFromResource(kMarginPicture, false));
  EXPECT_EQ(image.Image().pixel(0, 0), qRgba(255, 255, 255, 0));
}

TEST(ImageEx, MissingResourceFailsAndDropsTheOldPicture) {
  CImageEx image;
  ASSERT_TRUE(image.LoadFromResource(kBluePicture, false));
  EXPECT_FALSE(image.LoadFromResource(kMissingId, true));
  EXPECT_TRUE(image.IsNull());
}

}  // namespace
