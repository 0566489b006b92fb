#pragma once
// A window layer of plain rectangles, so that groups and placement run
// without a window system. Every window has no frame: its client area is its
// whole rectangle.
#include "ui/RectOps.h"
#include "ui/WindowLayer.h"

#include <deque>
#include <string>
#include <vector>

struct FakeWindow {
    FakeWindow* parent = nullptr;
    RECT rect{}; // in the parent's client coordinates, or on the screen
    int id = 0;
    bool visible = true;
    bool enabled = true;
};

class FakeWindows : public WindowLayer {
public:
    FakeWindows() { previous = setWindowLayer(this); }
    ~FakeWindows() override { setWindowLayer(previous); }

    WindowHandle make(FakeWindow* parent, RECT r, int id = 0)
    {
        windows.push_back(FakeWindow{parent, r, id});
        return handle(&windows.back());
    }
    static FakeWindow* get(WindowHandle w) { return reinterpret_cast<FakeWindow*>(w); }
    static WindowHandle handle(FakeWindow* w) { return reinterpret_cast<WindowHandle>(w); }
    static RECT rectOf(WindowHandle w) { return get(w)->rect; }

    WindowHandle getParent(WindowHandle w) override { return handle(get(w)->parent); }
    RECT getWindowRect(WindowHandle w) override
    {
        const POINT o = originOf(get(w)->parent);
        return ui::offset(get(w)->rect, o.x, o.y);
    }
    RECT getClientRect(WindowHandle w) override
    {
        return ui::makeRect(0, 0, ui::width(get(w)->rect), ui::height(get(w)->rect));
    }
    POINT clientOrigin(WindowHandle w) override { return originOf(get(w)); }
    void moveWindow(WindowHandle w, int x, int y, int cx, int cy, bool) override
    {
        get(w)->rect = ui::makeRect(x, y, x + cx, y + cy);
        ++moves;
    }
    void invalidateRect(WindowHandle w, const RECT& r, bool) override { invalidated.push_back({w, r}); }
    void showWindow(WindowHandle w, bool v) override { get(w)->visible = v; }
    bool isWindowVisible(WindowHandle w) override { return get(w)->visible; }
    void enableWindow(WindowHandle w, bool e) override { get(w)->enabled = e; }
    WindowHandle getDlgItem(WindowHandle dialog, int id) override
    {
        for (auto& w : windows)
            if (w.parent == get(dialog) && w.id == id)
                return handle(&w);
        return nullptr;
    }
    std::vector<WindowHandle> childWindows(WindowHandle parent) override
    {
        std::vector<WindowHandle> result;
        for (auto& w : windows)
            if (w.parent == get(parent))
                result.push_back(handle(&w));
        return result;
    }
    SIZE primaryScreenSize() override { return SIZE{1024, 768}; }

    struct Invalidation {
        WindowHandle window;
        RECT rect;
    };
    std::deque<FakeWindow> windows; // stable addresses
    std::vector<Invalidation> invalidated;
    int moves = 0;

private:
    static POINT originOf(const FakeWindow* w)
    {
        POINT p{};
        for (; w; w = w->parent) {
            p.x += w->rect.left;
            p.y += w->rect.top;
        }
        return p;
    }
    WindowLayer* previous = nullptr;
};

inline std::string str(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}
