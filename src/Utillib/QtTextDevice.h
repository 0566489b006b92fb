#pragma once
// Word wrap on a Qt painter (a window, an image or a printer page), in the
// painter's current font.
#include "Utillib/TextBlock.h"

class QPainter;

class QtTextDevice : public TextDevice {
public:
    explicit QtTextDevice(QPainter& painter)
        : painter(painter)
    {
    }

    int lineHeight() override;
    SIZE textExtent(const std::string& text) override;
    // Qt draws text on its baseline; the ascent moves it to the top-left corner.
    void textOut(int x, int y, const std::string& text) override;

private:
    QPainter& painter;
};
