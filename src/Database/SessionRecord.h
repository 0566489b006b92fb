#pragma once
// One row of the Session table: a recorded or planned training session. The
// order of the members is also the field order of the session exchange file.
#include <cstdint>
#include <ctime>
#include <string>

// The installation's registry key (below HKEY_LOCAL_MACHINE) that holds
// "Data Folder" and "Patch level".
inline constexpr const char* installationKey = "SOFTWARE\\Tavo\\Tavo CPR\\2.3";

inline constexpr std::int32_t SESSION_RECORD_MAGIC = 0x1234;

class SessionRecord {
public:
    SessionRecord();

    // Members 1 to 33 back to a new session's values: a new serial, today's
    // date and the current time; dataText and magic stay.
    void reset();
    void newSerial();
    std::string getKey() const { return Serialidentifier; }
    std::wstring serialText() const;
    void setSerialText(const std::wstring& serial);
    // column = 'serial', the serial quoted; "serialidentifier" when no column is given.
    std::string keyCondition(const std::string& column = std::string()) const;

    // The session's data file: the registry's data folder, the serial and
    // ".dat"; the serial alone and ".dat" (in the working folder) when the
    // folder cannot be read, which is told in one box per run. Empty when the
    // serial is not one this program makes, so that no text from elsewhere
    // ever names a file.
    std::string dataFilePath() const;

    // 14 characters of "0" to "9" and "a" to "v", the form of every serial
    // this program makes.
    static bool isValidSerial(const std::string& serial);
    // Equal ignoring case; complete when not empty.
    static bool keysEqual(const std::string& a, const std::string& b);
    static bool isKeyComplete(const std::string& key) { return !key.empty(); }

    std::string Serialidentifier;
    std::string Algorithm;
    std::uint8_t Approved;
    std::string ApprovedBy;
    double CompDepth;
    double CompRelaxRatio;
    std::string CourseDate;
    std::string CourseInstructor;
    std::int32_t CourseOrder;
    std::string CourseTime;
    std::int32_t Done;
    std::int32_t Duration;
    double ECCrate;
    std::string EndTime;
    std::int32_t InitialVentilations;
    double InterfaceFrequency;
    double Leaning;
    std::int32_t Manikin;
    std::int32_t Metronome;
    std::int32_t RegisterEvents;
    std::string Note;
    double PauseECC;
    std::string PersonChestCompression;
    std::string PersonVentilation;
    std::string Scenario;
    std::int32_t TrainingMode;
    std::string StartTime;
    double StomachInflation;
    double VentCompRatioComp;
    double VentCompRatioVent;
    double VentilationRate;
    double VentilationVolume;
    double WrongHandPosition;
    std::string dataText;
    std::int32_t magic;
};

// A new random serial from the program's generator: seven pairs, each a
// symbol of 5 random bits and one of the 3 bits above them; the pair drawn
// last stands first.
std::string makeSerial();

// The decimal number with "0" in front up to `width` characters.
std::string zeroPad(int number, int width);
// YYYY-MM-DD and HH:MM of a local time, and of now.
std::string dateText(const std::tm& local);
std::string timeText(const std::tm& local);
std::string todayText();
std::string nowTimeText();
