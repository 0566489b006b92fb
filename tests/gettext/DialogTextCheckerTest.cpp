// The dialog text checker: texts that do not fit their controls are found
// and reported by name; every dialog we ship fits in every catalogue we ship.
#include "gettext/DialogTextChecker.h"
#include "gettext/TranslateWindow.h"
#include "gettext/Translator.h"
#include "platform/CodePage.h"
#include "platform/DialogTemplate.h"
#include "platform/WindowStyles.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"
#include "config/ConfigurationPages.h"
#include "platform/Resources.h"
#include "res/Dialogs.h"
#include "res/Resources.h"
#include "ui/ReportCtrl.h"

#include "support/TestSupport.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace platform;

constexpr int checkDialogId = 9950;
constexpr int unbuiltDialogId = 9956;

// A dialog whose controls each show one way a text may or may not be measured.
DialogTable checkTable()
{
    constexpr DWORD label = WS_VISIBLE | SS_LEFT;
    return DialogTable {
        checkDialogId, "Checked", DS_SETFONT | WS_POPUP | WS_CAPTION, 0, 0, 200, 100, "DejaVu Sans", 8,
        {
            { 9951, "Static", "Short",  label,                                      5,  5,  60, 8 },
            { 9952, "Static", "Hidden", SS_LEFT,                                    5,  20, 60, 8 },
            { 9953, "Button", "Drawn",  WS_VISIBLE | BS_OWNERDRAW,                  5,  35, 30, 12 },
            { 9954, "Edit",   "Typed",  WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,    5,  50, 30, 12 },
            { 9955, "Button", "&Push",  WS_VISIBLE | BS_PUSHBUTTON,                 5,  65, 60, 14 },
            { 9958, "Static", "",       label,                                      70, 5,  60, 18 },
        },
    };
}

// A dialog with a control whose class nobody registered: it cannot be made.
DialogTable unbuiltTable()
{
    return DialogTable {
        unbuiltDialogId, "Unbuilt", DS_SETFONT | WS_POPUP | WS_CAPTION, 0, 0, 100, 40, "DejaVu Sans", 8,
        { { 9957, "NoSuchControlClass", "", WS_VISIBLE, 5, 5, 60, 8 } },
    };
}

class DialogTextCheckerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        res::registerResources();
        // The classes the program registers before its dialogs open.
        CReportCtrl::registerWindowClass();
        registerConfigurationControls();
        registerDialog(checkTable());
        registerDialog(unbuiltTable());
    }
    void TearDown() override { loadLanguage("main", "en"); }

    const DialogTextChecker::IdMap ids = {
        {checkDialogId, "IDD_CHECKED"}, {9951, "IDC_SHORT"}, {9952, "IDC_HIDDEN"}, {9953, "IDC_DRAWN"},
        {9954, "IDC_TYPED"}, {9955, "IDC_PUSH"}, {9958, "IDC_WRAPPING"}, {9949, "IDD_WITHOUT_TEMPLATE"},
    };
};

TEST_F(DialogTextCheckerTest, ResourceIdsAreReadFromDefineLines)
{
    testsupport::TempDir folder;
    std::string path = folder.file("resource.h");
    std::ofstream(path) << "// ids\n#define IDD_ONE 100\r\n#define\tIDC_TWO\t2001;\n#define IDC_HEX 0x10\n"
                           "#define IDC_WORD other\n#pragma once\n#define IDC_LAST 7";
    DialogTextChecker::IdMap expected = {{100, "IDD_ONE"}, {2001, "IDC_TWO"}, {7, "IDC_LAST"}};
    EXPECT_EQ(DialogTextChecker::readResourceIds(path), expected);
    EXPECT_TRUE(DialogTextChecker::readResourceIds(folder.file("missing.h")).empty());

    auto shipped = DialogTextChecker::readResourceIds(TAVO_SOURCE_DIR "/src/res/resource.h");
    EXPECT_EQ(shipped[179], "IDD_ALGORITHM");
    EXPECT_EQ(shipped[232], "IDD_EVENT");
}

TEST_F(DialogTextCheckerTest, ATextTooLargeIsReportedWithItsNamesAndNothingElseIs)
{
    Dialog dialog;
    ASSERT_TRUE(dialog.create(checkDialogId)) << dialog.buildError();
    EXPECT_EQ(DialogTextChecker::checkDialog(&dialog, ids), "");
    EXPECT_EQ(textFits(dlgItem(&dialog, 9951)), 1);
    EXPECT_EQ(textFits(dlgItem(&dialog, 9953)), 2) << "owner-drawn buttons draw what they like";
    EXPECT_EQ(textFits(dlgItem(&dialog, 9954)), 2) << "an edit that scrolls holds any text";

    const QString longText = "Eine viel zu lange Übersetzung des kurzen Textes";
    for (int id : {9951, 9952, 9953, 9954})
        setWindowText(dlgItem(&dialog, id), longText);
    EXPECT_EQ(textFits(dlgItem(&dialog, 9951)), 0);
    const std::string ansi = qStringToAnsi(longText);
    EXPECT_EQ(DialogTextChecker::checkDialog(&dialog, ids),
              "  The text='" + ansi + "' in control IDC_SHORT(9951) with parent 'Checked' is too large\n");

    // A label of two lines wraps Japanese between any two characters, as the
    // label itself does: two lines' worth fits, four lines' worth does not.
    // (In the Japanese code page, as the program runs in Japanese.)
    setAnsiCodePage(932);
    QWidget* wrapping = dlgItem(&dialog, 9958);
    setWindowText(wrapping, QString::fromUtf8("\u30BB\u30C3\u30B7\u30E7\u30F3\u306E\u8A18\u9332\u3092"
                                              "\u5370\u5237\u3057\u307E\u3059\u3002"));
    ASSERT_GT(wrapping->fontMetrics().horizontalAdvance(platform::windowText(wrapping)), wrapping->width())
        << "one line is too narrow for the text";
    EXPECT_EQ(textFits(wrapping), 1);
    setWindowText(wrapping, platform::windowText(wrapping).repeated(2));
    EXPECT_EQ(textFits(wrapping), 0);
    setWindowText(wrapping, QString());
    setAnsiCodePage(1252);

    // The whole check: by dialog name, and a dialog without a template is skipped.
    setWindowText(dlgItem(&dialog, 9955), longText);
    EXPECT_EQ(DialogTextChecker::checkAll(nullptr, ids), "") << "each dialog is made anew from its template";
    DialogTextChecker::IdMap unbuilt = ids;
    unbuilt.emplace(unbuiltDialogId, "IDD_UNBUILT");
    EXPECT_EQ(DialogTextChecker::checkAll(nullptr, unbuilt),
              "IDD_UNBUILT\n  The dialog cannot be checked: cannot create control 9957 of class \"NoSuchControlClass\"\n\n")
        << "a dialog that cannot be checked is no dialog whose texts fit";
    DialogTextChecker::IdMap unnamed = {{checkDialogId, "IDD_CHECKED"}};
    EXPECT_EQ(DialogTextChecker::checkDialog(&dialog, unnamed),
              "  The text='" + ansi + "' in control (9951) with parent 'Checked' is too large\n"
              "  The text='" + ansi + "' in control (9955) with parent 'Checked' is too large\n");
}

TEST_F(DialogTextCheckerTest, EveryShippedDialogFitsInEveryShippedCatalogue)
{
    auto shipped = DialogTextChecker::readResourceIds(TAVO_SOURCE_DIR "/src/res/resource.h");
    ASSERT_FALSE(shipped.empty());
    // Every template we ship is named in the header, so every one is checked.
    std::size_t named = 0;
    for (const auto& [id, name] : shipped)
        named += name.rfind("IDD_", 0) == 0 && findResource(RT_DIALOG, id).data != nullptr;
    EXPECT_EQ(named, res::dialogTables().size());
    for (const char* language : {"", "de", "ja"}) {
        std::string commandLine = "main";
        if (*language)
            commandLine += std::string(" lang:") + CATALOGUE_DIR + "/" + language + ".mo";
        ASSERT_TRUE(loadLanguage(commandLine, "en") || !*language) << language;
        // As the program does: the language's code page is the ANSI code page
        // (without it a Japanese text would be measured as question marks).
        setAnsiCodePage(languageCodePage(theTranslator.languageCode()));
        refreshTranslationMarker();
        EXPECT_EQ(DialogTextChecker::checkAll(nullptr, shipped), "") << "catalogue: " << (*language ? language : "en");
    }
    setAnsiCodePage(1252);
    refreshTranslationMarker();
}

} // namespace
