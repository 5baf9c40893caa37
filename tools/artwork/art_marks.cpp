#include "painting.h"
#include "palette.h"
#include "pieces.h"

#include <QLinearGradient>
#include <QPolygonF>

namespace art {

namespace {

void outlined(QPainter& p, const QPainterPath& shape)
{
    // A dark halo first, so the cursor stays visible on dark and light ground.
    drawShadow(p, QSize(p.device()->width(), p.device()->height()), shape, 1, QColor(0, 0, 0, 90), QPointF(0.5, 1));
    QPen pen(QColor(0x14, 0x18, 0x1E), 1.3);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::white);
    p.drawPath(shape);
}

QPainterPath capsule(const QRectF& r)
{
    QPainterPath path;
    const double radius = std::min(r.width(), r.height()) / 2;
    path.addRoundedRect(r, radius, radius);
    return path;
}

} // namespace

void handCursor(QImage& image)
{
    QPainter p(&image);
    prepare(p);
    QPainterPath hand = capsule(QRectF(8.5, 1.0, 6, 19));
    hand = hand.united(capsule(QRectF(14.0, 9.5, 5.2, 12)));
    hand = hand.united(capsule(QRectF(18.7, 10.5, 5.0, 11.5)));
    hand = hand.united(capsule(QRectF(23.2, 12.5, 4.6, 10.5)));
    QPainterPath palm;
    palm.addRoundedRect(QRectF(8.5, 15, 19.3, 15), 5, 5);
    hand = hand.united(palm);
    QPainterPath thumb = capsule(QRectF(-3, -2.8, 12, 5.6));
    QTransform t;
    t.translate(7.4, 21.5);
    t.rotate(48);
    hand = hand.united(t.map(thumb));
    outlined(p, hand.simplified());
    p.setPen(QPen(QColor(0x14, 0x18, 0x1E), 1));
    p.drawLine(QPointF(14.6, 16), QPointF(14.6, 19.5));
    p.drawLine(QPointF(19.2, 16.5), QPointF(19.2, 20));
    p.drawLine(QPointF(23.6, 17.5), QPointF(23.6, 21));
}

void dragCursor(QImage& image)
{
    QPainter p(&image);
    prepare(p);
    const QPolygonF arrow{{16, 2},    {24, 10.5}, {19, 10.5}, {19, 21.5}, {24, 21.5}, {16, 30},
                          {8, 21.5},  {13, 21.5}, {13, 10.5}, {8, 10.5}};
    QPainterPath shape;
    shape.addPolygon(arrow);
    shape.closeSubpath();
    outlined(p, shape);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x14, 0x18, 0x1E));
    p.drawEllipse(QPointF(16, 16), 1.6, 1.6);
}

void appIcon(QImage& image)
{
    QPainter p(&image);
    prepare(p);
    const double s = image.width() / 256.0;
    const QRectF tile(16, 12, 224, 224);
    const double radius = 52;
    drawShadow(p, image.size(), roundedRect(QRectF(tile.topLeft() * s, tile.size() * s), radius * s),
               static_cast<int>(4 * s + 0.5), withAlpha(pal::kShadow, 110), QPointF(0, 5 * s));
    p.scale(s, s);
    QLinearGradient g(tile.topLeft(), tile.bottomRight());
    g.setColorAt(0, pal::kAccentLight);
    g.setColorAt(1, pal::kAccentHover);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(tile, radius, radius);

    // A sheet of paper with a few lines of writing, and the quill over it.
    p.save();
    p.translate(118, 132);
    p.rotate(-7);
    const QRectF sheet(-58, -76, 116, 152);
    p.setBrush(QColor(0x7A, 0x1C, 0x20, 70));
    p.drawRoundedRect(sheet.translated(3, 6), 12, 12);
    p.setBrush(pal::kPaper);
    p.drawRoundedRect(sheet, 12, 12);
    QPen line(QColor(0xCF, 0xBF, 0x98), 7);
    line.setCapStyle(Qt::RoundCap);
    p.setPen(line);
    for (int i = 0; i < 5; ++i) {
        const double y = -44 + i * 24;
        const double end = i == 4 ? 4 : 36;
        p.drawLine(QPointF(-36, y), QPointF(end, y));
    }
    p.restore();
    drawGlyph(p, Glyph::Quill, QRectF(96, 40, 132, 132), pal::kInk, 9);
}

} // namespace art
