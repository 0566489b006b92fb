#include "Utillib/Duration.h"
#include "Utillib/DurationCombo.h"
#include "gettext/TranslateWindow.h"
#include "gettext/TranslationHooks.h"
#include "gettext/Translator.h"
#include "platform/CodePage.h"
#include "platform/DialogTemplate.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

using platform::dlgItem;
using platform::windowText;

// The German test catalogue in the user-interface translator for one test.
class German : public ::testing::Test {
protected:
    German()
    {
        EXPECT_TRUE(theTranslator.open(WINDOW_CATALOGUE));
        installTranslationHooks();
    }
    ~German() override { theTranslator.open(""); }
};

TEST(TranslationMarker, IsTheAnsiCodePagesBytesForTheCurrencySign)
{
    struct Case {
        unsigned codePage;
        std::string bytes;
    } cases[] = { { 1252, "\xA4" }, { 936, "\xA1\xE8" }, { 949, "\xA2\xB4" }, { 932, "?" } };
    for (const auto& c : cases) {
        ASSERT_TRUE(platform::setAnsiCodePage(c.codePage));
        refreshTranslationMarker();
        EXPECT_EQ(std::string(translationMarker()), c.bytes) << c.codePage;
        EXPECT_EQ(markerLength(), static_cast<int>(c.bytes.size()));
        EXPECT_TRUE(startsWithMarker((c.bytes + "OK").c_str()));
    }
    platform::setAnsiCodePage(1252);
    refreshTranslationMarker();
    EXPECT_FALSE(startsWithMarker("OK"));
    EXPECT_FALSE(startsWithMarker(""));
    EXPECT_FALSE(startsWithMarker(nullptr));
}

TEST_F(German, MarkedTextsOfTheDialogAreTranslatedOthersStay)
{
    res::registerResources();
    platform::Dialog dialog;
    ASSERT_TRUE(dialog.create(IDD_SAMPLE));
    translateWindow(&dialog);
    EXPECT_EQ(windowText(&dialog), "Beispieleinstellungen");
    struct Case {
        int id;
        const char* text;
    } cases[] = {
        { IDC_SAMPLE_NAME_LABEL, "Name:" },
        { IDC_SAMPLE_RATE_LABEL, "- comp./min" }, // not marked: left alone
        { IDC_SAMPLE_DURATION_LABEL, "Dauer:" },
        { IDC_SAMPLE_OPTIONS, "Optionen" },
        { IDC_SAMPLE_ADULT, "Erwachsener" },
        { IDC_SAMPLE_REMEMBER, "Merken" },
        { IDOK, "OK" },                           // no translation: the English text without the marker
        { IDCANCEL, "Abbrechen" },
        { IDC_SAMPLE_HELP, "Hilfe" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(windowText(dlgItem(&dialog, c.id)), QString::fromUtf8(c.text)) << c.id;
}

TEST_F(German, DescendantsAndEditFieldsAreTranslatedLongTextsCut)
{
    platform::DialogTable page { 1, "¤Page", WS_CHILD | WS_VISIBLE | DS_SETFONT, 0, 0, 100, 60, "DejaVu Sans", 8,
                                 { { 10, "Static", "", WS_VISIBLE, 0, 0, 90, 8 },
                                   { 11, "ComboBox", "", WS_VISIBLE | CBS_DROPDOWN, 0, 12, 90, 40 } } };
    auto bytes = platform::encodeDialogTemplate(page);
    QWidget host;
    host.setWindowTitle(QString::fromUtf8("¤Close"));
    auto* inner = new platform::Dialog;
    ASSERT_TRUE(inner->createIndirect(bytes.data(), bytes.size(), &host));
    QWidget* label = dlgItem(inner, 10);
    platform::setWindowText(label, QString::fromUtf8("¤") + QString(2000, 'a'));
    platform::setWindowText(dlgItem(inner, 11), QString::fromUtf8("¤Open"));

    translateWindow(&host);
    EXPECT_EQ(windowText(&host), "Schließen");
    EXPECT_EQ(windowText(inner), "Seite");
    EXPECT_EQ(windowText(dlgItem(inner, 11)), "Öffnen");
    // Read as 1023 bytes: the marker and 1022 letters, which have no translation.
    EXPECT_EQ(windowText(label), QString(1022, 'a'));
}

TEST_F(German, DurationsSpeakTheLoadedLanguage)
{
    EXPECT_EQ(durationText(125), "2 Min. 5 Sek.");
    platform::ComboBox combo(CBS_DROPDOWN);
    fillDurationCombo(&combo);
    EXPECT_EQ(combo.getLBText(6), "Unbegrenzt");
}

TEST_F(German, MenusTranslateTheirMarkedItems)
{
    QMenuBar bar;
    QMenu* file = bar.addMenu(QString::fromUtf8("¤&File"));
    file->addAction(QString::fromUtf8("¤Open"));
    file->addSeparator();
    QMenu* recent = file->addMenu(QString::fromUtf8("¤Close"));
    recent->addAction("1 data.sdb");
    EXPECT_EQ(translateMenu(&bar), 1);
    EXPECT_EQ(file->title(), "&Datei");
    EXPECT_EQ(file->actions()[0]->text(), "Öffnen");
    EXPECT_EQ(recent->title(), "Schließen");
    EXPECT_EQ(recent->actions()[0]->text(), "1 data.sdb");
    EXPECT_EQ(translateMenu(file), 3);
    QLabel notAMenu;
    EXPECT_EQ(translateMenu(&notAMenu), 0);
    EXPECT_EQ(translateMenu(nullptr), 0);
}

} // namespace
