#pragma once
// Durations of sessions and scenarios: whole seconds, -1 for no limit. They
// are shown as mm:ss (in an editable combo box, DurationCombo.h) and as words
// ("3 min. 20 sec.") in reports. No session ever ends at a negative duration,
// so any negative one (a row imported from elsewhere) is shown as no limit:
// no duration is ever shown as a negative number.
#include <string>

// "%02d:%02d" of the minutes and the seconds left: 90 gives "01:30", 3600
// "60:00"; a negative number of seconds gives "00:00".
std::string formatMinSec(int seconds);
// A duration as mm:ss, or the translated "No limit" for a negative one.
std::string durationMinSec(int seconds);
// Digits before the first ":" are minutes, after it seconds; a second ":"
// ends the reading and anything else is skipped. An empty text, or one whose
// minutes and seconds are both 0 (a text without digits too), is -1. Values
// too large for an int end at its largest value.
int parseMinSec(const std::string& text);

// The duration in words with the translated units: "0 sec.", "1 min.",
// "1 min. 1 sec.", "5 sec."; the translated "No limit" for -1 (and any
// negative duration).
std::string durationText(int seconds);

// The end time of a schedule row: a start time HH:MM plus the duration, as
// HH:MM with hours counted on past 24; empty (and a failed check logged) for
// -1 or any negative duration.
std::string addDurationToTime(int seconds, const std::string& time);
// Whole minutes as HH:MM.
std::string secondsToTimeText(int seconds);
