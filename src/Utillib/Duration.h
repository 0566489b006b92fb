#pragma once
// Durations of sessions and scenarios: whole seconds, -1 for no limit. They
// are shown as mm:ss (in an editable combo box, DurationCombo.h) and as words
// ("3 min. 20 sec.") in reports.
#include <string>

// "%02d:%02d" of the minutes and the seconds left: 90 gives "01:30", 3600 "60:00".
std::string formatMinSec(int seconds);
// Digits before the first ":" are minutes, after it seconds; a second ":"
// ends the reading and anything else is skipped. An empty text, or one whose
// minutes and seconds are both 0 (a text without digits too), is -1. Values
// too large for an int end at its largest value.
int parseMinSec(const std::string& text);

// The duration in words with the translated units: "0 sec.", "1 min.",
// "1 min. 1 sec.", "5 sec."; the translated "No limit" for -1.
std::string durationText(int seconds);

// The end time of a schedule row: a start time HH:MM plus the duration, as
// HH:MM with hours counted on past 24; empty for -1.
std::string addDurationToTime(int seconds, const std::string& time);
// Whole minutes as HH:MM.
std::string secondsToTimeText(int seconds);
