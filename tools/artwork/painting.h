// Small drawing primitives shared by all artwork: blurred shadows, grain,
// fonts. Everything is deterministic so regenerated files stay identical.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace art {

// Painter on an artwork image with antialiasing on.
void prepare(QPainter& p);

// Three passes of a separable box blur over all four premultiplied channels.
void boxBlur(QImage& image, int radius);

// Paints a soft shadow of `shape` (filled with `colour`, blurred by `radius`,
// moved by `offset`) under whatever the painter draws next.
void drawShadow(QPainter& p, const QSize& canvas, const QPainterPath& shape,
                int radius, const QColor& colour, QPointF offset = {});

// Makes every pixel inside `rect` fully transparent (alpha 0, colour 0).
void clearRect(QImage& image, const QRect& rect);

// Adds fixed-seed grain of +/- amplitude to the colour channels of opaque pixels.
void addGrain(QImage& image, quint32 seed, int amplitude);

// DejaVu Sans at a pixel size, loaded from the installed font file.
QFont artFont(int pixelSize, bool bold);

QPainterPath roundedRect(const QRectF& rect, qreal radius);
QPainterPath circlePath(QPointF centre, qreal radius);

// Linear blend between two colours, t in [0, 1].
QColor mix(const QColor& a, const QColor& b, double t);

QColor withAlpha(QColor c, int alpha);

} // namespace art
