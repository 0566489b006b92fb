#include "ui/QtWindows.h"

#include "platformqt/Window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

WindowHandle handleOf(QWidget* widget) { return reinterpret_cast<WindowHandle>(widget); }
QWidget* widgetOf(WindowHandle window) { return reinterpret_cast<QWidget*>(window); }

namespace {

class QtWindowLayer : public WindowLayer {
public:
    WindowHandle getParent(WindowHandle window) override
    {
        QWidget* w = widgetOf(window);
        return w && !w->isWindow() ? handleOf(w->parentWidget()) : nullptr;
    }

    RECT getWindowRect(WindowHandle window) override
    {
        QWidget* w = widgetOf(window);
        if (!w)
            return RECT{};
        if (w->isWindow())
            return toRECT(w->frameGeometry());
        return toRECT(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
    }

    RECT getClientRect(WindowHandle window) override
    {
        QWidget* w = widgetOf(window);
        return w ? RECT{0, 0, w->width(), w->height()} : RECT{};
    }

    POINT clientOrigin(WindowHandle window) override
    {
        QWidget* w = widgetOf(window);
        const QPoint p = w ? w->mapToGlobal(QPoint(0, 0)) : QPoint();
        return POINT{p.x(), p.y()};
    }

    void moveWindow(WindowHandle window, int x, int y, int width, int height, bool) override
    {
        QWidget* w = widgetOf(window);
        if (!w)
            return;
        if (!w->isWindow()) {
            w->setGeometry(x, y, width, height);
            return;
        }
        // A top-level window is placed by its frame but sized by its client area.
        const QSize frame = w->frameGeometry().size() - w->size();
        w->move(x, y);
        w->resize(width - frame.width(), height - frame.height());
    }

    void invalidateRect(WindowHandle window, const RECT& r, bool) override
    {
        if (QWidget* w = widgetOf(window))
            w->update(toQRect(r));
    }

    void showWindow(WindowHandle window, bool visible) override
    {
        if (QWidget* w = widgetOf(window))
            w->setVisible(visible);
    }

    bool isWindowVisible(WindowHandle window) override
    {
        QWidget* w = widgetOf(window);
        return w && w->isVisible();
    }

    void enableWindow(WindowHandle window, bool enabled) override
    {
        if (QWidget* w = widgetOf(window))
            w->setEnabled(enabled);
    }

    WindowHandle getDlgItem(WindowHandle dialog, int id) override
    {
        QWidget* w = widgetOf(dialog);
        return w ? handleOf(platform::dlgItem(w, id)) : nullptr;
    }

    std::vector<WindowHandle> childWindows(WindowHandle window) override
    {
        std::vector<WindowHandle> result;
        QWidget* w = widgetOf(window);
        if (!w)
            return result;
        // children() runs from the bottom of the stacking order to the top.
        const QObjectList& children = w->children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            auto* child = qobject_cast<QWidget*>(*it);
            if (child && !child->isWindow())
                result.push_back(handleOf(child));
        }
        return result;
    }

    SIZE primaryScreenSize() override
    {
        QScreen* screen = QGuiApplication::primaryScreen();
        const QSize s = screen ? screen->size() : QSize();
        return SIZE{s.width(), s.height()};
    }
};

} // namespace

WindowLayer& qtWindowLayer()
{
    static QtWindowLayer layer;
    return layer;
}
