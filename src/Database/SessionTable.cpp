#include "Database/SessionTable.h"

#include "Database/Database.h"
#include "Database/DbText.h"
#include "Database/DbUi.h"
#include "Database/OdbcUtil.h"
#include "Database/Transaction.h"
#include "Utillib/GString.h"
#include "gettext/Translator.h"

#include <algorithm>
#include <cctype>
#include <optional>

SessionTable::SessionTable(Database& db)
    : DatabaseTable(db)
{
    bindText("ApprovedBy", ApprovedBy);
    bindDouble("CompDepth", CompDepth);
    bindDouble("CompRelaxRatio", CompRelaxRatio);
    bindText("CourseDate", CourseDate);
    bindText("CourseInstructor", CourseInstructor);
    bindLong("CourseOrder", CourseOrder);
    bindText("CourseTime", CourseTime);
    bindBool("Done", Done);
    bindLong("Duration", Duration);
    bindDouble("ECCrate", ECCrate);
    bindText("EndTime", EndTime);
    bindLong("InitialVentilations", InitialVentilations);
    bindDouble("InterfaceFrequency", InterfaceFrequency);
    bindDouble("Leaning", Leaning);
    bindLong("Manikin", Manikin);
    bindBool("Metronome", Metronome);
    bindText("Note", Note);
    bindDouble("PauseECC", PauseECC);
    bindText("PersonChestCompression", PersonChestCompression);
    bindText("PersonVentilation", PersonVentilation);
    bindText("Scenario", Scenario);
    bindText("Serialidentifier", Serialidentifier);
    bindText("StartTime", StartTime);
    bindDouble("StomachInflation", StomachInflation);
    bindDouble("VentCompRatioComp", VentCompRatioComp);
    bindDouble("VentCompRatioVent", VentCompRatioVent);
    bindDouble("VentilationRate", VentilationRate);
    bindDouble("VentilationVolume", VentilationVolume);
    bindDouble("WrongHandPosition", WrongHandPosition);
    bindBool("RegisterEvents", RegisterEvents);
    bindText("Algorithm", Algorithm);
    bindLong("TrainingMode", TrainingMode);
    bindByte("Approved", Approved);
}

bool SessionTable::open(const std::string& filter) { return openAs(filter, tableKind::Session); }

std::string SessionTable::getField(const std::string& column)
{
    std::string lower = column;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "serialidentifier")
        return Serialidentifier;
    LOG_ASSERT(false);
    return std::string();
}

SessionRecord SessionTable::getRecord()
{
    SessionRecord r;
    r.Serialidentifier = Serialidentifier;
    r.Algorithm = Algorithm;
    r.Approved = Approved;
    r.ApprovedBy = ApprovedBy;
    r.CompDepth = CompDepth;
    r.CompRelaxRatio = CompRelaxRatio;
    r.CourseDate = CourseDate;
    r.CourseInstructor = CourseInstructor;
    r.CourseOrder = CourseOrder;
    r.CourseTime = CourseTime;
    r.Done = Done;
    r.Duration = Duration;
    r.ECCrate = ECCrate;
    r.EndTime = EndTime;
    r.InitialVentilations = InitialVentilations;
    r.InterfaceFrequency = InterfaceFrequency;
    r.Leaning = Leaning;
    r.Manikin = Manikin;
    r.Metronome = Metronome;
    r.RegisterEvents = RegisterEvents;
    r.Note = Note;
    r.PauseECC = PauseECC;
    r.PersonChestCompression = PersonChestCompression;
    r.PersonVentilation = PersonVentilation;
    r.Scenario = Scenario;
    r.TrainingMode = TrainingMode;
    r.StartTime = StartTime;
    r.StomachInflation = StomachInflation;
    r.VentCompRatioComp = VentCompRatioComp;
    r.VentCompRatioVent = VentCompRatioVent;
    r.VentilationRate = VentilationRate;
    r.VentilationVolume = VentilationVolume;
    r.WrongHandPosition = WrongHandPosition;
    return r;
}

void SessionTable::setRecord(const SessionRecord& r)
{
    ApprovedBy = r.ApprovedBy;
    CompDepth = r.CompDepth;
    CompRelaxRatio = r.CompRelaxRatio;
    CourseDate = r.CourseDate;
    CourseInstructor = r.CourseInstructor;
    CourseOrder = r.CourseOrder;
    CourseTime = r.CourseTime;
    Done = r.Done;
    Duration = r.Duration;
    ECCrate = r.ECCrate;
    EndTime = r.EndTime;
    InitialVentilations = r.InitialVentilations;
    InterfaceFrequency = r.InterfaceFrequency;
    Leaning = r.Leaning;
    Manikin = r.Manikin;
    Metronome = r.Metronome;
    Note = r.Note;
    PauseECC = r.PauseECC;
    PersonChestCompression = r.PersonChestCompression;
    PersonVentilation = r.PersonVentilation;
    Scenario = r.Scenario;
    Serialidentifier = r.Serialidentifier;
    StartTime = r.StartTime;
    StomachInflation = r.StomachInflation;
    VentCompRatioComp = r.VentCompRatioComp;
    VentCompRatioVent = r.VentCompRatioVent;
    VentilationRate = r.VentilationRate;
    VentilationVolume = r.VentilationVolume;
    WrongHandPosition = r.WrongHandPosition;
    RegisterEvents = r.RegisterEvents;
    Algorithm = r.Algorithm;
    TrainingMode = r.TrainingMode;
    Approved = r.Approved;
}

bool SessionTable::rename(const std::string&, const std::string&) { return true; }

bool SessionTable::remove(const std::string& serial, bool)
{
    bool success = DBUtil::remove(connection(), "Session", "Serialidentifier", serial);
    tablePool.refresh(tableKind::Session);
    return success;
}

int SessionTable::count(const std::string& serial)
{
    if (!ok || (IsBOF() && IsEOF()) || !MoveFirst())
        return 0;
    int n = 0;
    while (!IsEOF()) {
        if (Serialidentifier == serial)
            ++n;
        if (!MoveNext())
            break;
    }
    return n;
}

std::vector<SessionRecord> SessionTable::loadCourseSessions(const CourseKey& key)
{
    std::vector<SessionRecord> sessions;
    if (!ok)
        return sessions;
    std::string filter = m_strFilter;
    std::string sort = m_strSort;
    std::string condition;
    if (!DBUtil::keyFilter(connection(), "Session", key.parts(CourseTable::sessionColumns), condition))
        return sessions;
    m_strFilter = condition;
    // Rows of one order (added by two stations at once) come in the order
    // of their serials on every data source.
    m_strSort = "CourseOrder, Serialidentifier";
    // Rows of another filter are not the course's.
    if (restart() && IsOpen() && !(IsBOF() && IsEOF()) && MoveFirst()) {
        while (!IsEOF()) {
            sessions.push_back(getRecord());
            if (!MoveNext())
                break;
        }
    }
    m_strFilter = filter;
    m_strSort = sort;
    // A failed read under the course's filter closed the table.
    if (ok)
        restart();
    else
        reopen();
    return sessions;
}

namespace {

// Calls f with every stored member but the serial, the row's identity.
template <class F>
void forEachColumn(F&& f)
{
    f(&SessionRecord::ApprovedBy);
    f(&SessionRecord::CompDepth);
    f(&SessionRecord::CompRelaxRatio);
    f(&SessionRecord::CourseDate);
    f(&SessionRecord::CourseInstructor);
    f(&SessionRecord::CourseOrder);
    f(&SessionRecord::CourseTime);
    f(&SessionRecord::Done);
    f(&SessionRecord::Duration);
    f(&SessionRecord::ECCrate);
    f(&SessionRecord::EndTime);
    f(&SessionRecord::InitialVentilations);
    f(&SessionRecord::InterfaceFrequency);
    f(&SessionRecord::Leaning);
    f(&SessionRecord::Manikin);
    f(&SessionRecord::Metronome);
    f(&SessionRecord::Note);
    f(&SessionRecord::PauseECC);
    f(&SessionRecord::PersonChestCompression);
    f(&SessionRecord::PersonVentilation);
    f(&SessionRecord::Scenario);
    f(&SessionRecord::StartTime);
    f(&SessionRecord::StomachInflation);
    f(&SessionRecord::VentCompRatioComp);
    f(&SessionRecord::VentCompRatioVent);
    f(&SessionRecord::VentilationRate);
    f(&SessionRecord::VentilationVolume);
    f(&SessionRecord::WrongHandPosition);
    f(&SessionRecord::RegisterEvents);
    f(&SessionRecord::Algorithm);
    f(&SessionRecord::TrainingMode);
    f(&SessionRecord::Approved);
}

// The row as stored now with what the form changed since it read it: a
// column the form left alone keeps what is stored, whoever wrote it.
SessionRecord withChanges(SessionRecord stored, const SessionRecord& read, const SessionRecord& edited)
{
    forEachColumn([&](auto member) {
        if (!(edited.*member == read.*member))
            stored.*member = edited.*member;
    });
    return stored;
}

// The row holds something else than when the form read it. Its course key
// and order do not count: the save writes them into every row.
bool changedSince(SessionRecord read, SessionRecord now)
{
    for (SessionRecord* row : {&read, &now}) {
        row->CourseInstructor.clear();
        row->CourseDate.clear();
        row->CourseTime.clear();
        row->CourseOrder = 0;
    }
    bool differs = false;
    forEachColumn([&](auto member) {
        if (!(read.*member == now.*member))
            differs = true;
    });
    return differs;
}

const SessionRecord* findSerial(const std::vector<SessionRecord>& rows, std::size_t count, const std::string& serial)
{
    for (std::size_t i = 0; i < count; ++i)
        if (rows[i].Serialidentifier == serial)
            return &rows[i];
    return nullptr;
}

} // namespace

namespace {

std::string serialList(const std::vector<SessionRecord>& a, std::size_t countA, const std::vector<SessionRecord>& b)
{
    std::string serials;
    for (const std::vector<SessionRecord>* list : {&a, &b}) {
        const std::size_t n = list == &a ? countA : b.size();
        for (std::size_t i = 0; i < n; ++i)
            serials += (serials.empty() ? "'" : ", '") + DBUtil::quote((*list)[i].Serialidentifier) + "'";
    }
    return serials;
}

std::wstring courseGoneText()
{
    return translate("The course of this schedule no longer exists: another station has changed or deleted it.\n"
                     "The schedule was not stored.");
}

enum class Lookup { found, none, unreadable };

// The course of the key, its instructor found by the rule of the course
// cascades (in every letter case, not only A to Z).
Lookup findCourse(Database& db, const CourseKey& key, CourseRecord& found, std::string& error)
{
    std::string condition;
    if (!DBUtil::keyFilter(db, "Course", key.parts(CourseKey()), condition)) {
        // The driver's text was kept by the transaction already.
        error = "The courses could not be read.";
        return Lookup::unreadable;
    }
    CourseTable courses(db);
    if (!courses.open(condition)) {
        error = courses.lastError().text;
        return Lookup::unreadable;
    }
    if ((courses.IsBOF() && courses.IsEOF()) || !courses.MoveFirst())
        return Lookup::none;
    found = courses.getRecord();
    return Lookup::found;
}

} // namespace

bool SessionTable::courseOfRows(Database& db, CourseRecord& course, const std::vector<SessionRecord>& read,
                                std::string& error, bool& refused)
{
    refused = false;
    // Where the rows this form read are now. Renamed by another station,
    // the course took them to its new key; a course of the old key may have
    // been planned meanwhile, but it is not this form's course. The keys
    // are compared as stored, by the rule of the cascades.
    const CourseKey own = course.getKey();
    const std::string ownInstructor = own.parts(CourseKey()).front().utf8();
    std::optional<CourseKey> moved;
    std::string movedInstructor;
    bool underOwnKey = false;
    bool severalOthers = false;
    const std::string serials = serialList(read, read.size(), {});
    if (!serials.empty()) {
        std::vector<std::vector<std::string>> keys;
        DbError failure;
        if (!odbc::selectTexts(db,
                               dbtext::toUtf8("SELECT CourseInstructor, CourseDate, CourseTime FROM Session WHERE "
                                              "Serialidentifier IN (" + serials + ")"),
                               keys, failure)) {
            error = failure.text;
            return false;
        }
        for (const std::vector<std::string>& stored : keys) {
            CourseKey key(dbtext::fromUtf8(stored[0]), dbtext::fromUtf8(stored[1]), dbtext::fromUtf8(stored[2]));
            if (!dbtext::survivesCodePage(stored[0]))
                key.storedInstructor = stored[0];
            if (dbtext::storedEqualNoCase(stored[0], ownInstructor) && key.date == own.date && key.time == own.time) {
                underOwnKey = true;
            } else if (!moved) {
                moved = key;
                movedInstructor = stored[0];
            } else if (!dbtext::storedEqualNoCase(stored[0], movedInstructor) || key.date != moved->date
                       || key.time != moved->time) {
                severalOthers = true;
            }
        }
    }
    // Rows of several other courses tell nothing certain.
    if (!underOwnKey && severalOthers)
        return false;
    const bool followed = !underOwnKey && moved;
    const CourseKey& target = followed ? *moved : own;
    CourseRecord found;
    if (findCourse(db, target, found, error) != Lookup::found)
        return false;
    if (found.getKey().instructorShown()) {
        course = found;
        return true;
    }
    // A stored name this station cannot show is never written as read here
    // ("??"). Found by the form's own key, the form's own spelling names
    // that course by the same rule; a course the rows went to cannot be
    // named so.
    if (followed) {
        refused = true;
        return DBUtil::refuseUnshownName();
    }
    return true;
}

bool SessionTable::writeRows(Database& db, const CourseRecord& course, std::vector<SessionRecord>& rows,
                             const std::vector<SessionRecord>& read, std::string& error)
{
    std::size_t count = rows.empty() ? 0 : rows.size() - 1;
    const std::string serials = serialList(rows, count, read);
    // The rows of these serials wherever they are: one that left the course
    // is found too.
    SessionTable stored(db);
    if (!serials.empty() && !stored.open("Serialidentifier IN (" + serials + ")")) {
        error = stored.lastError().text;
        return false;
    }
    std::vector<std::string> found;
    const bool any = !serials.empty() && !(stored.IsBOF() && stored.IsEOF()) && stored.MoveFirst();
    if (any) {
        while (!stored.IsEOF()) {
            found.push_back(stored.Serialidentifier);
            if (!stored.MoveNext())
                break;
        }
    }
    const auto isFound = [&found](const std::string& serial) {
        return std::find(found.begin(), found.end(), serial) != found.end();
    };
    // A row another station deleted since this form read it comes back only
    // when this form changed it (a run, a result, an edit); unchanged, it
    // stays gone and leaves the schedule.
    for (std::size_t i = count; i-- > 0;) {
        const SessionRecord* before = findSerial(read, read.size(), rows[i].Serialidentifier);
        if (before && !isFound(rows[i].Serialidentifier) && !changedSince(*before, rows[i]))
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
    }
    count = rows.empty() ? 0 : rows.size() - 1;
    std::int32_t order = 0;
    for (std::size_t i = 0; i < count; ++i) {
        rows[i].CourseInstructor = course.Instructor;
        rows[i].CourseDate = course.Date;
        rows[i].CourseTime = course.Time;
        rows[i].CourseOrder = order++;
    }
    if (serials.empty())
        return true;

    const CourseKey courseKey = course.getKey();
    bool written = true;
    if (any && stored.MoveFirst()) {
        while (written && !stored.IsEOF()) {
            const SessionRecord now = stored.getRecord();
            const SessionRecord* edited = findSerial(rows, count, now.Serialidentifier);
            const SessionRecord* before = findSerial(read, read.size(), now.Serialidentifier);
            if (edited) {
                // The update writes only the columns that differ from the row.
                const SessionRecord target = before ? withChanges(now, *before, *edited) : *edited;
                written = stored.Edit();
                if (written) {
                    stored.setRecord(target);
                    written = stored.Update();
                }
            } else if (before) {
                // Removed in this form: deleted unless another station has
                // moved it to another course meanwhile.
                const CourseKey key(now.CourseInstructor, now.CourseDate, now.CourseTime);
                const CourseKey readKey(before->CourseInstructor, before->CourseDate, before->CourseTime);
                if (key == courseKey || key == readKey)
                    written = stored.Delete();
            }
            if (written && !stored.MoveNext())
                break;
        }
    }
    // Rows added in this form, and rows it changed that another station deleted.
    for (std::size_t i = 0; written && i < count; ++i) {
        if (isFound(rows[i].Serialidentifier))
            continue;
        written = stored.AddNew();
        if (written) {
            stored.setRecord(rows[i]);
            written = stored.Update();
        }
    }
    // A name this station read only as "??" is refused with its own message
    // (kept by the transaction), not as a database error.
    if (!written && stored.TextUnshown())
        DBUtil::refuseUnshownName();
    else if (!written)
        error = stored.lastError().text;
    return written;
}

bool SessionTable::saveCourseSessions(CourseRecord& course, CourseSchedule& schedule)
{
    if (!ok)
        return false;
    // This station would write its reading of the instructor ("??"), which
    // is no course's key.
    if (!course.getKey().instructorShown())
        return DBUtil::refuseUnshownName();
    std::vector<SessionRecord>& rows = schedule.rows();
    CourseRecord target = course;
    std::string rowError;
    bool written = false;
    bool courseGone = false;
    bool committed = false;
    bool ownTransaction = false;
    {
        // The rows go together: a save that breaks off leaves the schedule
        // as it was. Inside a caller's transaction the rows join it.
        std::optional<Transaction> transaction;
        if (!Transaction::active()) {
            transaction.emplace(connection());
            if (!transaction->isOpen())
                return false;
            ownTransaction = true;
        }
        // Never under a key that no course has.
        bool refused = false;
        written = courseOfRows(connection(), target, schedule.storedRows(), rowError, refused);
        courseGone = !written && !refused && rowError.empty();
        if (written)
            written = writeRows(connection(), target, rows, schedule.storedRows(), rowError);
        // The error is told once everything is rolled back.
        if (!written) {
            if (courseGone && !ownTransaction)
                Transaction::active()->keepError(GString::to_string(courseGoneText()));
            else if (Transaction* open = transaction ? &*transaction : Transaction::active()) {
                if (rowError.empty())
                    open->fail();
                else
                    open->keepError(rowError);
            }
        }
        committed = transaction ? transaction->commit() : written;
    }
    if (courseGone && ownTransaction)
        dbui::userInterface().messageBox(courseGoneText(), dbui::MB_OK | dbui::MB_ICONEXCLAMATION);
    if (committed && written) {
        course = target;
        // Inside a caller's transaction the rows count as stored only once
        // it commits, which this save cannot see.
        if (ownTransaction)
            schedule.markStored();
    }
    tablePool.refresh(tableKind::Session);
    return committed && written;
}
