// Resizable dialogs and forms in their frames, built from templates and run
// on the offscreen platform in a plain main window with an MDI client.
#include "MdiHost.h"
#include "gettext/Translator.h"
#include "platform/DialogTemplate.h"
#include "platformqt/Window.h"
#include "support/TestSupport.h"
#include "ui/BaseDialog.h"
#include "ui/ControlGroup.h"
#include "ui/FormChildFrame.h"
#include "ui/QtWindows.h"
#include "ui/ResizableDialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace platform;

constexpr int IDD_LIST = 9100;
constexpr int IDD_FORM = 9101;
constexpr int IDC_LIST = 1000;
constexpr int IDC_NAME = 1001;

void registerTemplates()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP;
    registerDialog(DialogTable{IDD_LIST, "¤Sessions",
                               DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                               0, 0, 200, 120, "DejaVu Sans", 8,
                               {
                                   {IDC_LIST, "ListBox", "", button | WS_BORDER | WS_VSCROLL, 7, 7, 186, 84},
                                   {IDOK, "Button", "¤OK", button | BS_DEFPUSHBUTTON, 89, 99, 50, 14},
                                   {IDCANCEL, "Button", "¤Cancel", button, 143, 99, 50, 14},
                               }});
    registerDialog(DialogTable{IDD_FORM, "",
                               DS_SETFONT | DS_CONTROL | WS_CHILD | WS_VISIBLE,
                               0, 0, 180, 60, "DejaVu Sans", 8,
                               {
                                   {IDC_NAME, "Edit", "", button | WS_BORDER, 7, 7, 120, 12},
                                   {IDOK, "Button", "OK", button | BS_DEFPUSHBUTTON, 7, 40, 50, 14},
                                   {IDCANCEL, "Button", "¤Cancel", button, 61, 40, 50, 14},
                                   {ID_HELP, "Button", "¤Help", button, 115, 40, 50, 14},
                               }});
}

// The ui tests' German catalogue for the life of the object.
struct German {
    German() { EXPECT_TRUE(theTranslator.open(UI_CATALOGUE)); }
    ~German() { theTranslator.open(""); }
};

// A list that takes all extra space above OK and Cancel at the bottom right.
class ListDialog : public ResizableDialog {
public:
    explicit ListDialog(bool noMinimum = false) : ResizableDialog(IDD_LIST, nullptr), withoutMinimum(noMinimum) {}

    QWidget* item(int id) const { return dlgItem(this, id); }

protected:
    bool onInitDialog() override
    {
        const bool result = ResizableDialog::onInitDialog();
        HorizontalBox buttons;
        buttons.add(1, makeSpacer(0, 0), 0.0);
        buttons.add(0, makeControlGroup(handleOf(this), IDOK, IDCANCEL), 0.0);
        VerticalBox column;
        column.add(1, makeControlGroup(handleOf(this), IDC_LIST), 0.0);
        column.add(0, buttons, 0.0);
        setLayout(column, withoutMinimum);
        return result;
    }

private:
    bool withoutMinimum;
};

class ResizableDialogs : public testing::Test {
protected:
    void SetUp() override { registerTemplates(); }

    std::unique_ptr<ListDialog> open(bool noMinimum = false)
    {
        auto dialog = std::make_unique<ListDialog>(noMinimum);
        EXPECT_TRUE(dialog->create(IDD_LIST, nullptr)) << dialog->buildError();
        dialog->show();
        return dialog;
    }
};

TEST_F(ResizableDialogs, CannotBeMadeSmallerThanWhenTheLayoutWasInstalled)
{
    auto dialog = open();
    const QSize initial = dialog->size();
    ASSERT_TRUE(dialog->initialised);
    EXPECT_EQ(initial, dialog->minimumSize());
    dialog->resize(initial.width() / 2, initial.height() / 3);
    EXPECT_EQ(initial, dialog->size());
    dialog->resize(20000, 30000);
    EXPECT_EQ(QSize(10000, 10000), dialog->size());
}

TEST_F(ResizableDialogs, TranslatedWhenInitialised)
{
    German german;
    auto dialog = open();
    EXPECT_EQ("Sitzungen", windowText(dialog.get()));
    EXPECT_EQ("Abbrechen", windowText(dialog->item(IDCANCEL)));
    // Marked but not in the catalogue: English, without the marker.
    EXPECT_EQ("OK", windowText(dialog->item(IDOK)));
}

TEST_F(ResizableDialogs, ControlsFollowAResize)
{
    auto dialog = open();
    const QRect list = dialog->item(IDC_LIST)->geometry();
    const QRect ok = dialog->item(IDOK)->geometry();
    const QRect cancel = dialog->item(IDCANCEL)->geometry();
    dialog->resize(dialog->size() + QSize(160, 90));
    EXPECT_EQ(list.adjusted(0, 0, 160, 90), dialog->item(IDC_LIST)->geometry());
    EXPECT_EQ(ok.translated(160, 90), dialog->item(IDOK)->geometry());
    EXPECT_EQ(cancel.translated(160, 90), dialog->item(IDCANCEL)->geometry());

    auto* entries = static_cast<QListWidget*>(dialog->item(IDC_LIST));
    for (const char* text : {"Anna Berg", "Carl Dahl", "Eva Falk"})
        entries->addItem(text);
    const QString shot = QString(SCREENSHOT_DIR) + "/resizable-dialog.png";
    EXPECT_TRUE(dialog->grab().save(shot));

    // Back to the first size puts everything back.
    dialog->resize(dialog->minimumSize());
    EXPECT_EQ(list, dialog->item(IDC_LIST)->geometry());
    EXPECT_EQ(cancel, dialog->item(IDCANCEL)->geometry());
}

TEST_F(ResizableDialogs, WithoutMinimumItShrinksWithNegativeShares)
{
    auto dialog = open(true);
    const QSize initial = dialog->size();
    const QRect list = dialog->item(IDC_LIST)->geometry();
    const QRect ok = dialog->item(IDOK)->geometry();
    dialog->resize(initial - QSize(40, 30));
    EXPECT_EQ(initial - QSize(40, 30), dialog->size());
    EXPECT_EQ(list.adjusted(0, 0, -40, -30), dialog->item(IDC_LIST)->geometry());
    EXPECT_EQ(ok.translated(-40, -30), dialog->item(IDOK)->geometry());
}

TEST_F(ResizableDialogs, CreatedFittedOrModalFromItsTemplate)
{
    ListDialog fitted;
    ASSERT_TRUE(fitted.createFitted(IDD_LIST, nullptr));
    EXPECT_TRUE(fitted.initialised);
    EXPECT_TRUE(fitted.layout);
    EXPECT_FALSE(ListDialog().createFitted(4711, nullptr));

    ListDialog modal;
    QTimer::singleShot(0, &modal, [&modal] { QTest::mouseClick(modal.item(IDCANCEL), Qt::LeftButton); });
    EXPECT_EQ(IDCANCEL, modal.doModal());
    EXPECT_TRUE(modal.initialised);
}

TEST_F(ResizableDialogs, SizeChangesBeforeInitialisationAreLeftAlone)
{
    ListDialog dialog;
    auto* button = new QPushButton("Go", &dialog);
    button->setGeometry(10, 10, 50, 20);
    setControlId(button, 7);
    dialog.resize(200, 100);
    dialog.setLayout(makeControlGroup(handleOf(&dialog), 7), false);
    dialog.show();
    dialog.resize(400, 300);
    EXPECT_FALSE(dialog.initialised);
    EXPECT_EQ(QRect(10, 10, 50, 20), button->geometry());
    EXPECT_EQ(QSize(400, 300), dialog.size());
}

TEST_F(ResizableDialogs, ASecondLayoutReplacesTheFirst)
{
    auto dialog = open();
    const QRect ok = dialog->item(IDOK)->geometry();
    dialog->resize(dialog->size() + QSize(100, 100));
    // Now only OK and Cancel, stretched over the whole client area.
    dialog->setLayout(makeControlGroup(handleOf(dialog.get()), IDOK, IDCANCEL), false);
    EXPECT_EQ(dialog->size(), dialog->minimumSize());
    const QRect before = dialog->item(IDOK)->geometry();
    EXPECT_EQ(ok.translated(100, 100), before);
    dialog->resize(dialog->size() + QSize(50, 0));
    EXPECT_GT(dialog->item(IDOK)->width(), before.width());
}

// Forms in frames.

class TestForm : public BaseDialog {
public:
    explicit TestForm(int templateId = IDD_FORM) : templateId(templateId) {}
    bool create(QWidget* parent) override { return BaseDialog::create(templateId, parent); }
    bool canClose() override { return closable; }
    void onParentShow(bool show, int) override { shows.push_back(show); }
    void showHelp() override
    {
        ++helps;
        appServices()->showHelp(4242);
    }
    QWidget* item(int id) const { return dlgItem(this, id); }

    int templateId;
    bool closable = true;
    int helps = 0;
    std::vector<bool> shows;
};

struct FrameWatcher : SignalReceiver {
    void onDestroyed(ChildFrame*) { ++count; }
    int count = 0;
};

void runDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class Forms : public testing::Test {
protected:
    void SetUp() override
    {
        registerTemplates();
        // The main frame's own F1, which a form with the focus must pre-empt.
        auto* help = new QAction(&host.window);
        help->setShortcut(Qt::Key_F1);
        QObject::connect(help, &QAction::triggered, [this] { ++mainWindowF1; });
        host.window.addAction(help);
        host.window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
    }

    FormChildFrame* open(void (*setFlags)(ChildFrame&) = nullptr)
    {
        auto* frame = new FormChildFrame;
        form = new TestForm;
        frame->form = form;
        if (setFlags)
            setFlags(*frame);
        frame->destroyed.connect(&watcher, &FrameWatcher::onDestroyed);
        EXPECT_TRUE(frame->createFrame(L"Form"));
        frame->activateFrame();
        return frame;
    }

    MdiHost host;
    FrameWatcher watcher;
    TestForm* form = nullptr;
    int mainWindowF1 = 0;
};

TEST_F(Forms, FormFillsAResizableFrame)
{
    FormChildFrame* frame = open();
    EXPECT_EQ(frame->clientArea(), form->parentWidget());
    EXPECT_EQ(QRect(QPoint(0, 0), frame->clientArea()->size()), form->geometry());
    frame->resize(frame->size() - frame->clientArea()->size() + QSize(400, 300));
    EXPECT_EQ(QSize(400, 300), frame->clientArea()->size());
    EXPECT_EQ(QRect(0, 0, 400, 300), form->geometry());
    // The first tab stop has the focus.
    EXPECT_EQ(form->item(IDC_NAME), QApplication::focusWidget());
}

TEST_F(Forms, FocusOnTheFrameGoesBackToTheFormsControl)
{
    FormChildFrame* frame = open();
    QApplication::focusWidget()->clearFocus();
    frame->setFocus();
    EXPECT_EQ(form->item(IDC_NAME), QApplication::focusWidget());
}

TEST_F(Forms, TranslatedWhenCreated)
{
    German german;
    open();
    EXPECT_EQ("Hilfe", windowText(form->item(ID_HELP)));
    EXPECT_EQ("Abbrechen", windowText(form->item(IDCANCEL)));
}

TEST_F(Forms, FixedFrameTakesTheFormsSize)
{
    FormChildFrame* frame = open([](ChildFrame& f) {
        f.fitToView = true;
        f.resizable = false;
    });
    const QSize formSize = form->size();
    EXPECT_EQ(formSize, frame->clientArea()->size());
    frame->resize(frame->size() + QSize(50, 50));
    EXPECT_EQ(formSize, form->size());
}

class FormButtons : public Forms, public testing::WithParamInterface<int> {};

TEST_P(FormButtons, DestroyTheFrameAndEmitItsSignal)
{
    FormChildFrame* frame = open();
    QPointer<QWidget> formAlive(form), frameAlive(frame);
    QTest::mouseClick(form->item(GetParam()), Qt::LeftButton);
    EXPECT_FALSE(frame->isVisible());
    runDeferredDeletes();
    EXPECT_FALSE(frameAlive);
    EXPECT_FALSE(formAlive);
    EXPECT_EQ(1, watcher.count);
}

INSTANTIATE_TEST_SUITE_P(OkAndCancel, FormButtons, testing::Values(IDOK, IDCANCEL));

TEST_F(Forms, EscapeAndEnterEndTheFormToo)
{
    open();
    QTest::keyClick(form->item(IDC_NAME), Qt::Key_Escape);
    runDeferredDeletes();
    EXPECT_EQ(1, watcher.count);
    open();
    QTest::keyClick(form->item(IDC_NAME), Qt::Key_Return);
    runDeferredDeletes();
    EXPECT_EQ(2, watcher.count);
}

TEST_F(Forms, F1AndTheHelpButtonReachTheFormsHelp)
{
    open();
    QTest::keyClick(form->item(IDC_NAME), Qt::Key_F1);
    EXPECT_EQ(1, form->helps);
    QTest::mouseClick(form->item(ID_HELP), Qt::LeftButton);
    EXPECT_EQ(2, form->helps);
    EXPECT_EQ((std::vector<int>{4242, 4242}), host.helpContexts);
    EXPECT_EQ(0, mainWindowF1);
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(Forms, AcceleratorsTheFormLeavesGoToTheApplication)
{
    open();
    QTest::keyClick(form->item(IDC_NAME), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ((std::vector<int>{MdiHost::ID_FILE_NEW}), host.commands);
    // Other keys reach the focused control as usual.
    QTest::keyClicks(form->item(IDC_NAME), "Ann");
    EXPECT_EQ("Ann", static_cast<QLineEdit*>(form->item(IDC_NAME))->text());
}

TEST_F(Forms, F1OnTheFrameItselfIsSwallowed)
{
    FormChildFrame* frame = open();
    frame->clientArea()->setFocus();
    ASSERT_EQ(frame->clientArea(), QApplication::focusWidget());
    QTest::keyClick(frame->clientArea(), Qt::Key_F1);
    EXPECT_EQ(0, form->helps);
    EXPECT_EQ(0, mainWindowF1);
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(Forms, MdiKeysCloseAndCycleTheFrames)
{
    FormChildFrame* first = open();
    TestForm* firstForm = form;
    FormChildFrame* second = open();
    ASSERT_EQ(second, host.mdi->activeSubWindow());
    QTest::keyClick(form->item(IDC_NAME), Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(first, host.mdi->activeSubWindow());
    firstForm->closable = false;
    QTest::keyClick(firstForm->item(IDC_NAME), Qt::Key_F4, Qt::ControlModifier);
    runDeferredDeletes();
    EXPECT_EQ(0, watcher.count);
    firstForm->closable = true;
    QTest::keyClick(firstForm->item(IDC_NAME), Qt::Key_F4, Qt::ControlModifier);
    runDeferredDeletes();
    EXPECT_EQ(1, watcher.count);
}

TEST_F(Forms, FormHidesAndShowsItsFrameAndHearsOfIt)
{
    FormChildFrame* frame = open();
    form->shows.clear();
    form->hideParentFrame();
    EXPECT_FALSE(frame->isVisible());
    form->showParentFrame();
    EXPECT_TRUE(frame->isVisible());
    form->showParentFrame();
    EXPECT_EQ((std::vector<bool>{false, true}), form->shows);
}

TEST_F(Forms, FrameWhoseFormCannotBeCreatedIsNotCreated)
{
    auto* frame = new FormChildFrame;
    QPointer<TestForm> broken = new TestForm(4711); // no such template
    frame->form = broken;
    frame->destroyed.connect(&watcher, &FrameWatcher::onDestroyed);
    EXPECT_FALSE(frame->createFrame(L"Broken"));
    runDeferredDeletes();
    EXPECT_EQ(1, watcher.count);
    EXPECT_FALSE(broken);

    auto* empty = new FormChildFrame;
    EXPECT_FALSE(empty->createFrame(L"No form"));
    runDeferredDeletes();
}

TEST_F(Forms, ClosingAsksTheForm)
{
    FormChildFrame* frame = open();
    form->closable = false;
    EXPECT_FALSE(frame->close());
    runDeferredDeletes();
    EXPECT_EQ(0, watcher.count);
    EXPECT_TRUE(frame->isVisible());
}

TEST(BaseDialogAlone, OkWithoutAFrameIsLogged)
{
    registerTemplates();
    testsupport::LogCapture log;
    QWidget parent;
    auto* form = new TestForm;
    ASSERT_TRUE(form->create(&parent));
    QTest::mouseClick(form->item(IDOK), Qt::LeftButton);
    EXPECT_TRUE(log.hasAssertion("frame != nullptr"));
}

} // namespace
