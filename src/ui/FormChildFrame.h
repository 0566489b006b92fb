#pragma once
// The frame of a form: the form is its view, is asked before the frame
// closes, hears when the frame is shown or hidden, and fills a resizable frame.
#include "ui/ChildFrame.h"

class BaseDialog;

class FormChildFrame : public ChildFrame {
public:
    FormChildFrame() = default;
    ~FormChildFrame() override;

    QWidget* getView() override;
    bool createView() override;
    bool canClose() override;
    // F1 while the frame itself has the focus does nothing.
    bool onCommand(int id) override;

    void setVisible(bool visible) override;

    // Set by the owner before createFrame; the form goes with its frame.
    BaseDialog* form = nullptr;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void onClientSize(int width, int height) override;
};
