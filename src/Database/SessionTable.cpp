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
    m_strFilter = key.sqlCondition(CourseTable::sessionColumns, " AND ");
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

bool SessionTable::insert(const SessionRecord& session)
{
    if (!AddNew())
        return false;
    setRecord(session);
    return Update();
}

bool SessionTable::saveCourseSessions(const CourseRecord& course, std::vector<SessionRecord>& schedule)
{
    if (!ok)
        return false;
    std::string rowErrors;
    bool committed = false;
    {
        // The old rows and the new go together: a save that breaks off
        // leaves the schedule as it was. Inside a caller's transaction the
        // rows join it.
        std::optional<Transaction> transaction;
        if (!Transaction::active()) {
            transaction.emplace(connection());
            if (!transaction->isOpen())
                return false;
        }
        // Writing the rows after a failed delete would store the schedule twice.
        bool deleted = DBUtil::removeWhere(connection(), "Session", course.getKey(), CourseTable::sessionColumns);
        if (deleted) {
            restart();
            std::int32_t order = 0;
            for (std::size_t i = 0; i + 1 < schedule.size(); ++i) {
                SessionRecord& session = schedule[i];
                session.CourseInstructor = course.Instructor;
                session.CourseDate = course.Date;
                session.CourseTime = course.Time;
                session.CourseOrder = order++;
                // A row that cannot be written keeps the whole schedule as
                // it was: no half-stored schedule. Its error is told once
                // everything is rolled back.
                if (!insert(session)) {
                    rowErrors = lastError().text;
                    break;
                }
            }
        }
        if (!rowErrors.empty())
            if (Transaction* open = transaction ? &*transaction : Transaction::active())
                open->keepError(rowErrors);
        committed = transaction ? transaction->commit() : deleted && rowErrors.empty();
    }
    tablePool.refresh(tableKind::Session);
    return committed && rowErrors.empty();
}
