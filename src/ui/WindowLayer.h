#pragma once
// The few window operations the layout leaves and placement functions need,
// behind an interface, so that the geometry is tested without windows. The
// program's windows are Qt widgets (QtWindows.h); tests put a table of
// rectangles in their place.
#include "platform/WinTypes.h"

#include <vector>

// A window, known only to the window layer; handles are compared and passed on.
struct OpaqueWindow;
using WindowHandle = OpaqueWindow*;

class WindowLayer {
public:
    virtual ~WindowLayer() = default;

    // Null for a top-level window.
    virtual WindowHandle getParent(WindowHandle window) = 0;
    // The whole window, frame included, in screen coordinates.
    virtual RECT getWindowRect(WindowHandle window) = 0;
    // (0, 0, client width, client height).
    virtual RECT getClientRect(WindowHandle window) = 0;
    // The screen point of the client area's top-left corner.
    virtual POINT clientOrigin(WindowHandle window) = 0;
    // Places the whole window: in its parent's client coordinates, or on the
    // screen for a top-level window.
    virtual void moveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) = 0;
    virtual void invalidateRect(WindowHandle window, const RECT& r, bool erase) = 0;
    virtual void showWindow(WindowHandle window, bool visible) = 0;
    virtual bool isWindowVisible(WindowHandle window) = 0;
    virtual void enableWindow(WindowHandle window, bool enabled) = 0;
    // The dialog's control with this id, or null.
    virtual WindowHandle getDlgItem(WindowHandle dialog, int id) = 0;
    // The child windows, the top of the stacking order first.
    virtual std::vector<WindowHandle> childWindows(WindowHandle window) = 0;
    virtual SIZE primaryScreenSize() = 0;
};

// The layer in use: the one installed last, else the Qt widgets' layer.
WindowLayer& windowLayer();
// Installs a layer (null: back to the Qt widgets' layer); returns the previous one.
WindowLayer* setWindowLayer(WindowLayer* layer);
// The Qt widgets' layer (QtWindows.cpp).
WindowLayer& qtWindowLayer();
