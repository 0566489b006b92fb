// Message boxes by their flags, answered by a click, by Escape or by the hook.
#include "platform/WindowStyles.h"
#include "platformqt/AppIcon.h"
#include "platformqt/MessageBox.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QTextBlock>
#include <QTextDocument>
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
        QImage windowIcon;
        whenShown([&](QMessageBox* box) {
            icon = box->icon();
            windowIcon = box->windowIcon().pixmap(32).toImage();
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
        EXPECT_FALSE(windowIcon.isNull()) << "a box without an owner has the program's icon too";
        EXPECT_EQ(windowIcon, applicationIcon().pixmap(32).toImage());
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

TEST(MessageBox, OnlyTheCloseButtonInTheTitleBar)
{
    Qt::WindowFlags flags;
    whenShown([&](QMessageBox* box) {
        flags = box->windowFlags();
        box->button(QMessageBox::Ok)->click();
    });
    QWidget owner;
    messageBox(&owner, L"Port 3 is gone", L"Calibration Error", MB_OK | MB_ICONSTOP);
    // Without the customise hint the window manager adds its own buttons.
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

// The x of the text in the document's layout where `needle` starts.
qreal textLeft(QTextDocument& document, const QString& needle)
{
    (void)document.size(); // laid out
    const QTextCursor found = document.find(needle);
    if (found.isNull())
        return -1;
    const QTextBlock block = found.block();
    const int at = found.selectionStart() - block.position();
    const QTextLine line = block.layout()->lineForTextPosition(at);
    if (!line.isValid())
        return -1;
    return document.documentLayout()->blockBoundingRect(block).x() + line.cursorToX(at);
}

TEST(MessageBox, TabbedLinesLineUpInColumns)
{
    const std::wstring question = L"One of the chosen sessions already exists.\r\nContinue importing this session?\r\n\r\n"
                                  L"Date:\t\t11 Dec 2026\r\nCompression:\tAnn <Lee>\r\nVentilation:\tBob Ray\r\n"
                                  L"\r\nChoose yes if you would like to duplicate this session.";
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QFont font;
    whenShown([&](QMessageBox* box) {
        shown = box->text();
        format = box->textFormat();
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
            font = label->font();
        QDir().mkpath(QStringLiteral(SCREENSHOT_DIR "/artefacts"));
        box->grab().save(QStringLiteral(SCREENSHOT_DIR "/artefacts/message-box-columns.png"));
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(messageBox(nullptr, question, L"Import session", MB_YESNO | MB_ICONQUESTION), IDNO);
    ASSERT_EQ(format, Qt::RichText);

    QTextDocument document;
    document.setDefaultFont(font);
    document.setHtml(shown);
    const qreal date = textLeft(document, QStringLiteral("11 Dec 2026"));
    const qreal compression = textLeft(document, QStringLiteral("Ann <Lee>"));
    const qreal ventilation = textLeft(document, QStringLiteral("Bob Ray"));
    ASSERT_GE(date, 0) << shown.toStdString();
    ASSERT_GE(compression, 0) << "markup in a value is shown as typed";
    EXPECT_EQ(date, compression);
    EXPECT_EQ(date, ventilation);
    EXPECT_GT(date, textLeft(document, QStringLiteral("Compression:")) + QFontMetricsF(font).horizontalAdvance(QStringLiteral("Compression:")));
    EXPECT_EQ(textLeft(document, QStringLiteral("Choose yes")), textLeft(document, QStringLiteral("One of the")))
        << "the sentences stay at the left";
    EXPECT_NE(document.toPlainText().indexOf(QStringLiteral("Continue importing this session?")), -1);
    const auto top = [&](const QString& needle) {
        return document.documentLayout()->blockBoundingRect(document.find(needle).block()).top();
    };
    // Below "Continue...": a blank line, three rows, a blank line again.
    EXPECT_GT(top(QStringLiteral("Choose yes")) - top(QStringLiteral("Continue importing")),
              5.5 * QFontMetricsF(font).lineSpacing())
        << "the blank line before the last sentence stays";

    EXPECT_TRUE(messageBoxRichText(QStringLiteral("No tabs here")).isNull());
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
