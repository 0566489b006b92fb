#pragma once
// The record editors on the offscreen platform over a real data source:
// an editor is opened modeless as its dialog, typed into and clicked like a
// user would; message boxes go to the recording fake of the database tests.
#include "Database/DbUi.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"
#include "res/Resources.h"

#include "DbTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace edtest {

class EditorTest : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        res::registerResources();
    }
    void TearDown() override
    {
        current = nullptr;
        DbTest::TearDown();
    }

    // Creates the editor from its template and shows it as the active window.
    template <class Editor>
    Editor& show(std::unique_ptr<Editor>& editor, int templateId)
    {
        EXPECT_TRUE(editor->create(templateId)) << editor->buildError();
        editor->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        QApplication::setActiveWindow(editor.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        current = editor.get();
        return *editor;
    }

    QWidget* item(int id) const { return platform::dlgItem(current, id); }
    QLineEdit* line(int id) const { return platform::dlgItem<QLineEdit>(current, id); }
    std::string text(int id) const { return platform::qStringToAnsi(platform::windowText(item(id))).c_str(); }
    void click(int id) { QTest::mouseClick(qobject_cast<QAbstractButton*>(item(id)), Qt::LeftButton); }
    // Replaces a field's text by typing, as a user does.
    void type(int id, const QString& typed)
    {
        QWidget* field = item(id);
        if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
            field = combo->lineEdit();
        field->setFocus(Qt::MouseFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(field)) {
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
        }
        QTest::keyClicks(field, typed);
    }
    void enter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }
    // The ids of the record editor's buttons that are enabled.
    std::vector<int> enabledButtons() const;

    // Runs `act` on the next modal dialog once it is up (a nested editor or
    // box), while the caller's command runs it.
    static void whenModal(std::function<void(QWidget*)> act);

    std::vector<std::wstring> boxTexts() const;

    platform::Dialog* current = nullptr;
};

} // namespace edtest
