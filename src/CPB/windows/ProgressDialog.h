#pragma once
// The window of one CPR Controller transfer: the step being done, a bar and
// a percentage (positions 0 to 1000), and one button that ends the window
// once the transfer is over. While the button is disabled the window cannot
// be closed and shows the wait cursor. The window is owned by the window the
// transfer was started from; it keeps that owner disabled while it exists
// (the driver disables it) and enables it again when it goes, unless another
// progress window over the same owner is still there. The object deletes
// itself when its window is destroyed.
#include "platformqt/Dialog.h"

#include <QPointer>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

class ProgressDialog : public platform::Dialog {
    Q_OBJECT
public:
    static constexpr int maxPos = 1000;

    // Built with no parent: create() makes the window.
    ProgressDialog();
    ~ProgressDialog() override;

    // Creates the window from its template, owned by `owner` (none: it stays
    // where the template puts it), and disables the owner until the window
    // goes. It is shown by the caller.
    bool create(QWidget* owner);

    // Sets the bar and the percentage (a tenth of the position, whole).
    // A position outside 0..1000 or below the current one is logged and
    // applied all the same.
    void setPos(int newPos);
    void step(int n);
    int getPos() const { return position; }

    void setText(const std::wstring& text);
    void setCaption(const std::wstring& text);
    void setButtonText(const std::wstring& text);
    // Enabling also gives the button the keyboard focus.
    void enableButton(bool enable);
    bool isButtonEnabled() const;

    // The window disappears, its owner is enabled again, and the object is
    // deleted once control returns to the event loop.
    void destroyWindow();

    QWidget* owner() const { return ownerWindow; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;

private:
    void centreOnOwner();
    void releaseOwner();

    QPointer<QWidget> ownerWindow;
    // The owner is being destroyed: it is no longer touched.
    bool ownerGone = false;
    bool released = false;
    QPushButton* button = nullptr;
    QLabel* stepText = nullptr;
    QProgressBar* progress = nullptr;
    QLabel* percentage = nullptr;
    int position = 0;
};
