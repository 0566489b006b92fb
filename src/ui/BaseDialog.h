#pragma once
// The base of the forms that live in an MDI child frame: the form translates
// itself when it is initialised, gets the main frame's accelerators while it
// has the focus (the command reaches the form first, then its frame, then the
// application), routes Help to showHelp, and OK or Cancel close its frame.
#include "platformqt/Dialog.h"

class ChildFrame;

class BaseDialog : public platform::Dialog {
public:
    explicit BaseDialog(QWidget* parent = nullptr);

    using platform::Dialog::create;
    // Creates the form from its own template as a child of the frame's client area.
    virtual bool create(QWidget* parent) = 0;
    // Asked before the hosting frame closes.
    virtual bool canClose() { return true; }
    // The hosting frame is about to be shown or hidden.
    virtual void onParentShow(bool show, int status);
    // Opens the form's help context.
    virtual void showHelp();

    void hideParentFrame();
    void showParentFrame();
    // The frame that hosts the form, or null.
    ChildFrame* parentFrame() const;

    // A command from the keyboard: the form, then its frame, then the
    // application; true when one of them handled it.
    bool routeCommand(int id);

    // Enter without a default button sends OK, as the button would.
    void accept() override;

protected:
    bool onInitDialog() override;
    // OK (1), Cancel (2) and Help (32800).
    bool onCommand(int id, int code) override;
    // Ends the form and destroys its frame, which takes the form along.
    virtual void onOK();
    virtual void onCancel();

private:
    void destroyParentFrame();
};
