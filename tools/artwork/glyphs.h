// Line icons drawn into a square box, shared by every button so the same
// action looks the same everywhere.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace art {

enum class Glyph {
    Close,
    Minimise,
    Grid,      // switch to the wide, multi-column mode
    Column,    // switch to the narrow, single-column mode
    Sync,
    Account,
    Delete,
    Copy,
    Export,
    Play,
    Pause,
    Stop,
    Help,
    Mic,
    TextLines,
    Picture,
    Quill,
    Check,
};

// `stroke` is the line width in pixels; filled glyphs ignore it.
void drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour, double stroke);

// A square box of side `side` centred on `centre`.
QRectF glyphBox(QPointF centre, double side);

} // namespace art
