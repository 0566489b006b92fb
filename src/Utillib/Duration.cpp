#include "Utillib/Duration.h"

#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "Utillib/TextTranslation.h"
#include "Utillib/WindowUtil.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"

#include <climits>
#include <cstdio>

namespace {

using platform::ComboBox;

// The combo box as the consistency checks look at it.
class CheckedCombo {
public:
    explicit CheckedCombo(ComboBox* box)
        : box(box)
    {
    }
    QWidget* GetSafeHwnd() const { return box; }
    DWORD GetStyle() const { return platform::windowStyle(box); }

private:
    ComboBox* box;
};

std::string narrow(const char* english) { return GString::to_c_str(translateText(english)); }

// Minutes (or hours) before the first ":" and seconds (or minutes) after it.
struct TwoFields {
    long long before = 0;
    long long after = 0;
};

TwoFields readFields(const std::string& text)
{
    TwoFields fields;
    bool colon = false;
    for (char c : text) {
        if (c == ':') {
            if (colon)
                break;
            colon = true;
        } else if (c >= '0' && c <= '9') {
            long long& field = colon ? fields.after : fields.before;
            field = std::min<long long>(field * 10 + (c - '0'), INT_MAX);
        }
    }
    return fields;
}

int clampToInt(long long value) { return static_cast<int>(std::min<long long>(value, INT_MAX)); }

} // namespace

static bool IsWindow(const QWidget* window) { return window != nullptr; }

std::string formatMinSec(int seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60, seconds % 60);
    return text;
}

int parseMinSec(const std::string& text)
{
    if (text.empty())
        return -1;
    TwoFields fields = readFields(text);
    if (fields.before == 0 && fields.after == 0)
        return -1;
    return clampToInt(fields.before * 60 + fields.after);
}

void fillDurationCombo(ComboBox* box)
{
    CheckedCombo checked(box);
    const CheckedCombo* comboBox = &checked;
    // A sorted list would put "No limit" among the times.
    LOG_ASSERT((comboBox->GetStyle() & CBS_SORT) != CBS_SORT);
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
    durationToCombo(comboBox, seconds == -1 ? narrow("No limit") : formatMinSec(seconds));
}

void durationToCombo(ComboBox* box, const std::string& text)
{
    CheckedCombo checked(box);
    const CheckedCombo* comboBox = &checked;
    LOG_ASSERT(::IsWindow( comboBox->GetSafeHwnd() ));
    if (box)
        Utillib::selectComboString(box, text);
}

int durationFromCombo(ComboBox* box)
{
    CheckedCombo checked(box);
    const CheckedCombo* comboBox = &checked;
    LOG_ASSERT(::IsWindow( comboBox->GetSafeHwnd() ));
    if (!box)
        return -1;
    return parseMinSec(Utillib::getComboText(box));
}

std::string durationText(int seconds)
{
    if (seconds == -1)
        return narrow("No limit");
    int minutes = seconds / 60;
    int rest = seconds % 60;
    std::string text;
    if (minutes > 0)
        text += GString::to_c_str(GString::from_int(minutes, "%d") + translateText(" min."));
    if (rest > 0 || seconds == 0) {
        // The blank goes between the two parts only.
        if (!text.empty())
            text += " ";
        text += GString::to_c_str(GString::from_int(rest, "%d") + translateText(" sec."));
    }
    return text;
}

std::string addDurationToTime(int seconds, const std::string& time)
{
    if (seconds == -1) {
        LOG_ASSERT(false);
        return {};
    }
    TwoFields fields = readFields(time);
    long long minutes = fields.before * 60 + fields.after;
    return secondsToTimeText(clampToInt(seconds + minutes * 60));
}

std::string secondsToTimeText(int seconds) { return formatMinSec(seconds / 60); }
