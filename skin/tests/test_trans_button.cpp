// The picture button: looks and their one-pixel shifts, clicks and
// commands, the turned drawing, caption and tooltip.
#include <gtest/gtest.h>

#include <ostream>

#include "skin/controls.h"
#include "skin_test_util.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QFile>
#include <QPainter>
#include <QSignalSpy>

#include <cmath>

using skintest::BoundsOf;
using skintest::Solid;

namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;

bool IsRed(QRgb p) { return qRed(p) > 200 && qGreen(p) < 50 && qBlue(p) < 50; }

// What the owner composes: the button drawn at (5, 5) of a 30 × 30 picture.
QImage Compose(const CTransButton& button, int x = 5, int y = 5) {
  QImage image(30, 30, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter dc(&image);
  button.DrawInto(dc, x, y);
  return image;
}

class ButtonTest : public testing::Test {
 protected:
  ButtonTest() : button(1013, &parent) {
    parent.resize(100, 100);
    button.resize(10, 10);
  }
  // Red normal, green hover and blue pressed pictures.
  void GiveThreeLooks() {
    button.SetImage(false, CTransButton::kNormal, Solid(10, 10, kRed));
    button.SetImage(false, CTransButton::kHover, Solid(10, 10, kGreen));
    button.SetImage(false, CTransButton::kPressed, Solid(10, 10, kBlue));
    button.SetState(false);
  }
  QWidget parent;
  CTransButton button;
};

TEST_F(ButtonTest, NormalOnlyPictureLiftsOnHoverAndSinksWhilePressed) {
  button.SetImage(false, CTransButton::kNormal, Solid(10, 10, kRed));
  button.SetState(false);
  EXPECT_EQ(BoundsOf(Compose(button), IsRed), QRect(5, 5, 10, 10));

  skintest::Move(&button, {3, 3});
  EXPECT_TRUE(button.IsHover());
  EXPECT_EQ(BoundsOf(Compose(button), IsRed), QRect(4, 4, 10, 10));

  skintest::Press(&button, {3, 3});
  EXPECT_TRUE(button.IsPressed());
  EXPECT_EQ(BoundsOf(Compose(button), IsRed), QRect(6, 6, 10, 10));

  skintest::Release(&button, {3, 3});
  EXPECT_EQ(BoundsOf(Compose(button), IsRed), QRect(4, 4, 10, 10));
  skintest::Leave(&button);
  EXPECT_EQ(BoundsOf(Compose(button), IsRed), QRect(5, 5, 10, 10));
}

TEST_F(ButtonTest, EachLookWithItsOwnPictureIsDrawnInPlace) {
  GiveThreeLooks();

  skintest::Move(&button, {3, 3});
  EXPECT_EQ(button.State(), CTransButton::kHover);
  EXPECT_EQ(Compose(button).pixel(5, 5), kGreen);
  EXPECT_EQ(Compose(button).pixel(4, 4), 0u);

  skintest::Press(&button, {3, 3});
  EXPECT_EQ(button.State(), CTransButton::kPressed);
  EXPECT_EQ(Compose(button).pixel(5, 5), kBlue);
  EXPECT_EQ(Compose(button).pixel(14, 14), kBlue);
  EXPECT_EQ(Compose(button).pixel(15, 15), 0u);
}

TEST_F(ButtonTest, PressedWithoutPressedPictureShowsHoverPictureSunk) {
  button.SetImage(false, CTransButton::kNormal, Solid(10, 10, kRed));
  button.SetImage(false, CTransButton::kHover, Solid(10, 10, kGreen));
  button.SetState(false);
  skintest::Move(&button, {3, 3});
  skintest::Press(&button, {3, 3});
  EXPECT_EQ(button.CurrentImage(), button.Image(false, CTransButton::kHover));
  EXPECT_EQ(Compose(button).pixel(6, 6), kGreen);
  EXPECT_EQ(Compose(button).pixel(5, 5), 0u);
}

TEST_F(ButtonTest, OneClickSendsExactlyOneCommandWithTheControlId) {
  button.SetImage(false, CTransButton::kNormal, Solid(10, 10, kRed));
  button.SetState(false);
  QSignalSpy commands(&button, &CTransButton::command);
  skintest::Move(&button, {4, 4});
  skintest::Press(&button, {4, 4});
  EXPECT_EQ(commands.count(), 0);
  skintest::Release(&button, {5, 5});
  ASSERT_EQ(commands.count(), 1);
  EXPECT_EQ(commands.at(0).at(0).toInt(), 1013);
  // A release with no press before it is no click.
  skintest::Release(&button, {5, 5});
  EXPECT_EQ(commands.count(), 1);
  skintest::Press(&button, {4, 4});
  skintest::Release(&button, {4, 4});
  EXPECT_EQ(commands.count(), 2);
}

TEST_F(ButtonTest, DoubleClickSendsOneCommandAndLeavesTheButtonUnpressed) {
  GiveThreeLooks();
  QSignalSpy commands(&button, &CTransButton::command);
  skintest::Move(&button, {4, 4});
  skintest::Press(&button, {4, 4});
  skintest::Release(&button, {4, 4});
  skintest::DoublePress(&button, {4, 4});
  EXPECT_FALSE(button.IsPressed());
  EXPECT_EQ(button.State(), CTransButton::kHover);
  skintest::Release(&button, {4, 4});
  EXPECT_EQ(commands.count(), 1);
  // The next single click counts again.
  skintest::Press(&button, {4, 4});
  skintest::Release(&button, {4, 4});
  EXPECT_EQ(commands.count(), 2);
}

TEST_F(ButtonTest, PressMoveOffReleaseSendsNothingAndReturnsToNormal) {
  GiveThreeLooks();
  QSignalSpy commands(&button, &CTransButton::command);
  skintest::Move(&button, {4, 4});
  skintest::Press(&button, {4, 4});
  skintest::Move(&button, {40, 40}, Qt::LeftButton);
  skintest::Release(&button, {40, 40});
  EXPECT_EQ(commands.count(), 0);
  EXPECT_FALSE(button.IsPressed());
  EXPECT_EQ(button.State(), CTransButton::kNormal);
  EXPECT_EQ(Compose(button).pixel(5, 5), kRed);
}

TEST_F(ButtonTest, ImageSetBReplacesTheShownPicture) {
  button.SetImage(false, CTransButton::kNormal, Solid(10, 10, kRed));
  button.SetImage(true, CTransButton::kNormal, Solid(10, 10, kBlue));
  button.SetState(false);
  button.SetImageSet(true);
  EXPECT_EQ(Compose(button).pixel(5, 5), kBlue);
  button.SetImageSet(false);
  EXPECT_EQ(Compose(button).pixel(5, 5), kRed);
}

TEST_F(ButtonTest, LoadedPicturesSizeTheButtonAndMissingOnesLeaveItEmpty) {
  EXPECT_TRUE(button.LoadImages(60002, 60002, 60002));
  EXPECT_EQ(button.size(), QSize(40, 30));
  EXPECT_NE(button.CurrentImage(), nullptr);
  EXPECT_FALSE(button.LoadImages(59999, 59999, 59999));
  EXPECT_EQ(button.CurrentImage(), nullptr);
  EXPECT_EQ(BoundsOf(Compose(button), [](QRgb p) { return qAlpha(p) > 0; }), QRect());
}

TEST(TurnedDrawing, CentreOfA35By35PictureIsOffByTheDesignedFractions) {
  const QPointF c = CTransButton::TurnCentre(0, 0, 35, 35);
  EXPECT_FLOAT_EQ(static_cast<float>(c.x()), 16.65f);
  EXPECT_FLOAT_EQ(static_cast<float>(c.y()), 17.25f);
  const QPointF at = CTransButton::TurnCentre(100, 10, 35, 35);
  EXPECT_FLOAT_EQ(static_cast<float>(at.x()), 100 + 16.65f);
  EXPECT_FLOAT_EQ(static_cast<float>(at.y()), 10 + 17.25f);

  // The turn is clockwise on screen and leaves its centre in place.
  const QTransform turn = CTransButton::TurnTransform(90, 100, 10, 35, 35);
  const QPointF fixed = turn.map(at);
  EXPECT_NEAR(fixed.x(), at.x(), 1e-4);
  EXPECT_NEAR(fixed.y(), at.y(), 1e-4);
  const QPointF right = turn.map(at + QPointF(10, 0));
  EXPECT_NEAR(right.x(), at.x(), 1e-4);
  EXPECT_NEAR(right.y(), at.y() + 10, 1e-4);
}

// Alpha-weighted centre of the red pixels, in continuous coordinates.
QPointF RedCentroid(const QImage& image) {
  double sx = 0, sy = 0, sw = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      const double w = qRed(p) > qGreen(p) + 20 ? qRed(p) : 0;
      sx += w * (x + 0.5);
      sy += w * (y + 0.5);
      sw += w;
    }
  return sw > 0 ? QPointF(sx / sw, sy / sw) : QPointF(-1, -1);
}

TEST(TurnedDrawing, HalfTurnMirrorsThePictureAboutTheDesignedCentre) {
  QWidget parent;
  CTransButton button(1010, &parent);
  QImage picture = Solid(35, 35, 0xFF000000 | 0x00FF00);
  QPainter(&picture).fillRect(0, 0, 4, 4, QColor(255, 0, 0));
  button.SetImage(false, CTransButton::kNormal, picture);
  button.resize(35, 35);
  button.SetState(false);

  auto draw = [&](int angle) {
    button.SetAngle(angle);
    QImage image(60, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter dc(&image);
    dc.setRenderHint(QPainter::SmoothPixmapTransform);
    dc.translate(3, 4);
    button.DrawInto(dc, 10, 10);
    EXPECT_EQ(dc.transform(), QTransform::fromTranslate(3, 4));
    return image;
  };
  const QPointF upright = RedCentroid(draw(0));
  EXPECT_NEAR(upright.x(), 3 + 10 + 2, 0.05);
  EXPECT_NEAR(upright.y(), 4 + 10 + 2, 0.05);
  // (x, y) turns to 2c − (x, y): c = (10 + 16.65, 10 + 17.25) on the surface.
  // Pixel sampling may move the result by up to half a pixel; a turn about
  // the picture's true middle would land 1.7 pixels further right.
  const QPointF turned = RedCentroid(draw(180));
  EXPECT_NEAR(turned.x(), 3 + 2 * 26.65 - (10 + 2), 0.6);
  EXPECT_NEAR(turned.y(), 4 + 2 * 27.25 - (10 + 2), 0.6);
}

struct SplitCase {
  const char* text;
  const char* caption;
  const char* tip;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
  *os << '"';
  for (const char* p = c.text; *p != 0; ++p) *os << (*p == '\n' ? "|" : std::string(1, *p));
  *os << '"';
}


class CaptionSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(CaptionSplit, CaptionBeforeFirstBreakTipAfter) {
  QWidget parent;
  CTransButton button(1006, &parent, QString::fromUtf8(GetParam().text));
  EXPECT_EQ(button.Caption(), QString::fromUtf8(GetParam().caption));
  EXPECT_EQ(button.Tip(), QString::fromUtf8(GetParam().tip));
  EXPECT_EQ(button.ToolTip().Text(), QString::fromUtf8(GetParam().tip));
}

INSTANTIATE_TEST_SUITE_P(Texts, CaptionSplit,
                         testing::Values(SplitCase{"Logout\nSign out", "Logout", "Sign out"},
                                         SplitCase{"\nClose", "", "Close"},
                                         SplitCase{"Plain", "Plain", ""},
                                         SplitCase{"a\nb\nc", "a", "b\nc"},
                                         SplitCase{"", "", ""}));

TEST_F(ButtonTest, CaptionWithoutPictureShiftsWithHoverAndPress) {
  button.SetWindowText(QStringLiteral("OK"));
  button.SetCaptionColor(0xFFFF0000);
  button.resize(30, 20);
  auto captionBounds = [&] {
    QImage image(60, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter dc(&image);
    button.DrawInto(dc, 10, 10);
    return BoundsOf(image, [](QRgb p) { return qAlpha(p) > 100; });
  };
  const QRect normal = captionBounds();
  ASSERT_FALSE(normal.isEmpty());
  EXPECT_TRUE(QRect(10, 10, 30, 20).contains(normal));
  skintest::Move(&button, {3, 3});
  EXPECT_EQ(captionBounds(), normal.translated(-1, -1));
  skintest::Press(&button, {3, 3});
  EXPECT_EQ(captionBounds(), normal.translated(1, 1));
}

TEST_F(ButtonTest, CaptionIsCentredWhateverTheWindowFontSize) {
  // The desktop decides the window font's size; the caption is drawn at 9
  // points of its face and must still sit in the middle of the button.
  button.resize(152, 44);
  button.SetWindowText(QStringLiteral("Logout"));
  button.SetCaptionColor(0xFFFF0000);
  for (int points : {6, 9, 16, 24}) {
    QFont windowFont = button.font();
    windowFont.setPointSize(points);
    button.setFont(windowFont);
    QImage image(200, 80, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter dc(&image);
      button.DrawInto(dc, 10, 10);
    }
    const QRect ink = BoundsOf(image, [](QRgb p) { return qAlpha(p) > 60; });
    ASSERT_FALSE(ink.isEmpty()) << points;
    const double cx = ink.left() + ink.width() / 2.0, cy = ink.top() + ink.height() / 2.0;
    EXPECT_NEAR(cx, 10 + 152 / 2.0, 2.5) << points << " points";
    EXPECT_NEAR(cy, 10 + 44 / 2.0, 3.5) << points << " points";
  }
}

TEST_F(ButtonTest, CaptionTakesTheColourOfTheCurrentLook) {
  button.SetImage(false, CTransButton::kNormal, Solid(30, 20, 0x00000000));
  button.SetImage(false, CTransButton::kHover, Solid(30, 20, 0x00000000));
  button.resize(30, 20);
  button.SetWindowText(QStringLiteral("OK"));
  button.SetCaptionColor(CTransButton::kNormal, 0xFFFF0000);
  button.SetCaptionColor(CTransButton::kHover, 0xFF0000FF);
  button.SetState(false);
  auto hasColour = [&](auto pred) {
    QImage image(60, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter dc(&image);
    button.DrawInto(dc, 10, 10);
    return !BoundsOf(image, pred).isEmpty();
  };
  auto red = [](QRgb p) { return qRed(p) > 100 && qBlue(p) == 0; };
  auto blue = [](QRgb p) { return qBlue(p) > 100 && qRed(p) == 0; };
  EXPECT_TRUE(hasColour(red));
  EXPECT_FALSE(hasColour(blue));
  skintest::Move(&button, {3, 3});
  EXPECT_TRUE(hasColour(blue));
  EXPECT_FALSE(hasColour(red));
}

TEST_F(ButtonTest, TooltipUsesTheDesignedColoursAndWidth) {
  button.SetTipText(QStringLiteral("A long tooltip text that certainly needs more than one "
                                   "line when it may be at most two hundred pixels wide"));
  CSkinTip& tip = button.ToolTip();
  EXPECT_LE(tip.width(), CSkinTip::kMaxWidth);
  EXPECT_GT(tip.height(), tip.fontMetrics().height() * 3 / 2);
  const QImage look = tip.grab().toImage();
  const int h = look.height();
  EXPECT_EQ(look.pixel(0, h / 2) & 0xFFFFFF, CSkinTip::kBorder & 0xFFFFFF);
  EXPECT_EQ(look.pixel(look.width() - 1, h / 2) & 0xFFFFFF, CSkinTip::kBorder & 0xFFFFFF);
  const QRgb top = look.pixel(2, 1), bottom = look.pixel(2, h - 2);
  EXPECT_GT(qRed(top), qRed(bottom));  // white towards RGB(228, 228, 240)
  EXPECT_NEAR(qRed(bottom), 228, 4);
  EXPECT_NEAR(qBlue(bottom), 240, 4);
  const QRect text = BoundsOf(look, [](QRgb p) { return qRed(p) < 120 && qGreen(p) < 140; });
  EXPECT_FALSE(text.isEmpty());
}

TEST_F(ButtonTest, TooltipStaysOnTheScreenNearItsEdges) {
  // The main window stands at the screen's right edge: its buttons' tips
  // must not run off it.
  button.SetTipText(QStringLiteral("Synchronization"));
  CSkinTip& tip = button.ToolTip();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QPoint corners[] = {screen.bottomRight() - QPoint(5, 5),
                            QPoint(screen.right() - 10, screen.top() + 30),
                            QPoint(screen.left() + 30, screen.bottom() - 2)};
  for (const QPoint& at : corners) {
    tip.ShowAt(at);
    EXPECT_TRUE(screen.contains(tip.geometry())) << at.x() << "," << at.y();
  }
  tip.ShowAt(screen.topLeft() + QPoint(40, 40));
  EXPECT_EQ(tip.pos(), screen.topLeft() + QPoint(40, 40));  // moved only when needed
  tip.hide();
}

class CountingWindow : public LayeredWindow {
 public:
  int m_nRenders = 0;

 protected:
  void OnInvalidate() override { ++m_nRenders; }
};

TEST(ButtonOwner, LookChangeAsksTheLayeredOwnerToRenderOnce) {
  CountingWindow owner;
  CTransButton button(1014, &owner);
  button.resize(10, 10);
  button.SetImage(false, CTransButton::kNormal, Solid(10, 10, kRed));
  button.SetImage(false, CTransButton::kHover, Solid(10, 10, kGreen));
  button.SetState(false);
  QCoreApplication::processEvents();
  owner.m_nRenders = 0;
  skintest::Move(&button, {3, 3});
  skintest::Move(&button, {4, 4});
  QCoreApplication::processEvents();
  EXPECT_EQ(owner.m_nRenders, 1);
}

TEST(ButtonCursor, ButtonsShowTheSharedButtonCursor) {
  QWidget parent;
  CTransButton button(1009, &parent);
  EXPECT_EQ(button.cursor().shape(), ButtonCursor().shape());
  if (QFile::exists(QStringLiteral(":/cur/129.png")))
    EXPECT_EQ(ButtonCursor().shape(), Qt::BitmapCursor);
  else
    EXPECT_EQ(ButtonCursor().shape(), Qt::PointingHandCursor);
}

}  // namespace

namespace {

TEST(ButtonCursor, HotSpotComesFromTheArtworkTable) {
  if (!QFile::exists(QStringLiteral(":/cur/129.png"))) GTEST_SKIP() << "artwork not built in";
  const QCursor cursor = LoadCursorResource(IDC_BUTTON_CURSOR);
  EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
  EXPECT_EQ(cursor.hotSpot(), QPoint(11, 1));
  EXPECT_EQ(LoadCursorResource(59999, Qt::WaitCursor).shape(), Qt::WaitCursor);
}

}  // namespace
