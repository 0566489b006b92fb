#pragma once
// The layout tree of the resizable dialogs: boxes that hand out extra space
// to their children by weight, and a framed item that keeps one item inside
// another. The tree records the geometry once, when it is initialised, and
// every arrange recomputes all rectangles from that record, so nothing drifts
// from one resize to the next. Pure geometry: the leaves that move windows
// live in ControlGroup.h.
#include "platform/WinTypes.h"

#include <vector>

struct LayoutMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class LayoutItem {
public:
    virtual ~LayoutItem() = default;

    // A new deep copy, owned by the caller.
    virtual LayoutItem* clone() const = 0;
    virtual RECT getRect() const { return rect; }
    // The rectangle that the item's windows cover now.
    virtual RECT getExtent() const { return RECT{}; }
    virtual RECT getMaxRect() const { return maxRect; }
    virtual RECT getMinRect() const { return minRect; }
    // Arranges into r made smaller by the margins; only the root of a tree is
    // placed this way, its children get arrange directly.
    virtual void setRect(const RECT r);
    virtual void arrange(const RECT r) = 0;
    virtual void show(bool visible);
    virtual bool isVisible() const = 0;
    virtual void syncVisibility();
    // Records the geometry against r.
    virtual void init(const RECT r);
    virtual void notifyPlacement() = 0;

    RECT rect{};
    RECT maxRect{};
    RECT minRect{};
    LayoutMargins margins;

protected:
    LayoutItem() = default;
    LayoutItem(const LayoutItem&) = default;
    LayoutItem& operator=(const LayoutItem&) = default;
    // Margins between r and rect, as boxes and leaves record them.
    void measureMargins(const RECT& r);
};

// Owns one item (or none) and copies by cloning it.
class LayoutItemHandle {
public:
    LayoutItemHandle() = default;
    // Holds a clone of the item.
    LayoutItemHandle(const LayoutItem& item);
    LayoutItemHandle(const LayoutItemHandle& other);
    LayoutItemHandle(LayoutItemHandle&& other) noexcept;
    LayoutItemHandle& operator=(const LayoutItemHandle& other);
    LayoutItemHandle& operator=(LayoutItemHandle&& other) noexcept;
    ~LayoutItemHandle();

    // Takes ownership of an item made with new.
    static LayoutItemHandle adopt(LayoutItem* item);

    LayoutItem* get() const { return item; }
    LayoutItem* operator->() const { return item; }
    LayoutItem& operator*() const { return *item; }
    explicit operator bool() const { return item != nullptr; }
    // Gives up ownership: the caller deletes the item.
    LayoutItem* release();

private:
    LayoutItem* item = nullptr;
};

// The arithmetic both boxes share: children stacked along one axis, extra
// length shared out by weight (with an optional stretch cap per child), and
// every child keeping its distances to the box's sides across that axis.
class WeightedBox : public LayoutItem {
public:
    // Appends a clone of the item with its weight and stretch cap (0.0 for
    // none); returns the new total weight.
    int add(int weight, const LayoutItemHandle& item, double maxStretch);

    RECT getExtent() const override;
    void arrange(const RECT r) override;
    void show(bool visible) override;
    bool isVisible() const override;
    void syncVisibility() override;
    void init(const RECT r) override;
    void notifyPlacement() override;

    std::vector<LayoutItemHandle> children;
    std::vector<int> weights;
    std::vector<double> maxStretch;
    std::vector<RECT> initialRects;
    int totalWeight = 0;

protected:
    explicit WeightedBox(bool horizontal) : horizontal(horizontal) {}

private:
    bool horizontal;
};

// Stacks its children top to bottom; extra height goes to the children by
// weight, and every child keeps its distances to the box's left and right.
class VerticalBox : public WeightedBox {
public:
    VerticalBox() : WeightedBox(false) {}
    LayoutItem* clone() const override { return new VerticalBox(*this); }
};

// The mirror image of VerticalBox: left to right, extra width by weight.
class HorizontalBox : public WeightedBox {
public:
    HorizontalBox() : WeightedBox(true) {}
    LayoutItem* clone() const override { return new HorizontalBox(*this); }
};

// One item inside another: the outer one is the frame (a tab control, a group
// box), the inner one keeps its distances to the frame on all four sides.
class FramedItem : public LayoutItem {
public:
    FramedItem() = default;
    FramedItem(const FramedItem& other);
    FramedItem& operator=(const FramedItem& other);
    ~FramedItem() override;
    LayoutItem* clone() const override { return new FramedItem(*this); }

    void setOuter(const LayoutItemHandle& item);
    void setInner(const LayoutItemHandle& item);

    RECT getExtent() const override;
    void arrange(const RECT r) override;
    void show(bool visible) override;
    bool isVisible() const override;
    void syncVisibility() override;
    void init(const RECT r) override;
    void notifyPlacement() override;

    LayoutItem* outer = nullptr;
    LayoutItem* inner = nullptr;
    LayoutMargins insets;
};
