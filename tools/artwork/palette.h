// One palette and one set of stroke widths for every skin picture, so the
// windows read as one family.
#pragma once

#include <QColor>

namespace art::pal {

// Warm white surfaces and slate ink.
inline const QColor kPanel{0xFB, 0xF8, 0xF3};
inline const QColor kPanelDeep{0xF4, 0xEF, 0xE8};
inline const QColor kBody{0xEE, 0xE9, 0xE1};
inline const QColor kLine{0xDD, 0xD5, 0xC9};
inline const QColor kInk{0x34, 0x41, 0x52};
inline const QColor kInkSoft{0x6B, 0x78, 0x89};
inline const QColor kHoverWash{0xE6, 0xE0, 0xD6};
inline const QColor kPressWash{0xD3, 0xCB, 0xBE};

// The red accent: normal, hover (darker), pressed (darkest).
inline const QColor kAccent{0xD9, 0x47, 0x47};
inline const QColor kAccentHover{0xBB, 0x36, 0x38};
inline const QColor kAccentPressed{0x93, 0x26, 0x29};
inline const QColor kAccentLight{0xEC, 0x74, 0x72};

// Dark panels (audio player, account card, picture cards).
inline const QColor kDark{0x2A, 0x32, 0x3D};
inline const QColor kDarkDeep{0x1E, 0x24, 0x2C};
inline const QColor kDarkRaised{0x3A, 0x45, 0x53};
inline const QColor kDarkLine{0x4A, 0x56, 0x66};

// Paper for text.
inline const QColor kPaper{0xFB, 0xF5, 0xE6};
inline const QColor kPaperEdge{0xEF, 0xE4, 0xC9};
inline const QColor kKhaki{0xD9, 0xCC, 0xA3};

inline const QColor kShadow{0x12, 0x16, 0x1C};

// Stroke widths: small header glyphs, medium buttons, large pad icons.
constexpr double kStrokeSmall = 1.8;
constexpr double kStrokeMedium = 2.2;
constexpr double kStrokeLarge = 2.6;

} // namespace art::pal
