#include "EditorTestSupport.h"

#include "res/resource.h"

#include <QDialog>
#include <QPointer>

#include <gtest/gtest.h>

namespace edtest {

std::vector<int> EditorTest::enabledButtons() const
{
    std::vector<int> ids;
    for (int id : {IDC_DB_NEW, IDC_DB_DELETE, IDC_DB_SAVE, IDC_DB_DISCARD, IDC_DB_NEXT, IDC_DB_PREVIOUS, IDC_DB_FIRST,
                   IDC_DB_LAST})
        if (item(id) && item(id)->isEnabled())
            ids.push_back(id);
    return ids;
}

void EditorTest::whenModal(std::function<void(QWidget*)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(modal);
        // A dialog that the test left open would hold the test forever.
        QPointer<QWidget> left = modal;
        QTimer::singleShot(10000, [left] {
            if (auto* dialog = qobject_cast<QDialog*>(left.data()); dialog && dialog->isVisible()) {
                ADD_FAILURE() << "a modal dialog was left open";
                dialog->done(QDialog::Rejected);
            }
        });
    });
    poll->start();
}

std::vector<std::wstring> EditorTest::boxTexts() const
{
    std::vector<std::wstring> texts;
    for (const auto& box : ui.boxes)
        texts.push_back(box.text);
    return texts;
}

} // namespace edtest
