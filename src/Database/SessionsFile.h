#pragma once
// The session exchange file (".sdb"): stored sessions carried from one
// installation to another, each as its whole Session row and the text of its
// data file.
//
//   int32 N, then N records back to back; nothing else is looked at.
//   record: int32 version 0, the 33 columns in SessionRecord's member order
//   (texts as an int32 byte count and the bytes, doubles as 8 bytes, int32s
//   as 4, Approved as 1 byte), the data-file text, int32 trailer 0x1234.
//
// A column text is written up to its first zero byte; the data-file text is
// written whole. The reader checks every count against what is left of the
// file before it uses it, so a damaged or hostile file is refused without
// reading or reserving past its end.
#include "Database/SessionRecord.h"
#include "config/BinaryFormat.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// Appends one record; raises mem_buffer::buffer_overflow_error when the
// buffer is full (what was written before stays in it).
void writeSessionRecord(BinaryWriter& writer, const SessionRecord& record);
BinaryWriter& operator<<(BinaryWriter& writer, const SessionRecord& record);

// Overwrites every column, the data-file text and the trailer of `record`.
// Raises BinaryTextError("Unsupported version in session data!") for a
// version other than 0, and mem_buffer::buffer_overflow_error when the bytes
// run out or a byte count is negative or larger than what is left.
void readSessionRecord(BinaryReader& reader, SessionRecord& record);
BinaryReader& operator>>(BinaryReader& reader, SessionRecord& record);

namespace sessionsfile {

// The longest column text the Session table holds, in bytes of narrow text.
constexpr std::size_t maxColumnText = 255;
// The first export buffer; it doubles until the file fits, up to maxImage.
constexpr std::size_t firstBufferSize = 0x80000;
constexpr std::size_t maxImage = std::size_t(1) << 31;

// The whole file in one block: bytes [0, size).
struct Image {
    std::unique_ptr<char[]> block;
    std::size_t size = 0;
};

// Serializes the records, starting with a buffer of firstBufferSize bytes
// and producing the whole file again in a buffer twice as large whenever it
// does not fit; each try logs "Streaming N into S bytes". False with `error`
// set when it cannot be made (no memory, or larger than maxImage).
bool buildImage(const std::vector<SessionRecord>& records, Image& image, std::string& error);

enum class ParseResult {
    ok,          // `records` holds every record of the file (none for N <= 0)
    unreadable,  // a record could not be read; `error` says why
    incomplete,  // the last record's trailer is not SESSION_RECORD_MAGIC
};
// Reads the file's records; on anything but ok, `records` is left empty.
ParseResult parseImage(const char* data, std::size_t size, std::vector<SessionRecord>& records, std::string& error);

// Why a record read whole cannot be stored: a serial that is not in the
// program's own form (it names the data file), or a column text longer than
// its column. Empty when the record can be stored.
std::string invalidRecordReason(const SessionRecord& record);

// Why a record's figures cannot be stored: one of its real-number columns
// holds a value that is not a finite number, which no engine stores as
// such. Empty when every figure is a number. The import refuses such a
// session alone; the rest of its file is imported.
std::string unstorableFigureReason(const SessionRecord& record);

} // namespace sessionsfile

// Writes the whole file (to a new file renamed over the old one) and tells
// the user the outcome in a box; true when the file was written.
bool writeSessionsFile(const std::string& path, const std::vector<SessionRecord>& records);
// Every record of the file in file order, or none: a file that cannot be
// read gives none silently (the reading logged why); a damaged one, or one
// holding a record that cannot be stored, is refused with a box.
std::vector<SessionRecord> readSessionsFile(const std::string& path);
