#include "Database/PlannedRow.h"

#include "Database/DbText.h"
#include "Database/OdbcUtil.h"
#include "Database/SqlQuote.h"
#include "Utillib/GString.h"

const std::pair<std::string, std::string>* PlannedRow::unshown(const std::string& column) const
{
    for (const auto& text : unshownTexts)
        if (text.first == column)
            return &text;
    return nullptr;
}

const std::vector<std::pair<const char*, std::string SessionRecord::*>>& plannedTextColumns()
{
    // The texts a user or another station writes; dates, times and the
    // serial are digits and punctuation.
    static const std::vector<std::pair<const char*, std::string SessionRecord::*>> columns = {
        {"PersonVentilation", &SessionRecord::PersonVentilation},
        {"PersonChestCompression", &SessionRecord::PersonChestCompression},
        {"CourseInstructor", &SessionRecord::CourseInstructor},
        {"ApprovedBy", &SessionRecord::ApprovedBy},
        {"Scenario", &SessionRecord::Scenario},
        {"Algorithm", &SessionRecord::Algorithm},
        {"Note", &SessionRecord::Note},
    };
    return columns;
}

PlannedRow readPlannedRow(Database& db, const SessionRecord& read)
{
    PlannedRow planned{read, {}};
    const char mark = GString::default_char();
    std::vector<std::pair<const char*, std::string SessionRecord::*>> doubtful;
    for (const auto& column : plannedTextColumns())
        if ((read.*column.second).find(mark) != std::string::npos)
            doubtful.push_back(column);
    if (doubtful.empty())
        return planned;
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < doubtful.size(); ++i)
        sql += (i ? ", " : "") + std::string(doubtful[i].first);
    sql += " FROM Session WHERE Serialidentifier = '" + DBUtil::quote(dbtext::toUtf8(read.Serialidentifier)) + "'";
    std::vector<std::vector<std::string>> rows;
    DbError error;
    const bool found = odbc::selectTexts(db, sql, rows, error) && rows.size() == 1;
    for (std::size_t i = 0; i < doubtful.size(); ++i) {
        const std::string& reading = read.*doubtful[i].second;
        const std::string stored = found ? rows[0][i] : std::string();
        const bool readsAsRead = found && dbtext::fromUtf8(stored) == reading;
        if (readsAsRead && dbtext::survivesCodePage(stored))
            continue; // a default character that is really stored
        planned.unshownTexts.emplace_back(doubtful[i].first, readsAsRead ? stored : std::string());
    }
    return planned;
}
