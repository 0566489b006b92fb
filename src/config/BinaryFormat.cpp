#include "config/BinaryFormat.h"

#include <bit>
#include <cstring>
#include <limits>

namespace {

constexpr std::int32_t stepSize = 256;

// Calls step(offset, size) for each step of an n-byte block.
template <typename Step>
void forEachStep(std::int32_t n, Step step)
{
    std::int32_t offset = 0;
    if (n >= 2 * stepSize) {
        for (std::int32_t i = 0; i < n / stepSize - 1; ++i, offset += stepSize)
            step(offset, stepSize);
    }
    step(offset, n - offset);
}

void refuseNegative(mem_buffer& buffer, std::int32_t n)
{
    if (n < 0)
        buffer.advance(n); // raises the overflow error
}

std::int32_t checkedCount(mem_buffer& buffer, std::size_t count)
{
    if (count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        buffer.advance(-1); // a count the format cannot hold: nothing can fit it
    return static_cast<std::int32_t>(count);
}

std::u16string toUtf16(const std::wstring& text)
{
    std::u16string units;
    units.reserve(text.size());
    for (wchar_t c : text) {
        auto code = static_cast<std::uint32_t>(c);
        if (code <= 0xFFFF) {
            units += static_cast<char16_t>(code);
        } else if (code <= 0x10FFFF) {
            code -= 0x10000;
            units += static_cast<char16_t>(0xD800 + (code >> 10));
            units += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            units += u'\xFFFD';
        }
    }
    return units;
}

// A unit of an incomplete pair stays as it is, so such text survives a round trip.
std::wstring fromUtf16(const std::u16string& units)
{
    std::wstring text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            std::uint32_t code = 0x10000 + ((static_cast<std::uint32_t>(u) - 0xD800) << 10)
                + (static_cast<std::uint32_t>(units[i + 1]) - 0xDC00);
            text += static_cast<wchar_t>(code);
            ++i;
        } else {
            text += static_cast<wchar_t>(u);
        }
    }
    return text;
}

void putLittleEndian(char* at, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        at[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint64_t getLittleEndian(const char* at, int size)
{
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= static_cast<std::uint64_t>(static_cast<unsigned char>(at[i])) << (8 * i);
    return value;
}

} // namespace

void BinaryFormat::writeByte(std::uint8_t value) { *buf.advance(1) = static_cast<char>(value); }

void BinaryFormat::writeInt32(std::int32_t value)
{
    putLittleEndian(buf.advance(4), static_cast<std::uint32_t>(value), 4);
}

void BinaryFormat::writeDouble(double value)
{
    putLittleEndian(buf.advance(8), std::bit_cast<std::uint64_t>(value), 8);
}

std::uint8_t BinaryFormat::readByte() { return static_cast<std::uint8_t>(*buf.advance(1)); }

std::int32_t BinaryFormat::readInt32()
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(getLittleEndian(buf.advance(4), 4)));
}

double BinaryFormat::readDouble() { return std::bit_cast<double>(getLittleEndian(buf.advance(8), 8)); }

void BinaryFormat::writeChars(const char* source, std::int32_t n)
{
    refuseNegative(buf, n);
    forEachStep(n, [&](std::int32_t offset, std::int32_t size) {
        char* at = buf.advance(size);
        if (size)
            std::memcpy(at, source + offset, static_cast<std::size_t>(size));
    });
}

void BinaryFormat::readChars(char* destination, std::int32_t n)
{
    refuseNegative(buf, n);
    forEachStep(n, [&](std::int32_t offset, std::int32_t size) {
        const char* at = buf.advance(size);
        if (size)
            std::memcpy(destination + offset, at, static_cast<std::size_t>(size));
    });
}

void BinaryFormat::readChars(std::string& destination, std::int32_t n)
{
    refuseNegative(buf, n);
    forEachStep(n, [&](std::int32_t, std::int32_t size) {
        const char* at = buf.advance(size);
        destination.append(at, static_cast<std::size_t>(size));
    });
}

BinaryWriter& BinaryWriter::operator<<(bool value)
{
    fmt.writeByte(value ? 1 : 0);
    return *this;
}

BinaryWriter& BinaryWriter::operator<<(std::int32_t value)
{
    fmt.writeInt32(value);
    return *this;
}

BinaryWriter& BinaryWriter::operator<<(double value)
{
    fmt.writeDouble(value);
    return *this;
}

BinaryWriter& BinaryWriter::operator<<(const std::string& text)
{
    std::int32_t n = checkedCount(fmt.buffer(), text.size());
    fmt.writeInt32(n);
    fmt.writeChars(text.data(), n);
    return *this;
}

void BinaryWriter::writeWString(const std::wstring& text)
{
    std::u16string units = toUtf16(text);
    std::string bytes(units.size() * 2, '\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        putLittleEndian(&bytes[2 * i], units[i], 2);
    std::int32_t n = checkedCount(fmt.buffer(), bytes.size());
    fmt.writeInt32(n);
    fmt.writeChars(bytes.data(), n);
}

BinaryWriter& BinaryWriter::operator<<(const std::vector<std::int32_t>& values)
{
    fmt.writeInt32(checkedCount(fmt.buffer(), values.size()));
    for (std::int32_t v : values)
        fmt.writeInt32(v);
    return *this;
}

BinaryWriter& BinaryWriter::operator<<(const std::vector<std::string>& texts)
{
    fmt.writeInt32(checkedCount(fmt.buffer(), texts.size()));
    for (const std::string& t : texts)
        *this << t;
    return *this;
}

BinaryReader& BinaryReader::operator>>(bool& value)
{
    value = fmt.readByte() != 0;
    return *this;
}

BinaryReader& BinaryReader::operator>>(std::int32_t& value)
{
    value = fmt.readInt32();
    return *this;
}

BinaryReader& BinaryReader::operator>>(double& value)
{
    value = fmt.readDouble();
    return *this;
}

std::string BinaryReader::readString()
{
    std::int32_t n = fmt.readInt32();
    std::string text;
    fmt.readChars(text, n);
    return text;
}

std::wstring BinaryReader::readWString()
{
    std::int32_t n = fmt.readInt32();
    std::string bytes;
    fmt.readChars(bytes, n);
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(getLittleEndian(&bytes[2 * i], 2));
    return fromUtf16(units);
}

BinaryReader& BinaryReader::operator>>(std::vector<std::int32_t>& values)
{
    values.clear();
    std::int32_t count = fmt.readInt32();
    for (std::int32_t i = 0; i < count; ++i)
        values.push_back(fmt.readInt32());
    return *this;
}

void BinaryReader::readStringVector(std::vector<std::string>& texts)
{
    texts.clear();
    std::int32_t count = fmt.readInt32();
    for (std::int32_t i = 0; i < count; ++i)
        texts.push_back(readString());
}
