// The drawing routines behind the catalog, grouped by the window they serve.
#pragma once

#include "glyphs.h"

#include <QColor>
#include <QImage>
#include <QRect>

namespace art {

// Normal, hover and pressed looks of a button; cells use Pressed for "selected".
enum class Look { Normal, Hover, Pressed };
enum class CellKind { Recording, Text, Image };

// Main window (art_main.cpp).
void mainBackground(QImage& image, bool wide);
void topStrip(QImage& image);
void headerButton(QImage& image, Glyph glyph, Look look, bool danger);
void syncButton(QImage& image);
// A soft dark frame around `inner`, whose inside stays fully transparent.
void frameShadow(QImage& image, const QRect& inner, QPointF offset, int blur, int alpha);

// Item panel and cells (art_cells.cpp).
void cellNarrow(QImage& image, CellKind kind, Look look);
void cellWide(QImage& image, CellKind kind, Look look);
void waitSpinner(QImage& image);
void scrollTrack(QImage& image, const QColor& colour);
void scrollThumb(QImage& image, const QColor& colour);

// Viewers and the audio player (art_viewers.cpp).
void backdrop(QImage& image);
void imageViewerClose(QImage& image, Look look);
void paperClose(QImage& image, Look look);
void paperSheet(QImage& image);
void playerBackground(QImage& image);
void playerButton(QImage& image, Glyph glyph, Look look, bool accent);
void darkClose(QImage& image, Look look);
void progressKnob(QImage& image, Look look);
void progressFill(QImage& image);

// Action pads and the account card (art_popups.cpp).
void padStrip(QImage& image);
void padButton(QImage& image, Glyph glyph, Look look);
void accountCard(QImage& image);
void logoutButton(QImage& image, Look look);
void helpButton(QImage& image, Look look);

// Cursors and the window icon (art_marks.cpp).
void handCursor(QImage& image);
void dragCursor(QImage& image);
void appIcon(QImage& image);

} // namespace art
