// Owner-drawn text controls and the transparent text box: what the owner
// composes for them, and the text box's background and menu.
#include <gtest/gtest.h>

#include "skin/controls.h"
#include "skin_test_util.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPainter>
#include <cmath>

using skintest::BoundsOf;

namespace {

QImage Canvas(int w = 200, int h = 40) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

bool IsSelectionBlue(QRgb p) { return qBlue(p) > qRed(p) + 30 && qAlpha(p) > 0; }

TEST(OwnEdit, SelectingTheMiddleWordHighlightsExactlyThatWord) {
  QWidget owner;
  COwnEdit edit(1005, &owner);
  edit.setText(QStringLiteral("one two three"));
  edit.setSelection(4, 3);
  QImage image = Canvas();
  {
    QPainter dc(&image);
    edit.DrawInto(dc, 10, 5);
  }
  const QFontMetricsF fm(edit.DrawFont(&image), &image);
  const qreal left = 10 + fm.horizontalAdvance(QStringLiteral("one "));
  const qreal right = 10 + fm.horizontalAdvance(QStringLiteral("one two"));
  const QRectF expected(left, 5, right - left, fm.height());
  EXPECT_EQ(edit.SelectionRect(&image, 10, 5), expected);

  const QRect blue = BoundsOf(image, IsSelectionBlue);
  ASSERT_FALSE(blue.isEmpty());
  EXPECT_NEAR(blue.left(), left, 1.0);
  EXPECT_NEAR(blue.right() + 1, right, 1.0);
  EXPECT_EQ(blue.top(), 5);
  // White text is drawn as well.
  EXPECT_FALSE(BoundsOf(image, [](QRgb p) { return qRed(p) > 200 && qBlue(p) > 200; }).isEmpty());
}

TEST(OwnEdit, NoSelectionNoHighlight) {
  QWidget owner;
  COwnEdit edit(1005, &owner);
  edit.setText(QStringLiteral("one two three"));
  QImage image = Canvas();
  {
    QPainter dc(&image);
    edit.DrawInto(dc, 10, 5);
  }
  EXPECT_TRUE(BoundsOf(image, IsSelectionBlue).isEmpty());
  EXPECT_TRUE(edit.SelectionRect(&image, 10, 5).isEmpty());
}

TEST(OwnEdit, CaretStandsAfterTheCharactersBeforeIt) {
  QWidget owner;
  COwnEdit edit(1005, &owner);
  edit.setText(QStringLiteral("ab    cd"));
  edit.setCursorPosition(4);
  QImage image = Canvas();
  {
    QPainter dc(&image);
    edit.DrawInto(dc, 10, 5);
  }
  const QFontMetricsF fm(edit.DrawFont(&image), &image);
  const qreal caretX = 10 + fm.horizontalAdvance(QStringLiteral("ab  "));
  auto isCaret = [](QRgb p) { return qAlpha(p) == 0xFE && qRed(p) == qBlue(p) && qRed(p) > 0x90 && qRed(p) < 0xD0; };
  const QRect caret = BoundsOf(image, isCaret);
  ASSERT_FALSE(caret.isEmpty());
  EXPECT_LE(caret.width(), 1);
  EXPECT_NEAR(caret.left(), caretX, 1.0);
  EXPECT_GE(caret.height(), static_cast<int>(fm.height()) - 1);
}

TEST(OwnEdit, WindowItselfPaintsNothing) {
  QWidget owner;
  owner.resize(200, 40);
  COwnEdit edit(1005, &owner);
  edit.setGeometry(0, 0, 200, 40);
  edit.setText(QStringLiteral("hidden text"));
  QImage image = Canvas();
  edit.render(&image);
  EXPECT_TRUE(BoundsOf(image, [](QRgb p) { return qAlpha(p) != 0; }).isEmpty());
}

TEST(OwnStatic, DrawsWhiteNinePointTextAtItsPlaceOnlyWhenShown) {
  QWidget owner;
  COwnStatic label(1010, &owner, QStringLiteral("00:00"));
  label.setGeometry(45, 10, 60, 20);
  EXPECT_EQ(label.DrawFont().pointSize(), 9);
  QImage image = Canvas();
  {
    QPainter dc(&image);
    DrawIfVisible(label, dc);
  }
  const QRect text = BoundsOf(image, [](QRgb p) { return qAlpha(p) > 128; });
  ASSERT_FALSE(text.isEmpty());
  EXPECT_GE(text.left(), 45);
  EXPECT_LE(text.left(), 48);
  EXPECT_GE(text.top(), 10);
  const QRgb sample = image.pixel(text.center());
  EXPECT_EQ(qRed(sample), qBlue(sample));

  label.hide();
  QImage hidden = Canvas();
  {
    QPainter dc(&hidden);
    DrawIfVisible(label, dc);
  }
  EXPECT_TRUE(BoundsOf(hidden, [](QRgb p) { return qAlpha(p) != 0; }).isEmpty());
}

TEST(TransEdit, BackgroundIsCutFromTheParentsPictureUnderTheBox) {
  QWidget owner;
  owner.resize(200, 150);
  QImage paper(200, 150, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 200; ++x) paper.setPixel(x, y, qRgb(x, y, 99));
  CTransEdit edit(1017, &owner);
  edit.setGeometry(30, 20, 120, 100);
  edit.SetBackground(&paper);
  owner.show();
  const QImage look = edit.grab().toImage();
  const QPoint inside = edit.viewport()->mapTo(&owner, QPoint(0, 0));
  const QPoint local = edit.viewport()->mapTo(&edit, QPoint(0, 0));
  EXPECT_EQ(look.pixel(local), qRgb(inside.x(), inside.y(), 99));
  EXPECT_EQ(look.pixel(local + QPoint(50, 60)), qRgb(inside.x() + 50, inside.y() + 60, 99));
}

TEST(TransEdit, MenuCopiesAndSelectsAllWithTheTextsItIsGiven) {
  QWidget owner;
  CTransEdit edit(1017, &owner);
  edit.setPlainText(QStringLiteral("first line\nsecond line"));
  QMenu* menu = edit.Menu();
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Copy"));
  EXPECT_EQ(menu->actions()[1]->text(), QStringLiteral("Select All"));
  edit.SetMenuTexts(QStringLiteral("复制"), QStringLiteral("全选"));
  EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("复制"));
  EXPECT_EQ(menu->actions()[1]->data().toInt(), CTransEdit::ID_EDIT_SELECT_ALL);

  menu->actions()[1]->trigger();
  EXPECT_EQ(edit.textCursor().selectedText().size(), edit.toPlainText().size());
  QApplication::clipboard()->clear();
  menu->actions()[0]->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("first line\nsecond line"));
  EXPECT_TRUE(edit.isReadOnly());
}

}  // namespace
