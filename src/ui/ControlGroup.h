#pragma once
// The leaves of the layout tree: a group of dialog controls that is scaled
// into its new rectangle, an invisible spacer, an item that keeps its aspect
// ratio, and the factories the dialogs build their trees with.
#include "ui/LayoutItem.h"
#include "ui/WindowLayer.h"

#include <vector>

namespace ui {
// c scaled from the rectangle `from` into `to`, each product truncated toward
// zero; an axis of zero extent in `from` keeps its size.
RECT scaleInto(const RECT& c, const RECT& from, const RECT& to);
} // namespace ui

// Controls of one dialog moved as one rectangle: each control's initial
// rectangle is scaled from the group's initial rectangle into the new one.
class ControlGroup : public LayoutItem {
public:
    ControlGroup();
    LayoutItem* clone() const override { return new ControlGroup(*this); }

    void add(WindowHandle window);

    RECT getExtent() const override;
    void arrange(const RECT r) override;
    void show(bool visible) override;
    bool isVisible() const override;
    void init(const RECT r) override;
    void notifyPlacement() override {}

    // The controls belong to their dialog; the group never destroys them.
    std::vector<WindowHandle> windows;
    std::vector<RECT> initialRects;
    WindowHandle parent = nullptr;
};

// An invisible filler that takes its weight's share of a box's extra space.
class Spacer : public LayoutItem {
public:
    Spacer(int width, int height);
    LayoutItem* clone() const override { return new Spacer(*this); }

    void arrange(const RECT) override {}
    bool isVisible() const override { return false; }
    void init(const RECT r) override;
    void notifyPlacement() override {}

    int width = 0;
    int height = 0;
};

// Keeps the width-to-height ratio of its inner item, centred in what it gets.
class AspectItem : public LayoutItem {
public:
    AspectItem() = default;
    AspectItem(const AspectItem& other);
    AspectItem& operator=(const AspectItem& other);
    ~AspectItem() override;
    LayoutItem* clone() const override { return new AspectItem(*this); }

    void setInner(const LayoutItemHandle& item);

    RECT getExtent() const override;
    void arrange(const RECT r) override;
    void show(bool visible) override;
    bool isVisible() const override;
    void syncVisibility() override;
    void init(const RECT r) override;
    void notifyPlacement() override;

    LayoutItem* inner = nullptr;
};

LayoutItemHandle makeControlGroup(WindowHandle dialog, int id1, int id2 = 0, int id3 = 0, int id4 = 0, int id5 = 0,
                                  int id6 = 0, int id7 = 0, int id8 = 0);
// A copy of the group with the dialog's controls of the non-zero ids added.
LayoutItemHandle extendControlGroup(const LayoutItemHandle& group, int id1, int id2 = 0, int id3 = 0, int id4 = 0,
                                    int id5 = 0, int id6 = 0, int id7 = 0, int id8 = 0);
LayoutItemHandle makeControlGroupFromWindows(const std::vector<WindowHandle>& windows);
LayoutItemHandle makeControlGroupFromHandles(WindowHandle w1, WindowHandle w2 = nullptr, WindowHandle w3 = nullptr,
                                             WindowHandle w4 = nullptr, WindowHandle w5 = nullptr,
                                             WindowHandle w6 = nullptr, WindowHandle w7 = nullptr,
                                             WindowHandle w8 = nullptr);
LayoutItemHandle makeControlGroupFromIds(WindowHandle dialog, const std::vector<int>& ids);
LayoutItemHandle makeSpacer(int width, int height);
// The item with fixed empty borders around it.
LayoutItemHandle makePadded(const LayoutItemHandle& item, int left, int top, int right, int bottom);
LayoutItemHandle makeAspectItem(const LayoutItemHandle& item);
