#include "catalog.h"

#include "pieces.h"

#include <algorithm>

namespace art {

namespace {

using G = Glyph;
using L = Look;
using C = CellKind;

// Panel and viewer scroll-bar colours: grey at alpha 196, light khaki.
const QColor kPanelTrack{0xB9, 0xBC, 0xC1, 196};
const QColor kViewerTrack{0xE8, 0xDE, 0xBE};

std::vector<Entry> build()
{
    std::vector<Entry> e = {
        // Main window.
        {128, Kind::Icon, 256, 256, "window icon, big and small", [](QImage& i) { appIcon(i); }},
        {155, Kind::Bmp, 215, 680, "main window background, narrow mode (header 90 rows, body tiled)",
         [](QImage& i) { mainBackground(i, false); }},
        {239, Kind::Bmp, 1100, 680, "main window background, wide mode (header 90 rows, body tiled)",
         [](QImage& i) { mainBackground(i, true); }},
        {159, Kind::Png, 25, 25, "minimise button 1007, normal", [](QImage& i) { headerButton(i, G::Minimise, L::Normal, false); }},
        {160, Kind::Png, 25, 25, "minimise button 1007, pressed", [](QImage& i) { headerButton(i, G::Minimise, L::Pressed, false); }},
        {161, Kind::Png, 25, 25, "minimise button 1007, hover", [](QImage& i) { headerButton(i, G::Minimise, L::Hover, false); }},
        {165, Kind::Png, 25, 25, "main close button 1009, normal", [](QImage& i) { headerButton(i, G::Close, L::Normal, true); }},
        {166, Kind::Png, 25, 25, "main close button 1009, pressed", [](QImage& i) { headerButton(i, G::Close, L::Pressed, true); }},
        {167, Kind::Png, 25, 25, "main close button 1009, hover", [](QImage& i) { headerButton(i, G::Close, L::Hover, true); }},
        {162, Kind::Png, 35, 35, "display-mode button 1008 in narrow mode (to wide), normal", [](QImage& i) { headerButton(i, G::Grid, L::Normal, false); }},
        {163, Kind::Png, 35, 35, "display-mode button 1008 in narrow mode (to wide), pressed", [](QImage& i) { headerButton(i, G::Grid, L::Pressed, false); }},
        {164, Kind::Png, 35, 35, "display-mode button 1008 in narrow mode (to wide), hover", [](QImage& i) { headerButton(i, G::Grid, L::Hover, false); }},
        {242, Kind::Png, 35, 35, "display-mode button 1008 in wide mode (to narrow), pressed", [](QImage& i) { headerButton(i, G::Column, L::Pressed, false); }},
        {243, Kind::Png, 35, 35, "display-mode button 1008 in wide mode (to narrow), hover", [](QImage& i) { headerButton(i, G::Column, L::Hover, false); }},
        {244, Kind::Png, 35, 35, "display-mode button 1008 in wide mode (to narrow), normal", [](QImage& i) { headerButton(i, G::Column, L::Normal, false); }},
        {250, Kind::Png, 35, 35, "account button 1019, pressed", [](QImage& i) { headerButton(i, G::Account, L::Pressed, false); }},
        {251, Kind::Png, 35, 35, "account button 1019, hover", [](QImage& i) { headerButton(i, G::Account, L::Hover, false); }},
        {252, Kind::Png, 35, 35, "account button 1019, normal", [](QImage& i) { headerButton(i, G::Account, L::Normal, false); }},
        {292, Kind::Png, 35, 35, "sync button 1010, all looks, drawn turned by the spinner", [](QImage& i) { syncButton(i); }},
        {268, Kind::Png, 215, 10, "top-edge strip under the header, narrow mode", [](QImage& i) { topStrip(i); }},
        {269, Kind::Png, 1100, 10, "top-edge strip under the header, wide mode", [](QImage& i) { topStrip(i); }},
        {254, Kind::Png, 245, 710, "main window drop shadow, narrow mode (window at 13,0 220x688 transparent)",
         [](QImage& i) { frameShadow(i, QRect(13, 0, 220, 688), QPointF(0, 5), 4, 165); }},
        {255, Kind::Png, 1130, 710, "main window drop shadow, wide mode (window at 13,0 1100x688 transparent)",
         [](QImage& i) { frameShadow(i, QRect(13, 0, 1100, 688), QPointF(0, 5), 4, 165); }},

        // Item panel and cells.
        {261, Kind::Cursor, 32, 32, "item panel drag cursor", [](QImage& i) { dragCursor(i); }, 16, 16},
        {214, Kind::Png, 198, 148, "recording cell, narrow, normal", [](QImage& i) { cellNarrow(i, C::Recording, L::Normal); }},
        {216, Kind::Png, 198, 148, "recording cell, narrow, hover", [](QImage& i) { cellNarrow(i, C::Recording, L::Hover); }},
        {273, Kind::Png, 198, 148, "recording cell, narrow, selected", [](QImage& i) { cellNarrow(i, C::Recording, L::Pressed); }},
        {221, Kind::Png, 210, 218, "recording cell, wide, normal", [](QImage& i) { cellWide(i, C::Recording, L::Normal); }},
        {223, Kind::Png, 210, 218, "recording cell, wide, hover", [](QImage& i) { cellWide(i, C::Recording, L::Hover); }},
        {276, Kind::Png, 210, 218, "recording cell, wide, selected", [](QImage& i) { cellWide(i, C::Recording, L::Pressed); }},
        {224, Kind::Png, 198, 148, "text cell, narrow, normal", [](QImage& i) { cellNarrow(i, C::Text, L::Normal); }},
        {226, Kind::Png, 198, 148, "text cell, narrow, hover", [](QImage& i) { cellNarrow(i, C::Text, L::Hover); }},
        {271, Kind::Png, 198, 148, "text cell, narrow, selected", [](QImage& i) { cellNarrow(i, C::Text, L::Pressed); }},
        {227, Kind::Png, 210, 218, "text cell, wide, normal", [](QImage& i) { cellWide(i, C::Text, L::Normal); }},
        {229, Kind::Png, 210, 218, "text cell, wide, hover", [](QImage& i) { cellWide(i, C::Text, L::Hover); }},
        {274, Kind::Png, 210, 218, "text cell, wide, selected", [](QImage& i) { cellWide(i, C::Text, L::Pressed); }},
        {230, Kind::Png, 198, 148, "image cell, narrow, normal", [](QImage& i) { cellNarrow(i, C::Image, L::Normal); }},
        {232, Kind::Png, 198, 148, "image cell, narrow, hover", [](QImage& i) { cellNarrow(i, C::Image, L::Hover); }},
        {272, Kind::Png, 198, 148, "image cell, narrow, selected", [](QImage& i) { cellNarrow(i, C::Image, L::Pressed); }},
        {233, Kind::Png, 210, 218, "image cell, wide, normal", [](QImage& i) { cellWide(i, C::Image, L::Normal); }},
        {235, Kind::Png, 210, 218, "image cell, wide, hover", [](QImage& i) { cellWide(i, C::Image, L::Hover); }},
        {275, Kind::Png, 210, 218, "image cell, wide, selected", [](QImage& i) { cellWide(i, C::Image, L::Pressed); }},
        {220, Kind::Png, 14, 539, "panel scroll bar track, grey at alpha 196", [](QImage& i) { scrollTrack(i, kPanelTrack); }},
        {219, Kind::Png, 14, 80, "panel scroll bar thumb, normal", [](QImage& i) { scrollThumb(i, QColor(0x8E, 0x94, 0x9B)); }},
        {218, Kind::Png, 14, 80, "panel scroll bar thumb, hover", [](QImage& i) { scrollThumb(i, QColor(0x6F, 0x76, 0x7E)); }},
        {217, Kind::Png, 14, 80, "panel scroll bar thumb, pressed", [](QImage& i) { scrollThumb(i, QColor(0x4E, 0x54, 0x5C)); }},
        {293, Kind::Png, 30, 30, "wait image of cells, drawn turned", [](QImage& i) { waitSpinner(i); }},

        // Viewers and the audio player.
        {241, Kind::Png, 60, 60, "image viewer backdrop, uniform black at alpha 128", [](QImage& i) { backdrop(i); }},
        {179, Kind::Png, 35, 35, "image viewer close 1009, normal", [](QImage& i) { imageViewerClose(i, L::Normal); }},
        {180, Kind::Png, 35, 35, "image viewer close 1009, pressed", [](QImage& i) { imageViewerClose(i, L::Pressed); }},
        {181, Kind::Png, 35, 35, "image viewer close 1009, hover", [](QImage& i) { imageViewerClose(i, L::Hover); }},
        {281, Kind::Bmp, 414, 415, "text viewer paper sheet", [](QImage& i) { paperSheet(i); }},
        {282, Kind::Png, 430, 431, "text viewer frame shadow (sheet at 7,3 414x415 transparent)",
         [](QImage& i) { frameShadow(i, QRect(7, 3, 414, 415), QPointF(1, 4), 3, 130); }},
        {286, Kind::Png, 35, 35, "text viewer close 1006, pressed", [](QImage& i) { paperClose(i, L::Pressed); }},
        {287, Kind::Png, 35, 35, "text viewer close 1006, hover", [](QImage& i) { paperClose(i, L::Hover); }},
        {288, Kind::Png, 35, 35, "text viewer close 1006, normal", [](QImage& i) { paperClose(i, L::Normal); }},
        {277, Kind::Png, 14, 323, "text viewer scroll bar track, light khaki", [](QImage& i) { scrollTrack(i, kViewerTrack); }},
        {280, Kind::Png, 14, 80, "text viewer scroll bar thumb, normal", [](QImage& i) { scrollThumb(i, QColor(0xC6, 0xB6, 0x85)); }},
        {279, Kind::Png, 14, 80, "text viewer scroll bar thumb, hover", [](QImage& i) { scrollThumb(i, QColor(0xAC, 0x9A, 0x66)); }},
        {278, Kind::Png, 14, 80, "text viewer scroll bar thumb, pressed", [](QImage& i) { scrollThumb(i, QColor(0x8C, 0x7A, 0x4A)); }},
        {262, Kind::Png, 525, 191, "audio player background, dark panel", [](QImage& i) { playerBackground(i); }},
        {170, Kind::Png, 43, 45, "player play 1008, normal", [](QImage& i) { playerButton(i, G::Play, L::Normal, true); }},
        {171, Kind::Png, 43, 45, "player play 1008, pressed", [](QImage& i) { playerButton(i, G::Play, L::Pressed, true); }},
        {172, Kind::Png, 43, 45, "player play 1008, hover", [](QImage& i) { playerButton(i, G::Play, L::Hover, true); }},
        {173, Kind::Png, 43, 45, "player pause 1008, normal", [](QImage& i) { playerButton(i, G::Pause, L::Normal, true); }},
        {174, Kind::Png, 43, 45, "player pause 1008, pressed", [](QImage& i) { playerButton(i, G::Pause, L::Pressed, true); }},
        {175, Kind::Png, 43, 45, "player pause 1008, hover", [](QImage& i) { playerButton(i, G::Pause, L::Hover, true); }},
        {176, Kind::Png, 43, 45, "player stop 1007, normal", [](QImage& i) { playerButton(i, G::Stop, L::Normal, false); }},
        {177, Kind::Png, 43, 45, "player stop 1007, pressed", [](QImage& i) { playerButton(i, G::Stop, L::Pressed, false); }},
        {178, Kind::Png, 43, 45, "player stop 1007, hover", [](QImage& i) { playerButton(i, G::Stop, L::Hover, false); }},
        {289, Kind::Png, 35, 35, "player close 1009, pressed", [](QImage& i) { darkClose(i, L::Pressed); }},
        {290, Kind::Png, 35, 35, "player close 1009, hover", [](QImage& i) { darkClose(i, L::Hover); }},
        {291, Kind::Png, 35, 35, "player close 1009, normal", [](QImage& i) { darkClose(i, L::Normal); }},
        {182, Kind::Png, 30, 32, "player progress knob 1012, normal", [](QImage& i) { progressKnob(i, L::Normal); }},
        {183, Kind::Png, 30, 32, "player progress knob 1012, pressed", [](QImage& i) { progressKnob(i, L::Pressed); }},
        {184, Kind::Png, 30, 32, "player progress knob 1012, hover", [](QImage& i) { progressKnob(i, L::Hover); }},
        {185, Kind::Png, 434, 12, "player progress fill", [](QImage& i) { progressFill(i); }},

        // Action pads.
        {256, Kind::Png, 206, 66, "three-button action pad background, red strip", [](QImage& i) { padStrip(i); }},
        {259, Kind::Png, 139, 66, "two-button action pad background, red strip", [](QImage& i) { padStrip(i); }},
        {189, Kind::Png, 50, 51, "pad delete 1013, normal", [](QImage& i) { padButton(i, G::Delete, L::Normal); }},
        {190, Kind::Png, 50, 51, "pad delete 1013, pressed", [](QImage& i) { padButton(i, G::Delete, L::Pressed); }},
        {191, Kind::Png, 50, 51, "pad delete 1013, hover", [](QImage& i) { padButton(i, G::Delete, L::Hover); }},
        {192, Kind::Png, 50, 51, "pad copy 1014, pressed", [](QImage& i) { padButton(i, G::Copy, L::Pressed); }},
        {193, Kind::Png, 50, 51, "pad copy 1014, hover", [](QImage& i) { padButton(i, G::Copy, L::Hover); }},
        {194, Kind::Png, 50, 51, "pad copy 1014, normal", [](QImage& i) { padButton(i, G::Copy, L::Normal); }},
        {198, Kind::Png, 50, 51, "pad export 1016, normal", [](QImage& i) { padButton(i, G::Export, L::Normal); }},
        {199, Kind::Png, 50, 51, "pad export 1016, pressed", [](QImage& i) { padButton(i, G::Export, L::Pressed); }},
        {200, Kind::Png, 50, 51, "pad export 1016, hover", [](QImage& i) { padButton(i, G::Export, L::Hover); }},

        // Account pop-up, login shadow, button cursor.
        {266, Kind::Png, 252, 131, "account pop-up card background", [](QImage& i) { accountCard(i); }},
        {263, Kind::Png, 152, 44, "logout button 1006, pressed", [](QImage& i) { logoutButton(i, L::Pressed); }},
        {264, Kind::Png, 152, 44, "logout button 1006, hover", [](QImage& i) { logoutButton(i, L::Hover); }},
        {265, Kind::Png, 152, 44, "logout button 1006, normal", [](QImage& i) { logoutButton(i, L::Normal); }},
        {283, Kind::Png, 25, 25, "help button 1018, pressed", [](QImage& i) { helpButton(i, L::Pressed); }},
        {284, Kind::Png, 25, 25, "help button 1018, hover", [](QImage& i) { helpButton(i, L::Hover); }},
        {285, Kind::Png, 25, 25, "help button 1018, normal", [](QImage& i) { helpButton(i, L::Normal); }},
        {267, Kind::Png, 558, 532, "login window shadow (login window at 11,8 536x510 transparent)",
         [](QImage& i) { frameShadow(i, QRect(11, 8, 536, 510), QPointF(0, 3), 3, 150); }},
        {129, Kind::Cursor, 32, 32, "skinned button cursor", [](QImage& i) { handCursor(i); }, 11, 1},
    };
    std::sort(e.begin(), e.end(), [](const Entry& a, const Entry& b) {
        return a.kind != b.kind ? a.kind < b.kind : a.id < b.id;
    });
    return e;
}

} // namespace

const std::vector<Entry>& catalog()
{
    static const std::vector<Entry> entries = build();
    return entries;
}

const char* folderOf(Kind kind)
{
    switch (kind) {
    case Kind::Png: return "png";
    case Kind::Bmp: return "bmp";
    case Kind::Cursor: return "cur";
    case Kind::Icon: return "ico";
    }
    return "png";
}

} // namespace art
