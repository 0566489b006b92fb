#include "platform/Registry.h"

#include "support/TestSupport.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace platform;

// Points the store at a fresh folder for the life of the test.
class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        hadOld = old != nullptr;
        if (old)
            oldValue = old;
        setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    }
    void TearDown() override
    {
        if (hadOld)
            setenv("XDG_CONFIG_HOME", oldValue.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }
    std::string file() const { return dir.path() + "/tavo/registry.ini"; }
    void writeIni(const std::string& text)
    {
        std::filesystem::create_directories(dir.path() + "/tavo");
        std::ofstream(file(), std::ios::binary) << text;
    }
    HKEY open(HKEY root, const std::string& path)
    {
        HKEY key = 0;
        EXPECT_EQ(regOpenKey(root, path, &key), ERROR_SUCCESS) << path;
        return key;
    }
    std::string text(HKEY key, const std::string& name)
    {
        char buffer[256] = {};
        DWORD size = sizeof buffer;
        DWORD type = 0;
        LONG result = regQueryValue(key, name, &type, buffer, &size);
        if (result != ERROR_SUCCESS)
            return "<" + std::to_string(result) + ">";
        EXPECT_EQ(type, REG_SZ);
        EXPECT_EQ(size, std::strlen(buffer) + 1);
        return buffer;
    }

    testsupport::TempDir dir;
    bool hadOld = false;
    std::string oldValue;
};

TEST_F(RegistryStore, FileFollowsTheConfigurationFolder)
{
    EXPECT_EQ(registryFilePath(), file());
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(registryFilePath(), "/home/someone/.config/tavo/registry.ini");
    setenv("HOME", home.c_str(), 1);
}

TEST_F(RegistryStore, MissingKeysAndHandles)
{
    HKEY key = 99;
    EXPECT_EQ(regOpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tavo", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(regOpenKey(12345, "x", &key), ERROR_INVALID_HANDLE);
    DWORD size = 0;
    EXPECT_EQ(regQueryValue(12345, "x", nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(regCloseKey(12345), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryStore, ReadsAHandWrittenFile)
{
    writeIni("; set up by the installer\r\n"
             "[hkey_local_machine\\software\\tavo\\tavo cpr\\2.3]\r\n"
             "Data Folder = sz:/srv/cpr data/\r\n"
             "Patch level=dword:0000002A\r\n"
             "Key=hex:01,ff,7f\r\n"
             "Note=sz:line one\\nline two \\\\ done\r\n"
             "Broken=dword:xyz\r\n"
             "[HKEY_CURRENT_USER\\SOFTWARE\\Tavo\\Tavo CPR\\2.3]\r\n"
             "Data Folder=sz:/home/user/\r\n");

    HKEY parent = open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tavo"); // exists through the key below it
    HKEY key = open(parent, "Tavo CPR\\2.3\\");
    EXPECT_EQ(text(key, "data folder"), "/srv/cpr data/");
    EXPECT_EQ(text(key, "Note"), "line one\nline two \\ done");

    DWORD type = 0;
    unsigned char bytes[8] = {};
    DWORD size = sizeof bytes;
    ASSERT_EQ(regQueryValue(key, "Patch level", &type, bytes, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(bytes[0], 0x2A);
    size = sizeof bytes;
    ASSERT_EQ(regQueryValue(key, "Key", &type, bytes, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(bytes[1], 0xFF);

    // Too small a buffer copies nothing and tells the size needed.
    char small[4] = { 'k', 'e', 'e', 'p' };
    size = sizeof small;
    EXPECT_EQ(regQueryValue(key, "Data Folder", &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 15u);
    EXPECT_EQ(std::string(small, 4), "keep");

    EXPECT_EQ(text(key, "Broken"), "<2>");
    EXPECT_EQ(text(key, "Absent"), "<2>");

    // The per-user key of the same path is a key of its own.
    HKEY user = open(HKEY_CURRENT_USER, "SOFTWARE\\Tavo\\Tavo CPR\\2.3");
    EXPECT_EQ(text(user, "Data Folder"), "/home/user/");
    EXPECT_EQ(text(user, "Note"), "<2>");

    EXPECT_EQ(regCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(text(key, "Note"), "<6>");
    regCloseKey(parent);
    regCloseKey(user);
}

TEST_F(RegistryStore, WritesKeepTheRestOfTheFile)
{
    writeIni("# kept\n"
             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tavo\\Tavo CPR\\2.3]\n"
             "Data Folder=sz:/data/\n"
             "\n"
             "[HKEY_CURRENT_USER\\Other]\n"
             "Patch level=dword:00000007\n");
    HKEY key = open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tavo\\Tavo CPR\\2.3");
    DWORD level = 3;
    ASSERT_EQ(regSetValue(key, "Patch level", REG_DWORD, &level, 4), ERROR_SUCCESS);
    const char name[] = "C:\\odd = name";
    const char value[] = "two\nlines\\";
    ASSERT_EQ(regSetValue(key, name, REG_SZ, value, sizeof value), ERROR_SUCCESS);
    level = 4;
    ASSERT_EQ(regSetValue(key, "PATCH LEVEL", REG_DWORD, &level, 4), ERROR_SUCCESS);

    EXPECT_EQ(testsupport::readFile(file()),
        "# kept\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tavo\\Tavo CPR\\2.3]\n"
        "Data Folder=sz:/data/\n"
        "PATCH LEVEL=dword:00000004\n"
        "C:\\\\odd \\= name=sz:two\\nlines\\\\\n"
        "\n"
        "[HKEY_CURRENT_USER\\Other]\n"
        "Patch level=dword:00000007\n");
    EXPECT_EQ(text(key, name), value);
    EXPECT_EQ(regSetValue(key, "Bad", REG_DWORD, &level, 3), ERROR_INVALID_PARAMETER);
    regCloseKey(key);
}

TEST_F(RegistryStore, FirstWriteMakesTheFolderFileAndSection)
{
    HKEY root = HKEY_CURRENT_USER;
    DWORD lines = 3;
    ASSERT_EQ(regSetValue(root, "WheelScrollLines", REG_DWORD, &lines, 4), ERROR_SUCCESS);
    EXPECT_EQ(testsupport::readFile(file()), "[HKEY_CURRENT_USER]\nWheelScrollLines=dword:00000003\n");
    HKEY key = open(HKEY_CURRENT_USER, "");
    DWORD read = 0;
    DWORD size = 4;
    EXPECT_EQ(regQueryValue(key, "wheelscrolllines", nullptr, &read, &size), ERROR_SUCCESS);
    EXPECT_EQ(read, 3u);
    regCloseKey(key);
}

} // namespace
