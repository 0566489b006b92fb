#pragma once
// The base of the stand-alone resizable dialogs: it owns a layout tree,
// arranges it on every size change, and keeps the dialog from being made
// smaller than it was when the layout was installed.
#include "platformqt/Dialog.h"
#include "ui/LayoutItem.h"

// The limits of a window's size while the user drags it, frame included.
struct MinMaxInfo {
    SIZE minTrackSize{};
    SIZE maxTrackSize{};
};

class ResizableDialog : public platform::Dialog {
public:
    ResizableDialog(UINT templateId, QWidget* parent);
    ResizableDialog();
    ~ResizableDialog() override;

    // Takes a copy of the layout and measures it against the client area as
    // it is now; the controls stay where they are until the next size change.
    void setLayout(const LayoutItemHandle& layout, bool noMinimum);
    // Creates the dialog from its template (when not yet created) and runs it modally.
    int doModal();
    // Creates the dialog modeless, with a smaller font when it would not fit the screen.
    bool createFitted(UINT templateId, QWidget* parent);

    bool initialised = false;
    bool noMinimum = false;
    // The installed layout tree, owned.
    LayoutItem* layout = nullptr;
    // Window size minus client size.
    int borderWidth = 0;
    int borderHeight = 0;

protected:
    bool onInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;
    // The client area is cx by cy now.
    virtual void onSize(UINT type, int cx, int cy);
    // The size limits of the dialog's window.
    virtual void onGetMinMaxInfo(MinMaxInfo* info);
    // Asks onGetMinMaxInfo and applies its answer.
    void updateSizeLimits();

private:
    UINT templateId = 0;
    QWidget* templateParent = nullptr;
};
