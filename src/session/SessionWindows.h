#pragma once
// The windows around the sessions: the session frame, its tab view with one
// tab per session, each session's page container, the "Save session?"
// question, and the handles through which a session owns these windows.
#include "session/SessionManager.h"
#include "session/SessionServices.h"
#include "session/SurveillanceView.h"
#include "ui/ChildFrame.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTabBar;
class Session;
class SessionGraphView;

// A page window as the container shows it.
class SessionPageHandle {
public:
    virtual ~SessionPageHandle() = default;
    virtual QWidget* pageWidget() const = 0;
};

// One session's page container: shows one of its pages at a time over its whole area.
class SessionView : public QWidget {
public:
    explicit SessionView(Session& session);
    void showPage(QWidget* page);
    Session& getSession() const { return *session; }
    QWidget* getActivePage() const { return activePage; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Session* session;
    QPointer<QWidget> activePage;
};

// What a session owns of its container: the window goes when it is destroyed.
class SessionContainerHandle : public SessionContainer {
public:
    explicit SessionContainerHandle(Session& session);
    ~SessionContainerHandle() override;
    void showPage(SessionPageWindow* page) override;
    void destroyWindow() override;
    SessionView* view() const { return window; }

private:
    QPointer<SessionView> window;
};

// What a session owns of its graph page.
class GraphPageHandle : public GraphPageWindow, public SessionPageHandle {
public:
    explicit GraphPageHandle(Session& session);
    ~GraphPageHandle() override;
    void destroyWindow() override;
    void refreshControls() override;
    int axisNewestIndex() const override;
    double axisSampleRate() const override;
    QWidget* pageWidget() const override;
    SessionGraphView* page() const;

private:
    QPointer<QWidget> window;
};

// The tab view of the session frame.
class SessionManagerTabView : public QWidget, public SessionTabView {
public:
    explicit SessionManagerTabView(QWidget* parent);
    ~SessionManagerTabView() override;

    void addView(SessionView* view);
    void removeView(SessionView* view);
    void selectView(SessionView* view, bool selectTab);
    void layoutViews();

    // SessionTabView.
    void addSession(Session& session, SessionContainer* container) override;
    void removeSession(Session& session, SessionContainer* container) override;
    void selectSession(Session& session) override;
    Session* activeSession() const override;
    void activateFrame() override;

    QTabBar* tabs() const { return tabCtrl; }
    SessionView* active() const { return activeView; }
    // Run when the last tab has gone (the frame is closed then).
    std::function<void()> onLastTabRemoved;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* tabCtrl;
    SessionView* activeView = nullptr;
    std::vector<SessionView*> viewList; // in the order added
    std::vector<SessionView*> tabViews; // in tab order
};

// The MDI frame around the tab view.
class SessionChildFrame : public ChildFrame {
public:
    SessionChildFrame() = default;
    QWidget* getView() override { return view; }
    bool createView() override;
    bool canClose() override;
    // F1 opens the help of the page the active session shows.
    bool onCommand(int id) override;
    SessionManagerTabView* tabView() const { return view; }

private:
    SessionManagerTabView* view = nullptr;
};

// The "Save session?" question.
class SaveSessionDialog : public QDialog {
public:
    SaveSessionDialog(const std::wstring& name, bool allowReview, QWidget* owner);
    bool review = false;
    bool save = false;
    bool close = false;
    QPushButton* reviewButton() const { return reviewBtn; }
    QPushButton* yesButton() const { return yesBtn; }

private:
    QPushButton* yesBtn;
    QPushButton* reviewBtn;
};

// Opens the session frame in the main window's MDI client, and finds it again.
class AppSessionFrames : public SessionFrames {
public:
    void openSessionFrame() override;
    void openSurveillanceFrame() override;
    SessionChildFrame* sessionFrame() const { return frame; }
    SurveillanceChildFrame* surveillanceFrame() const { return surveillance; }

private:
    QPointer<SessionChildFrame> frame;
    QPointer<SurveillanceChildFrame> surveillance;
};
