#pragma once
// The station's side of running a course: the schedule and the persons in
// the database, scenarios and algorithms by name, the port table, and live
// sessions registered with the session manager. The form adds its own part.
#include "session/RunCourse.h"

class RunCourseStation : public RunCourseHost {
public:
    std::vector<SessionRecord> loadSchedule(const CourseKey& key) override;
    bool saveSchedule(CourseRecord& course, CourseSchedule& schedule) override;
    void addPerson(const std::string& name) override;
    ScheduleScenario scenario(const std::string& name) override;
    Algorithm algorithm(const std::string& name) override;
    int firstAvailablePort() override;
    bool portAvailable(int port) override;
    int openPort(int port) override;
    bool portCalibrated(int port) override;
    void closePort(int port) override;
    Session* createSession(const SessionRecord& row, const Algorithm& algorithm, const SessionRecord* planned) override;
    void showSession(Session* session) override;
    std::string currentTime() override;
};
