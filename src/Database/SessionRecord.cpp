#include "Database/SessionRecord.h"
#include "Utillib/GString.h"
#include "gettext/Translator.h"

#include "Database/DatabaseUtil.h"
#include "Database/DbText.h"
#include "Database/DbUi.h"
#include "Utillib/LogStream.h"
#include "Utillib/Random.h"
#include "Utillib/RegistryKey.h"
#include "config/TrainingMode.h"

#include "Database/WinBool.h"

namespace {

const char serialSymbols[] = "0123456789abcdefghijklmnopqrstuv";

// The data-folder box is shown once per run.
bool dataFolderBoxShown = false;

std::tm localNow()
{
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return local;
}

bool readDataFolder(std::string& folder)
{
    RegistryKey key(platform::HKEY_LOCAL_MACHINE);
    if (!key.open(platform::HKEY_LOCAL_MACHINE, installationKey))
        return false;
    std::string value;
    if (!key.readString("Data Folder", value))
        return false;
    // An empty folder would put the files at the file system's root.
    if (value.empty())
        return false;
    folder = value;
    return true;
}

} // namespace

std::string makeSerial()
{
    std::string serial(14, '0');
    for (int pair = 0; pair < 7; ++pair) {
        unsigned r = Utillib::nextRandom() & 0xFF;
        std::size_t at = static_cast<std::size_t>(12 - 2 * pair);
        serial[at] = serialSymbols[r & 31];
        serial[at + 1] = serialSymbols[(r >> 5) & 7];
    }
    return serial;
}

std::string zeroPad(int number, int width)
{
    std::string text = std::to_string(number);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

std::string dateText(const std::tm& local)
{
    return zeroPad(local.tm_year + 1900, 4) + "-" + zeroPad(local.tm_mon + 1, 2) + "-" + zeroPad(local.tm_mday, 2);
}

std::string timeText(const std::tm& local) { return zeroPad(local.tm_hour, 2) + ":" + zeroPad(local.tm_min, 2); }

std::string todayText() { return dateText(localNow()); }

std::string nowTimeText() { return timeText(localNow()); }

SessionRecord::SessionRecord()
    : Approved(0), CompDepth(0), CompRelaxRatio(0), CourseOrder(0), Done(0), Duration(0), ECCrate(0),
      InitialVentilations(0), InterfaceFrequency(0), Leaning(0), Manikin(0), Metronome(0), RegisterEvents(0),
      PauseECC(0), TrainingMode(0), StomachInflation(0), VentCompRatioComp(0), VentCompRatioVent(0), VentilationRate(0),
      VentilationVolume(0), WrongHandPosition(0), magic(SESSION_RECORD_MAGIC)
{
    reset();
}

void SessionRecord::reset()
{
    Serialidentifier = makeSerial();
    Algorithm.clear();
    Approved = 0;
    ApprovedBy.clear();
    CompDepth = 0;
    CompRelaxRatio = 0;
    std::tm local = localNow();
    CourseDate = dateText(local);
    CourseInstructor.clear();
    CourseOrder = 0;
    CourseTime.clear();
    Done = 0;
    Duration = 600;
    ECCrate = 0;
    EndTime.clear();
    InitialVentilations = 0;
    InterfaceFrequency = 0;
    Leaning = 0;
    Manikin = 0;
    Metronome = 0;
    RegisterEvents = 1;
    Note.clear();
    PauseECC = 0;
    PersonChestCompression.clear();
    PersonVentilation.clear();
    Scenario.clear();
    TrainingMode = TWO_PERSON;
    StartTime = timeText(local);
    StomachInflation = 0;
    VentCompRatioComp = 0;
    VentCompRatioVent = 0;
    VentilationRate = 0;
    VentilationVolume = 0;
    WrongHandPosition = 0;
}

void SessionRecord::newSerial() { Serialidentifier = makeSerial(); }

std::wstring SessionRecord::serialText() const { return GString::to_wstring(Serialidentifier); }

void SessionRecord::setSerialText(const std::wstring& serial) { Serialidentifier = GString::to_string(serial); }

std::string SessionRecord::keyCondition(const std::string& column) const
{
    return (column.empty() ? std::string("serialidentifier") : column) + " = '" + DBUtil::quote(Serialidentifier) + "'";
}

bool SessionRecord::isValidSerial(const std::string& serial)
{
    if (serial.size() != 14)
        return false;
    for (char c : serial)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'v')))
            return false;
    return true;
}

bool SessionRecord::keysEqual(const std::string& a, const std::string& b) { return dbtext::equalNoCase(a, b); }

std::string SessionRecord::dataFilePath() const
{
    if (!isValidSerial(Serialidentifier)) {
        LOG_ASSERT(isValidSerial(Serialidentifier));
        return std::string();
    }
    std::string folder;
    if (!readDataFolder(folder)) {
        if (!dataFolderBoxShown) {
            dataFolderBoxShown = true;
            std::wstring text = translate("Could not determine location of data folder.\n"
                                          "Installation is incomplete or broken.\n"
                                          "Please reinstall application, or make sure the registry has\n"
                                          "the correct definition for key\n%hs\nContact support for further help.");
            std::wstring where = GString::to_wstring(std::string("\\HKEY_LOCAL_MACHINE\\") + installationKey + "\\Data Folder");
            std::size_t at = text.find(L"%hs");
            if (at != std::wstring::npos)
                text.replace(at, 3, where);
            dbui::userInterface().messageBox(text, translate("Unexpected problem with locating data files"), dbui::MB_OK);
        }
        return Serialidentifier + ".dat";
    }
    if (folder.back() != '/')
        folder += '/';
    return folder + Serialidentifier + ".dat";
}
