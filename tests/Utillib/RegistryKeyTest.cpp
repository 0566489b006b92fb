#include "Utillib/RegistryKey.h"

#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace platform;

const char* const installKey = "SOFTWARE\\Tavo\\Tavo CPR\\2.3";

class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            oldValue = old;
        setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
        std::filesystem::create_directories(dir.path() + "/tavo");
        std::ofstream(dir.path() + "/tavo/registry.ini")
            << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tavo\\Tavo CPR\\2.3]\n"
            << "Data Folder=sz:/srv/cpr/\n"
            << "Fits=sz:" << std::string(199, 'f') << "\n"
            << "Too long=sz:" << std::string(200, 'l') << "\n"
            << "Patch level=dword:00000002\n";
    }
    void TearDown() override
    {
        if (oldValue.empty())
            unsetenv("XDG_CONFIG_HOME");
        else
            setenv("XDG_CONFIG_HOME", oldValue.c_str(), 1);
    }

    testsupport::TempDir dir;
    std::string oldValue;
};

TEST_F(RegistryKeyTest, ReadsTheInstallationValues)
{
    RegistryKey key(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(key.key, HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(key.open(HKEY_LOCAL_MACHINE, installKey));
    EXPECT_EQ(key.keyName, installKey);
    EXPECT_EQ(key.lastError, 0);
    EXPECT_EQ(key.lastType, 0u);
    EXPECT_EQ(key.lastSize, 0u);

    std::string folder;
    ASSERT_TRUE(key.readString("Data Folder", folder));
    EXPECT_EQ(folder, "/srv/cpr/");
    EXPECT_EQ(key.lastType, REG_SZ);
    EXPECT_EQ(key.lastSize, 10u);

    DWORD level = 0;
    ASSERT_TRUE(key.readDword("Patch level", level));
    EXPECT_EQ(level, 2u);
    EXPECT_EQ(key.lastType, REG_DWORD);
    EXPECT_EQ(key.lastSize, 4u);

    ASSERT_TRUE(key.writeDword("Patch level", 7));
    EXPECT_EQ(key.lastType, REG_DWORD);
    EXPECT_EQ(key.lastSize, 4u);
    RegistryKey again(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(again.open(HKEY_LOCAL_MACHINE, installKey));
    ASSERT_TRUE(again.readDword("Patch level", level));
    EXPECT_EQ(level, 7u);
}

TEST_F(RegistryKeyTest, FailuresLeaveTheOutputAndTellWhy)
{
    RegistryKey key(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(key.open(HKEY_LOCAL_MACHINE, installKey));

    std::string text = "unchanged";
    EXPECT_FALSE(key.readString("Missing", text));
    EXPECT_EQ(key.lastError, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(text, "unchanged");

    // 199 bytes and the closing NUL fill the 200-byte buffer; one more does not fit.
    ASSERT_TRUE(key.readString("Fits", text));
    EXPECT_EQ(text, std::string(199, 'f'));
    EXPECT_FALSE(key.readString("Too long", text));
    EXPECT_EQ(key.lastError, ERROR_MORE_DATA);
    EXPECT_EQ(key.lastSize, 201u);
    EXPECT_EQ(text, std::string(199, 'f'));

    DWORD value = 5;
    EXPECT_FALSE(key.readDword("Data Folder", value));
    EXPECT_EQ(key.lastError, ERROR_MORE_DATA);
    EXPECT_EQ(value, 5u);

    key.close();
    EXPECT_EQ(key.key, 0u);
    EXPECT_FALSE(key.readDword("Patch level", value));
    EXPECT_EQ(key.lastError, ERROR_INVALID_HANDLE);

    RegistryKey missing(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(missing.open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Other"));
    EXPECT_EQ(missing.lastError, ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(missing.readString("Data Folder", text));
    EXPECT_EQ(missing.lastError, ERROR_INVALID_HANDLE);
}

} // namespace
