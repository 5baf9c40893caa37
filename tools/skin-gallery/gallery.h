// The skin gallery's two pages.
#pragma once

#include <QWidget>

// Every picture of the artwork, with its id, size and role.
QWidget* MakePicturePage();
// Every control in each of its looks, composed the way owners compose them.
QWidget* MakeControlPage();
// Real layered windows on the screen, an action pad and a drop shadow,
// shown while `page` (the controls page) is.
void ShowLayeredSamples(QWidget* anchor, QWidget* page);
