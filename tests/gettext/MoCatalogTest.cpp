#include "MoBuilder.h"
#include "MoFuzzInput.h"
#include "gettext/MoCatalog.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using motest::Entry;
using motest::MoBuilder;
using testsupport::LogCapture;

std::string catalogue(const std::string& variant, const std::string& name)
{
    return std::string(CATALOGUE_DIR) + "/" + variant + "/" + name + ".mo";
}

const char* const variants[] = { "little", "big", "nohash" };

TEST(MoCatalog, FindsTheSameTranslationsInEveryVariant)
{
    struct Case {
        std::string source;
        std::string translation;
    } cases[] = {
        { "Open", "\xD6" "ffnen" },
        { "Close", "Schlie\xDF" "en" },
        { "Price in euro", "Preis in \x80" },
        { "Say \"hi\"\tthen\\go\n", "Sag \"hallo\"\tdann\\geh\n" },
        { "%d session", "%d Sitzung" }, // of a plural entry only the singular is seen
        { "Open ", "" },                // a trailing blank is another text
        { "open", "" },
        { "Not in the catalogue", "" },
    };
    for (const char* variant : variants) {
        MoCatalog mo;
        ASSERT_TRUE(mo.load(catalogue(variant, "de"))) << variant;
        for (const auto& c : cases)
            EXPECT_EQ(mo.find(c.source), c.translation) << variant << ": " << c.source;
        EXPECT_EQ(mo.find("").rfind("Project-Id-Version: tavo-cpr\n", 0), 0u) << variant;
    }
}

TEST(MoCatalog, FindsEveryTextOfALargeCatalogue)
{
    // 600 texts: the hash search has to step over collisions.
    for (const char* variant : variants) {
        MoCatalog mo;
        ASSERT_TRUE(mo.load(catalogue(variant, "many"))) << variant;
        for (int i = 1; i <= 600; ++i) {
            std::string number = std::to_string(i);
            ASSERT_EQ(mo.find("Text " + number), "\xDC" "bersetzung " + number) << variant;
        }
        EXPECT_EQ(mo.find("Text 0"), "");
        EXPECT_EQ(mo.find("Text 601"), "");
    }
}

TEST(MoCatalog, KeepsTheBytesOfACodePage932Catalogue)
{
    MoCatalog mo;
    ASSERT_TRUE(mo.load(catalogue("big", "ja")));
    EXPECT_EQ(mo.find("Open"), "\x8A\x4A\x82\xAD");
    EXPECT_EQ(mo.find("Table"), "\x95\x5C"); // its second byte is a backslash
}

TEST(MoCatalog, AppendsTheSuffixUnlessThePathEndsWithIt)
{
    EXPECT_EQ(MoCatalog::fileName("de"), "de.mo");
    EXPECT_EQ(MoCatalog::fileName("lang/de.MO"), "lang/de.MO");
    EXPECT_EQ(MoCatalog::fileName("x.Mo"), "x.Mo");
    EXPECT_EQ(MoCatalog::fileName("a.m"), "a.m.mo");
    EXPECT_EQ(MoCatalog::fileName(".mo"), ".mo.mo");

    MoCatalog mo;
    EXPECT_TRUE(mo.load(std::string(CATALOGUE_DIR) + "/little/de"));
    EXPECT_EQ(mo.find("Cancel"), "Abbrechen");
}

TEST(MoCatalog, MissingFileIsRefusedWithoutALogLine)
{
    LogCapture log;
    testsupport::TempDir dir;
    MoCatalog mo;
    EXPECT_FALSE(mo.load(dir.file("xx")));
    EXPECT_FALSE(mo.isLoaded());
    EXPECT_EQ(mo.find("Open"), "");
    EXPECT_EQ(log.text().find("xx.mo"), std::string::npos);

    std::filesystem::create_directory(dir.file("folder.mo"));
    EXPECT_FALSE(mo.load(dir.file("folder.mo")));
}

TEST(MoCatalog, SmallHashTablesAreSearchedBinary)
{
    std::vector<Entry> entries = { { "Apple", "Apfel" }, { "Pear", "Birne" }, { "Plum", "Pflaume" } };
    for (std::uint32_t slots : { 0u, 1u, 2u }) {
        for (bool big : { false, true }) {
            MoBuilder builder(entries, slots, big);
            if (slots > 0)
                builder.put(24, 0xFFFFFFF0); // unused, so never read
            MoCatalog mo;
            ASSERT_TRUE(mo.loadImage(builder.image(), "small")) << slots;
            EXPECT_EQ(mo.find("Apple"), "Apfel");
            EXPECT_EQ(mo.find("Plum"), "Pflaume");
            EXPECT_EQ(mo.find("Pea"), "");
            EXPECT_EQ(mo.find("Zucchini"), "");
        }
    }
}

TEST(MoCatalog, RefusesDamagedCataloguesWithALogLine)
{
    std::vector<Entry> entries = { { "Close", "Schliessen" }, { "Open", "Oeffnen" } };
    MoBuilder sound(entries, 5);
    sound.setSlot(0, 1);
    sound.setSlot(3, 2);
    ASSERT_TRUE(MoCatalog().loadImage(sound.image(), "sound"));

    struct Case {
        const char* name;
        void (*damage)(MoBuilder&);
    } cases[] = {
        { "header only", [](MoBuilder& b) { b.bytes.resize(28); } },
        { "not a catalogue", [](MoBuilder& b) { b.put(0, 0x12345678); } },
        { "source table past the end", [](MoBuilder& b) { b.put(12, static_cast<std::uint32_t>(b.bytes.size())); } },
        { "translation table past the end", [](MoBuilder& b) { b.put(16, 0xFFFFFFF8); } },
        { "count that wraps 32 bits", [](MoBuilder& b) { b.put(8, 0x20000000); } },
        { "string offset past the end", [](MoBuilder& b) { b.put(b.sourceTable() + 4, 0xFFFFFFFF); } },
        { "string without a NUL before the end", [](MoBuilder& b) { b.bytes.back() = 'x'; } },
        { "hash table past the end", [](MoBuilder& b) { b.put(20, 0x40000000); } },
        { "hash entry naming no string", [](MoBuilder& b) { b.setSlot(2, 3); } },
        { "hash table without an empty slot", [](MoBuilder& b) {
             for (std::uint32_t slot = 0; slot < 5; ++slot)
                 b.setSlot(slot, 1 + slot % 2);
         } },
    };
    for (const auto& c : cases) {
        LogCapture log;
        MoBuilder damaged = sound;
        c.damage(damaged);
        MoCatalog mo;
        EXPECT_FALSE(mo.loadImage(damaged.image(), "hostile.mo")) << c.name;
        EXPECT_FALSE(mo.isLoaded()) << c.name;
        EXPECT_EQ(mo.find("Open"), "") << c.name;
        EXPECT_NE(log.text().find("Message catalogue 'hostile.mo' is damaged and not used: "), std::string::npos)
            << c.name << "\n"
            << log.text();
    }
}

// Puts entry `index` (0-based) where the hash search looks for its text.
void placeInHashTable(MoBuilder& builder, std::vector<std::uint32_t>& slots, const std::string& text,
                      std::uint32_t index)
{
    std::uint32_t h = 0;
    for (unsigned char c : text) {
        h = (h << 4) + c;
        if (std::uint32_t g = h & 0xF0000000u)
            h = h ^ (g >> 24) ^ g;
    }
    const auto size = static_cast<std::uint32_t>(slots.size());
    std::uint32_t slot = h % size;
    while (slots[slot] != 0)
        slot = (slot + 1 + h % (size - 2)) % size;
    slots[slot] = index + 1;
    builder.setSlot(slot, index + 1);
}

// A string runs to its NUL whatever length is stored beside it.
TEST(MoCatalog, ReadsACatalogueWhoseLengthsDisagreeWithItsStrings)
{
    std::vector<Entry> entries = { { "Close", "Schliessen" }, { "Open", "Oeffnen" } };
    for (std::uint32_t hashSlots : { 0u, 7u }) {
        MoBuilder builder(entries, hashSlots);
        std::vector<std::uint32_t> slots(hashSlots, 0);
        for (std::uint32_t i = 0; hashSlots && i < entries.size(); ++i)
            placeInHashTable(builder, slots, entries[i].source, i);
        builder.put(builder.sourceTable(), 2);                  // "Close" said to be 2 bytes
        builder.put(builder.translationTable() + 8, 0x7FFFFFFF); // "Oeffnen" said to reach past the end
        builder.put(builder.translationTable(), 0);              // "Schliessen" said to be empty
        LogCapture log;
        MoCatalog mo;
        ASSERT_TRUE(mo.loadImage(builder.image(), "lengths.mo")) << hashSlots << log.text();
        EXPECT_EQ(mo.find("Close"), "Schliessen") << hashSlots;
        EXPECT_EQ(mo.find("Open"), "Oeffnen") << hashSlots;
        EXPECT_EQ(mo.find("Cl"), "") << hashSlots;
        EXPECT_EQ(log.text().find("Message catalogue"), std::string::npos) << log.text();
    }
}

TEST(MoCatalog, RefusesEveryTruncationOfARealCatalogue)
{
    std::string bytes = testsupport::readFile(catalogue("little", "de"));
    ASSERT_GT(bytes.size(), 100u);
    LogCapture log;
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        MoCatalog mo;
        EXPECT_FALSE(mo.loadImage(std::vector<char>(bytes.begin(), bytes.begin() + length), "cut")) << length;
    }
    MoCatalog whole;
    EXPECT_TRUE(whole.loadImage(std::vector<char>(bytes.begin(), bytes.end()), "whole"));
}

TEST(MoCatalog, HashSearchThatCyclesEnds)
{
    // Four slots: a text whose hash is odd starts at slot 1 or 3 and steps by
    // 2, so it only ever meets the two filled slots and never an empty one.
    MoBuilder builder({ { "Close", "Schliessen" }, { "Open", "Oeffnen" } }, 4);
    builder.setSlot(1, 1);
    builder.setSlot(3, 2);
    MoCatalog mo;
    ASSERT_TRUE(mo.loadImage(builder.image(), "cycle"));
    EXPECT_EQ(mo.find("a"), "");   // hash 0x61: slot 1, step 2
    EXPECT_EQ(mo.find("abc"), ""); // hash 0x6783: slot 3, step 2
}

TEST(MoCatalog, DumpsEntriesAsPoText)
{
    MoBuilder builder({ { "A \"q\"\\", "B\tC\nD" }, { "Plain", "" } }, 0);
    MoCatalog mo;
    ASSERT_TRUE(mo.loadImage(builder.image(), "dump"));
    EXPECT_EQ(mo.toPoText(),
        "msgid\t\"A \\\"q\\\"\\\\\"\r\nmsgstr\t\"B\\tC\\nD\"\r\n\r\n"
        "msgid\t\"Plain\"\r\nmsgstr\t\"\"\r\n\r\n");
    EXPECT_EQ(mo.find("Plain"), ""); // an empty translation reads as missing

    // With a hash table the dump follows the slots.
    MoBuilder hashed({ { "One", "Eins" }, { "Two", "Zwei" } }, 3);
    hashed.setSlot(0, 2);
    hashed.setSlot(2, 1);
    ASSERT_TRUE(mo.loadImage(hashed.image(), "hashed"));
    EXPECT_EQ(mo.toPoText(), "msgid\t\"Two\"\r\nmsgstr\t\"Zwei\"\r\n\r\nmsgid\t\"One\"\r\nmsgstr\t\"Eins\"\r\n\r\n");
}

TEST(MoCatalog, ReplaysTheFuzzCorpus)
{
    LogCapture log;
    int files = 0;
    for (const auto& item : std::filesystem::directory_iterator(CORPUS_DIR)) {
        std::string name = item.path().filename().string();
        if (!item.is_regular_file() || name.ends_with(".py"))
            continue;
        std::string bytes = testsupport::readFile(item.path().string());
        bool accepted = exerciseCatalogueImage(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        if (name.starts_with("good-")) {
            EXPECT_TRUE(accepted) << name;
        } else if (name.starts_with("bad-")) {
            EXPECT_FALSE(accepted) << name;
        }
        ++files;
    }
    EXPECT_GE(files, 10);

    // The seeds hold the same texts in every sound form.
    for (const char* seed : { "good-little-endian.mo", "good-big-endian.mo", "good-no-hash.mo" }) {
        MoCatalog mo;
        ASSERT_TRUE(mo.load(std::string(CORPUS_DIR) + "/" + seed));
        EXPECT_EQ(mo.find("Open"), "\xD6" "ffnen") << seed;
        EXPECT_EQ(mo.find("Cancel"), "Abbrechen") << seed;
    }
}

} // namespace
