#include "painting.h"
#include "palette.h"
#include "pieces.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

#include <random>

namespace art {

namespace {

// A round button of the given fill with a soft shadow, a glyph on top.
void roundButton(QImage& image, QPointF c, double r, const QColor& fill, bool highlight, Glyph glyph,
                 double glyphSide, const QColor& glyphColour, double stroke)
{
    QPainter p(&image);
    prepare(p);
    drawShadow(p, image.size(), circlePath(c, r), 2, withAlpha(QColor(0, 0, 0), 110), QPointF(0, 1.5));
    QLinearGradient g(c.x(), c.y() - r, c.x(), c.y() + r);
    g.setColorAt(0, highlight ? mix(fill, Qt::white, 0.14) : fill);
    g.setColorAt(1, highlight ? fill : mix(fill, Qt::black, 0.08));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    drawGlyph(p, glyph, glyphBox(c, glyphSide), glyphColour, stroke);
}

} // namespace

void backdrop(QImage& image)
{
    image.fill(qRgba(0, 0, 0, 128)); // premultiplied black at alpha 128
}

void imageViewerClose(QImage& image, Look look)
{
    QPainter p(&image);
    prepare(p);
    const QPointF c(17.5, 17.5);
    const double r = 15.5;
    drawShadow(p, image.size(), circlePath(c, r), 1, withAlpha(QColor(0, 0, 0), 120), QPointF(0, 1));
    QColor fill = QColor(0x1E, 0x24, 0x2C, 200);
    if (look == Look::Hover)
        fill = pal::kAccentHover;
    else if (look == Look::Pressed)
        fill = pal::kAccentPressed;
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(fill);
    p.drawEllipse(c, r - 1, r - 1);
    drawGlyph(p, Glyph::Close, glyphBox(c, 16), Qt::white, pal::kStrokeMedium + 0.3);
}

void paperClose(QImage& image, Look look)
{
    QPainter p(&image);
    prepare(p);
    const QPointF c(17.5, 17.5);
    if (look != Look::Normal) {
        p.setPen(Qt::NoPen);
        p.setBrush(look == Look::Hover ? QColor(0xEC, 0xE1, 0xC6) : QColor(0xDC, 0xCD, 0xA8));
        p.drawEllipse(c, 15.5, 15.5);
    }
    drawGlyph(p, Glyph::Close, glyphBox(c, 17), QColor(0x57, 0x20, 0x05), pal::kStrokeMedium);
}

void paperSheet(QImage& image)
{
    const int w = image.width();
    const int h = image.height();
    image.fill(pal::kPaper);
    // Fibres: short faint strokes at fixed-seed positions.
    std::mt19937 gen(0x51A7E5u);
    auto unit = [&gen] { return static_cast<double>(gen() % 100000u) / 100000.0; };
    {
        QPainter p(&image);
        prepare(p);
        for (int i = 0; i < 260; ++i) {
            const QPointF a(unit() * w, unit() * h);
            const double angle = unit() * M_PI;
            const double len = 3 + unit() * 9;
            const QPointF b(a.x() + len * std::cos(angle), a.y() + len * std::sin(angle));
            const bool dark = gen() % 2u == 0;
            p.setPen(QPen(dark ? QColor(0xB8, 0xA4, 0x78, 34) : QColor(0xFF, 0xFF, 0xFF, 70), 0.8));
            p.drawLine(a, b);
        }
    }
    addGrain(image, 0x0A17E7u, 3);
    QPainter p(&image);
    prepare(p);
    // A gentle darkening towards the edges, then a crisp one-pixel rim.
    QRadialGradient vignette(QPointF(w / 2.0, h / 2.0), std::hypot(w, h) / 2.0);
    vignette.setColorAt(0.6, QColor(0x8A, 0x70, 0x40, 0));
    vignette.setColorAt(1.0, QColor(0x8A, 0x70, 0x40, 38));
    p.fillRect(image.rect(), vignette);
    p.setPen(QPen(QColor(0xC9, 0xB6, 0x8A), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    // Heading rule above the text, left of the close button.
    p.setPen(QPen(QColor(0xD4, 0xC3, 0x9A), 1));
    p.drawLine(QPointF(20, 34.5), QPointF(w - 60, 34.5));
    p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF, 150), 1));
    p.drawLine(QPointF(20, 35.5), QPointF(w - 60, 35.5));
}

void playerBackground(QImage& image)
{
    QPainter p(&image);
    prepare(p);
    const QRectF panel(6, 4, image.width() - 12, image.height() - 10);
    const double radius = 14;
    drawShadow(p, image.size(), roundedRect(panel, radius), 2, withAlpha(QColor(0, 0, 0), 150),
               QPointF(0, 2));
    QLinearGradient g(panel.topLeft(), panel.bottomLeft());
    g.setColorAt(0, pal::kDarkRaised);
    g.setColorAt(0.35, pal::kDark);
    g.setColorAt(1, pal::kDarkDeep);
    p.setPen(QPen(pal::kDarkLine, 1));
    p.setBrush(g);
    p.drawRoundedRect(panel.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

    // Microphone beside the title field, and the field's underline.
    drawGlyph(p, Glyph::Mic, glyphBox(QPointF(34, 33), 22), pal::kAccentLight, 2.0);
    p.setPen(QPen(pal::kDarkLine, 1));
    p.drawLine(QPointF(55, 46.5), QPointF(455, 46.5));

    // Progress groove: the fill picture is laid over it from x 46, 12 high at y 64.
    const QRectF groove(46, 64, 430, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::kDarkDeep);
    p.drawRoundedRect(groove, 6, 6);
    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(groove.adjusted(0.5, 0.5, -0.5, -0.5), 5.5, 5.5);
    p.setPen(QPen(QColor(255, 255, 255, 28), 1));
    p.drawLine(QPointF(52, 76.5), QPointF(470, 76.5));

    // A faint wave along the foot of the panel.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 16));
    int i = 0;
    for (double x = 24; x < image.width() - 28; x += 6, ++i) {
        const double half = 2 + 9 * std::fabs(std::sin(i * 0.37) * std::cos(i * 0.11 + 0.6));
        p.drawRoundedRect(QRectF(x, 164 - half, 3, half * 2), 1.5, 1.5);
    }
}

void playerButton(QImage& image, Glyph glyph, Look look, bool accent)
{
    const QPointF c(21.5, 21.5);
    const double r = 19.5;
    QColor fill;
    if (accent)
        fill = look == Look::Normal ? pal::kAccent : look == Look::Hover ? pal::kAccentHover : pal::kAccentPressed;
    else
        fill = look == Look::Normal ? QColor(0x45, 0x51, 0x60)
             : look == Look::Hover  ? QColor(0x38, 0x42, 0x4F)
                                    : QColor(0x26, 0x2D, 0x36);
    roundButton(image, c, r, fill, look != Look::Pressed, glyph, 22, Qt::white, 2);
}

void darkClose(QImage& image, Look look)
{
    QPainter p(&image);
    prepare(p);
    const QPointF c(17.5, 17.5);
    if (look != Look::Normal) {
        p.setPen(Qt::NoPen);
        p.setBrush(look == Look::Hover ? pal::kDarkLine : pal::kDarkDeep);
        p.drawEllipse(c, 14.5, 14.5);
    }
    drawGlyph(p, Glyph::Close, glyphBox(c, 17), look == Look::Normal ? QColor(0xC6, 0xCF, 0xDA) : Qt::white,
              pal::kStrokeMedium);
}

void progressKnob(QImage& image, Look look)
{
    // The knob's left edge sits at the fill's end minus 10, so its dot is
    // centred 10 pixels in, level with the middle of the groove (y 70 - 60).
    QPainter p(&image);
    prepare(p);
    const QPointF c(10, 10);
    const double r = 8.5;
    drawShadow(p, image.size(), circlePath(c, r), 1, withAlpha(QColor(0, 0, 0), 140), QPointF(0, 1.5));
    p.setPen(Qt::NoPen);
    p.setBrush(look == Look::Pressed ? QColor(0xE4, 0xE4, 0xE4) : Qt::white);
    p.drawEllipse(c, r, r);
    const QColor dot = look == Look::Normal ? pal::kAccent : look == Look::Hover ? pal::kAccentHover : pal::kAccentPressed;
    const double dr = look == Look::Normal ? 3.5 : 4.5;
    p.setBrush(dot);
    p.drawEllipse(c, dr, dr);
}

void progressFill(QImage& image)
{
    QPainter p(&image);
    prepare(p);
    const QRectF bar(0, 0, image.width(), image.height());
    QLinearGradient g(bar.topLeft(), bar.bottomLeft());
    g.setColorAt(0, pal::kAccentLight);
    g.setColorAt(1, pal::kAccent);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(bar, bar.height() / 2, bar.height() / 2);
}

} // namespace art
