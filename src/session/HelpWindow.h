#pragma once
// The program's own help window: the help page shown inside the program,
// scrolled to the topic asked for. There is one; each new topic reuses it.
#include <QPointer>
#include <QWidget>

class QTextBrowser;
class QUrl;

class HelpWindow : public QWidget {
public:
    // Shows `url` (a local page, its fragment naming the topic) in the one
    // help window, made on first use as a window of `owner` (of the modal
    // dialog instead while one is open); false when the
    // page cannot be read.
    static bool showTopic(const QUrl& url, QWidget* owner);
    // The help window, when one is open.
    static HelpWindow* current();

    QTextBrowser* browser() const { return view; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit HelpWindow(QWidget* owner);
    bool load(const QUrl& url);
    // Inside the screen's work area, beside `owner`'s window where there is room.
    void placeBeside(QWidget* owner);

    QTextBrowser* view = nullptr;
    static QPointer<HelpWindow> window;
};
