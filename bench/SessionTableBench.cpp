// Opening the Session table of a large database on a course's filter and
// sort, and reading the first screen of rows, on SQLite.
#include "Database/CourseTable.h"
#include "Database/Database.h"
#include "Database/SessionTable.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int sessionRows = 100000;
constexpr int screenRows = 30;

std::string readAll(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A temporary data source "tavocpr" on a SQLite file made from the schema,
// with 100,000 sessions in 5,000 courses of 20 sessions.
class LargeDatabase {
public:
    LargeDatabase()
    {
        folder = std::filesystem::temp_directory_path() / ("tavo-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "odbcinst.ini") << "[SQLite3]\nDriver=libsqlite3odbc.so\n";
        std::ofstream(folder / "odbc.ini") << "[tavocpr]\nDriver=SQLite3\nDatabase=" << (folder / "tavocpr.db").string() << "\n";
        ::setenv("ODBCSYSINI", folder.c_str(), 1);
        ::setenv("ODBCINI", (folder / "odbc.ini").c_str(), 1);
        if (!database.open("DSN=tavocpr"))
            std::abort();
        databaseOpen = true;
        // Statements of the schema end with ';' at a line end.
        std::istringstream script(readAll(std::string(TAVO_SOURCE_DIR) + "/db/schema-sqlite.sql"));
        std::string line, statement;
        while (std::getline(script, line)) {
            if (line.rfind("--", 0) == 0)
                continue;
            statement += line + "\n";
            if (!line.empty() && line.back() == ';') {
                if (!database.execute(statement))
                    std::abort();
                statement.clear();
            }
        }
        std::string rows = std::to_string(sessionRows);
        bool filled = database.execute(
            "WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM n WHERE x < " + rows + " - 1) "
            "INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, CourseOrder, "
            "PersonVentilation, PersonChestCompression, StartTime, Done, Scenario, Algorithm) "
            "SELECT printf('%014d', x), 'Instructor ' || ((x / 20) % 250), printf('2006-%02d-%02d', 1 + (x / 5000) % 12, 1 + (x / 20) % 28), "
            "printf('%02d:00', 8 + (x / 20) % 10), x % 20, 'Trainee ' || (x % 997), 'Trainee ' || (x % 991), "
            "'09:00', x % 2, '10 minute BLS (AHA)', 'AHA 2005 (American Heart Association)' FROM n");
        if (!filled)
            std::abort();
        // The course that the schedule benchmarks load and store.
        if (!database.execute("INSERT INTO Course (Instructor, Date, Time) VALUES ('Instructor 7', '2006-01-08', '15:00')"))
            std::abort();
    }
    ~LargeDatabase()
    {
        database.close();
        databaseOpen = false;
        std::filesystem::remove_all(folder);
    }

private:
    std::filesystem::path folder;
};

LargeDatabase& largeDatabase()
{
    static LargeDatabase db;
    return db;
}

void readScreen(benchmark::State& state, SessionTable& table)
{
    int read = 0;
    if (table.MoveFirst())
        while (!table.IsEOF() && read < screenRows) {
            SessionRecord record = table.getRecord();
            benchmark::DoNotOptimize(record);
            ++read;
            table.MoveNext();
        }
    if (read == 0)
        state.SkipWithError("no rows");
}

// The course planner's schedule: one course's sessions in CourseOrder.
void BM_OpenCourseSchedule(benchmark::State& state)
{
    largeDatabase();
    CourseKey course("Instructor 7", "2006-01-08", "15:00");
    for (auto _ : state) {
        SessionTable table(database);
        table.m_strSort = "CourseOrder";
        if (!table.open(course.sqlCondition(CourseTable::sessionColumns, " AND ")))
            state.SkipWithError("open failed");
        readScreen(state, table);
    }
}
BENCHMARK(BM_OpenCourseSchedule)->Unit(benchmark::kMillisecond);

// All sessions of one instructor, by date, time and order (400 rows).
void BM_OpenInstructorSessions(benchmark::State& state)
{
    largeDatabase();
    for (auto _ : state) {
        SessionTable table(database);
        table.m_strSort = "CourseInstructor, CourseDate, CourseTime, CourseOrder";
        if (!table.open("CourseInstructor = 'Instructor 7'"))
            state.SkipWithError("open failed");
        readScreen(state, table);
    }
}
BENCHMARK(BM_OpenInstructorSessions)->Unit(benchmark::kMillisecond);

// The same without the course index, for comparison.
void BM_OpenInstructorSessionsWithoutIndex(benchmark::State& state)
{
    largeDatabase();
    database.execute("DROP INDEX IF EXISTS Session_Course");
    for (auto _ : state) {
        SessionTable table(database);
        table.m_strSort = "CourseInstructor, CourseDate, CourseTime, CourseOrder";
        if (!table.open("CourseInstructor = 'Instructor 7'"))
            state.SkipWithError("open failed");
        readScreen(state, table);
    }
    database.execute("CREATE INDEX IF NOT EXISTS Session_Course ON Session (CourseInstructor, CourseDate, CourseTime, CourseOrder)");
}
BENCHMARK(BM_OpenInstructorSessionsWithoutIndex)->Unit(benchmark::kMillisecond);

// The planner's load of one course's schedule through the table (an ASCII
// instructor, and one whose name has a letter outside A to Z).
void loadSchedule(benchmark::State& state, const CourseKey& course)
{
    largeDatabase();
    SessionTable table(database);
    if (!table.open("Serialidentifier = ''"))
        state.SkipWithError("open failed");
    for (auto _ : state) {
        std::vector<SessionRecord> rows = table.loadCourseSessions(course);
        if (rows.size() != 20)
            state.SkipWithError("wrong rows");
        benchmark::DoNotOptimize(rows);
    }
}

void BM_LoadCourseSessions(benchmark::State& state) { loadSchedule(state, CourseKey("Instructor 7", "2006-01-08", "15:00")); }
BENCHMARK(BM_LoadCourseSessions)->Unit(benchmark::kMillisecond);

void BM_LoadCourseSessionsNonAscii(benchmark::State& state)
{
    largeDatabase();
    static bool added = database.execute(
        "INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, CourseOrder) "
        "WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM n WHERE x < 19) "
        "SELECT 'u' || x, char(228) || 'rzte', '2006-01-08', '15:00', x FROM n");
    if (!added)
        state.SkipWithError("insert failed");
    loadSchedule(state, CourseKey("\xE4rzte", "2006-01-08", "15:00"));
}
BENCHMARK(BM_LoadCourseSessionsNonAscii)->Unit(benchmark::kMillisecond);

// Storing that schedule read anew with one participant changed.
void BM_SaveCourseSessions(benchmark::State& state)
{
    largeDatabase();
    SessionTable table(database);
    if (!table.open("Serialidentifier = '00000000000000'"))
        state.SkipWithError("open failed");
    CourseRecord course;
    course.Instructor = "Instructor 7";
    course.Date = "2006-01-08";
    course.Time = "15:00";
    int round = 0;
    for (auto _ : state) {
        CourseSchedule schedule;
        schedule.load(table.loadCourseSessions(course.getKey()));
        schedule.rows()[3].PersonVentilation = "Changed " + std::to_string(round++);
        schedule.rows().emplace_back();
        if (!table.saveCourseSessions(course, schedule))
            state.SkipWithError("not stored");
    }
}
BENCHMARK(BM_SaveCourseSessions)->Unit(benchmark::kMillisecond);

} // namespace
