// The splash program itself, started as a user starts it, with a stand-in
// training program beside it.
#include "support/TestSupport.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

struct SplashRun {
    int exitCode = -1;
    std::string trace;
};

// Copies the splash program beside a stand-in "main" (a shell script) and
// runs it, asking for its trace lines unless `traced` is false.
SplashRun runSplash(const testsupport::TempDir& dir, const std::string& mainScript, const std::string& arguments,
                    bool traced = true)
{
    fs::copy_file(SPLASH_PATH, dir.file("splash"), fs::copy_options::overwrite_existing);
    {
        std::ofstream script(dir.file("main"));
        script << "#!/bin/sh\n" << mainScript;
    }
    fs::permissions(dir.file("main"), fs::perms::owner_all);
    const std::string command = "cd '" + dir.path() + "' && " + std::string(traced ? "TAVO_SPLASH_TRACE=1" : "env -u TAVO_SPLASH_TRACE")
        + " QT_QPA_PLATFORM=offscreen timeout 30 ./splash " + arguments
        + " 2> trace.txt";
    SplashRun run;
    run.exitCode = std::system(command.c_str());
    run.trace = testsupport::readFile(dir.file("trace.txt"));
    return run;
}

bool waitForFile(const std::string& path)
{
    for (int i = 0; i < 200 && !fs::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    return fs::exists(path);
}

} // namespace

TEST(SplashProcess, EndsOnTheMessageWhileTheProgramRunsOn)
{
    testsupport::TempDir dir;
    // The stand-in records its arguments, says it is up, and goes on a while.
    const SplashRun run = runSplash(dir,
        "printf '%s|' \"$@\" > arguments.txt\n"
        "printf '\\051\\303\\024\\006' >&\"$TAVO_SPLASH_FD\"\n"
        "sleep 1\n"
        "echo done > done.txt\n",
        "custom:my.ini demo 'lang:/my files/de.mo'");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.trace.find("Splash: \"Start\"\n"), std::string::npos) << run.trace;
    EXPECT_NE(run.trace.find("Splash: \"main custom:my.ini demo \"lang:/my files/de.mo\"\"\n"), std::string::npos)
        << run.trace;
    EXPECT_NE(run.trace.find("Splash: \"" + dir.file("my.ini") + "\"\n"), std::string::npos) << run.trace;
    EXPECT_NE(run.trace.find("Splash: \"SPLASH_MESSAGE_ID_CLOSE, EndDialog\"\n"), std::string::npos) << run.trace;
    EXPECT_EQ(run.trace.find("Child is dead"), std::string::npos) << run.trace;
    EXPECT_NE(run.trace.find("Splash: \"Exit\"\n"), std::string::npos) << run.trace;
    EXPECT_EQ(testsupport::readFile(dir.file("arguments.txt")), "custom:my.ini|demo|lang:/my files/de.mo|");
    // The training program was not waited for, nor ended with the splash.
    EXPECT_FALSE(fs::exists(dir.file("done.txt")));
    EXPECT_TRUE(waitForFile(dir.file("done.txt")));
}

TEST(SplashProcess, WritesNothingToTheTerminalUnlessTracesAreAskedFor)
{
    testsupport::TempDir dir;
    const SplashRun run = runSplash(dir, "printf '\\051\\303\\024\\006' >&\"$TAVO_SPLASH_FD\"\n", "demo", false);
    EXPECT_EQ(run.exitCode, 0);
    // The platform's own warnings may come; no line of ours.
    EXPECT_EQ(run.trace.find("Splash: "), std::string::npos) << run.trace;
}

TEST(SplashProcess, EndsWhenTheProgramDiesFirst)
{
    testsupport::TempDir dir;
    const SplashRun run = runSplash(dir, "printf '\\001\\002\\003\\004' >&\"$TAVO_SPLASH_FD\"\nexit 3\n", "");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.trace.find("Splash: \"main\"\n"), std::string::npos) << run.trace;
    EXPECT_NE(run.trace.find("Splash: \"Child is dead\"\n"), std::string::npos) << run.trace;
    EXPECT_EQ(run.trace.find("SPLASH_MESSAGE_ID_CLOSE"), std::string::npos) << run.trace;
}

TEST(SplashProcess, TheTrainingProgramsStartUpBoxIsNotHiddenUnderThePicture)
{
    testsupport::TempDir dir;
    fs::create_directories(dir.file("home"));
    fs::create_directories(dir.file("odbc"));
    fs::create_directories(dir.file("ports"));
    // The real training program, on a station without a data source: its
    // start-up box waits for an answer that nobody gives here.
    const std::string home = dir.file("home");
    const SplashRun run = runSplash(dir,
        "echo $$ > pid.txt\n"
        "export HOME='" + home + "' XDG_CONFIG_HOME='" + home + "/config' XDG_DATA_HOME='" + home + "/data'\n"
        "export ODBCSYSINI='" + dir.file("odbc") + "' ODBCINI='" + dir.file("odbc") + "/odbc.ini' TAVO_PORTS_DIR='"
            + dir.file("ports") + "'\n"
        "cd \"$HOME\"\n"
        "exec timeout 60 '" MAIN_PATH "' \"$@\"\n",
        "");
    ASSERT_TRUE(waitForFile(dir.file("pid.txt")));
    const pid_t program = std::stoi(testsupport::readFile(dir.file("pid.txt")));
    const bool stillRunning = ::kill(program, 0) == 0;
    ::kill(program, SIGTERM);
    EXPECT_EQ(run.exitCode, 0) << "the picture stayed over the box until the splash was stopped\n" << run.trace;
    EXPECT_NE(run.trace.find("Splash: \"Child is idle\"\n"), std::string::npos) << run.trace;
    EXPECT_EQ(run.trace.find("Child is dead"), std::string::npos) << run.trace;
    EXPECT_TRUE(stillRunning) << "the training program ended instead of waiting with its box";
}
