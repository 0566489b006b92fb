#pragma once
// What the session browser does without a window: the search criteria as a
// filter, the status line and column widths, and moving stored sessions out
// to an exchange file and in from one with their data files. Boxes go
// through the database layer's user interface.
#include "Database/SessionTable.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace browseSessions {

// Entry 0 of the year list is "(Any year)", then the years firstYear to lastYear.
constexpr int firstYear = 1999;
constexpr int lastYear = 2050;

// The filter of finished sessions matching the criteria: the participant
// (either person of a session) and the instructor by prefix, the year and
// month by their list indexes (0 or -1: any).
std::string filterText(const std::string& participant, const std::string& instructor, int yearIndex, int monthIndex);
extern const char* const sortText;

// "No sessions match criteria.", "One session matches criteria", or the
// number and " sessions match criteria".
std::wstring statusText(int rows);

// Widths of columns 1 to 6 for a list whose client area is `clientWidth`
// wide and whose column 0 is `firstColumnWidth` wide: 28, 28, 27, 18 and 29
// parts of 160 of the rest, and the last column every pixel left. A column
// never gets less than its minimum (what its heading and texts need); the
// others share what is left by their parts, and when even the minimums do
// not fit, every column has its minimum and the list is wider than its window.
std::array<int, 6> columnWidths(int clientWidth, int firstColumnWidth, const std::array<int, 6>& minimums = {});

// What the list shows of one finished session, with the serial that finds
// its whole row again.
struct ListRow {
    std::string serial, ventilation, compression, date, time, instructor, scenario;
};

// The sessions matching the criteria, as the list shows them: a search
// learns which sessions match and their order (their row ids alone), and a
// row's texts are read when the list first needs them, with the block of
// rows around it, so that a list of many sessions opens at once.
class SessionList {
public:
    static constexpr std::size_t blockRows = 128;
    // The most bytes of a value a row shows (UTF-8, terminator included): a
    // longer one, which no column shows whole anyway, is shown cut, so that
    // a block's read takes bounded memory whatever another program stored.
    static constexpr std::size_t valueBytes = 1024;

    // False (no rows) while the database is not open or when the read failed.
    bool search(Database& db, const std::string& participant, const std::string& instructor, int yearIndex,
                int monthIndex);
    void clear();
    std::size_t size() const { return ids.size(); }
    // The row at `index` (< size()). A session deleted since the search, or a
    // block that could not be read, shows as an empty row without a serial.
    const ListRow& row(std::size_t index);
    // How many blocks were read since the search: what the list cost.
    int blocksRead() const { return blocks; }
    // The most bytes a block's read set aside for the values of its rows.
    std::size_t largestBlockBytes() const { return blockBytes; }

private:
    void readBlock(std::size_t first);

    Database* db = nullptr;
    std::vector<long long> ids;
    std::vector<ListRow> rows;
    std::vector<bool> known;
    int blocks = 0;
    std::size_t blockBytes = 0;
};

// Every row of the list, read through a SessionList.
bool readList(Database& db, const std::string& participant, const std::string& instructor, int yearIndex,
              int monthIndex, std::vector<ListRow>& rows);

// The stored session with this serial, read through the table (which is left
// on that session alone); false when the table is not open or has no such row.
bool loadSession(SessionTable& table, const std::string& serial, SessionRecord& record);

// A data file as the exchange file carries it: line ends as single line
// feeds (a carriage return before a line feed is dropped).
enum class DataFileRead { ok, cannotOpen, readError };
DataFileRead readDataText(const std::string& path, std::string& text);

// The stored sessions with these serials, in the order given, each with the
// text of its data file; a session whose data file cannot be read is told
// and left out. The table is left on the last sessions read.
std::vector<SessionRecord> collectForExport(SessionTable& table, const std::vector<std::string>& serials);

// Stores imported sessions: a session that cannot be stored (a serial not in
// the program's form, a text longer than its column, a figure that is not a
// number) is told by its serial and skipped; a session whose serial this
// installation knows already (its data file exists, or a Session row has it) is stored as a
// copy under a new serial when the user says so, else skipped; each gets
// its data file, then its row. The rows are written in one transaction;
// when that fails, they are written one by one, each failure told and its
// data file removed. `localDate` shows a stored date in the question.
// Returns the number of sessions stored.
int storeImported(SessionTable& table, std::vector<SessionRecord>& records,
                  const std::function<std::string(const std::string&)>& localDate);

// "Imported N session(s) from path".
void showImportSummary(int count, const std::string& path);

// "Please choose one or more sessions to export."
void showNothingToExport();

} // namespace browseSessions
