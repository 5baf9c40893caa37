#include "glyphs.h"

#include "painting.h"

#include <QPainterPath>
#include <QtMath>

#include <initializer_list>

namespace art {

QRectF glyphBox(QPointF centre, double side)
{
    return QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side);
}

namespace {

struct Frame {
    QRectF box;
    QPointF at(double x, double y) const
    {
        return QPointF(box.left() + x * box.width(), box.top() + y * box.height());
    }
    QRectF rect(double x0, double y0, double x1, double y1) const { return QRectF(at(x0, y0), at(x1, y1)); }
    double len(double f) const { return f * box.width(); }
};

// Straight segments through points given as fractions of the glyph's box.
QPainterPath polyline(const Frame& f, std::initializer_list<QPointF> points, bool closed = false)
{
    QPainterPath path;
    for (const QPointF& point : points) {
        if (path.elementCount() == 0)
            path.moveTo(f.at(point.x(), point.y()));
        else
            path.lineTo(f.at(point.x(), point.y()));
    }
    if (closed)
        path.closeSubpath();
    return path;
}

QPen linePen(const QColor& colour, double stroke)
{
    QPen pen(colour, stroke);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// Arc with an arrow head at its end, angles in degrees counter-clockwise.
void arrowArc(QPainter& p, const Frame& f, double startDeg, double spanDeg, const QColor& c, double stroke)
{
    const QRectF circle = f.rect(0.16, 0.16, 0.84, 0.84);
    QPainterPath arc;
    arc.arcMoveTo(circle, startDeg);
    arc.arcTo(circle, startDeg, spanDeg);
    p.setPen(linePen(c, stroke));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);

    const double end = qDegreesToRadians(startDeg + spanDeg);
    const QPointF centre = circle.center();
    const double r = circle.width() / 2;
    const QPointF tip(centre.x() + r * std::cos(end), centre.y() - r * std::sin(end));
    // Tangent in the direction of travel (counter-clockwise on screen means y flipped).
    const double sign = spanDeg > 0 ? 1.0 : -1.0;
    const QPointF tangent(-std::sin(end) * sign, -std::cos(end) * sign);
    const QPointF normal(tangent.y(), -tangent.x());
    const double h = f.len(0.2);
    QPainterPath head;
    head.moveTo(tip + tangent * h * 0.9);
    head.lineTo(tip + normal * h * 0.75);
    head.lineTo(tip - normal * h * 0.75);
    head.closeSubpath();
    p.setPen(linePen(c, stroke * 0.6));
    p.setBrush(c);
    p.drawPath(head);
}

} // namespace

void drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour, double stroke)
{
    const Frame f{box};
    p.save();
    prepare(p);
    p.setPen(linePen(colour, stroke));
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::Close:
        p.drawLine(f.at(0.22, 0.22), f.at(0.78, 0.78));
        p.drawLine(f.at(0.78, 0.22), f.at(0.22, 0.78));
        break;
    case Glyph::Minimise:
        p.drawLine(f.at(0.2, 0.56), f.at(0.8, 0.56));
        break;
    case Glyph::Grid: {
        const double r = f.len(0.07);
        p.drawRoundedRect(f.rect(0.14, 0.14, 0.44, 0.44), r, r);
        p.drawRoundedRect(f.rect(0.56, 0.14, 0.86, 0.44), r, r);
        p.drawRoundedRect(f.rect(0.14, 0.56, 0.44, 0.86), r, r);
        p.drawRoundedRect(f.rect(0.56, 0.56, 0.86, 0.86), r, r);
        break;
    }
    case Glyph::Column: {
        // A screen with one narrow panel docked at its right edge.
        const double r = f.len(0.08);
        p.drawRoundedRect(f.rect(0.1, 0.2, 0.9, 0.8), r, r);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRoundedRect(f.rect(0.6, 0.2, 0.9, 0.8).adjusted(-stroke / 2, -stroke / 2, stroke / 2, stroke / 2), r, r);
        break;
    }
    case Glyph::Sync:
        arrowArc(p, f, 105, 125, colour, stroke);
        arrowArc(p, f, 285, 125, colour, stroke);
        break;
    case Glyph::Account: {
        p.drawEllipse(f.rect(0.06, 0.06, 0.94, 0.94));
        p.drawEllipse(QPointF(f.at(0.5, 0.39)), f.len(0.15), f.len(0.15));
        QPainterPath shoulders;
        shoulders.moveTo(f.at(0.24, 0.8));
        shoulders.cubicTo(f.at(0.28, 0.6), f.at(0.72, 0.6), f.at(0.76, 0.8));
        p.drawPath(shoulders);
        break;
    }
    case Glyph::Delete: {
        p.drawLine(f.at(0.2, 0.27), f.at(0.8, 0.27));
        p.drawPath(polyline(f, {{0.39, 0.27}, {0.41, 0.16}, {0.59, 0.16}, {0.61, 0.27}}));
        QPainterPath body;
        body.moveTo(f.at(0.28, 0.27));
        body.lineTo(f.at(0.33, 0.8));
        body.quadTo(f.at(0.34, 0.86), f.at(0.4, 0.86));
        body.lineTo(f.at(0.6, 0.86));
        body.quadTo(f.at(0.66, 0.86), f.at(0.67, 0.8));
        body.lineTo(f.at(0.72, 0.27));
        p.drawPath(body);
        p.drawLine(f.at(0.44, 0.4), f.at(0.45, 0.72));
        p.drawLine(f.at(0.56, 0.4), f.at(0.55, 0.72));
        break;
    }
    case Glyph::Copy: {
        const double r = f.len(0.08);
        const QRectF front = f.rect(0.36, 0.32, 0.8, 0.86);
        QPainterPath clip;
        clip.addRect(box.adjusted(-stroke * 2, -stroke * 2, stroke * 2, stroke * 2));
        QPainterPath hole;
        hole.addRoundedRect(front.adjusted(-stroke * 1.2, -stroke * 1.2, stroke * 1.2, stroke * 1.2), r, r);
        p.save();
        p.setClipPath(clip.subtracted(hole));
        p.drawRoundedRect(f.rect(0.2, 0.14, 0.64, 0.68), r, r);
        p.restore();
        p.drawRoundedRect(front, r, r);
        break;
    }
    case Glyph::Export: {
        p.drawLine(f.at(0.5, 0.14), f.at(0.5, 0.6));
        p.drawPath(polyline(f, {{0.31, 0.43}, {0.5, 0.62}, {0.69, 0.43}}));
        QPainterPath tray;
        tray.moveTo(f.at(0.16, 0.6));
        tray.lineTo(f.at(0.16, 0.8));
        tray.quadTo(f.at(0.16, 0.86), f.at(0.22, 0.86));
        tray.lineTo(f.at(0.78, 0.86));
        tray.quadTo(f.at(0.84, 0.86), f.at(0.84, 0.8));
        tray.lineTo(f.at(0.84, 0.6));
        p.drawPath(tray);
        break;
    }
    case Glyph::Play: {
        p.setPen(linePen(colour, f.len(0.08)));
        p.setBrush(colour);
        p.drawPath(polyline(f, {{0.36, 0.24}, {0.78, 0.5}, {0.36, 0.76}}, true));
        break;
    }
    case Glyph::Pause: {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        const double r = f.len(0.05);
        p.drawRoundedRect(f.rect(0.3, 0.24, 0.44, 0.76), r, r);
        p.drawRoundedRect(f.rect(0.56, 0.24, 0.7, 0.76), r, r);
        break;
    }
    case Glyph::Stop: {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        const double r = f.len(0.07);
        p.drawRoundedRect(f.rect(0.28, 0.28, 0.72, 0.72), r, r);
        break;
    }
    case Glyph::Help: {
        QPainterPath hook;
        hook.moveTo(f.at(0.33, 0.36));
        hook.cubicTo(f.at(0.33, 0.14), f.at(0.67, 0.14), f.at(0.67, 0.35));
        hook.cubicTo(f.at(0.67, 0.5), f.at(0.5, 0.5), f.at(0.5, 0.64));
        p.drawPath(hook);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(f.at(0.5, 0.81), stroke * 0.75, stroke * 0.75);
        break;
    }
    case Glyph::Mic: {
        const double r = f.len(0.11);
        p.drawRoundedRect(f.rect(0.39, 0.12, 0.61, 0.56), r, r);
        QPainterPath cup;
        cup.moveTo(f.at(0.27, 0.44));
        cup.cubicTo(f.at(0.27, 0.78), f.at(0.73, 0.78), f.at(0.73, 0.44));
        p.drawPath(cup);
        p.drawLine(f.at(0.5, 0.7), f.at(0.5, 0.86));
        p.drawLine(f.at(0.36, 0.86), f.at(0.64, 0.86));
        break;
    }
    case Glyph::TextLines:
        p.drawLine(f.at(0.18, 0.24), f.at(0.82, 0.24));
        p.drawLine(f.at(0.18, 0.42), f.at(0.82, 0.42));
        p.drawLine(f.at(0.18, 0.6), f.at(0.82, 0.6));
        p.drawLine(f.at(0.18, 0.78), f.at(0.56, 0.78));
        break;
    case Glyph::Picture: {
        const double r = f.len(0.08);
        p.drawRoundedRect(f.rect(0.12, 0.18, 0.88, 0.82), r, r);
        p.drawPath(polyline(f, {{0.16, 0.74}, {0.4, 0.48}, {0.56, 0.64}, {0.66, 0.54}, {0.84, 0.74}}));
        p.drawEllipse(f.at(0.68, 0.34), f.len(0.06), f.len(0.06));
        break;
    }
    case Glyph::Quill: {
        QPainterPath vane;
        vane.moveTo(f.at(0.84, 0.1));
        vane.cubicTo(f.at(0.5, 0.12), f.at(0.3, 0.38), f.at(0.3, 0.7));
        vane.cubicTo(f.at(0.5, 0.64), f.at(0.78, 0.44), f.at(0.84, 0.1));
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPath(vane);
        p.setPen(linePen(colour, stroke));
        p.drawLine(f.at(0.33, 0.66), f.at(0.16, 0.9));
        break;
    }
    case Glyph::Check: {
        p.drawPath(polyline(f, {{0.24, 0.52}, {0.43, 0.7}, {0.77, 0.32}}));
        break;
    }
    }
    p.restore();
}

} // namespace art
