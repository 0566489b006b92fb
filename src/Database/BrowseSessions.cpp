#include "Database/BrowseSessions.h"

#include "Database/Database.h"
#include "Database/DatabaseUtil.h"
#include "Database/DbText.h"
#include "Database/DbUi.h"
#include "Database/RowBlock.h"
#include "Database/SessionsFile.h"
#include "Database/Transaction.h"
#include "Utillib/FileUtil.h"
#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "gettext/Translator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <map>
#include <set>

namespace browseSessions {

namespace {

constexpr unsigned iconError = 0x10;

std::wstring wide(const std::string& text) { return GString::to_wstring(text); }

std::string twoDigits(int n)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

// The serial column alone, to learn which sessions the table holds without
// reading every column of every row.
class SerialRows : public Recordset {
public:
    explicit SerialRows(Database& db)
        : Recordset(db)
    {
        bindText("Serialidentifier", serial);
    }
    std::string serial;
};

// The program's narrow text of a stored value; plain ASCII is the same in
// both and needs no conversion.
std::string narrowText(std::string_view utf8)
{
    bool plain = std::all_of(utf8.begin(), utf8.end(), [](char c) {
        auto u = static_cast<unsigned char>(c);
        return u != 0 && u < 0x80;
    });
    return plain ? std::string(utf8) : dbtext::fromUtf8(std::string(utf8));
}

std::set<std::string> storedSerials(Database& db)
{
    std::set<std::string> serials;
    if (!databaseOpen && !db.isOpen())
        return serials;
    SerialRows rows(db);
    if (!rows.Open("Session") || DBUtil::isEmpty(rows) || !rows.MoveFirst())
        return serials;
    while (!rows.IsEOF()) {
        serials.insert(rows.serial);
        if (!rows.MoveNext())
            break;
    }
    return serials;
}

bool knownSerial(const std::set<std::string>& known, const SessionRecord& record)
{
    return Utillib::fileExists(record.dataFilePath()) || known.count(record.Serialidentifier) != 0;
}

std::wstring duplicateQuestion(const SessionRecord& r, const std::function<std::string(const std::string&)>& localDate)
{
    std::wstring text = translate("One of the chosen sessions already exists in the database.\r\n"
                                  "Continue importing this session?\r\n\r\n");
    text += translate("Date") + L":\t\t" + wide(localDate(r.CourseDate)) + L"\r\n";
    auto line = [&](const char* label, const std::string& value) {
        if (!value.empty())
            text += translate(label) + L":\t" + wide(value) + L"\r\n";
    };
    line("Compression", r.PersonChestCompression);
    line("Ventilation", r.PersonVentilation);
    line("Course Instructor", r.CourseInstructor);
    line("Approved by", r.ApprovedBy);
    text += translate("\r\nChoose yes if you would like to duplicate this session.\r\n"
                      "Choose no if you would like to skip this session.");
    return text;
}

void skipBox(const char* sentence, const SessionRecord& r, const char* title)
{
    dbui::userInterface().messageBox(translate(sentence) + r.serialText() + translate(". Skipping session."),
        translate(title), iconError);
}

bool insertRow(SessionTable& table, const SessionRecord& record)
{
    if (!table.AddNew())
        return false;
    table.setRecord(record);
    return table.Update();
}

} // namespace

const char* const sortText = "CourseInstructor, CourseDate, StartTime, PersonVentilation, PersonChestCompression";

namespace {

// The pattern of names beginning with the typed text, and its ESCAPE clause:
// "%" and "_" in a name are letters of it, not wildcards. A backslash is
// the escape character of PostgreSQL's LIKE unless another is named, so a
// text holding one names "!" too, which makes the backslash a plain letter
// on every engine. A text with none of these is written as it is, so that
// the data source may still read the pattern from an index.
std::string prefixPattern(const std::string& typed)
{
    const char escape = '!';
    std::string pattern;
    bool escaped = false;
    for (char c : typed) {
        if (c == '%' || c == '_' || c == escape) {
            pattern += escape;
            escaped = true;
        } else if (c == '\\') {
            escaped = true;
        }
        pattern += c;
    }
    return "'" + DBUtil::quote(pattern) + "%'" + (escaped ? " ESCAPE '!'" : "");
}

} // namespace

std::string filterText(const std::string& participant, const std::string& instructor, int yearIndex, int monthIndex)
{
    std::string filter = "DONE = TRUE ";
    if (!participant.empty()) {
        std::string p = prefixPattern(participant);
        filter += " AND (PersonVentilation LIKE  " + p + "  OR PersonChestCompression LIKE " + p + ")";
    }
    if (!instructor.empty())
        filter += " AND CourseInstructor LIKE " + prefixPattern(instructor);
    if (yearIndex > 0 || monthIndex > 0) {
        std::string year = std::to_string(yearIndex + firstYear - 1);
        std::string month = twoDigits(monthIndex);
        if (yearIndex < 1)
            filter += " AND CourseDate LIKE '%-" + month + "-%'";
        else if (monthIndex > 0)
            filter += " AND CourseDate LIKE '" + year + "-" + month + "-%'";
        else
            filter += " AND CourseDate LIKE '" + year + "-%-%'";
    }
    return filter;
}

std::wstring statusText(int rows)
{
    if (rows == 0)
        return translate("No sessions match criteria.");
    if (rows == 1)
        return translate("One session matches criteria");
    return std::to_wstring(rows) + translate(" sessions match criteria");
}

std::array<int, 6> columnWidths(int clientWidth, int firstColumnWidth, const std::array<int, 6>& minimums)
{
    constexpr std::array<int, 6> parts = {28, 28, 27, 18, 29, 30};
    const int rest = clientWidth - firstColumnWidth;
    // Columns whose share would be below their minimum keep the minimum; the
    // others share the remaining width, until no share falls short.
    std::array<bool, 6> atMinimum{};
    // The width the shared columns have between them, and their parts.
    int left = rest;
    int freeParts = 0;
    auto split = [&] {
        left = rest;
        freeParts = 0;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (atMinimum[i])
                left -= minimums[i];
            else
                freeParts += parts[i];
        }
    };
    for (bool changed = true; changed;) {
        changed = false;
        split();
        for (std::size_t i = 0; i < parts.size() && freeParts > 0; ++i)
            if (!atMinimum[i] && left * static_cast<double>(parts[i]) / freeParts < minimums[i])
                atMinimum[i] = changed = true;
    }
    split();
    // The shares of 160 as before when no minimum bites: u = rest / 160.
    const double part = freeParts == 160 ? rest * 0.00625 : freeParts > 0 ? static_cast<double>(left) / freeParts : 0.0;
    std::array<int, 6> widths{};
    for (std::size_t i = 0; i < 5; ++i)
        widths[i] = atMinimum[i] ? minimums[i] : static_cast<int>(parts[i] * part);
    // The last column takes every pixel the others leave, their rounding included.
    widths[5] = std::max(minimums[5], rest - (widths[0] + widths[1] + widths[2] + widths[3] + widths[4]));
    return widths;
}

DataFileRead readDataText(const std::string& path, std::string& text)
{
    text.clear();
    int handle = Utillib::openForRead(path, 1, 0, true);
    if (handle == Utillib::invalidHandle)
        return DataFileRead::cannotOpen;
    char* block = nullptr;
    std::size_t size = 0;
    bool read = Utillib::readFileFromHandle(handle, block, size, false);
    Utillib::closeFile(handle);
    if (!read)
        return DataFileRead::readError;
    std::unique_ptr<char[]> owned(block);
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i)
        if (!(block[i] == '\r' && i + 1 < size && block[i + 1] == '\n'))
            text += block[i];
    return DataFileRead::ok;
}

bool SessionList::search(Database& database, const std::string& participant, const std::string& instructor,
                         int yearIndex, int monthIndex)
{
    clear();
    if (!database.isOpen())
        return false;
    db = &database;
    // The id settles the order of rows the sort leaves equal, as in every
    // table. The index on Done and the sort columns answers this alone.
    std::string sql = "SELECT \"id\" FROM \"session\" WHERE "
        + filterText(participant, instructor, yearIndex, monthIndex) + " ORDER BY " + sortText + ", \"id\"";
    std::string utf8 = dbtext::toUtf8(sql);
    odbc::BlockRead how;
    how.blockRows = 1024;
    how.valueBytes = 24;
    DbError error;
    auto row = [this](const odbc::TextRow& r) { ids.push_back(std::strtoll(std::string(r.values[0]).c_str(), nullptr, 10)); };
    // Tried three times, as a table is opened: a lock held elsewhere may end.
    for (int attempt = 0; attempt < 3; ++attempt) {
        ids.clear();
        if (odbc::readTextBlocks(database, utf8, 1, how, [this] { ids.clear(); }, row, error)) {
            rows.assign(ids.size(), ListRow{});
            known.assign(ids.size(), false);
            return true;
        }
        if (database.isLockTimeout(error))
            break;
    }
    clear();
    LogStream::instance() << "The sessions could not be listed: " + error.text + "\n";
    return false;
}

void SessionList::clear()
{
    db = nullptr;
    ids.clear();
    rows.clear();
    known.clear();
    blocks = 0;
    blockBytes = 0;
}

const ListRow& SessionList::row(std::size_t index)
{
    if (!known[index])
        readBlock(index - index % blockRows);
    return rows[index];
}

void SessionList::readBlock(std::size_t first)
{
    const std::size_t last = std::min(first + blockRows, ids.size());
    std::map<long long, std::size_t> where;
    std::string sql = "SELECT \"id\", \"serialidentifier\", \"personventilation\", \"personchestcompression\", "
                      "\"coursedate\", \"starttime\", \"courseinstructor\", \"scenario\" FROM \"session\" WHERE \"id\" IN (";
    for (std::size_t i = first; i < last; ++i) {
        sql += (i == first ? "" : ", ") + std::to_string(ids[i]);
        where.emplace(ids[i], i);
        // Marked before the read: a block that cannot be read shows empty
        // rows rather than being asked for again at every paint.
        known[i] = true;
        rows[i] = ListRow{};
    }
    sql += ")";
    ++blocks;
    if (!db || !db->isOpen())
        return;
    odbc::BlockRead how;
    how.blockRows = blockRows;
    how.mostValueBytes = valueBytes;
    DbError error;
    auto row = [this, &where](const odbc::TextRow& r) {
        auto found = where.find(std::strtoll(std::string(r.values[0]).c_str(), nullptr, 10));
        if (found == where.end())
            return;
        ListRow& out = rows[found->second];
        std::string* fields[] = {&out.serial, &out.ventilation, &out.compression, &out.date, &out.time,
            &out.instructor, &out.scenario};
        for (std::size_t c = 0; c < 7; ++c)
            *fields[c] = narrowText(r.values[c + 1]);
    };
    auto restart = [this, first, last] {
        for (std::size_t i = first; i < last; ++i)
            rows[i] = ListRow{};
    };
    bool read = odbc::readTextBlocks(*db, sql, 8, how, restart, row, error);
    blockBytes = std::max(blockBytes, how.bufferBytes);
    if (!read)
        LogStream::instance() << "Sessions " + std::to_string(first + 1) + " to " + std::to_string(last)
                + " of the list could not be read: " + error.text + "\n";
}

bool readList(Database& db, const std::string& participant, const std::string& instructor, int yearIndex,
              int monthIndex, std::vector<ListRow>& rows)
{
    rows.clear();
    SessionList list;
    if (!list.search(db, participant, instructor, yearIndex, monthIndex))
        return false;
    for (std::size_t i = 0; i < list.size(); ++i)
        rows.push_back(list.row(i));
    return true;
}

namespace {

// Puts the table on the sessions of the condition; false when it never
// opened or cannot be read.
bool readWhere(SessionTable& table, const std::string& condition)
{
    std::string name = table.GetTableName();
    if (name.empty())
        return false;
    table.m_strFilter = condition;
    table.m_strSort.clear();
    table.Close();
    table.ok = DBUtil::Open(&table, name);
    return table.ok;
}

} // namespace

bool loadSession(SessionTable& table, const std::string& serial, SessionRecord& record)
{
    if (!readWhere(table, "Serialidentifier = '" + DBUtil::quote(serial) + "'") || DBUtil::isEmpty(table)
        || !table.MoveFirst())
        return false;
    record = table.getRecord();
    return true;
}

std::vector<SessionRecord> collectForExport(SessionTable& table, const std::vector<std::string>& serials)
{
    // The rows in groups, each read with one statement.
    constexpr std::size_t group = 200;
    std::map<std::string, SessionRecord> stored;
    for (std::size_t from = 0; from < serials.size(); from += group) {
        std::string condition;
        for (std::size_t i = from; i < serials.size() && i < from + group; ++i)
            condition += (condition.empty() ? "Serialidentifier IN ('" : "', '") + DBUtil::quote(serials[i]);
        if (!readWhere(table, condition + "')"))
            return {};
        if (DBUtil::isEmpty(table) || !table.MoveFirst())
            continue;
        while (!table.IsEOF()) {
            stored.emplace(table.Serialidentifier, table.getRecord());
            if (!table.MoveNext())
                break;
        }
    }
    std::vector<SessionRecord> sessions;
    for (const std::string& serial : serials) {
        auto found = stored.find(serial);
        if (found == stored.end()) {
            // Deleted since the list was read (by another station, say).
            LogStream::instance() << "Session " + serial + " is no longer stored; not exported\n";
            continue;
        }
        SessionRecord record = std::move(found->second);
        stored.erase(found);
        switch (readDataText(record.dataFilePath(), record.dataText)) {
        case DataFileRead::cannotOpen:
            skipBox("Could not open datafile for session ", record, "Export session");
            continue;
        case DataFileRead::readError:
            skipBox("An error occurred while reading datafile for session ", record, "Export session");
            continue;
        case DataFileRead::ok:
            break;
        }
        sessions.push_back(std::move(record));
    }
    return sessions;
}

int storeImported(SessionTable& table, std::vector<SessionRecord>& records,
                  const std::function<std::string(const std::string&)>& localDate)
{
    std::set<std::string> known = storedSerials(table.connection());
    dbui::UserInterface& ui = dbui::userInterface();

    // First every question and every data file, with no transaction open:
    // a box must never wait while the database is locked.
    std::vector<SessionRecord*> written;
    for (SessionRecord& record : records) {
        std::string invalid = sessionsfile::invalidRecordReason(record);
        // A figure that is not a number would fail in the driver with a
        // message of its own, after the question and the data file.
        if (invalid.empty())
            invalid = sessionsfile::unstorableFigureReason(record);
        if (!invalid.empty()) {
            LogStream::instance() << "Session not imported: " + invalid + "\n";
            skipBox("Could not save session ", record, "Import session");
            continue;
        }
        if (knownSerial(known, record)) {
            int answer = ui.messageBox(duplicateQuestion(record, localDate), translate("Import session"),
                dbui::MB_YESNO | dbui::MB_ICONQUESTION);
            if (answer != dbui::IDYES)
                continue;
            record.newSerial();
        }
        while (knownSerial(known, record))
            record.newSerial();
        // A later record of the same file with this serial becomes a copy.
        known.insert(record.Serialidentifier);
        if (!Utillib::writeFile(record.dataFilePath(), record.dataText.data(), record.dataText.size(), false)) {
            skipBox("Could not create datafile for session ", record, "Import session");
            continue;
        }
        written.push_back(&record);
    }
    if (written.empty())
        return 0;

    // Then the rows, together.
    bool stored = false;
    if (table.ok) {
        Transaction transaction(table.connection());
        if (transaction.isOpen()) {
            bool all = true;
            for (SessionRecord* record : written)
                if (!insertRow(table, *record)) {
                    all = false;
                    break;
                }
            if (all)
                stored = transaction.commit();
            else
                transaction.rollback();
        }
    }
    if (stored)
        return static_cast<int>(written.size());

    // One by one, so that each row that cannot be stored is told and the others stay.
    int count = 0;
    for (SessionRecord* record : written) {
        if (insertRow(table, *record)) {
            ++count;
            continue;
        }
        // Another station stored this serial since it was looked for (the
        // same file imported there at this moment): the data file of that
        // name is its session's now and stays.
        if (storedSerials(table.connection()).count(record->Serialidentifier) != 0) {
            skipBox("Could not save session ", *record, "Import session");
            continue;
        }
        DBUtil::reportError(table.lastError().text);
        std::remove(record->dataFilePath().c_str());
        skipBox("Could not save session ", *record, "Import session");
    }
    return count;
}

void showImportSummary(int count, const std::string& path)
{
    dbui::userInterface().messageBox(translate("Imported ") + std::to_wstring(count)
            + (count == 1 ? translate(" session") : translate(" sessions")) + translate(" from ") + wide(path),
        translate("Import sessions"), dbui::MB_ICONINFORMATION);
}

void showNothingToExport()
{
    dbui::userInterface().messageBox(translate("Please choose one or more sessions to export."),
        translate("Export sessions"), dbui::MB_ICONEXCLAMATION);
}

} // namespace browseSessions
