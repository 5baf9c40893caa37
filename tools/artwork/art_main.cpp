#include "painting.h"
#include "palette.h"
#include "pieces.h"

#include <QFontMetricsF>
#include <QLinearGradient>

namespace art {

namespace {

constexpr int kHeaderHeight = 90;

// Red rounded square with a white quill: the product mark.
void drawMark(QPainter& p, const QRectF& r)
{
    drawShadow(p, QSize(p.device()->width(), p.device()->height()), roundedRect(r, r.width() * 0.26), 2,
               withAlpha(pal::kShadow, 70), QPointF(0, 1));
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, pal::kAccentLight);
    g.setColorAt(1, pal::kAccent);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(r, r.width() * 0.26, r.width() * 0.26);
    drawGlyph(p, Glyph::Quill, glyphBox(r.center(), r.width() * 0.68), Qt::white, r.width() / 12.0);
}

} // namespace

void mainBackground(QImage& image, bool wide)
{
    const int w = image.width();
    const int h = image.height();
    QPainter p(&image);
    prepare(p);
    // Every column of the header right of the logo and every row of the body
    // is tiled by the window, so both are uniform along the tiling direction.
    QLinearGradient header(0, 0, 0, kHeaderHeight);
    header.setColorAt(0, QColor(0xFF, 0xFE, 0xFC));
    header.setColorAt(1, pal::kPanelDeep);
    p.fillRect(QRect(0, 0, w, kHeaderHeight), header);
    p.fillRect(QRect(0, kHeaderHeight - 1, w, 1), pal::kLine);
    p.fillRect(QRect(0, kHeaderHeight, w, h - kHeaderHeight), pal::kBody);

    // The logo must stay inside the part of the header copied unchanged.
    const int copied = wide ? 260 : 110;
    const QRectF mark = wide ? QRectF(18, 14, 32, 32) : QRectF(10, 10, 24, 24);
    drawMark(p, mark);
    int px = wide ? 22 : 15;
    QFont font = artFont(px, true);
    const double textX = mark.right() + (wide ? 12 : 6);
    while (textX + QFontMetricsF(font).horizontalAdvance(QStringLiteral("Quillory")) > copied - 4 && px > 8)
        font = artFont(--px, true);
    p.setFont(font);
    p.setPen(pal::kInk);
    const QFontMetricsF fm(font);
    const double baseline = mark.center().y() + (fm.ascent() - fm.descent()) / 2;
    p.drawText(QPointF(textX, baseline), QStringLiteral("Quillory"));
}

void topStrip(QImage& image)
{
    const int h = image.height();
    for (int y = 0; y < h; ++y) {
        const double t = 1.0 - static_cast<double>(y) / h;
        const int a = static_cast<int>(52 * t * t + 0.5);
        const QRgb px = qPremultiply(qRgba(pal::kShadow.red(), pal::kShadow.green(), pal::kShadow.blue(), a));
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = px;
    }
}

void headerButton(QImage& image, Glyph glyph, Look look, bool danger)
{
    QPainter p(&image);
    prepare(p);
    const QPointF c(image.width() / 2.0, image.height() / 2.0);
    const double d = image.width() - 3;
    QColor glyphColour = pal::kInk;
    if (look != Look::Normal) {
        QColor wash;
        if (danger) {
            wash = look == Look::Hover ? pal::kAccentHover : pal::kAccentPressed;
            glyphColour = Qt::white;
        } else {
            wash = look == Look::Hover ? pal::kHoverWash : pal::kPressWash;
        }
        p.setPen(Qt::NoPen);
        p.setBrush(wash);
        p.drawEllipse(c, d / 2, d / 2);
    }
    const bool small = image.width() < 30;
    drawGlyph(p, glyph, glyphBox(c, image.width() * (small ? 0.5 : 0.54)), glyphColour,
              small ? pal::kStrokeSmall : pal::kStrokeMedium);
}

void syncButton(QImage& image)
{
    QPainter p(&image);
    prepare(p);
    // Centred on the point the button turns about, so the spinning icon stays put.
    const QPointF pivot((image.width() - 1.7) / 2.0, (image.height() - 0.5) / 2.0);
    drawGlyph(p, Glyph::Sync, glyphBox(pivot, image.width() * 0.62), pal::kInk, pal::kStrokeMedium);
}

void frameShadow(QImage& image, const QRect& inner, QPointF offset, int blur, int alpha)
{
    {
        QPainter p(&image);
        prepare(p);
        drawShadow(p, image.size(), roundedRect(QRectF(inner), 3), blur, withAlpha(pal::kShadow, alpha),
                   offset);
    }
    clearRect(image, inner);
}

} // namespace art
