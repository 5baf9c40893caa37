// The drop-shadow window: invisible until rendered, never in the taskbar,
// the default picture, and pictures handed to it.
#include <gtest/gtest.h>

#include "skin/shadow.h"
#include "skin_test_util.h"

#include <QFile>

using skintest::Solid;

namespace {

bool HaveArt() { return QFile::exists(QStringLiteral(":/png/254.png")); }

TEST(Shadow, FreshWindowIsFullyTransparent) {
  CShadowDlg shadow;
  EXPECT_EQ(shadow.LayeredAlpha(), 0);
  EXPECT_EQ(shadow.Painter().Blend().SourceConstantAlpha, 0);
  EXPECT_TRUE(shadow.IsLayered());
  shadow.show();
  EXPECT_EQ(shadow.LayeredAlpha(), 0);
}

TEST(Shadow, IsAToolWindowThatTakesNoFocusOrClicks) {
  CShadowDlg shadow;
  shadow.show();
  const Qt::WindowFlags flags = shadow.windowFlags();
  EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
  EXPECT_TRUE(flags.testFlag(Qt::WindowTransparentForInput));
  EXPECT_TRUE(shadow.testAttribute(Qt::WA_TranslucentBackground));
  EXPECT_EQ(shadow.focusPolicy(), Qt::NoFocus);
}

TEST(Shadow, DefaultPictureIs254AndSizesTheWindow) {
  if (!HaveArt()) GTEST_SKIP() << "artwork not built in";
  CShadowDlg shadow;
  ASSERT_NE(shadow.Painter().Background(), nullptr);
  EXPECT_EQ(shadow.size(), QSize(245, 710));
  EXPECT_EQ(shadow.LayeredImage().size(), QSize(245, 710));
  // A shadow frame: its middle lets the window underneath show through.
  shadow.Painter().Render(false, 100);
  EXPECT_EQ(qAlpha(shadow.LayeredImage().pixel(122, 355)), 0);
}

TEST(Shadow, ShowsAHandedPictureAtTheRequestedOpacity) {
  CShadowDlg shadow;
  QImage picture = Solid(30, 20, 0xFF203040);
  shadow.Painter().SetBackground(picture);
  picture = QImage();
  shadow.Painter().Render(false, 60);
  EXPECT_EQ(shadow.size(), QSize(30, 20));
  EXPECT_EQ(shadow.LayeredAlpha(), 153);
  EXPECT_EQ(shadow.LayeredImage().pixel(10, 10), 0xFF203040u);
}

TEST(Shadow, AskingItToDrawAgainRendersAtFullOpacity) {
  CShadowDlg shadow;
  shadow.Painter().SetBackground(Solid(10, 10, 0xFF000000));
  shadow.Invalidate();
  shadow.FlushInvalidate();
  EXPECT_EQ(shadow.LayeredAlpha(), 254);
}

}  // namespace
