#include "painting.h"
#include "palette.h"
#include "pieces.h"

#include <QLinearGradient>

namespace art {

namespace {

QColor accentFor(Look look)
{
    switch (look) {
    case Look::Normal: return pal::kAccent;
    case Look::Hover: return pal::kAccentHover;
    case Look::Pressed: return pal::kAccentPressed;
    }
    return pal::kAccent;
}

} // namespace

void padStrip(QImage& image)
{
    // A deeper red than the buttons, so the round buttons stand out of it.
    QPainter p(&image);
    prepare(p);
    const QRectF strip(2, 2, image.width() - 4, image.height() - 5);
    const double radius = 16;
    drawShadow(p, image.size(), roundedRect(strip, radius), 1, withAlpha(pal::kShadow, 120), QPointF(0, 1.5));
    QLinearGradient g(strip.topLeft(), strip.bottomLeft());
    g.setColorAt(0, QColor(0xB4, 0x36, 0x3A));
    g.setColorAt(1, QColor(0x9C, 0x2C, 0x30));
    p.setPen(QPen(QColor(0x80, 0x22, 0x26), 1));
    p.setBrush(g);
    p.drawRoundedRect(strip.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 50), 1));
    p.drawLine(QPointF(strip.left() + radius, strip.top() + 1.5), QPointF(strip.right() - radius, strip.top() + 1.5));
}

void padButton(QImage& image, Glyph glyph, Look look)
{
    QPainter p(&image);
    prepare(p);
    const QPointF c(25, 25);
    const double r = 22;
    drawShadow(p, image.size(), circlePath(c, r), 1, withAlpha(QColor(0x40, 0x08, 0x0A), 140), QPointF(0, 1.5));
    const QColor fill = accentFor(look);
    QLinearGradient g(c.x(), c.y() - r, c.x(), c.y() + r);
    if (look == Look::Pressed) {
        g.setColorAt(0, mix(fill, Qt::black, 0.12));
        g.setColorAt(1, fill);
    } else {
        g.setColorAt(0, mix(fill, Qt::white, 0.12));
        g.setColorAt(1, fill);
    }
    p.setPen(QPen(QColor(255, 255, 255, look == Look::Pressed ? 70 : 120), 1.5));
    p.setBrush(g);
    p.drawEllipse(c, r - 0.75, r - 0.75);
    drawGlyph(p, glyph, glyphBox(c, 24), Qt::white, pal::kStrokeLarge);
}

void accountCard(QImage& image)
{
    QPainter p(&image);
    prepare(p);
    const QRectF card(4, 3, image.width() - 8, image.height() - 8);
    const double radius = 12;
    drawShadow(p, image.size(), roundedRect(card, radius), 2, withAlpha(QColor(0, 0, 0), 140), QPointF(0, 2));
    QLinearGradient g(card.topLeft(), card.bottomLeft());
    g.setColorAt(0, pal::kDarkRaised);
    g.setColorAt(1, pal::kDark);
    p.setPen(QPen(pal::kDarkLine, 1));
    p.setBrush(g);
    p.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    // A divider between the logout button and the help row.
    p.setPen(QPen(pal::kDarkLine, 1));
    p.drawLine(QPointF(18, 88.5), QPointF(image.width() - 18, 88.5));
}

void logoutButton(QImage& image, Look look)
{
    // The caption is drawn in black by the button, so the pill stays light.
    QPainter p(&image);
    prepare(p);
    const QRectF pill(2, 2, image.width() - 4, image.height() - 5);
    const double radius = pill.height() / 2;
    drawShadow(p, image.size(), roundedRect(pill, radius), 1, withAlpha(QColor(0, 0, 0), 110), QPointF(0, 1.5));
    QColor fill = QColor(0xF7, 0xF4, 0xEF);
    if (look == Look::Hover)
        fill = QColor(0xE8, 0xE2, 0xD9);
    else if (look == Look::Pressed)
        fill = QColor(0xD5, 0xCD, 0xC1);
    QLinearGradient g(pill.topLeft(), pill.bottomLeft());
    g.setColorAt(0, look == Look::Pressed ? mix(fill, Qt::black, 0.05) : mix(fill, Qt::white, 0.5));
    g.setColorAt(1, fill);
    p.setPen(QPen(look == Look::Normal ? pal::kLine : pal::kAccent, look == Look::Normal ? 1 : 1.5));
    p.setBrush(g);
    p.drawRoundedRect(pill.adjusted(0.75, 0.75, -0.75, -0.75), radius, radius);
}

void helpButton(QImage& image, Look look)
{
    QPainter p(&image);
    prepare(p);
    const QPointF c(12.5, 12.5);
    const double r = 10.5;
    if (look == Look::Normal) {
        p.setPen(QPen(QColor(0xC6, 0xCF, 0xDA), 1.6));
        p.setBrush(Qt::NoBrush);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(accentFor(look));
    }
    p.drawEllipse(c, r, r);
    drawGlyph(p, Glyph::Help, glyphBox(c, 14), look == Look::Normal ? QColor(0xC6, 0xCF, 0xDA) : Qt::white,
              pal::kStrokeSmall);
}

} // namespace art
