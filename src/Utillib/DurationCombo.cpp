#include "Utillib/DurationCombo.h"

#include "Utillib/Duration.h"
#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "Utillib/TextTranslation.h"
#include "Utillib/WindowUtil.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"

namespace {

using platform::ComboBox;

std::string narrow(const char* english) { return GString::to_c_str(translateText(english)); }

} // namespace

void fillDurationCombo(ComboBox* box)
{
    // A sorted list would put "No limit" among the times.
    LOG_ASSERT_TEXT(!box || (platform::windowStyle(box) & CBS_SORT) != CBS_SORT,
                    "(comboBox->GetStyle() & CBS_SORT) != CBS_SORT");
    if (!box)
        return;
    for (const char* time : { "00:30", "01:00", "02:00" })
        box->addString(QString::fromLatin1(time));
    box->setShownText(QStringLiteral("02:00"));
    for (const char* time : { "05:00", "10:00", "20:00" })
        box->addString(QString::fromLatin1(time));
    box->addString(platform::ansiToQString(narrow("No limit")));
}

void setDurationText(ComboBox* comboBox, int seconds)
{
    durationToCombo(comboBox, durationMinSec(seconds));
}

void durationToCombo(ComboBox* box, const std::string& text)
{
    LOG_ASSERT_TEXT(box != nullptr, "::IsWindow( comboBox->GetSafeHwnd() )");
    if (box)
        Utillib::selectComboString(box, text);
}

int durationFromCombo(ComboBox* box)
{
    LOG_ASSERT_TEXT(box != nullptr, "::IsWindow( comboBox->GetSafeHwnd() )");
    if (!box)
        return -1;
    return parseMinSec(Utillib::getComboText(box));
}

