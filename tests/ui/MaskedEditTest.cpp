// The masked edit: the mask's rules on their own (a table of masks and
// keystrokes with the resulting text and caret), then the widget with real
// key events, paste and cut.
#include "support/TestSupport.h"
#include "ui/COXMaskedEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QTest>
#include "platformqt/Window.h"

#include <gtest/gtest.h>

namespace {

// The rules with a pretend window that remembers the text, caret and beeps.
class Edit : public MaskedEditCore {
public:
    explicit Edit(const char* mask)
        : MaskedEditCore(mask)
    {
        UpdateDisplay(0);
    }
    void OnInvalidInput() override { ++beeps; }
    bool HasWindow() const override { return true; }
    void ShowText(const std::string& text) override { shown = text; }
    void PlaceCaret(int position) override { caret = position; }
    std::string shown;
    int caret = -1;
    int beeps = 0;
};

TEST(MaskedEdit, MaskParsingAndInputText)
{
    struct Case {
        const char* mask;
        const char* input;
        const char* shown;
        bool ok;
    } cases[] = {
        { "##:##", "1234", "12:34", true },
        { "##:##", "12", "12:  ", true },
        { "##:##", "1a2", "12:  ", false },     // the letter is skipped
        { ">>", "ab", "AB", true },
        { "<<", "AB", "ab", true },
        { "\\##", "5", "#5", true },            // an escaped literal and one digit
        { "%%%%", "1.5x", "1.5 ", false },
        { "AA?", "a1b", "a1b", true },
        { "&&", "\x7f~", "~ ", false },
        { "####-##-##", "20241231", "2024-12-31", true },
        { "##", "1\xe9", "1 ", false },         // nothing from 0x80 upward
        // Running out while skipping leaves the position empty, not stale.
        { "##:##", "12a", "12:  ", false },
    };
    for (const auto& c : cases) {
        Edit edit(c.mask);
        edit.SetInputText("9999");
        EXPECT_EQ(edit.SetInputText(c.input, 0, false), c.ok) << c.mask << " " << c.input;
        EXPECT_EQ(edit.shown, c.shown) << c.mask << " " << c.input;
        EXPECT_EQ(edit.GetMask(), c.mask);
    }
    Edit edit("##:##");
    EXPECT_EQ(edit.GetInputText(), "    ");
    EXPECT_EQ(edit.shown, "  :  ");
    EXPECT_EQ(edit.caret, 0);
    edit.SetInputText("1234");
    EXPECT_TRUE(edit.SetInputText("56", 2)); // after the first two input characters
    EXPECT_EQ(edit.shown, "12:56");
}

TEST(MaskedEdit, Keystrokes)
{
    enum Op { Type, Overtype, Backspace, Delete };
    struct Case {
        const char* mask;
        const char* before;
        int start, end;
        Op op;
        char ch;
        const char* after;
        int caret;
        int beeps;
    } cases[] = {
        // Typing inserts and jumps over literals; the last character falls off.
        { "##:##", "", 0, 0, Type, '1', "1 :  ", 1, 0 },
        { "##:##", "1", 1, 1, Type, '2', "12:  ", 3, 0 },
        { "##:##", "1234", 0, 0, Type, '9', "91:23", 1, 0 },
        { "##:##", "1234", 0, 0, Type, 'x', "12:34", 0, 1 },
        // On a literal: a beep and the caret to the next input position.
        { "##:##", "1234", 2, 2, Type, '5', "12:34", 3, 1 },
        { "##:##", "1234", 2, 2, Overtype, '5', "12:34", 3, 1 },
        { "##:##", "1234", 1, 1, Overtype, '9', "19:34", 3, 0 },
        { "##:##", "1234", 1, 1, Overtype, 'x', "12:34", 1, 1 },
        { "##:##", "1234", 1, 1, Overtype, ' ', "1 :34", 3, 0 },  // the prompt empties
        { "##:##", "1234", 5, 5, Type, '1', "12:34", 5, 1 },      // at the end
        // A selection is replaced.
        { "##:##", "1234", 1, 4, Type, '7', "17:4 ", 3, 0 },
        { "##:##", "1234", 2, 3, Type, '7', "12:34", 3, 1 },      // only the literal selected
        // Delete and Backspace move the later characters left across literals.
        { "##:##", "1234", 1, 1, Delete, 0, "13:4 ", 1, 0 },
        { "##:##", "1234", 2, 2, Delete, 0, "12:34", 3, 1 },
        { "##:##", "1234", 0, 5, Delete, 0, "  :  ", 0, 0 },
        { "##:##", "1234", 4, 4, Backspace, 0, "12:4 ", 3, 0 },
        { "##:##", "1234", 3, 3, Backspace, 0, "12:34", 3, 1 },   // the colon stays
        { "##:##", "1234", 0, 0, Backspace, 0, "12:34", 0, 1 },
        { "##:##", "1234", 1, 4, Backspace, 0, "14:  ", 1, 0 },
        { ">>>", "AB", 1, 1, Type, 'c', "ACB", 2, 0 },
    };
    for (const auto& c : cases) {
        Edit edit(c.mask);
        edit.SetInputText(c.before);
        edit.SetInsertMode(c.op != Overtype);
        if (c.op == Type || c.op == Overtype)
            edit.OnCharacter(c.ch, c.start, c.end);
        else if (c.op == Backspace)
            edit.OnCharacter('\b', c.start, c.end);
        else
            edit.OnDeleteKey(c.start, c.end);
        EXPECT_EQ(edit.shown, c.after) << c.mask << " '" << c.before << "' " << c.start << "-" << c.end << " op " << c.op;
        EXPECT_EQ(edit.caret, c.caret) << c.mask << " '" << c.before << "' " << c.start << " op " << c.op;
        EXPECT_EQ(edit.beeps, c.beeps) << c.mask << " '" << c.before << "' " << c.start << " op " << c.op;
    }
}

TEST(MaskedEdit, PositionsPasteAndPrompt)
{
    Edit edit("(##) #");
    EXPECT_EQ(edit.NextInputPosition(-3), 1);
    EXPECT_EQ(edit.NextInputPosition(3), 5);
    EXPECT_EQ(edit.NextInputPosition(6), 6);
    EXPECT_EQ(edit.PreviousInputPosition(4), 3);  // just after the "##"
    EXPECT_EQ(edit.PreviousInputPosition(2), 2);
    EXPECT_EQ(edit.PreviousInputPosition(0), 1);  // none before: the next
    edit.SetInputText("1");
    EXPECT_EQ(edit.FirstEmptyPosition(0), 2);

    // Paste: the whole resulting text through the mask, prompts dropped.
    Edit time("##:##");
    time.OnPasted("1234  :  ", 0);
    EXPECT_EQ(time.shown, "12:34");
    EXPECT_EQ(time.caret, 5);
    time.OnPasted("12:3456789", 0); // too long: the rest is lost
    EXPECT_EQ(time.shown, "12:34");
    time.OnPasted("ab:  ", 0);      // nothing fits
    EXPECT_EQ(time.shown, "  :  ");
    EXPECT_EQ(time.caret, 0);

    // Prompt symbols: refused ones are logged and change nothing.
    testsupport::LogCapture log;
    time.SetInputText("1");
    time.SetPromptSymbol('_');
    EXPECT_EQ(time.shown, "1_:__");
    time.SetPromptSymbol('\r');
    EXPECT_EQ(time.GetPromptSymbol(), '_');
    EXPECT_TRUE(log.hasAssertion("(chNewPromptSymbol != chNULL) && (chNewPromptSymbol != chCR) && (chNewPromptSymbol != chLF) && (chNewPromptSymbol != 127)"));
    time.ClearData(true);
    EXPECT_EQ(time.shown, "__:__");
    time.ClearData(false);
    EXPECT_EQ(time.GetMask(), "");
    EXPECT_EQ(time.NextInputPosition(0), 0);
}

TEST(MaskedEdit, Separators)
{
    MaskedEditCore german("#.###,##:##/##", MaskSeparators { '.', '.', '.' });
    EXPECT_EQ(german.GetDisplayText(), " .   .  .  .  ");
    EXPECT_EQ(german.GetMask(), "#.###,##:##/##");

    QLocale old;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    MaskSeparators de = COXMaskedEdit::localeSeparators();
    EXPECT_EQ(de.thousands, '.');
    EXPECT_EQ(de.date, '.');
    EXPECT_EQ(de.time, ':');
    QLocale::setDefault(QLocale::c());
    MaskSeparators c = COXMaskedEdit::localeSeparators();
    EXPECT_EQ(c.thousands, ',');
    QLocale::setDefault(old);
}

TEST(MaskedEditWidget, TypingPastingAndCutting)
{
    QLocale::setDefault(QLocale::c());
    QWidget dialog;
    auto* plain = new QLineEdit(&dialog);
    platform::setControlId(plain, 1130);
    COXMaskedEdit* edit = new COXMaskedEdit("##:##");
    ASSERT_TRUE(edit->subclassDlgItem(1130, &dialog));
    EXPECT_EQ(platform::dlgItem(&dialog, 1130), edit);
    dialog.show();
    dialog.activateWindow();
    (void)QTest::qWaitForWindowActive(&dialog);
    edit->setFocus();
    EXPECT_EQ(edit->text(), "  :  ");

    QTest::keyClicks(edit, "1a234");
    EXPECT_EQ(edit->text(), "12:34");
    EXPECT_EQ(edit->cursorPosition(), 5);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClick(edit, Qt::Key_Right); // onto the colon: on to the 3
    EXPECT_EQ(edit->cursorPosition(), 3);
    QTest::keyClick(edit, Qt::Key_Left);  // back over the colon: just after the 2
    EXPECT_EQ(edit->cursorPosition(), 2);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "13:4 ");
    QTest::keyClick(edit, Qt::Key_Insert); // overtype
    QTest::keyClicks(edit, "9");
    EXPECT_EQ(edit->text(), "19:4 ");

    QApplication::clipboard()->setText("0815");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "08:15");
    edit->setSelection(1, 3);
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "8:1");
    EXPECT_EQ(edit->text(), "05:  ");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier); // no undo round the mask
    EXPECT_EQ(edit->text(), "05:  ");
    EXPECT_EQ(edit->GetInputText(), "05  ");
}

TEST(MaskedEditWidget, AFormatHintShowsWhileNothingIsTyped)
{
    QLocale::setDefault(QLocale::c());
    QWidget dialog;
    auto* plain = new QLineEdit(&dialog);
    platform::setControlId(plain, 1129);
    COXMaskedEdit* edit = new COXMaskedEdit("####-##-##");
    ASSERT_TRUE(edit->subclassDlgItem(1129, &dialog));
    edit->SetInsertMode(false);
    edit->setFormatHint(QStringLiteral("YYYY-MM-DD"));
    dialog.resize(200, 40);
    edit->setGeometry(10, 10, 120, 22);
    dialog.show();
    dialog.activateWindow();
    (void)QTest::qWaitForWindowActive(&dialog);
    edit->setFocus();

    // Empty: the hint is what the user sees.
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(edit->placeholderText(), "YYYY-MM-DD");
    const QImage hinted = edit->grab().toImage();

    // Typing goes through the mask as before; the hint gives way to the literals.
    QTest::keyClicks(edit, "2026");
    EXPECT_EQ(edit->text(), "2026-  -  ");
    EXPECT_EQ(edit->cursorPosition(), 5);
    QTest::keyClicks(edit, "1211");
    EXPECT_EQ(edit->text(), "2026-12-11");
    edit->grab().save(QStringLiteral(SCREENSHOT_DIR "/masked-edit-date.png"));

    // Emptied again: the hint comes back, and a paste fills the mask.
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(edit->GetDisplayText(), "    -  -  ");
    EXPECT_EQ(edit->grab().toImage(), hinted);
    QApplication::clipboard()->setText("20261224");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "2026-12-24");

    edit->SetInputText("", 0, true);
    EXPECT_EQ(edit->text(), "");
    edit->grab().save(QStringLiteral(SCREENSHOT_DIR "/masked-edit-date-hint.png"));

    // Without a hint the prompts and literals show.
    edit->setFormatHint(QString());
    EXPECT_EQ(edit->text(), "    -  -  ");
}

} // namespace
