// The session browser over a large SQLite database (offscreen): opening it
// on 100,000 finished sessions, searching by participant and by month, and
// exporting and importing 1,000 sessions with their data files.
#include "Database/BrowseSessions.h"
#include "Database/BrowseSessionsDialog.h"
#include "Database/Database.h"
#include "Database/DatabaseUtil.h"
#include "Database/Recordset.h"
#include "Database/SessionsFile.h"
#include "Utillib/LogStream.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"

#include <QApplication>
#include <QLineEdit>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int sessionRows = 100000;
constexpr int exchanged = 1000;

std::filesystem::path folder;

void setUpDatabase()
{
    folder = std::filesystem::temp_directory_path() / ("tavo-browser-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "data");
    std::filesystem::create_directories(folder / "config/tavo");
    std::ofstream(folder / "odbcinst.ini") << "[SQLite3]\nDriver=libsqlite3odbc.so\n";
    std::ofstream(folder / "odbc.ini") << "[tavocpr]\nDriver=SQLite3\nDatabase=" << (folder / "tavocpr.db").string() << "\n";
    std::ofstream(folder / "config/tavo/registry.ini") << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tavo\\Tavo CPR\\2.3]\n"
                                                       << "Data Folder=sz:" << (folder / "data").string() << "\n";
    ::setenv("ODBCSYSINI", folder.c_str(), 1);
    ::setenv("ODBCINI", (folder / "odbc.ini").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    if (!database.open("DSN=tavocpr"))
        std::abort();
    databaseOpen = true;
    std::ifstream in(std::string(TAVO_SOURCE_DIR) + "/db/schema-sqlite.sql");
    std::string line, statement;
    while (std::getline(in, line)) {
        if (line.rfind("--", 0) == 0)
            continue;
        statement += line + "\n";
        if (!line.empty() && line.back() == ';') {
            if (!database.execute(statement))
                std::abort();
            statement.clear();
        }
    }
    bool filled = database.execute(
        "WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM n WHERE x < " + std::to_string(sessionRows) + " - 1) "
        "INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, StartTime, PersonVentilation, "
        "PersonChestCompression, Done, Scenario, Algorithm) "
        "SELECT printf('%014d', x), 'Instructor ' || (x % 250), printf('%04d-%02d-%02d', 2000 + x % 20, 1 + (x / 7) % 12, 1 + x % 28), "
        "printf('%02d:%02d', 8 + x % 10, x % 60), 'Trainee ' || (x % 997), 'Trainee ' || (x % 991), "
        "TRUE, 'Adult', 'Guideline' FROM n");
    if (!filled)
        std::abort();
    // A data file of about 20 KB for each session that is exported.
    std::string text = "0\n0\n1500\n";
    for (int i = 0; i < 1500; ++i)
        text += "41.5 0 0 0 0.123 0\n";
    for (int x = 0; x < exchanged; ++x) {
        char serial[32];
        std::snprintf(serial, sizeof serial, "%014d", x);
        std::ofstream((folder / "data" / (std::string(serial) + ".dat")).string()) << text;
    }
}

void BM_OpenBrowserOn100000Sessions(benchmark::State& state)
{
    for (auto _ : state) {
        BrowseSessionsDialog dialog;
        dialog.create(IDD_BROWSE_SESSIONS);
        if (dialog.resultList->getItemCount() != sessionRows)
            state.SkipWithError("not every session listed");
    }
}
BENCHMARK(BM_OpenBrowserOn100000Sessions)->Unit(benchmark::kMillisecond);

// Every row's texts, block by block, as a user scrolling through the whole list.
void BM_ReadList(benchmark::State& state)
{
    std::vector<browseSessions::ListRow> rows;
    for (auto _ : state)
        browseSessions::readList(database, "", "", 0, 0, rows);
}
BENCHMARK(BM_ReadList)->Unit(benchmark::kMillisecond);

// The same columns through a recordset, which asks the driver for one value
// at a time: the list's reading before it fetched blocks, for comparison in
// the same run.
class ListColumnsOneByOne : public Recordset {
public:
    ListColumnsOneByOne()
        : Recordset(database)
    {
        for (std::string* member : {&row.serial, &row.ventilation, &row.compression, &row.date, &row.time,
                 &row.instructor, &row.scenario})
            texts.push_back(member);
        const char* columns[] = {"Serialidentifier", "PersonVentilation", "PersonChestCompression", "CourseDate",
            "StartTime", "CourseInstructor", "Scenario"};
        for (std::size_t i = 0; i < texts.size(); ++i)
            bindText(columns[i], *texts[i]);
    }
    browseSessions::ListRow row;
    std::vector<std::string*> texts;
};

void BM_ReadListOneValueAtATime(benchmark::State& state)
{
    std::vector<browseSessions::ListRow> rows;
    for (auto _ : state) {
        rows.clear();
        ListColumnsOneByOne set;
        set.m_strFilter = browseSessions::filterText("", "", 0, 0);
        set.m_strSort = browseSessions::sortText;
        if (!DBUtil::Open(&set, "Session") || !set.MoveFirst())
            state.SkipWithError("not read");
        while (!set.IsEOF()) {
            rows.push_back(set.row);
            set.MoveNext();
        }
        if (rows.size() != sessionRows)
            state.SkipWithError("not every session read");
    }
}
BENCHMARK(BM_ReadListOneValueAtATime)->Unit(benchmark::kMillisecond);

void BM_SearchByParticipantAndByMonth(benchmark::State& state)
{
    BrowseSessionsDialog dialog;
    dialog.create(IDD_BROWSE_SESSIONS);
    auto* participant = dynamic_cast<platform::ComboBox*>(platform::dlgItem(&dialog, IDC_BROWSE_PARTICIPANT));
    for (auto _ : state) {
        participant->lineEdit()->setText("Trainee 12");
        dialog.monthCombo->setCurSel(0);
        dialog.showMatchingSessions();
        participant->lineEdit()->setText("");
        dialog.monthCombo->setCurSel(3);
        dialog.showMatchingSessions();
    }
}
BENCHMARK(BM_SearchByParticipantAndByMonth)->Unit(benchmark::kMillisecond);

void BM_Export1000(benchmark::State& state)
{
    SessionTable table(database);
    table.open("1 = 0");
    std::vector<std::string> serials;
    for (int x = 0; x < exchanged; ++x) {
        char serial[32];
        std::snprintf(serial, sizeof serial, "%014d", x);
        serials.push_back(serial);
    }
    std::string path = (folder / "bench.sdb").string();
    for (auto _ : state) {
        std::vector<SessionRecord> sessions = browseSessions::collectForExport(table, serials);
        if (sessions.size() != exchanged || !writeSessionsFile(path, sessions))
            state.SkipWithError("export failed");
    }
}
BENCHMARK(BM_Export1000)->Unit(benchmark::kMillisecond);

void BM_Import1000(benchmark::State& state)
{
    std::string path = (folder / "bench.sdb").string();
    SessionTable table(database);
    table.open("");
    for (auto _ : state) {
        state.PauseTiming();
        // The sessions leave this station again, so that they come in as new ones.
        database.execute("DELETE FROM Session WHERE CAST(Serialidentifier AS INTEGER) < " + std::to_string(exchanged));
        for (int x = 0; x < exchanged; ++x) {
            char serial[32];
            std::snprintf(serial, sizeof serial, "%014d", x);
            std::filesystem::remove(folder / "data" / (std::string(serial) + ".dat"));
        }
        state.ResumeTiming();
        std::vector<SessionRecord> sessions = readSessionsFile(path);
        if (browseSessions::storeImported(table, sessions, [](const std::string& d) { return d; }) != exchanged)
            state.SkipWithError("import failed");
    }
}
BENCHMARK(BM_Import1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LogStream::recreate((std::filesystem::temp_directory_path() / "tavo-browser-bench.log").string());
    res::registerResources();
    CReportCtrl::registerWindowClass();
    setUpDatabase();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    database.close();
    std::filesystem::remove_all(folder);
    return 0;
}
