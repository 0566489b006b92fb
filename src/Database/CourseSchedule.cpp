#include "Database/CourseSchedule.h"

#include "Utillib/Duration.h"

#include <algorithm>
#include <cstring>
#include <utility>

void CourseSchedule::load(std::vector<SessionRecord> stored)
{
    stored_ = stored;
    rows_ = std::move(stored);
}

void CourseSchedule::markStored()
{
    stored_.assign(rows_.begin(), rows_.empty() ? rows_.end() : rows_.end() - 1);
}

void CourseSchedule::takeStoredRow(const SessionRecord& row)
{
    const auto at = std::find_if(stored_.begin(), stored_.end(), [&row](const SessionRecord& read) {
        return SessionRecord::keysEqual(read.Serialidentifier, row.Serialidentifier);
    });
    if (at == stored_.end())
        stored_.push_back(row);
    else
        *at = row;
}

bool CourseSchedule::isPlaceholder(const SessionRecord& row)
{
    return row.PersonVentilation.empty() && row.PersonChestCompression.empty();
}

int CourseSchedule::appendRow(const std::string& courseInstructor, const std::string& courseDate,
                              const std::string& courseTime, const std::string& scenarioName,
                              const ScheduleScenario& scenario, int manikin)
{
    SessionRecord row;
    row.Manikin = manikin;
    std::string start;
    if (rows_.empty())
        start = addDurationToTime(120, courseTime);
    else if (rows_.back().Manikin == manikin)
        start = addDurationToTime(60, rows_.back().EndTime);
    else
        start = addDurationToTime(0, rows_.back().StartTime);
    row.Duration = scenario.duration;
    row.EndTime = scenario.duration < 0 ? std::string() : addDurationToTime(scenario.duration, start);
    row.TrainingMode = scenario.trainingMode;
    row.RegisterEvents = scenario.registerEvents ? 1 : 0;
    row.Algorithm = scenario.algorithm;
    row.Scenario = scenarioName;
    row.CourseInstructor = courseInstructor;
    row.CourseDate = courseDate;
    row.CourseTime = courseTime;
    row.StartTime = start;
    rows_.push_back(std::move(row));
    return size() - 1;
}

bool CourseSchedule::ensurePlaceholder(const std::string& courseInstructor, const std::string& courseDate,
                                       const std::string& courseTime, const std::string& scenarioName,
                                       const ScheduleScenario& scenario, int manikin)
{
    if (!rows_.empty() && isPlaceholder(rows_.back()))
        return false;
    appendRow(courseInstructor, courseDate, courseTime, scenarioName, scenario, manikin);
    return true;
}

void CourseSchedule::swapAllButTimes(SessionRecord& a, SessionRecord& b)
{
    std::swap(a, b);
    std::swap(a.StartTime, b.StartTime);
    std::swap(a.EndTime, b.EndTime);
}

bool CourseSchedule::moveRowUp(int i)
{
    if (i < 1 || i >= size() - 1)
        return false;
    swapAllButTimes(rows_[i - 1], rows_[i]);
    return true;
}

bool CourseSchedule::moveRowDown(int i)
{
    if (i < 0 || i + 2 >= size())
        return false;
    swapAllButTimes(rows_[i], rows_[i + 1]);
    return true;
}

bool CourseSchedule::removeRow(int i)
{
    if (i < 0 || i >= size() - 1)
        return false;
    rows_.erase(rows_.begin() + i);
    return true;
}

bool CourseSchedule::sortByStartTime()
{
    if (size() < 2)
        return false;
    std::stable_sort(rows_.begin(), rows_.end() - 1, [](const SessionRecord& a, const SessionRecord& b) {
        return std::strcmp(a.StartTime.c_str(), b.StartTime.c_str()) < 0;
    });
    return true;
}

bool CourseSchedule::updateEndTime(int i, const std::string& startText)
{
    if (i < 0 || i >= size())
        return false;
    SessionRecord& row = rows_[i];
    if (row.Done)
        return false;
    const std::string end = row.Duration < 0 ? std::string() : addDurationToTime(row.Duration, startText);
    const std::string start = addDurationToTime(0, startText);
    const bool changed = end != row.EndTime || start != row.StartTime;
    row.EndTime = end;
    row.StartTime = start;
    return changed;
}

void CourseSchedule::retimePlaceholder(const std::string& courseTime, int duration)
{
    if (rows_.empty())
        return;
    SessionRecord& row = rows_.back();
    row.Duration = duration;
    row.EndTime = duration < 0 ? std::string() : addDurationToTime(duration, courseTime);
    row.StartTime = addDurationToTime(0, courseTime);
}

void CourseSchedule::applyScenarioToPlaceholder(const std::string& scenarioName, const ScheduleScenario& scenario)
{
    if (rows_.empty())
        return;
    SessionRecord& row = rows_.back();
    row.Scenario = scenarioName;
    row.TrainingMode = scenario.trainingMode;
    row.Duration = scenario.duration;
    row.Algorithm = scenario.algorithm;
    row.RegisterEvents = scenario.registerEvents ? 1 : 0;
}

int CourseSchedule::manikinNumber(const std::string& text)
{
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos)
        return 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        // Far beyond any port: stop before the value overflows.
        if (value > 1000000)
            break;
        value = value * 10 + (text[i] - '0');
    }
    return static_cast<int>(negative ? -value : value);
}

bool CourseSchedule::takeRowTexts(int i, const ScheduleRowTexts& texts)
{
    if (i < 0 || i >= size())
        return false;
    SessionRecord& r = rows_[i];
    bool differs = false;
    const auto take = [&differs](std::string& field, const std::string& value) {
        if (field != value) {
            field = value;
            differs = true;
        }
    };
    take(r.PersonVentilation, texts.ventilation);
    take(r.PersonChestCompression, texts.compression);
    if (texts.scenario)
        take(r.Scenario, *texts.scenario);
    const int manikin = manikinNumber(texts.manikin);
    if (r.Manikin != manikin) {
        r.Manikin = manikin;
        differs = true;
    }
    take(r.StartTime, texts.start);
    take(r.EndTime, texts.end);
    return differs;
}
