#include "EditorTestSupport.h"

#include "res/resource.h"

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
