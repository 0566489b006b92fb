#pragma once
// A record editor's dialog: the dialog built from the editor's template with
// the editor logic mixed in, and the wiring that every editor shares. The
// buttons New, Delete, Save changes, Discard changes, First, Last, Next and
// Previous run the commands of the same names (Next and Previous also on a
// double click); closing the quick-find box's list runs quick find; Help
// opens the editor's help context; a change of an edit field updates the
// buttons. Enter never closes an editor: it moves on to the next field.
// Close, Escape and the close box end it only after the unsaved-changes
// question.
#include "Database/DatabaseDialog.h"
#include "Database/RecordEditorWiring.h"
#include "gettext/TranslateWindow.h"
#include "platform/WindowStyles.h"
#include "platformqt/Dialog.h"
#include "ui/AppServices.h"
#include "Utillib/LogStream.h"

#include <QKeyEvent>

template <class Table>
class RecordEditorDialog : public platform::Dialog, public DatabaseDialog<Table> {
public:
    using Editor = DatabaseDialog<Table>;
    static_assert(int(recordEditor::idNew) == int(Editor::idNew) && int(recordEditor::idQuickFind) == int(Editor::idQuickFind)
                  && int(recordEditor::idHelp) == int(Editor::idHelp));

    explicit RecordEditorDialog(QWidget* parent = nullptr)
        : platform::Dialog(parent)
    {
    }

protected:
    // Translates the template's marked texts and wires the shared controls;
    // the editor then sets up its own controls and calls startTable.
    bool onInitDialog() override
    {
        translateWindow(this);
        recordEditor::installWiring(this);
        return platform::Dialog::onInitDialog();
    }

    // Points the editor at its own table, opens it unfiltered and fills the lists.
    void startTable(Table& member)
    {
        this->table = &member;
        member.open("");
        this->fillCombos();
    }

    // The enabling that every editor's enableButtons hook starts from.
    void enableStandardButtons(int bits, bool deleteAllowed) { recordEditor::enableButtons(this, bits, deleteAllowed); }

    // The help context that Help opens; 0 for none.
    virtual int helpContext() const { return 0; }

    bool onCommand(int id, int code) override
    {
        const bool clicked = code == BN_CLICKED;
        switch (id) {
        case Editor::idNew:
            if (clicked)
                this->onNew();
            return true;
        case Editor::idDelete:
            if (clicked)
                this->onDelete();
            return true;
        case Editor::idSave:
            if (clicked)
                this->save();
            return true;
        case Editor::idDiscard:
            if (clicked)
                this->onDiscard();
            return true;
        // A double click is two clicks; a button that reports it as such
        // (BN_DOUBLECLICKED instead of its second click) moves twice as well.
        case Editor::idNext:
            if (clicked || code == BN_DOUBLECLICKED)
                this->onNext();
            return true;
        case Editor::idPrevious:
            if (clicked || code == BN_DOUBLECLICKED)
                this->onPrevious();
            return true;
        case Editor::idFirst:
            if (clicked)
                this->onFirst();
            return true;
        case Editor::idLast:
            if (clicked)
                this->onLast();
            return true;
        case Editor::idQuickFind:
            if (code != CBN_CLOSEUP)
                return false;
            this->onQuickFind(recordEditor::quickFindText(this));
            return true;
        case Editor::idHelp:
            if (clicked)
                showHelp();
            return true;
        case IDOK:
            // Enter: on to the next field; the editor stays open.
            if (clicked)
                recordEditor::focusNextField(this);
            return true;
        case IDCANCEL:
            if (clicked && this->askSaveChanges())
                endDialog(IDCANCEL);
            return true;
        default:
            break;
        }
        if (recordEditor::isEditChange(this, id, code)) {
            this->updateButtons();
            return true;
        }
        return platform::Dialog::onCommand(id, code);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (!recordEditor::pressEnter(this, event))
            platform::Dialog::keyPressEvent(event);
    }

private:
    void showHelp()
    {
        if (AppServices* services = appServices())
            services->showHelp(helpContext());
        else
            LogStream::instance() << "Help context " << helpContext() << " asked without an application" << LogStream::endl;
    }
};
