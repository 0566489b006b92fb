#pragma once
// The binary serializer: little-endian values with no padding between them.
//   bool    1 byte              int32  4 bytes            double  8 bytes
//   narrow string   int32 byte count, then the bytes
//   wide string     int32 byte count (2 per UTF-16 unit), then the units
//   vector          int32 element count, then the elements
// A value that does not fit raises mem_buffer::buffer_overflow_error.
#include "config/mem_buffer.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// Raised by a record reader for content it does not support (an unknown
// version). File readers catch it beside the overflow error.
class BinaryTextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raw values and byte blocks over one buffer.
class BinaryFormat {
public:
    explicit BinaryFormat(mem_buffer& buffer)
        : buf(buffer)
    {
    }

    void writeByte(std::uint8_t value);
    void writeInt32(std::int32_t value);
    void writeDouble(double value);
    std::uint8_t readByte();
    std::int32_t readInt32();
    double readDouble();

    // Byte blocks move in steps of at most 511 bytes (256-byte steps, the last
    // one 256 to 511), so a block that does not fit fails at the first step
    // that does not, after the steps before it were copied. A negative size
    // fails at once.
    void writeChars(const char* source, std::int32_t n);
    void readChars(char* destination, std::int32_t n);
    // The same, appending to a string; it grows only by what was read.
    void readChars(std::string& destination, std::int32_t n);

    mem_buffer& buffer() { return buf; }

private:
    mem_buffer& buf;
};

class BinaryWriter {
public:
    explicit BinaryWriter(BinaryFormat& format)
        : fmt(format)
    {
    }

    BinaryWriter& operator<<(bool value);
    BinaryWriter& operator<<(std::int32_t value);
    BinaryWriter& operator<<(double value);
    BinaryWriter& operator<<(const std::string& text);
    BinaryWriter& operator<<(const std::wstring& text) { writeWString(text); return *this; }
    BinaryWriter& operator<<(const std::vector<std::int32_t>& values);
    BinaryWriter& operator<<(const std::vector<std::string>& texts);
    // A literal would otherwise be written as a bool.
    BinaryWriter& operator<<(const char*) = delete;

    // Stored as UTF-16: a character beyond the basic plane takes two units.
    void writeWString(const std::wstring& text);

    BinaryFormat& format() { return fmt; }

private:
    BinaryFormat& fmt;
};

class BinaryReader {
public:
    explicit BinaryReader(BinaryFormat& format)
        : fmt(format)
    {
    }

    BinaryReader& operator>>(bool& value);
    BinaryReader& operator>>(std::int32_t& value);
    BinaryReader& operator>>(double& value);
    BinaryReader& operator>>(std::string& text) { text = readString(); return *this; }
    BinaryReader& operator>>(std::wstring& text) { text = readWString(); return *this; }
    BinaryReader& operator>>(std::vector<std::int32_t>& values);
    BinaryReader& operator>>(std::vector<std::string>& texts) { readStringVector(texts); return *this; }

    // A negative length, or one longer than what is left, raises the overflow
    // error without reading or allocating past the buffer.
    std::string readString();
    // An odd byte count reads its last byte but makes no unit of it.
    std::wstring readWString();
    // Vectors are cleared first; a negative count reads no elements.
    void readStringVector(std::vector<std::string>& texts);

    BinaryFormat& format() { return fmt; }

private:
    BinaryFormat& fmt;
};
