#pragma once
// Dialogs built from template bytes: the dialog takes its caption, font, size
// and style from the template and gets one child control per item, placed by
// the dialog's base units, with the item's id, class, style and text.
// Controls report to the dialog with their id and a notification code.
#include "platform/WinTypes.h"

#include <QDialog>
#include <QRect>
#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// What the builder knows of one control when it makes it.
struct ControlParameters {
    int id = 0;
    std::string className;
    QString text;
    DWORD style = 0;
    DWORD exStyle = 0;
    QRect rect; // pixels in the dialog
    std::vector<unsigned char> creationData;
};

// Makes the widget of a control class as a child of `parent` (the builder
// then sets its id, class, style, text, geometry and state).
using ControlFactory = std::function<QWidget*(const ControlParameters& params, QWidget* parent)>;

// Custom control classes, found by name ignoring case, as the templates name them.
void registerControlClass(const std::string& name, ControlFactory factory);
void unregisterControlClass(const std::string& name);

// Tells the control's dialog that something happened to the control.
void notifyParent(QWidget* control, int code);

class Dialog : public QDialog {
    Q_OBJECT
public:
    explicit Dialog(QWidget* parent = nullptr);

    // Builds the dialog from template bytes, then calls onInitDialog. A dialog
    // with WS_CHILD becomes a child widget of `parent`. False, with the reason
    // in buildError(), when the bytes are no template or a control class is
    // unknown (unless the template has DS_NOFAILCREATE). Without `parent` the
    // dialog keeps the parent it was constructed with.
    bool createIndirect(const unsigned char* data, std::size_t size, QWidget* parent = nullptr);
    // The same from the DIALOG resource of that id.
    bool create(int templateId, QWidget* parent = nullptr);
    const std::string& buildError() const { return error; }
    // Destroys the controls and takes the dialog off its parent; the object
    // stays and can be created again (a page shown only while it is current).
    void destroyWindow();
    bool isCreated() const { return created; }
    int templateId() const { return resourceId; }

    // Shows the created dialog modally; the value given to endDialog. A
    // window of its own that is still where its template put it opens
    // centred over its owner's window (the active window when it has no
    // parent), inside the screen.
    int doModal();
    // Ends the dialog with that result (hides a modeless one).
    void endDialog(int result);

    // The base units of the dialog's font and a dialog-unit rectangle in pixels.
    SIZE baseUnits() const { return units; }
    RECT mapDialogRect(const RECT& dialogUnits) const;

    // Routes a control's notification: the command signal, then onCommand.
    void sendCommand(int id, int code);

    // Escape and the close box send IDCANCEL.
    void reject() override;

Q_SIGNALS:
    void command(int id, int code);

protected:
    // Called once the controls exist and before the dialog is shown; true
    // puts the focus on the first tab stop.
    virtual bool onInitDialog() { return true; }
    // A control's notification; true when handled. By default the buttons
    // IDOK and IDCANCEL end the dialog with their id.
    virtual bool onCommand(int id, int code);

private:
    bool build(const unsigned char* data, std::size_t size, QWidget* parent);

    SIZE units {};
    DWORD templateStyle = 0;
    std::string error;
    bool created = false;
    int resourceId = 0;
    // Where the template placed a window of its own; null for a child.
    std::optional<QPoint> templatePosition;
};

} // namespace platform
