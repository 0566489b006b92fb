#include "Utillib/Duration.h"

#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "Utillib/TextTranslation.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace {

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

std::string formatMinSec(int seconds)
{
    char text[32];
    seconds = std::max(seconds, 0);
    std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60, seconds % 60);
    return text;
}

std::string durationMinSec(int seconds) { return seconds < 0 ? narrow("No limit") : formatMinSec(seconds); }

int parseMinSec(const std::string& text)
{
    if (text.empty())
        return -1;
    TwoFields fields = readFields(text);
    if (fields.before == 0 && fields.after == 0)
        return -1;
    return clampToInt(fields.before * 60 + fields.after);
}

std::string durationText(int seconds)
{
    if (seconds < 0)
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
    if (seconds < 0) {
        LOG_ASSERT(false);
        return {};
    }
    TwoFields fields = readFields(time);
    long long minutes = fields.before * 60 + fields.after;
    return secondsToTimeText(clampToInt(seconds + minutes * 60));
}

std::string secondsToTimeText(int seconds) { return formatMinSec(seconds / 60); }
