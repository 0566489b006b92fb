#pragma once
// The four navigation buttons of a record editor (First, Previous, Next,
// Last) as bitmap buttons, with their bitmaps for the normal, pressed,
// focused and disabled states.
#include "ui/MapBitmapButton.h"

class QWidget;

struct NavigationButtons {
    MapBitmapButton first;
    MapBitmapButton previous;
    MapBitmapButton next;
    MapBitmapButton last;

    // Takes over the dialog's four buttons; false when one is missing.
    bool subclass(QWidget* dialog);
};
