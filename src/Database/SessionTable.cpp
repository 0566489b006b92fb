#include "Database/SessionTable.h"

#include "Database/Database.h"
#include "Database/Transaction.h"

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
    m_strSort = "CourseOrder";
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

const SessionRecord* findSerial(const std::vector<SessionRecord>& rows, std::size_t count, const std::string& serial)
{
    for (std::size_t i = 0; i < count; ++i)
        if (rows[i].Serialidentifier == serial)
            return &rows[i];
    return nullptr;
}

} // namespace

bool SessionTable::writeRows(Database& db, const CourseRecord& course, const std::vector<SessionRecord>& rows,
                             std::size_t count, const std::vector<SessionRecord>& read, std::string& error)
{
    std::string serials;
    for (const std::vector<SessionRecord>* list : {&rows, &read}) {
        const std::size_t n = list == &rows ? count : read.size();
        for (std::size_t i = 0; i < n; ++i)
            serials += (serials.empty() ? "'" : ", '") + DBUtil::quote((*list)[i].Serialidentifier) + "'";
    }
    if (serials.empty())
        return true;
    // The rows of these serials wherever they are: one that left the course
    // is found too.
    SessionTable stored(db);
    if (!stored.open("Serialidentifier IN (" + serials + ")")) {
        error = stored.lastError().text;
        return false;
    }
    const CourseKey courseKey = course.getKey();
    std::vector<std::string> found;
    bool written = true;
    if (!(stored.IsBOF() && stored.IsEOF()) && stored.MoveFirst()) {
        while (written && !stored.IsEOF()) {
            const SessionRecord now = stored.getRecord();
            found.push_back(now.Serialidentifier);
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
    // Rows added in this form, and rows another station deleted since this
    // form read them: the form still holds them, so they are stored.
    for (std::size_t i = 0; written && i < count; ++i) {
        if (std::find(found.begin(), found.end(), rows[i].Serialidentifier) != found.end())
            continue;
        written = stored.AddNew();
        if (written) {
            stored.setRecord(rows[i]);
            written = stored.Update();
        }
    }
    if (!written)
        error = stored.lastError().text;
    return written;
}

bool SessionTable::saveCourseSessions(const CourseRecord& course, CourseSchedule& schedule)
{
    if (!ok)
        return false;
    std::vector<SessionRecord>& rows = schedule.rows();
    const std::size_t count = rows.empty() ? 0 : rows.size() - 1;
    std::int32_t order = 0;
    for (std::size_t i = 0; i < count; ++i) {
        rows[i].CourseInstructor = course.Instructor;
        rows[i].CourseDate = course.Date;
        rows[i].CourseTime = course.Time;
        rows[i].CourseOrder = order++;
    }
    std::string rowError;
    bool written = false;
    bool committed = false;
    {
        // The rows go together: a save that breaks off leaves the schedule
        // as it was. Inside a caller's transaction the rows join it.
        std::optional<Transaction> transaction;
        if (!Transaction::active()) {
            transaction.emplace(connection());
            if (!transaction->isOpen())
                return false;
        }
        written = writeRows(connection(), course, rows, count, schedule.storedRows(), rowError);
        // The error is told once everything is rolled back.
        if (!written) {
            if (Transaction* open = transaction ? &*transaction : Transaction::active()) {
                if (rowError.empty())
                    open->fail();
                else
                    open->keepError(rowError);
            }
        }
        committed = transaction ? transaction->commit() : written;
    }
    if (committed && written)
        schedule.markStored();
    tablePool.refresh(tableKind::Session);
    return committed && written;
}
