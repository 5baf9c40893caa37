// The one table of skin artwork: every resource number the program loads,
// with its kind, designed size, role and the function that draws it.
#pragma once

#include <QImage>

#include <vector>

namespace art {

enum class Kind { Png, Bmp, Cursor, Icon };

// Draws the whole picture into an image already sized and cleared to transparent.
using DrawFn = void (*)(QImage& image);

struct Entry {
    int id;
    Kind kind;
    int width;
    int height;
    const char* role;
    DrawFn draw;
    int hotX = 0; // cursors only: the hot spot
    int hotY = 0;
};

const std::vector<Entry>& catalog();

// Sub-folder and resource prefix of a kind: "png", "bmp", "cur", "ico".
const char* folderOf(Kind kind);

} // namespace art
