#pragma once
// The Session table: one row per stored session, keyed by its serial. A
// course's schedule is the Session rows that carry the course's key, in
// CourseOrder.
#include "Database/CourseSchedule.h"
#include "Database/CourseTable.h"
#include "Database/DatabaseTable.h"
#include "Database/SessionRecord.h"

#include <cstdint>
#include <string>
#include <vector>

template <>
struct RecordKey<SessionRecord> {
    static std::string key(const SessionRecord& record) { return record.getKey(); }
    static bool isComplete(const std::string& key) { return SessionRecord::isKeyComplete(key); }
    static bool equal(const std::string& a, const std::string& b) { return SessionRecord::keysEqual(a, b); }
    static SessionRecord withKey(const std::string& key)
    {
        SessionRecord record;
        record.Serialidentifier = key;
        return record;
    }
};

class SessionTable : public DatabaseTable<SessionRecord, std::string> {
public:
    explicit SessionTable(Database& db);

    bool open(const std::string& filter) override;
    std::string getField(const std::string& column) override;
    SessionRecord getRecord() override;
    void setRecord(const SessionRecord& record) override;
    // Nothing refers to a session.
    bool rename(const std::string& oldKey, const std::string& newKey) override;
    // The row only: the data file is the caller's.
    bool remove(const std::string& serial, bool cascade) override;
    // Compares serials exactly.
    int count(const std::string& serial) override;

    // The course's sessions in CourseOrder, found by the rule of the course
    // cascades (the instructor in every letter case, compared as stored;
    // by its stored text when the key carries it); the table's own filter
    // and sort are put back afterwards.
    std::vector<SessionRecord> loadCourseSessions(const CourseKey& key);
    // Stores the schedule, whose last row is the caller's empty placeholder
    // and is not stored; writes the course key and the order into the rows.
    // It touches only the rows this form read or added, found by their
    // serial: a row it read takes only the columns the form changed since
    // (another station's Done and results stay, and so does a text the
    // station's code page could not show), a row it added is inserted, a
    // row it read and no longer holds is deleted, and rows it never read
    // stay as they are. A row of its own serial that it never read (stored
    // by the session editor, or left outside the course) takes the form's
    // row whole and joins the course. All in one transaction: when a row
    // cannot be written, the stored schedule stays as it was and the error
    // is reported. False then.
    // A row another station deleted is stored again only when this form
    // changed it since it read it; otherwise it leaves the schedule. The
    // rows go only to a course that exists, found by the rule of the course
    // cascades: when none of the rows this form read carries the course's
    // key any more and they all carry one other course's key (renamed by
    // another station), `course` becomes that course and the rows follow
    // it, even when a course of the old key exists again; else `course`
    // becomes the course of its key as stored now. Without such a course
    // the store is refused with a message. The course is looked up and the
    // rows are written under the transaction's write lock, so that no other
    // station renames or deletes the course in between.
    bool saveCourseSessions(CourseRecord& course, CourseSchedule& schedule);

    // Column members, in column order.
    std::string ApprovedBy;
    double CompDepth = 0;
    double CompRelaxRatio = 0;
    std::string CourseDate;
    std::string CourseInstructor;
    std::int32_t CourseOrder = 0;
    std::string CourseTime;
    std::int32_t Done = 0;
    std::int32_t Duration = 600;
    double ECCrate = 0;
    std::string EndTime;
    std::int32_t InitialVentilations = 0;
    double InterfaceFrequency = 0;
    double Leaning = 0;
    std::int32_t Manikin = 0;
    std::int32_t Metronome = 0;
    std::string Note;
    double PauseECC = 0;
    std::string PersonChestCompression;
    std::string PersonVentilation;
    std::string Scenario;
    std::string Serialidentifier;
    std::string StartTime;
    double StomachInflation = 0;
    double VentCompRatioComp = 0;
    double VentCompRatioVent = 0;
    double VentilationRate = 0;
    double VentilationVolume = 0;
    double WrongHandPosition = 0;
    std::int32_t RegisterEvents = 1;
    std::string Algorithm;
    std::int32_t TrainingMode = 1;
    std::uint8_t Approved = 0;

private:
    // The course the rows are stored under: the course the rows in `read`
    // now carry the key of (`course`'s own while any of them carries it, or
    // while none was read or is left). False when there is none, or with
    // `error` when the tables cannot be read, or with `refused` when that
    // course's instructor cannot be written by this station (told already).
    static bool courseOfRows(Database& db, CourseRecord& course, const std::vector<SessionRecord>& read,
                             std::string& error, bool& refused);
    // The rows of the serials the schedule names (all but the placeholder),
    // written with the course's key and their order; the error text of the
    // row that failed.
    static bool writeRows(Database& db, const CourseRecord& course, std::vector<SessionRecord>& rows,
                          const std::vector<SessionRecord>& read, std::string& error);
};
