#pragma once
// A plain main window with an MDI client, and application services that
// record what the toolkit asks of them.
#include "ui/AppServices.h"
#include "ui/ChildFrame.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStringList>

#include <vector>

class MdiHost : public AppServices {
public:
    static constexpr int ID_FILE_NEW = 57600;

    MdiHost()
    {
        window.resize(800, 600);
        window.setCentralWidget(mdi);
        table = {{QKeyCombination(Qt::Key_F1), ID_HELP},
                 {QKeyCombination(Qt::ControlModifier, Qt::Key_N), ID_FILE_NEW}};
        previous = setAppServices(this);
        ChildFrame::resetFirstFixedFrame();
        window.show();
    }
    ~MdiHost() override { setAppServices(previous); }

    QWidget* mainWindow() override { return &window; }
    QMdiArea* mdiClient() override { return mdi; }
    const std::vector<Accelerator>& accelerators() override { return table; }
    bool onCommand(int id) override
    {
        commands.push_back(id);
        return true;
    }
    // What the Window menu lists now: the visible frames.
    void refreshMdiMenu() override
    {
        ++refreshes;
        windowMenu.clear();
        for (QMdiSubWindow* frame : mdi->subWindowList())
            if (frame->isVisible())
                windowMenu << frame->windowTitle();
    }
    void disableMainWindow(QWidget*) override { window.setEnabled(false); }
    void enableMainWindow(QWidget*) override { window.setEnabled(true); }
    void showHelp(int context) override { helpContexts.push_back(context); }

    QSize clientSize() const { return mdi->viewport()->size(); }

    QMainWindow window;
    QMdiArea* mdi = new QMdiArea;
    std::vector<Accelerator> table;
    std::vector<int> commands;
    std::vector<int> helpContexts;
    QStringList windowMenu;
    int refreshes = 0;

private:
    AppServices* previous = nullptr;
};
