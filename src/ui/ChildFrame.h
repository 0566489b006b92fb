#pragma once
// The frames inside the main window's MDI client. A frame hosts one window,
// its view, which it creates with itself; it sizes and places itself by its
// flags, can hide instead of closing, and tells through `destroyed` when it
// goes. Frames are made with new and delete themselves once their window is
// destroyed.
#include "Utillib/Signal.h"

#include <QMdiSubWindow>
#include <QPointer>

#include <string>
#include <vector>

class QMdiArea;

class ChildFrame : public QMdiSubWindow {
public:
    ChildFrame();
    // Emits `destroyed` with the frame's address, then drops every connection.
    ~ChildFrame() override;

    // The hosted window.
    virtual QWidget* getView() = 0;
    // Creates the hosted window as a child of clientArea().
    virtual bool createView() = 0;
    // Asked before the frame closes.
    virtual bool canClose() { return true; }
    // A command from the keyboard while the frame or its view has the focus,
    // after the view left it; true when handled.
    virtual bool onCommand(int id);

    // Creates the window in the main MDI client, shown, with its view. False,
    // with the frame destroyed (it deletes itself), when there is no MDI
    // client or the view cannot be created.
    bool createFrame(const std::wstring& title);
    // Shows the frame, slid into the client area, and activates it.
    void activateFrame();
    void hideFrame();
    // Moves the frame, keeping its size, to the middle of the MDI client.
    void centreInClient();
    // Gives the frame the size its view needs, without moving it.
    void fitFrameToView();
    // Destroys the window without asking; the frame is deleted from the event loop.
    void destroyFrame();
    // Whether the window exists: created and not yet destroyed.
    bool windowExists() const { return created; }

    // Whether the frame may fill the client area: only one with a sizing
    // border that is not sized to its view.
    bool mayMaximise() const { return resizable && !fitToView; }

    // The parent of the view: the frame's client area.
    QWidget* clientArea() const { return client; }

    // The first frame without a sizing border of a run goes to (5, 5), the
    // later ones to the middle of the client. Tests start a new run with this.
    static void resetFirstFixedFrame();

    Signal<ChildFrame*> destroyed;
    bool fitToView = false;
    bool maximised = false;
    bool resizable = true;
    bool hideOnClose = false;
    bool minimiseBox = false;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The client area got a new size.
    virtual void onClientSize(int width, int height);

private:
    void applyFlags();
    void placeAfterCreation();
    void failCreation();
    void coverFrames(QMdiArea* mdi);
    void stopWatchingCovered();
    void restoreDisplaced();
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget* client = nullptr;
    bool created = false;
    // The frames a frame opening maximised covered, from back to front, each
    // with whether it filled the client area and whether its state changed
    // while covered (the user restored or maximised it: their choice stays).
    struct Covered {
        QPointer<QMdiSubWindow> frame;
        bool maximised = false;
        bool changed = false;
    };
    std::vector<Covered> displaced;
    // The frame that was active then; it is active again when this one goes.
    QPointer<QMdiSubWindow> displacedActive;
    bool watchingCovered = false;
};
