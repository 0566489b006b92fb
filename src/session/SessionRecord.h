#pragma once
#include <cstdint>
#include <string>

// One Session row in memory, with the columns a session reads and writes.
// The database layer's own record takes this place once it exists: the
// members keep the names and types of the table's columns so that the swap
// is a change of include.
class SessionRecord {
public:
    std::string Serialidentifier;
    std::string Algorithm;
    std::uint8_t Approved = 0;
    std::string ApprovedBy;
    double CompDepth = 0;
    double CompRelaxRatio = 0;
    std::string CourseDate;
    std::string CourseInstructor;
    std::int32_t CourseOrder = 0;
    std::string CourseTime;
    std::int32_t Done = 0;
    std::int32_t Duration = 600; // seconds, -1 = no limit
    double ECCrate = 0;
    std::string EndTime; // HH:MM
    std::int32_t InitialVentilations = 0;
    double InterfaceFrequency = 0;
    double Leaning = 0;
    std::int32_t Manikin = 0; // COM port 1 to 256, -1 = a replay
    std::int32_t Metronome = 0;
    std::int32_t RegisterEvents = 1;
    std::string Note;
    double PauseECC = 0;
    std::string PersonChestCompression;
    std::string PersonVentilation;
    std::string Scenario;
    std::int32_t TrainingMode = 1;
    std::string StartTime; // HH:MM
    double StomachInflation = 0;
    double VentCompRatioComp = 0;
    double VentCompRatioVent = 0;
    double VentilationRate = 0;
    double VentilationVolume = 0;
    double WrongHandPosition = 0;
    std::string dataText;
};
