// The windows of a CPR Controller transfer on the offscreen platform: the
// selectors' lists and what OK and Cancel choose, and the progress window's
// bar, its button, and its hold on the owner window.
#include "CPB/windows/ProgressDialog.h"
#include "CPB/windows/TransferSelectors.h"
#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

using platform::dlgItem;

QString picture(const char* name)
{
    QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
    return QStringLiteral(ARTEFACT_DIR "/") + name;
}

// Runs `act` on the modal dialog once its loop has started.
void whenModal(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        act(modal);
    });
}

QStringList texts(QListWidget* list)
{
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out << list->item(row)->text();
    return out;
}

class TransferWindowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { res::registerResources(); }
    void TearDown() override { loadLanguage("main", "en"); }
};

TEST_F(TransferWindowsTest, SendSelectorChoosesTheTickedPortsFromTheTop)
{
    struct Case {
        const char* name;
        std::vector<int> untick;
        int button;
        std::vector<int> chosen;
    };
    const std::vector<Case> cases {
        { "all ticked", {}, IDOK, { 2, 5, 9 } },
        { "second unticked", { 1 }, IDOK, { 2, 9 } },
        { "none ticked", { 0, 1, 2 }, IDOK, {} },
        { "cancelled", { 1 }, IDCANCEL, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPBSendSelector selector;
        selector.candList = { 2, 5, 9 };
        QStringList shown;
        std::vector<int> ticked;
        int current = -1;
        whenModal([&](QWidget* modal) {
            ASSERT_EQ(modal, &selector);
            auto* list = dlgItem<platform::CheckListBox>(&selector, IDC_SELECTOR_SEND_LIST);
            ASSERT_NE(list, nullptr);
            shown = texts(list);
            current = list->getCurSel();
            for (int row = 0; row < list->count(); ++row)
                if (list->getCheck(row) == 1)
                    ticked.push_back(row);
            for (int row : c.untick)
                list->setCheck(row, 0);
            if (c.name == std::string("second unticked"))
                selector.grab().save(picture("send-selector.png"));
            selector.sendCommand(c.button, BN_CLICKED);
        });
        EXPECT_EQ(selector.doModal(), c.button);
        EXPECT_EQ(shown, (QStringList { "Com 2", "Com 5", "Com 9" }));
        EXPECT_EQ(ticked, (std::vector<int> { 0, 1, 2 })) << "every controller is ticked at first";
        EXPECT_EQ(current, 0);
        EXPECT_EQ(selector.chosen(), c.chosen);
        EXPECT_EQ(selector.windowTitle(), "Send setup to CPR Controller");
    }
}

TEST_F(TransferWindowsTest, GetSelectorChoosesTheSelectedPort)
{
    struct Case {
        const char* name;
        std::vector<int> ports;
        int select; // -2: leave as it is
        int button;
        int chosen;
    };
    const std::vector<Case> cases {
        { "first by default", { 3, 7 }, -2, IDOK, 3 },
        { "second selected", { 3, 7 }, 1, IDOK, 7 },
        { "cancelled", { 3, 7 }, 1, IDCANCEL, -1 },
        { "nothing selected", { 3, 7 }, -1, IDOK, -1 },
        { "nothing offered", {}, -2, IDOK, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::LogCapture log;
        CPGGetSelector selector;
        selector.candList = c.ports;
        int items = -1;
        whenModal([&](QWidget*) {
            auto* list = dlgItem<platform::ListBox>(&selector, IDC_SELECTOR_GET_LIST);
            ASSERT_NE(list, nullptr);
            items = list->getCount();
            if (c.select != -2)
                list->setCurSel(c.select);
            if (c.select == 1 && c.button == IDOK)
                selector.grab().save(picture("get-selector.png"));
            selector.sendCommand(c.button, BN_CLICKED);
        });
        EXPECT_EQ(selector.doModal(), c.button);
        EXPECT_EQ(items, static_cast<int>(c.ports.size()));
        EXPECT_EQ(selector.chosen(), c.chosen);
        EXPECT_EQ(log.hasAssertion("!ports.empty()"), c.ports.empty());
    }
}

TEST_F(TransferWindowsTest, WindowsHaveAFixedSizeAndTheirTextsTranslated)
{
    ASSERT_TRUE(loadLanguage(std::string("main lang:") + CATALOGUE_DIR + "/de.mo", "en"));
    CPBSendSelector selector;
    selector.candList = { 4 };
    whenModal([&](QWidget*) {
        EXPECT_EQ(selector.minimumSize(), selector.maximumSize()) << "no sizing border";
        EXPECT_EQ(texts(dlgItem<QListWidget>(&selector, IDC_SELECTOR_SEND_LIST)), QStringList { "COM 4" });
        EXPECT_NE(dlgItem<QLabel>(&selector, IDC_SELECTOR_LABEL)->text().toStdString(),
                  "Select CPR Controller(s) to update:");
        selector.grab().save(picture("send-selector-de.png"));
        selector.sendCommand(IDCANCEL, BN_CLICKED);
    });
    EXPECT_EQ(selector.doModal(), IDCANCEL);

    QPointer<ProgressDialog> window = new ProgressDialog;
    ASSERT_TRUE(window->create(nullptr));
    EXPECT_EQ(window->windowTitle(), "Daten werden an CPB gesendet");
    EXPECT_EQ(dlgItem<QPushButton>(window, IDCANCEL)->text(), "&Abbrechen");
    window->setText(translate("An error occurred, please try again."));
    window->show();
    window->grab().save(picture("progress-de.png"));
    window->destroyWindow();
}

// --- the progress window ----------------------------------------------------------------------

class ProgressDialogTest : public TransferWindowsTest {
protected:
    ProgressDialogTest()
    {
        owner.setWindowTitle("Owner");
        owner.resize(500, 400);
        owner.move(100, 80);
        owner.show();
    }

    // A window as the drivers make it: shown, its button disabled, the owner disabled.
    ProgressDialog* openWindow()
    {
        auto* window = new ProgressDialog;
        EXPECT_TRUE(window->create(&owner)) << window->buildError();
        window->setCaption(L"Tavo CPR Controller on COM3");
        window->enableButton(false);
        owner.setEnabled(false);
        window->show();
        return window;
    }

    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QDialog owner;
};

TEST_F(ProgressDialogTest, StartsCentredOnItsOwnerAtZero)
{
    QPointer<ProgressDialog> window = openWindow();
    EXPECT_EQ(window->x(), owner.frameGeometry().left() + (owner.width() - window->width()) / 2);
    EXPECT_EQ(window->y(), owner.frameGeometry().top() + (owner.height() - window->height()) / 2);
    EXPECT_EQ(window->getPos(), 0);
    EXPECT_EQ(dlgItem<QProgressBar>(window, IDC_PROGRESS_BAR)->maximum(), 1000);
    EXPECT_EQ(dlgItem<QLabel>(window, IDC_PROGRESS_PERCENT)->text(), "0%");
    EXPECT_EQ(dlgItem<QLabel>(window, IDC_PROGRESS_TEXT)->text(), "");
    EXPECT_EQ(window->windowTitle(), "Tavo CPR Controller on COM3");
    EXPECT_TRUE(window->isEnabled()) << "the owner's disabling does not reach it";
    EXPECT_EQ(QApplication::activeModalWidget(), window) << "usable above a modal owner";
    window->destroyWindow();
}

TEST_F(ProgressDialogTest, PositionShowsAsWholePercent)
{
    QPointer<ProgressDialog> window = openWindow();
    testsupport::LogCapture log;
    struct Case {
        int pos;
        const char* shown;
        bool logged;
    };
    for (const Case& c : std::vector<Case> {
             { 455, "45%", false }, { 999, "99%", false }, { 1000, "100%", false }, { 400, "40%", true } }) {
        window->setPos(c.pos);
        EXPECT_EQ(dlgItem<QLabel>(window, IDC_PROGRESS_PERCENT)->text(), c.shown) << c.pos;
        EXPECT_EQ(dlgItem<QProgressBar>(window, IDC_PROGRESS_BAR)->value(), c.pos);
        EXPECT_EQ(window->getPos(), c.pos) << "applied even when logged";
        EXPECT_EQ(log.hasAssertion("newPos >= 0 && newPos <= maxPos && newPos >= position"), c.logged) << c.pos;
    }
    window->setPos(0);
    window->step(17);
    window->step(30);
    EXPECT_EQ(window->getPos(), 47);
    EXPECT_EQ(dlgItem<QLabel>(window, IDC_PROGRESS_PERCENT)->text(), "4%");
    window->destroyWindow();
}

TEST_F(ProgressDialogTest, NothingEndsTheWindowUntilItsButtonIsEnabled)
{
    QPointer<ProgressDialog> window = openWindow();
    window->setText(L"Receiving algorithms...");
    window->setPos(455);
    auto* button = dlgItem<QPushButton>(window, IDCANCEL);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(window->cursor().shape(), Qt::WaitCursor);
    window->grab().save(picture("progress-running.png"));

    QTest::keyClick(window, Qt::Key_Escape);
    window->close();
    settle();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible()) << "Escape and the close box do nothing during a transfer";
    EXPECT_FALSE(owner.isEnabled());

    window->setButtonText(L"Close");
    window->setText(L"Transfer done.");
    window->enableButton(true);
    EXPECT_TRUE(button->hasFocus() || QApplication::focusWidget() == button || window->focusWidget() == button);
    EXPECT_NE(window->cursor().shape(), Qt::WaitCursor);
    window->grab().save(picture("progress-done.png"));

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(owner.isEnabled()) << "the owner is enabled again as the window goes";
    settle();
    EXPECT_FALSE(window) << "the object deletes itself";
}

TEST_F(ProgressDialogTest, ButtonOrCloseBoxEndsAFinishedWindow)
{
    for (bool useButton : { true, false }) {
        QPointer<ProgressDialog> window = openWindow();
        window->enableButton(true);
        if (useButton)
            QTest::mouseClick(dlgItem<QPushButton>(window, IDCANCEL), Qt::LeftButton);
        else
            window->close();
        EXPECT_FALSE(window && window->isVisible()) << useButton;
        EXPECT_TRUE(owner.isEnabled());
        settle();
        EXPECT_FALSE(window);
    }
}

TEST_F(ProgressDialogTest, DestroyedByItsDriverOrWithItsOwner)
{
    QPointer<ProgressDialog> window = openWindow();
    window->destroyWindow();
    EXPECT_TRUE(owner.isEnabled()) << "a window destroyed while running gives its owner back";
    settle();
    EXPECT_FALSE(window);

    auto* dying = new QDialog;
    dying->show();
    auto* orphan = new ProgressDialog;
    ASSERT_TRUE(orphan->create(dying));
    dying->setEnabled(false);
    orphan->show();
    window = orphan;
    delete dying;
    settle();
    EXPECT_FALSE(window) << "the window goes with its owner";

    // Two controllers' windows over one owner: it is given back with the last.
    QPointer<ProgressDialog> first = openWindow();
    QPointer<ProgressDialog> second = openWindow();
    first->enableButton(true);
    first->close();
    EXPECT_FALSE(owner.isEnabled()) << "the second window still holds it";
    second->enableButton(true);
    second->close();
    EXPECT_TRUE(owner.isEnabled());
    settle();
    EXPECT_FALSE(first || second);

    // Without an owner nothing is disabled or enabled.
    auto* alone = new ProgressDialog;
    ASSERT_TRUE(alone->create(nullptr));
    alone->show();
    EXPECT_NE(QApplication::activeModalWidget(), alone);
    window = alone;
    alone->enableButton(true);
    alone->close();
    settle();
    EXPECT_FALSE(window);
}

} // namespace
