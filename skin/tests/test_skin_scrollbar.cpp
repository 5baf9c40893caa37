// The overlay scroll bar: geometry and thumb sizing, paging, thumb drag,
// fade states, and staying out of the way when everything fits.
#include <gtest/gtest.h>

#include <ostream>

#include "skin/controls.h"
#include "skin/scrollbar.h"
#include "skin_test_util.h"

#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>

#include <limits>
#include <vector>

using skintest::Solid;

namespace {

constexpr QRgb kTrack = 0xFF808080;
constexpr QRgb kThumb = 0xFFFF0000;
constexpr QRgb kThumbHover = 0xFF00FF00;
constexpr QRgb kThumbPressed = 0xFF0000FF;

// The window the bar drives; it records every vertical-scroll request.
class ScrollTarget : public QWidget {
 public:
  std::vector<std::pair<int, int>> m_requests;

 protected:
  bool event(QEvent* event) override {
    if (event->type() == CVScrollEvent::TypeId()) {
      auto* scroll = static_cast<CVScrollEvent*>(event);
      m_requests.emplace_back(scroll->Code(), scroll->Pos());
      return true;
    }
    return QWidget::event(event);
  }
};

SkinScrollInfo Info(int nMax, unsigned nPage, int nPos) {
  SkinScrollInfo info;
  info.cbSize = sizeof(SkinScrollInfo);
  info.fMask = 0x17;
  info.nMax = nMax;
  info.nPage = nPage;
  info.nPos = nPos;
  return info;
}

// A target 100 × 340: the bar is x 86..99, its track y 20..320 (T = 300).
class ScrollBarTest : public testing::Test {
 protected:
  ScrollBarTest() : bar(&target) {
    target.resize(100, 340);
    bar.SetImages(Solid(14, 50, kTrack), Solid(14, 20, kThumb), Solid(14, 20, kThumbHover),
                  Solid(14, 20, kThumbPressed));
  }
  QImage Draw() {
    QImage image(100, 340, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter graphics(&image);
    bar.Draw(graphics);
    return image;
  }
  void Show(int nMax, unsigned nPage, int nPos) {
    bar.SetScrollInfo(Info(nMax, nPage, nPos));
    Draw();
  }
  ScrollTarget target;
  CSkinScrollBar bar;
};

TEST_F(ScrollBarTest, ShortThumbIsStretchedToTenPixelsAndTheExtraComesOffTheTrack) {
  bar.SetScrollInfo(Info(999, 10, 990));
  const QImage image = Draw();
  EXPECT_FLOAT_EQ(bar.ThumbLen(), 10.0f);
  EXPECT_FLOAT_EQ(bar.Extra(), 7.0f);
  EXPECT_FLOAT_EQ(bar.ThumbTop(), 290.07f);
  EXPECT_EQ(bar.TrackRect(), QRect(0, 20, 14, 300));
  EXPECT_EQ(bar.ThumbRect(), QRect(0, 310, 14, 10));
  EXPECT_TRUE(bar.IsVisible());
  EXPECT_EQ(image.pixel(92, 100), kTrack);
  EXPECT_EQ(image.pixel(92, 315), kThumb);
  EXPECT_EQ(image.pixel(92, 10), 0u);   // above the track
  EXPECT_EQ(image.pixel(92, 330), 0u);  // below it
  EXPECT_EQ(image.pixel(50, 100), 0u);  // left of the bar
}

TEST_F(ScrollBarTest, LongThumbIsProportional) {
  Show(99, 30, 35);
  EXPECT_FLOAT_EQ(bar.ThumbLen(), 90.0f);
  EXPECT_FLOAT_EQ(bar.Extra(), 0.0f);
  EXPECT_FLOAT_EQ(bar.ThumbTop(), 105.0f);
  EXPECT_EQ(bar.ThumbRect(), QRect(0, 125, 14, 90));
}

struct FitCase {
  int nMax;
  unsigned nPage;
};

void PrintTo(const FitCase& c, std::ostream* os) { *os << "nMax " << c.nMax << " nPage " << c.nPage; }


class ContentFits : public ScrollBarTest, public testing::WithParamInterface<FitCase> {};

TEST_P(ContentFits, NothingIsDrawnOrHandled) {
  bar.SetScrollInfo(Info(GetParam().nMax, GetParam().nPage, 0));
  const QImage image = Draw();
  EXPECT_FALSE(bar.IsVisible());
  EXPECT_TRUE(skintest::BoundsOf(image, [](QRgb p) { return qAlpha(p) != 0; }).isEmpty());
  EXPECT_FALSE(bar.OnLButtonDown({92, 100}));
  EXPECT_FALSE(bar.OnLButtonDown({92, 30}));
  EXPECT_FALSE(bar.OnLButtonUp({92, 100}));
  EXPECT_FALSE(bar.OnMouseMove(Qt::NoButton, {92, 30}));
  EXPECT_TRUE(target.m_requests.empty());
}

INSTANTIATE_TEST_SUITE_P(Infos, ContentFits,
                         testing::Values(FitCase{100, 101}, FitCase{0, 0}, FitCase{50, 50},
                                         FitCase{99, 0}));

TEST_F(ScrollBarTest, FittingContentAfterScrollableContentHidesTheBar) {
  Show(999, 100, 0);
  ASSERT_TRUE(bar.IsVisible());
  bar.SetScrollInfo(Info(100, 101, 0));
  EXPECT_FALSE(bar.IsVisible());
  EXPECT_EQ(bar.Info(), SkinScrollInfo{});
  EXPECT_FALSE(bar.OnLButtonDown({92, 300}));
}

TEST_F(ScrollBarTest, PressOnTheTrackPagesOncePerPress) {
  Show(999, 100, 500);  // thumb y 170..200
  ASSERT_EQ(bar.ThumbRect(), QRect(0, 170, 14, 30));
  EXPECT_TRUE(bar.OnLButtonDown({92, 50}));
  EXPECT_TRUE(bar.OnLButtonUp({92, 50}));
  EXPECT_TRUE(bar.OnLButtonDown({92, 169}));
  EXPECT_TRUE(bar.OnLButtonDown({92, 300}));
  const std::vector<std::pair<int, int>> expected{{SB_PAGEUP, 0}, {SB_PAGEUP, 0}, {SB_PAGEDOWN, 0}};
  EXPECT_EQ(target.m_requests, expected);
  EXPECT_FALSE(bar.IsDragging());
}

TEST_F(ScrollBarTest, PressesBesideTheBarOrOffTheTrackAreNotHandled) {
  Show(999, 100, 500);
  EXPECT_FALSE(bar.OnLButtonDown({50, 100}));  // left of the bar
  EXPECT_FALSE(bar.OnLButtonDown({86, 100}));  // its very left edge counts as outside
  EXPECT_FALSE(bar.OnLButtonDown({92, 5}));    // above the track
  EXPECT_FALSE(bar.OnLButtonUp({50, 100}));
  EXPECT_TRUE(target.m_requests.empty());
}

TEST_F(ScrollBarTest, ThumbDragClampsAtTheTopAndRunsPastTheEnd) {
  Show(999, 100, 500);
  ASSERT_TRUE(bar.OnLButtonDown({92, 185}));
  EXPECT_TRUE(bar.IsDragging());
  EXPECT_EQ(bar.CurrentThumb(), bar.ThumbImage(2));

  EXPECT_TRUE(bar.OnMouseMove(Qt::LeftButton, {92, 195}));  // 10 pixels down
  ASSERT_EQ(target.m_requests.size(), 1u);
  EXPECT_EQ(target.m_requests.back(), std::make_pair(SB_THUMBTRACK, 533));  // 1000 × 160 / 300

  EXPECT_TRUE(bar.OnMouseMove(Qt::LeftButton, {92, -500}));
  EXPECT_EQ(target.m_requests.back(), std::make_pair(SB_THUMBTRACK, 0));
  EXPECT_EQ(bar.Info().nPos, 0);
  const size_t sent = target.m_requests.size();
  EXPECT_TRUE(bar.OnMouseMove(Qt::LeftButton, {92, -600}));  // still 0: nothing new
  EXPECT_EQ(target.m_requests.size(), sent);

  EXPECT_TRUE(bar.OnMouseMove(Qt::LeftButton, {92, 2000}));
  EXPECT_EQ(target.m_requests.back().first, SB_THUMBTRACK);
  EXPECT_GT(target.m_requests.back().second, 999);

  EXPECT_TRUE(bar.OnLButtonUp({92, 2000}));
  EXPECT_FALSE(bar.IsDragging());
  EXPECT_EQ(bar.CurrentThumb(), bar.ThumbImage(0));
}

TEST_F(ScrollBarTest, ThumbFollowsThePointerWithHoverLook) {
  Show(999, 100, 500);
  EXPECT_TRUE(bar.OnMouseMove(Qt::NoButton, {92, 185}));
  EXPECT_EQ(bar.CurrentThumb(), bar.ThumbImage(1));
  EXPECT_EQ(Draw().pixel(92, 185), kThumbHover);
  EXPECT_FALSE(bar.OnMouseMove(Qt::NoButton, {93, 186}));
  EXPECT_TRUE(bar.OnMouseMove(Qt::NoButton, {92, 300}));
  EXPECT_EQ(bar.CurrentThumb(), bar.ThumbImage(0));
  EXPECT_FALSE(bar.OnMouseMove(Qt::NoButton, {20, 300}));
}

TEST_F(ScrollBarTest, FadesOutTwoTicksAfterActivityAndReturnsOnActivity) {
  EXPECT_EQ(bar.Fade(), CSkinScrollBar::kFadeHidden);
  Show(999, 100, 500);
  EXPECT_EQ(bar.Fade(), CSkinScrollBar::kFadeShown);

  EXPECT_FALSE(bar.OnFadeTick());
  EXPECT_EQ(bar.Fade(), CSkinScrollBar::kFadeIdle);
  EXPECT_EQ(Draw().pixel(92, 100), kTrack);
  EXPECT_TRUE(bar.OnFadeTick());
  EXPECT_EQ(bar.Fade(), CSkinScrollBar::kFadeHidden);
  EXPECT_EQ(Draw().pixel(92, 100), 0u);
  EXPECT_FALSE(bar.OnFadeTick());

  // Hovering over the bar brings it back.
  EXPECT_TRUE(bar.OnMouseMove(Qt::NoButton, {92, 100}));
  EXPECT_EQ(bar.Fade(), CSkinScrollBar::kFadeShown);
  EXPECT_EQ(Draw().pixel(92, 100), kTrack);

  // So does a press on it, and so does a scroll change.
  bar.OnFadeTick();
  bar.OnFadeTick();
  EXPECT_TRUE(bar.OnLButtonDown({92, 300}));
  EXPECT_EQ(bar.Fade(), CSkinScrollBar::kFadeShown);
  bar.OnFadeTick();
  bar.OnFadeTick();
  bar.SetScrollInfo(Info(999, 100, 600));
  EXPECT_EQ(bar.Fade(), CSkinScrollBar::kFadeShown);
  // An unchanged scroll state is no activity.
  bar.OnFadeTick();
  bar.OnFadeTick();
  bar.SetScrollInfo(Info(999, 100, 600));
  EXPECT_EQ(bar.Fade(), CSkinScrollBar::kFadeHidden);
}

TEST_F(ScrollBarTest, DraggingKeepsTheBarShown) {
  Show(999, 100, 500);
  ASSERT_TRUE(bar.OnLButtonDown({92, 185}));
  EXPECT_FALSE(bar.OnFadeTick());
  EXPECT_FALSE(bar.OnFadeTick());
  EXPECT_EQ(bar.Fade(), CSkinScrollBar::kFadeShown);
}

TEST_F(ScrollBarTest, BarRectStartsAtTheBarsLeftEdge) {
  EXPECT_EQ(bar.GetBarRect().left(), 86);
  EXPECT_EQ(bar.GetBarRect().top(), 0);
  EXPECT_EQ(bar.GetBarRect().height(), 340);
}

TEST_F(ScrollBarTest, ExplicitAreaAwayFromTheLeftEdgeHitsWhereItIsDrawn) {
  target.resize(400, 400);
  bar.SetArea(QRect(200, 50, 14, 340));  // bar x 200..213, track y 70..370
  bar.SetScrollInfo(Info(999, 100, 0));
  QImage image(400, 400, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter graphics(&image);
  bar.Draw(graphics);
  EXPECT_EQ(image.pixel(205, 200), kTrack);
  EXPECT_TRUE(bar.OnLButtonDown({205, 200}));
  EXPECT_EQ(target.m_requests.back().first, SB_PAGEDOWN);
  EXPECT_FALSE(bar.OnLButtonDown({150, 200}));
}

TEST(ScrollBarTarget, PagingMovesATextBoxByOnePage) {
  QWidget owner;
  owner.resize(300, 200);
  CTransEdit edit(1017, &owner);
  edit.setGeometry(0, 0, 280, 200);
  QStringList lines;
  for (int i = 0; i < 200; ++i) lines << QStringLiteral("line %1").arg(i);
  edit.setPlainText(lines.join(QLatin1Char('\n')));
  owner.show();
  QScrollBar& scroll = *edit.verticalScrollBar();
  ASSERT_GT(scroll.maximum(), 0);

  CSkinScrollBar bar(&edit);
  bar.SetImages(Solid(14, 50, kTrack), Solid(14, 20, kThumb), {}, {});
  bar.SetScrollInfo(ScrollInfoOf(scroll));
  QImage image(280, 200, QImage::Format_ARGB32_Premultiplied);
  QPainter graphics(&image);
  bar.Draw(graphics);
  ASSERT_TRUE(bar.IsVisible());

  const int page = scroll.pageStep();
  QSignalSpy dirty(&edit, &CTransEdit::scrollBarDirty);
  EXPECT_TRUE(bar.OnLButtonDown({275, 170}));
  EXPECT_GE(dirty.count(), 1);  // the owner learns to draw the bar again
  // The text box pages by its own visible lines (one line of overlap or not).
  EXPECT_NEAR(scroll.value(), page, 1);
  // The text box clamps positions past its end.
  ApplyVScroll(scroll, SB_THUMBTRACK, 100000);
  EXPECT_EQ(scroll.value(), scroll.maximum());
}

}  // namespace

namespace {

TEST_F(ScrollBarTest, ExtremeScrollStatesStayWithinRange) {
  SkinScrollInfo huge = Info(std::numeric_limits<int>::max(), 10, std::numeric_limits<int>::max());
  bar.SetScrollInfo(huge);
  Draw();
  EXPECT_TRUE(bar.IsVisible());
  EXPECT_GE(bar.ThumbRect().height(), 0);
  ASSERT_TRUE(bar.OnLButtonDown({92, bar.ThumbRect().top() + 1}));
  EXPECT_TRUE(bar.OnMouseMove(Qt::LeftButton, {92, 1 << 30}));
  EXPECT_TRUE(bar.OnMouseMove(Qt::LeftButton, {92, -(1 << 30)}));
  EXPECT_EQ(bar.Info().nPos, 0);
}

}  // namespace
