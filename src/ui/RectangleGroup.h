#pragma once
// Free rectangles laid out like controls: arranging only computes where they
// go, notifyPlacement tells the listeners of each one.
#include "Utillib/Signal.h"
#include "ui/LayoutItem.h"

#include <memory>
#include <vector>

// A rectangle with its visibility and a signal that copies share; the signal
// and its connections go with the last copy.
struct PlacedRect {
    PlacedRect() : placed(std::make_shared<Signal<RECT, bool>>()) {}
    explicit PlacedRect(const RECT& r, bool visible = true) : PlacedRect()
    {
        rect = r;
        this->visible = visible;
    }

    RECT rect{};
    bool visible = true;
    std::shared_ptr<Signal<RECT, bool>> placed;
};

class RectangleGroup : public LayoutItem {
public:
    RectangleGroup();
    LayoutItem* clone() const override { return new RectangleGroup(*this); }

    void add(const PlacedRect& r);
    void add(const std::vector<PlacedRect>& rs);

    RECT getExtent() const override;
    void arrange(const RECT r) override;
    void show(bool visible) override;
    bool isVisible() const override;
    void init(const RECT r) override;
    void notifyPlacement() override;

    std::vector<PlacedRect> rectangles;
    std::vector<RECT> initialRects;
};

// A group of r1 and of every further argument that differs from a default
// PlacedRect in its rectangle or its visibility.
LayoutItemHandle makeRectangleGroup(const PlacedRect& r1, const PlacedRect& r2 = PlacedRect(),
                                    const PlacedRect& r3 = PlacedRect(), const PlacedRect& r4 = PlacedRect(),
                                    const PlacedRect& r5 = PlacedRect(), const PlacedRect& r6 = PlacedRect(),
                                    const PlacedRect& r7 = PlacedRect(), const PlacedRect& r8 = PlacedRect());
