#include "painting.h"
#include "palette.h"
#include "pieces.h"

#include <QLinearGradient>
#include <QtMath>

namespace art {

namespace {

const QColor kCardPaper{0xFF, 0xFD, 0xF8};
const QColor kPlaceholder{0xEC, 0xE7, 0xDE};
const QColor kPlaceholderInk{0xC9, 0xC0, 0xB2};
const QColor kFooterInk{0xC6, 0xCF, 0xDA};

bool isDark(CellKind kind) { return kind != CellKind::Text; }

// Rounded bars of a stylised sound wave between x0 and x1 around centre y.
void drawWave(QPainter& p, double x0, double x1, double cy, double maxHalf, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const double pitch = 5.0;
    int i = 0;
    for (double x = x0; x + 3 <= x1; x += pitch, ++i) {
        const double t = (x - x0) / (x1 - x0);
        const double env = std::sin(t * M_PI);
        const double half = std::max(1.5, maxHalf * env * (0.45 + 0.55 * std::fabs(std::sin(i * 1.7 + 0.4))));
        p.drawRoundedRect(QRectF(x, cy - half, 3, half * 2), 1.5, 1.5);
    }
}

void drawRing(QPainter& p, const QRectF& card, double radius, Look look)
{
    if (look == Look::Normal)
        return;
    const double width = look == Look::Hover ? 2.0 : 3.0;
    const QColor colour = look == Look::Hover ? withAlpha(pal::kAccent, 150) : pal::kAccent;
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const double in = width / 2;
    p.drawRoundedRect(card.adjusted(in, in, -in, -in), radius - in, radius - in);
}

void drawCheckBadge(QPainter& p, QPointF centre, double r)
{
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(pal::kAccent);
    p.drawEllipse(centre, r, r);
    drawGlyph(p, Glyph::Check, glyphBox(centre, r * 1.6), Qt::white, 1.8);
}

// A recording's mark: a red disc with a microphone over its soft shadow, and
// a sound wave on either side, mirrored about the disc (the left one runs
// from x 20 over `waveSpan`).
struct RecordingMark {
    QPointF centre;
    double radius;
    double waveSpan;
    double waveHalf;
    QColor waveColour;
    int shadowBlur;
    QColor shadowColour;
    double glyphSide;
    double stroke;
};

void drawRecordingMark(QPainter& p, const QSize& canvas, const RecordingMark& m)
{
    const QPointF c = m.centre;
    drawWave(p, 20, 20 + m.waveSpan, c.y(), m.waveHalf, m.waveColour);
    drawWave(p, 2 * c.x() - 20 - m.waveSpan, 2 * c.x() - 20, c.y(), m.waveHalf, m.waveColour);
    drawShadow(p, canvas, circlePath(c, m.radius), m.shadowBlur, m.shadowColour, QPointF(0, m.shadowBlur));
    QLinearGradient g(c.x(), c.y() - m.radius, c.x(), c.y() + m.radius);
    g.setColorAt(0, pal::kAccentLight);
    g.setColorAt(1, pal::kAccent);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, m.radius, m.radius);
    drawGlyph(p, Glyph::Mic, glyphBox(c, m.glyphSide), Qt::white, m.stroke);
}

void fillDarkCard(QPainter& p, const QRectF& card, double radius, Look look)
{
    QLinearGradient g(card.topLeft(), card.bottomLeft());
    const double lift = look == Look::Normal ? 0.0 : 0.08;
    g.setColorAt(0, mix(pal::kDarkRaised, Qt::white, lift));
    g.setColorAt(1, mix(pal::kDark, Qt::white, lift));
    p.setPen(QPen(pal::kDarkLine, 1));
    p.setBrush(g);
    p.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

} // namespace

void cellNarrow(QImage& image, CellKind kind, Look look)
{
    QPainter p(&image);
    prepare(p);
    // The panel draws this picture one pixel in from the cell origin, at
    // 196 x 146; the card leaves room for a small shadow in the 3-pixel gap.
    const QRectF card(2, 2, 194, 143);
    const double radius = 8;
    drawShadow(p, image.size(), roundedRect(card, radius), 1, withAlpha(pal::kShadow, 70), QPointF(0, 1));

    if (isDark(kind)) {
        fillDarkCard(p, card, radius, look);
    } else {
        // Paper above, a slate footer that carries the white time label.
        p.setPen(QPen(pal::kLine, 1));
        p.setBrush(kCardPaper);
        p.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
        QPainterPath footer;
        footer.addRect(QRectF(card.left(), 110, card.width(), card.bottom() - 110));
        p.save();
        p.setClipPath(footer.intersected(roundedRect(card, radius)));
        QLinearGradient g(0, 110, 0, card.bottom());
        g.setColorAt(0, mix(pal::kDarkRaised, Qt::white, look == Look::Normal ? 0.0 : 0.08));
        g.setColorAt(1, pal::kDark);
        p.fillRect(card, g);
        p.restore();
    }

    const QPointF badge(178, 127);
    switch (kind) {
    case CellKind::Text:
        if (look != Look::Pressed)
            drawGlyph(p, Glyph::TextLines, glyphBox(badge, 15), kFooterInk, 1.6);
        break;
    case CellKind::Image:
        // The wait image turns in the middle, so the kind mark keeps to the corner.
        if (look != Look::Pressed)
            drawGlyph(p, Glyph::Picture, glyphBox(badge, 16), pal::kDarkLine, 1.6);
        break;
    case CellKind::Recording: {
        // Centred where the wait image turns while the recording downloads.
        const RecordingMark mark{QPointF(99, 74), 22, 50, 13, withAlpha(pal::kAccentLight, 150),
                                 2, withAlpha(QColor(0, 0, 0), 90), 25, 2.2};
        drawRecordingMark(p, image.size(), mark);
        break;
    }
    }
    drawRing(p, card, radius, look);
    if (look == Look::Pressed)
        drawCheckBadge(p, badge, 8.5);
}

void cellWide(QImage& image, CellKind kind, Look look)
{
    QPainter p(&image);
    prepare(p);
    // The time label is drawn in grey just below the card, in the last 15 rows.
    const QRectF card(6, 4, 198, 198);
    const double radius = 10;
    const double shadowAlpha = look == Look::Normal ? 60 : 85;
    drawShadow(p, image.size(), roundedRect(card, radius), 3, withAlpha(pal::kShadow, shadowAlpha),
               QPointF(0, 1.5));
    p.setPen(QPen(pal::kLine, 1));
    p.setBrush(kCardPaper);
    p.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

    const QPointF badge(190, 191);
    switch (kind) {
    case CellKind::Text:
        p.setPen(QPen(pal::kPaperEdge, 1));
        p.drawLine(QPointF(16, 184.5), QPointF(174, 184.5));
        if (look != Look::Pressed)
            drawGlyph(p, Glyph::TextLines, glyphBox(badge, 13), pal::kInkSoft, 1.5);
        break;
    case CellKind::Image: {
        const QRectF box(16, 13, 178, 186);
        p.setPen(Qt::NoPen);
        p.setBrush(kPlaceholder);
        p.drawRoundedRect(box, 4, 4);
        if (look != Look::Pressed)
            drawGlyph(p, Glyph::Picture, glyphBox(QPointF(180, 187), 16), kPlaceholderInk, 1.6);
        break;
    }
    case CellKind::Recording: {
        // Centred where the wait image turns while the recording downloads.
        const RecordingMark mark{QPointF(105, 109), 32, 44, 16, withAlpha(pal::kAccent, 120),
                                 3, withAlpha(pal::kAccentPressed, 90), 36, 2.8};
        drawRecordingMark(p, image.size(), mark);
        break;
    }
    }
    drawRing(p, card, radius, look);
    if (look == Look::Pressed)
        drawCheckBadge(p, badge, 9);
}

void waitSpinner(QImage& image)
{
    QPainter p(&image);
    prepare(p);
    const QPointF c(image.width() / 2.0, image.height() / 2.0);
    const int dots = 12;
    const double ring = image.width() * 0.35;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < dots; ++i) {
        const double t = static_cast<double>(i) / (dots - 1); // 0 = tail, 1 = head
        const double angle = -M_PI / 2 + 2 * M_PI * i / dots;
        const QPointF at(c.x() + ring * std::cos(angle), c.y() + ring * std::sin(angle));
        const double r = 1.5 + 1.2 * t;
        // A pale halo keeps the dots visible on the red recording badge too.
        p.setBrush(QColor(255, 255, 255, static_cast<int>(60 + 140 * t)));
        p.drawEllipse(at, r + 1.1, r + 1.1);
        p.setBrush(withAlpha(pal::kAccent, static_cast<int>(40 + 215 * t)));
        p.drawEllipse(at, r, r);
    }
}

void scrollTrack(QImage& image, const QColor& colour)
{
    QPainter p(&image);
    prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(4, 0, 6, image.height()), 3, 3);
}

void scrollThumb(QImage& image, const QColor& colour)
{
    QPainter p(&image);
    prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(3, 0.5, 8, image.height() - 1), 4, 4);
}

} // namespace art
