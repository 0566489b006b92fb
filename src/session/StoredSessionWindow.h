#pragma once
// The modal window in which a stored session is looked at again: it hosts
// the replayed session's own page container (graph and debriefing pages).
// Closing it closes the session, whose end ends the dialog.
#include "Utillib/Signal.h"

#include <QDialog>
#include <QPointer>

class Session;

class InspectSessionDialog : public QDialog, public SignalReceiver {
public:
    InspectSessionDialog(Session& session, bool showDebrief, QWidget* parent = nullptr);
    ~InspectSessionDialog() override;

    // Builds the session's view inside the dialog; run before exec.
    void initDialog();
    QWidget* sessionWidget() const { return view; }

    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void onSessionDestroyed(Session* session);

    Session* session;
    bool showDebrief;
    QPointer<QWidget> view;
};
