#pragma once
// Our pictograms, drawn by code in a 32 by 32 design square and rendered at
// any cell size without smoothing, so that every pixel is either background,
// ink or (when colours are allowed) one accent colour.
#include <QImage>
#include <QString>

#include <functional>
#include <vector>

class Canvas;

struct Pictogram {
    const char* name;
    std::function<void(Canvas&)> draw;
};

// The 97 event icons, in icon-number order.
const std::vector<Pictogram>& eventPictograms();

// One horizontal strip of the pictograms, each in a cell of width by height;
// `colour` allows the accent colours, otherwise ink is black.
QImage renderStrip(const std::vector<Pictogram>& icons, int width, int height, QRgb background, bool colour);

// A navigation button (kind: 0 first, 1 previous, 2 next, 3 last; 4 up, 5 down,
// 6 remove, 7 sort, 8 print) in one of
// its states (0 normal, 1 pressed, 2 focused, 3 disabled), drawn in black,
// greys and white so that the button colours map onto it.
QImage navigationButton(int kind, int state);

// The property folder's first picture.
QImage folderPicture();
// The configuration pages' picture (bitmap 253): a heart over a check list.
QImage configurationPicture();

// The printout's header: a narrow logo (446 x 81) and a picture (459 x 315).
QImage printLogo();
QImage printPicture();
