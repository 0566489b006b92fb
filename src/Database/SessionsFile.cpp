#include "Database/SessionsFile.h"

#include "Database/DbUi.h"
#include "Utillib/FileUtil.h"
#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "gettext/Translator.h"

#include <cmath>
#include <cstring>
#include <new>

namespace {

constexpr std::int32_t recordVersion = 0;
constexpr unsigned iconError = 0x10;

// A column text ends at its first zero byte, as the narrow texts of the
// table do.
void writeColumnText(BinaryFormat& format, const std::string& text)
{
    auto n = static_cast<std::int32_t>(std::strlen(text.c_str()));
    format.writeInt32(n);
    format.writeChars(text.data(), n);
}

void writeWholeText(BinaryFormat& format, const std::string& text)
{
    if (text.size() > static_cast<std::size_t>(INT32_MAX))
        format.buffer().advance(-1); // no count can hold it
    auto n = static_cast<std::int32_t>(text.size());
    format.writeInt32(n);
    format.writeChars(text.data(), n);
}

// The count is checked against what is left before a byte is taken, so a
// hostile count neither moves the cursor nor reserves memory.
std::string readText(BinaryFormat& format)
{
    std::int32_t n = format.readInt32();
    mem_buffer& buffer = format.buffer();
    std::size_t left = buffer.bytesLeft();
    if (n < 0 || static_cast<std::size_t>(n) > left)
        throw mem_buffer::buffer_overflow_error(static_cast<std::int32_t>(left < INT32_MAX ? left : INT32_MAX), n);
    std::string text(buffer.advance(n), static_cast<std::size_t>(n));
    return text;
}

std::wstring wide(const std::string& text) { return GString::to_wstring(text); }

std::wstring sessionsWord(std::size_t n) { return n == 1 ? translate(" session") : translate(" sessions"); }

struct ColumnText {
    const char* name;
    const std::string SessionRecord::*member;
};

const ColumnText columnTexts[] = {
    {"Algorithm", &SessionRecord::Algorithm},
    {"ApprovedBy", &SessionRecord::ApprovedBy},
    {"CourseDate", &SessionRecord::CourseDate},
    {"CourseInstructor", &SessionRecord::CourseInstructor},
    {"CourseTime", &SessionRecord::CourseTime},
    {"EndTime", &SessionRecord::EndTime},
    {"Note", &SessionRecord::Note},
    {"PersonChestCompression", &SessionRecord::PersonChestCompression},
    {"PersonVentilation", &SessionRecord::PersonVentilation},
    {"Scenario", &SessionRecord::Scenario},
    {"StartTime", &SessionRecord::StartTime},
};

struct ColumnFigure {
    const char* name;
    double SessionRecord::*member;
};

const ColumnFigure columnFigures[] = {
    {"CompDepth", &SessionRecord::CompDepth},
    {"CompRelaxRatio", &SessionRecord::CompRelaxRatio},
    {"ECCrate", &SessionRecord::ECCrate},
    {"InterfaceFrequency", &SessionRecord::InterfaceFrequency},
    {"Leaning", &SessionRecord::Leaning},
    {"PauseECC", &SessionRecord::PauseECC},
    {"StomachInflation", &SessionRecord::StomachInflation},
    {"VentCompRatioComp", &SessionRecord::VentCompRatioComp},
    {"VentCompRatioVent", &SessionRecord::VentCompRatioVent},
    {"VentilationRate", &SessionRecord::VentilationRate},
    {"VentilationVolume", &SessionRecord::VentilationVolume},
    {"WrongHandPosition", &SessionRecord::WrongHandPosition},
};

} // namespace

void writeSessionRecord(BinaryWriter& writer, const SessionRecord& r)
{
    BinaryFormat& f = writer.format();
    f.writeInt32(recordVersion);
    writeColumnText(f, r.Serialidentifier);
    writeColumnText(f, r.Algorithm);
    f.writeByte(r.Approved);
    writeColumnText(f, r.ApprovedBy);
    f.writeDouble(r.CompDepth);
    f.writeDouble(r.CompRelaxRatio);
    writeColumnText(f, r.CourseDate);
    writeColumnText(f, r.CourseInstructor);
    f.writeInt32(r.CourseOrder);
    writeColumnText(f, r.CourseTime);
    f.writeInt32(r.Done);
    f.writeInt32(r.Duration);
    f.writeDouble(r.ECCrate);
    writeColumnText(f, r.EndTime);
    f.writeInt32(r.InitialVentilations);
    f.writeDouble(r.InterfaceFrequency);
    f.writeDouble(r.Leaning);
    f.writeInt32(r.Manikin);
    f.writeInt32(r.Metronome);
    f.writeInt32(r.RegisterEvents);
    writeColumnText(f, r.Note);
    f.writeDouble(r.PauseECC);
    writeColumnText(f, r.PersonChestCompression);
    writeColumnText(f, r.PersonVentilation);
    writeColumnText(f, r.Scenario);
    f.writeInt32(r.TrainingMode);
    writeColumnText(f, r.StartTime);
    f.writeDouble(r.StomachInflation);
    f.writeDouble(r.VentCompRatioComp);
    f.writeDouble(r.VentCompRatioVent);
    f.writeDouble(r.VentilationRate);
    f.writeDouble(r.VentilationVolume);
    f.writeDouble(r.WrongHandPosition);
    writeWholeText(f, r.dataText);
    f.writeInt32(r.magic);
}

BinaryWriter& operator<<(BinaryWriter& writer, const SessionRecord& record)
{
    writeSessionRecord(writer, record);
    return writer;
}

void readSessionRecord(BinaryReader& reader, SessionRecord& r)
{
    BinaryFormat& f = reader.format();
    if (f.readInt32() != recordVersion)
        throw BinaryTextError("Unsupported version in session data!");
    r.Serialidentifier = readText(f);
    r.Algorithm = readText(f);
    r.Approved = f.readByte();
    r.ApprovedBy = readText(f);
    r.CompDepth = f.readDouble();
    r.CompRelaxRatio = f.readDouble();
    r.CourseDate = readText(f);
    r.CourseInstructor = readText(f);
    r.CourseOrder = f.readInt32();
    r.CourseTime = readText(f);
    r.Done = f.readInt32();
    r.Duration = f.readInt32();
    r.ECCrate = f.readDouble();
    r.EndTime = readText(f);
    r.InitialVentilations = f.readInt32();
    r.InterfaceFrequency = f.readDouble();
    r.Leaning = f.readDouble();
    r.Manikin = f.readInt32();
    r.Metronome = f.readInt32();
    r.RegisterEvents = f.readInt32();
    r.Note = readText(f);
    r.PauseECC = f.readDouble();
    r.PersonChestCompression = readText(f);
    r.PersonVentilation = readText(f);
    r.Scenario = readText(f);
    r.TrainingMode = f.readInt32();
    r.StartTime = readText(f);
    r.StomachInflation = f.readDouble();
    r.VentCompRatioComp = f.readDouble();
    r.VentCompRatioVent = f.readDouble();
    r.VentilationRate = f.readDouble();
    r.VentilationVolume = f.readDouble();
    r.WrongHandPosition = f.readDouble();
    r.dataText = readText(f);
    r.magic = f.readInt32();
}

BinaryReader& operator>>(BinaryReader& reader, SessionRecord& record)
{
    readSessionRecord(reader, record);
    return reader;
}

namespace sessionsfile {

bool buildImage(const std::vector<SessionRecord>& records, Image& image, std::string& error)
{
    image = Image();
    if (records.size() > static_cast<std::size_t>(INT32_MAX)) {
        error = "Too many sessions for one file.";
        return false;
    }
    for (std::size_t size = firstBufferSize;; size *= 2) {
        if (size > maxImage) {
            error = "The sessions need more than " + std::to_string(maxImage >> 20) + " MB.";
            return false;
        }
        std::unique_ptr<char[]> block(new (std::nothrow) char[size]);
        if (!block) {
            error = "Not enough memory for " + std::to_string(size) + " bytes.";
            return false;
        }
        mem_buffer buffer(block.get(), size);
        LogStream::instance() << "Streaming " + std::to_string(records.size()) + " into " + std::to_string(size)
                + " bytes\n";
        try {
            BinaryFormat format(buffer);
            BinaryWriter writer(format);
            writer << static_cast<std::int32_t>(records.size());
            for (const SessionRecord& record : records)
                writer << record;
        } catch (const mem_buffer::buffer_overflow_error&) {
            continue;
        }
        image.size = buffer.bytesUsed();
        image.block = std::move(block);
        return true;
    }
}

ParseResult parseImage(const char* data, std::size_t size, std::vector<SessionRecord>& records, std::string& error)
{
    records.clear();
    std::vector<SessionRecord> read;
    try {
        // The reader only reads; the window needs a non-const start.
        mem_buffer buffer(const_cast<char*>(data), size);
        BinaryFormat format(buffer);
        BinaryReader reader(format);
        std::int32_t count = 0;
        reader >> count;
        // No room is reserved from the count: each record must be read first.
        for (std::int32_t i = 0; i < count; ++i) {
            SessionRecord record;
            reader >> record;
            read.push_back(std::move(record));
        }
    } catch (const mem_buffer::buffer_overflow_error& e) {
        error = e.what();
        return ParseResult::unreadable;
    } catch (const BinaryTextError& e) {
        error = e.what();
        return ParseResult::unreadable;
    }
    if (!read.empty() && read.back().magic != SESSION_RECORD_MAGIC)
        return ParseResult::incomplete;
    records = std::move(read);
    return ParseResult::ok;
}

std::string invalidRecordReason(const SessionRecord& record)
{
    // The serial becomes the data file's name: only the program's own form
    // may, so no file can name a place outside the data folder.
    if (!SessionRecord::isValidSerial(record.Serialidentifier))
        return "A session identifier is not valid.";
    for (const ColumnText& column : columnTexts)
        if ((record.*column.member).size() > maxColumnText)
            return "The " + std::string(column.name) + " of session " + record.Serialidentifier + " is longer than "
                + std::to_string(maxColumnText) + " characters.";
    return std::string();
}

std::string unstorableFigureReason(const SessionRecord& record)
{
    for (const ColumnFigure& column : columnFigures)
        if (!std::isfinite(record.*column.member))
            return "The " + std::string(column.name) + " of session " + record.Serialidentifier
                + " is not a number.";
    return std::string();
}

} // namespace sessionsfile

bool writeSessionsFile(const std::string& path, const std::vector<SessionRecord>& records)
{
    dbui::UserInterface& ui = dbui::userInterface();
    const std::wstring title = translate("Export sessions");
    sessionsfile::Image image;
    std::string error;
    if (!sessionsfile::buildImage(records, image, error)) {
        LogStream::instance() << "Could not export sessions to '" + path + "': " + error + "\n";
        ui.messageBox(translate("The sessions could not be exported:\r\n") + wide(error), title, iconError);
        return false;
    }
    if (!Utillib::writeFile(path, image.block.get(), image.size, false)) {
        ui.messageBox(translate("The sessions could not be exported:\r\n") + translate("Could not save ") + wide(path)
                + translate("."),
            title, iconError);
        return false;
    }
    ui.messageBox(translate("Exported ") + std::to_wstring(records.size()) + sessionsWord(records.size())
            + translate(" to ") + wide(path),
        title, dbui::MB_ICONINFORMATION);
    return true;
}

std::vector<SessionRecord> readSessionsFile(const std::string& path)
{
    std::vector<SessionRecord> records;
    char* block = nullptr;
    std::size_t size = 0;
    if (!Utillib::readWholeFile(path, block, size, false))
        return records;
    std::unique_ptr<char[]> owned(block);

    dbui::UserInterface& ui = dbui::userInterface();
    const std::wstring title = translate("Import sessions");
    std::string error;
    sessionsfile::ParseResult result = sessionsfile::parseImage(owned.get(), size, records, error);
    owned.reset();
    if (result == sessionsfile::ParseResult::ok) {
        // All or nothing: one record that cannot be stored refuses the file.
        for (const SessionRecord& record : records) {
            error = sessionsfile::invalidRecordReason(record);
            if (!error.empty()) {
                records.clear();
                result = sessionsfile::ParseResult::unreadable;
                break;
            }
        }
    }
    switch (result) {
    case sessionsfile::ParseResult::ok:
        break;
    case sessionsfile::ParseResult::unreadable:
        LogStream::instance() << "Could not parse sessions file '" + path + "': " + error + "\n";
        ui.messageBox(translate("Could not parse sessions file:\r\n") + wide(path) + L":\r\n" + wide(error), title,
            iconError);
        break;
    case sessionsfile::ParseResult::incomplete:
        LogStream::instance() << "Could not parse all of the sessions in file '" + path + "'. Ignoring file.\n";
        ui.messageBox(translate("An error occurred while importing sessions, importing canceled."), title, iconError);
        break;
    }
    return records;
}
