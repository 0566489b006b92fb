#include "config/BinaryFormat.h"

#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {

// A buffer of a given room, bytes preset to 0xAA so untouched bytes show.
struct Room {
    explicit Room(std::size_t size)
        : bytes(size, '\xAA')
        , buffer(bytes.data(), bytes.size())
        , format(buffer)
        , writer(format)
        , reader(format)
    {
    }
    std::vector<char> bytes;
    mem_buffer buffer;
    BinaryFormat format;
    BinaryWriter writer;
    BinaryReader reader;
};

TEST(MemBuffer, AdvanceReservesAndRefusesWhatDoesNotFit)
{
    std::vector<char> bytes(10);
    mem_buffer b(bytes.data(), bytes.size());
    EXPECT_EQ(b.advance(4), bytes.data());
    EXPECT_EQ(b.advance(6), bytes.data() + 4);
    EXPECT_EQ(b.advance(0), bytes.data() + 10);

    mem_buffer c(bytes.data(), bytes.size());
    c.advance(7);
    try {
        c.advance(4);
        FAIL() << "no overflow";
    } catch (const mem_buffer::buffer_overflow_error& e) {
        EXPECT_STREQ(e.what(), "XTL mem_buffer overflow");
        EXPECT_EQ(e.bytesLeft, 3);
        EXPECT_EQ(e.bytesAsked, 4);
    }
    // The failed step used up the room: nothing further fits, not even what would have.
    EXPECT_THROW(c.advance(1), mem_buffer::buffer_overflow_error);
    EXPECT_EQ(c.bytesLeft(), 0u);

    mem_buffer d(bytes.data(), bytes.size());
    EXPECT_THROW(d.advance(-1), mem_buffer::buffer_overflow_error);
}

TEST(BinaryFormat, ValuesAreLittleEndianWithoutPadding)
{
    Room r(32);
    r.writer << true << std::int32_t(0x01020304) << 1.0 << false << std::int32_t(-2);
    const unsigned char expected[] = {
        0x01,
        0x04, 0x03, 0x02, 0x01,
        0, 0, 0, 0, 0, 0, 0xF0, 0x3F,
        0x00,
        0xFE, 0xFF, 0xFF, 0xFF,
    };
    ASSERT_EQ(r.buffer.bytesUsed(), sizeof expected);
    EXPECT_EQ(0, std::memcmp(r.bytes.data(), expected, sizeof expected));

    mem_buffer in(r.bytes.data(), sizeof expected);
    BinaryFormat f(in);
    BinaryReader reader(f);
    bool b1 = false, b2 = true;
    std::int32_t i1 = 0, i2 = 0;
    double d = 0;
    reader >> b1 >> i1 >> d >> b2 >> i2;
    EXPECT_TRUE(b1);
    EXPECT_EQ(i1, 0x01020304);
    EXPECT_EQ(d, 1.0);
    EXPECT_FALSE(b2);
    EXPECT_EQ(i2, -2);
}

TEST(BinaryFormat, StringsAndVectorsCarryTheirCounts)
{
    Room r(256);
    r.writer << std::string("ab\xE9") << std::wstring(L"A\U0001F600")
             << std::vector<std::int32_t> { 7, -1 } << std::vector<std::string> { "", "x" };
    const unsigned char expected[] = {
        3, 0, 0, 0, 'a', 'b', 0xE9,
        6, 0, 0, 0, 'A', 0, 0x3D, 0xD8, 0x00, 0xDE, // a surrogate pair for the emoji
        2, 0, 0, 0, 7, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
        2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 'x',
    };
    ASSERT_EQ(r.buffer.bytesUsed(), sizeof expected);
    EXPECT_EQ(0, std::memcmp(r.bytes.data(), expected, sizeof expected));

    r.buffer.cursor = r.buffer.bufferStart;
    std::string s;
    std::wstring w;
    std::vector<std::int32_t> ints { 99 };
    std::vector<std::string> texts { "old" };
    r.reader >> s >> w >> ints >> texts;
    EXPECT_EQ(s, "ab\xE9");
    EXPECT_EQ(w, L"A\U0001F600");
    EXPECT_EQ(ints, (std::vector<std::int32_t> { 7, -1 }));
    EXPECT_EQ(texts, (std::vector<std::string> { "", "x" }));
}

TEST(BinaryFormat, WideStringOddCountAndLoneSurrogateSurvive)
{
    unsigned char image[] = { 5, 0, 0, 0, 'h', 0, 0x00, 0xD8, 'z', 9 };
    mem_buffer in(reinterpret_cast<char*>(image), sizeof image);
    BinaryFormat f(in);
    BinaryReader reader(f);
    std::wstring w = reader.readWString();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0], L'h');
    EXPECT_EQ(static_cast<std::uint32_t>(w[1]), 0xD800u);
    EXPECT_EQ(in.bytesUsed(), 9u); // the odd fifth byte was consumed

    Room r(16);
    r.writer.writeWString(w);
    EXPECT_EQ(0, std::memcmp(r.bytes.data(), "\x04\0\0\0h\0\0\xD8", 8));
}

TEST(BinaryFormat, ReadersRefuseCountsTheBytesCannotHold)
{
    struct Case {
        const char* name;
        std::vector<unsigned char> image;
    };
    const Case cases[] = {
        { "negative length", { 0xFF, 0xFF, 0xFF, 0xFF } },
        { "length past the end", { 5, 0, 0, 0, 'a', 'b' } },
        { "huge length", { 0xFF, 0xFF, 0xFF, 0x7F, 'a' } },
    };
    for (const Case& c : cases) {
        std::vector<char> bytes(c.image.begin(), c.image.end());
        mem_buffer in(bytes.data(), bytes.size());
        BinaryFormat f(in);
        BinaryReader reader(f);
        EXPECT_THROW(reader.readString(), mem_buffer::buffer_overflow_error) << c.name;
        mem_buffer in2(bytes.data(), bytes.size());
        BinaryFormat f2(in2);
        BinaryReader reader2(f2);
        EXPECT_THROW(reader2.readWString(), mem_buffer::buffer_overflow_error) << c.name;
    }

    // A negative element count reads no elements but still empties the target.
    char negative[] = { '\xFF', '\xFF', '\xFF', '\xFF', '\xFF', '\xFF', '\xFF', '\xFF' };
    mem_buffer in(negative, sizeof negative);
    BinaryFormat f(in);
    BinaryReader reader(f);
    std::vector<std::int32_t> ints { 1 };
    std::vector<std::string> texts { "a" };
    reader >> ints >> texts;
    EXPECT_TRUE(ints.empty());
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(in.bytesUsed(), 8u);
}

// Blocks move in steps: 256-byte steps and a last one of 256 to 511 bytes,
// or one step below 512. A block one byte too big shows the failing step.
TEST(BinaryFormat, BlocksMoveInStepsAndFailAtTheStepThatDoesNotFit)
{
    struct Case {
        std::int32_t size;
        std::int32_t room;
        std::int32_t bytesLeft;
        std::int32_t bytesAsked;
        std::size_t copied;
    };
    const Case cases[] = {
        { 300, 299, 299, 300, 0 },
        { 511, 510, 510, 511, 0 },
        { 512, 511, 255, 256, 256 },
        { 600, 599, 343, 344, 256 },
        { 768, 767, 255, 256, 512 },
        { 1000, 511, 255, 256, 256 },
        { 1000, 999, 487, 488, 512 },
    };
    for (const Case& c : cases) {
        std::vector<char> source(static_cast<std::size_t>(c.size));
        for (std::size_t i = 0; i < source.size(); ++i)
            source[i] = static_cast<char>(i % 251 + 1);

        Room w(static_cast<std::size_t>(c.room));
        try {
            w.format.writeChars(source.data(), c.size);
            ADD_FAILURE() << c.size << " fit into " << c.room;
        } catch (const mem_buffer::buffer_overflow_error& e) {
            EXPECT_EQ(e.bytesLeft, c.bytesLeft) << c.size;
            EXPECT_EQ(e.bytesAsked, c.bytesAsked) << c.size;
        }
        EXPECT_EQ(0, std::memcmp(w.bytes.data(), source.data(), c.copied)) << c.size;
        if (c.copied < w.bytes.size()) {
            EXPECT_EQ(w.bytes[c.copied], '\xAA') << c.size;
        }

        std::vector<char> image(source.begin(), source.begin() + c.room);
        mem_buffer in(image.data(), image.size());
        BinaryFormat f(in);
        std::vector<char> target(static_cast<std::size_t>(c.size), '\0');
        try {
            f.readChars(target.data(), c.size);
            ADD_FAILURE() << c.size << " read from " << c.room;
        } catch (const mem_buffer::buffer_overflow_error& e) {
            EXPECT_EQ(e.bytesLeft, c.bytesLeft) << c.size;
            EXPECT_EQ(e.bytesAsked, c.bytesAsked) << c.size;
        }
        EXPECT_EQ(0, std::memcmp(target.data(), source.data(), c.copied)) << c.size;
    }
}

TEST(BinaryFormat, HeadingOf300UnitsIsCount600ThenStepsOf256And344)
{
    std::wstring heading(300, L'h');
    Room fits(604);
    fits.writer.writeWString(heading);
    EXPECT_EQ(fits.buffer.bytesUsed(), 604u);
    EXPECT_EQ(0, std::memcmp(fits.bytes.data(), "\x58\x02\0\0", 4));

    Room tight(4 + 256 + 100);
    try {
        tight.writer.writeWString(heading);
        FAIL() << "no overflow";
    } catch (const mem_buffer::buffer_overflow_error& e) {
        EXPECT_EQ(e.bytesLeft, 100);
        EXPECT_EQ(e.bytesAsked, 344);
    }
}

} // namespace
