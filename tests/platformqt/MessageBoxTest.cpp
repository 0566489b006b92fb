// Message boxes by their flags, answered by a click, by Escape or by the hook.
#include "platform/WindowStyles.h"
#include "platformqt/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace platform;

// Runs `act` on the box once it is up.
void whenShown(std::function<void(QMessageBox*)> act)
{
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(box);
    });
}

TEST(MessageBox, ButtonsIconAndDefaultFollowTheFlags)
{
    const struct {
        unsigned flags;
        QMessageBox::StandardButton clicked;
        int answer;
    } cases[] = {
        { MB_OK | MB_ICONSTOP, QMessageBox::Ok, IDOK },
        { MB_RETRYCANCEL | MB_ICONSTOP, QMessageBox::Retry, IDRETRY },
        { MB_RETRYCANCEL | MB_ICONSTOP, QMessageBox::Cancel, IDCANCEL },
        { MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, QMessageBox::No, IDNO },
        { MB_YESNO | MB_ICONEXCLAMATION, QMessageBox::Yes, IDYES },
        { MB_OKCANCEL | MB_ICONINFORMATION, QMessageBox::Cancel, IDCANCEL },
    };
    for (const auto& c : cases) {
        QMessageBox::Icon icon {};
        QString title;
        QString text;
        QAbstractButton* defaultButton = nullptr;
        int buttons = 0;
        whenShown([&](QMessageBox* box) {
            icon = box->icon();
            title = box->windowTitle();
            text = box->text();
            defaultButton = box->defaultButton();
            buttons = static_cast<int>(box->buttons().size());
            if ((c.flags & MB_DEFMASK) == MB_DEFBUTTON2)
                EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
            else
                EXPECT_EQ(box->defaultButton(), box->buttons().first());
            box->button(c.clicked)->click();
        });
        EXPECT_EQ(messageBox(nullptr, L"Port 3 is gone", L"Calibration Error", c.flags), c.answer) << c.flags;
        EXPECT_EQ(title, "Calibration Error");
        EXPECT_EQ(text, "Port 3 is gone");
        const unsigned type = c.flags & MB_TYPEMASK;
        EXPECT_EQ(buttons, type == MB_OK ? 1 : type == MB_YESNOCANCEL ? 3 : 2) << c.flags;
        const unsigned iconFlag = c.flags & MB_ICONMASK;
        EXPECT_EQ(icon, iconFlag == MB_ICONSTOP           ? QMessageBox::Critical
                         : iconFlag == MB_ICONQUESTION    ? QMessageBox::Question
                         : iconFlag == MB_ICONEXCLAMATION ? QMessageBox::Warning
                                                          : QMessageBox::Information);
    }
}

TEST(MessageBox, EscapeAnswersCancelElseOk)
{
    for (unsigned flags : { MB_RETRYCANCEL, MB_OK, MB_YESNOCANCEL }) {
        whenShown([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        EXPECT_EQ(messageBox(nullptr, L"text", L"caption", flags), flags == MB_OK ? IDOK : IDCANCEL) << flags;
    }
}

TEST(MessageBox, HookAnswersInsteadOfTheBox)
{
    QWidget owner;
    std::vector<MessageBoxRequest> asked;
    MessageBoxHook previous = setMessageBoxHook([&](const MessageBoxRequest& request) {
        asked.push_back(request);
        return IDRETRY;
    });
    EXPECT_EQ(messageBox(&owner, L"No COM ports", L"Calibration Error", MB_RETRYCANCEL | MB_ICONSTOP), IDRETRY);
    setMessageBoxHook(previous);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].owner, &owner);
    EXPECT_EQ(asked[0].text, L"No COM ports");
    EXPECT_EQ(asked[0].caption, L"Calibration Error");
    EXPECT_EQ(asked[0].flags, MB_RETRYCANCEL | MB_ICONSTOP);
}

} // namespace
