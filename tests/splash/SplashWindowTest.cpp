#include "splash/SplashLogic.h"
#include "splash/SplashWindow.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <fstream>
#include <gtest/gtest.h>

using namespace splash;

namespace {

// A child that does what each test tells it.
class FakeChild : public Child {
public:
    bool start(const std::string& program, const std::vector<std::string>& arguments) override
    {
        startedProgram = program;
        startedArguments = arguments;
        running = startSucceeds;
        return startSucceeds;
    }
    bool isRunning() override { return running; }
    std::vector<unsigned> takeMessages() override { return std::exchange(messages, {}); }

    bool startSucceeds = true;
    bool running = false;
    std::vector<unsigned> messages;
    std::string startedProgram;
    std::vector<std::string> startedArguments;
};

struct Fixture {
    testsupport::TempDir dir;
    FakeChild child;
    SplashOptions options;
    Fixture()
    {
        options.program = dir.file("main");
        options.arguments = { "demo" };
        options.ownLine = "demo";
        options.executablePath = dir.file("splash");
    }
};

void click(QWidget* window)
{
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), window->mapToGlobal(QPointF(5, 5)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &release);
}

} // namespace

TEST(SplashWindow, BuiltInPictureSizesTheWindowAndALogoFromTheIniIsPlaced)
{
    Fixture f;
    SplashWindow plain(f.options, f.child);
    EXPECT_EQ(plain.size(), QSize(411, 500));
    EXPECT_TRUE(plain.logo()->isHidden());

    QImage logo(120, 60, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(QString::fromStdString(f.dir.file("logo.bmp"))));
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(QString::fromStdString(f.dir.file("picture.bmp"))));
    std::ofstream(f.dir.file("splash.ini")) << "[splash]\npicture=" << f.dir.file("picture.bmp")
                                            << "\nlogo=" << f.dir.file("logo.bmp") << "\n";
    SplashWindow custom(f.options, f.child);
    EXPECT_EQ(custom.size(), QSize(300, 200));
    EXPECT_FALSE(custom.logo()->isHidden());
    EXPECT_EQ(custom.logo()->geometry(), QRect(50, 370, 80, 80));

    QImage shot = plain.grab().toImage();
    EXPECT_FALSE(shot.isNull());
    shot.save(QStringLiteral("splash-picture.png"));
}

TEST(SplashWindow, AMissingOrBrokenPictureFallsBackToTheBuiltInOne)
{
    Fixture f;
    std::ofstream(f.dir.file("broken.bmp")) << "BM this is no bitmap";
    for (const char* name : { "gone.bmp", "broken.bmp" }) {
        std::ofstream(f.dir.file("splash.ini")) << "[splash]\npicture=" << f.dir.file(name) << "\nlogo="
                                                << f.dir.file(name) << "\n";
        SplashWindow window(f.options, f.child);
        EXPECT_EQ(window.size(), QSize(411, 500)) << name;
        EXPECT_TRUE(window.logo()->isHidden()) << name;
    }
}

TEST(SplashWindow, EndsOnTheCloseMessageOnlyWithItsValue)
{
    Fixture f;
    SplashWindow window(f.options, f.child);
    QSignalSpy finished(&window, &QDialog::finished);
    window.show();
    window.tick();
    EXPECT_EQ(f.child.startedProgram, f.dir.file("main"));
    EXPECT_EQ(f.child.startedArguments, std::vector<std::string>{ "demo" });
    f.child.messages = { 0x1234u, 0u };
    window.tick();
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(window.isVisible());
    f.child.messages = { SPLASH_MESSAGE_ID_CLOSE };
    window.tick();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(window.isVisible());
}

TEST(SplashWindow, AClickBeforeTheProgramIsUpOnlyHidesThePicture)
{
    Fixture f;
    SplashWindow window(f.options, f.child);
    QSignalSpy finished(&window, &QDialog::finished);
    window.show();
    window.tick();
    click(&window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(finished.count(), 0);
    // It still ends when the program dies.
    f.child.running = false;
    window.tick();
    EXPECT_EQ(finished.count(), 1);
}

TEST(SplashWindow, EndsOnceTheProgramWaitsForInputAndThenAClickEndsIt)
{
    Fixture f;
    SplashWindow window(f.options, f.child);
    QSignalSpy finished(&window, &QDialog::finished);
    window.show();
    window.tick();
    window.tick();
    EXPECT_FALSE(window.childIsIdle());
    EXPECT_EQ(finished.count(), 0);
    // A program waiting for input may be showing a box: the picture goes.
    f.child.messages = { SPLASH_CHILD_IDLE };
    window.tick();
    EXPECT_TRUE(window.childIsIdle());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(window.isVisible());
}

TEST(SplashWindow, AProgramThatCannotStartIsReportedAndEndsTheSplash)
{
    Fixture f;
    f.child.startSucceeds = false;
    SplashWindow window(f.options, f.child);
    QSignalSpy finished(&window, &QDialog::finished);
    QString shownText, shownCaption;
    window.showError = [&](const QString& text, const QString& caption) {
        shownText = text;
        shownCaption = caption;
    };
    window.show();
    window.tick();
    EXPECT_EQ(shownText, QStringLiteral("Can not open \"main\""));
    EXPECT_EQ(shownCaption, QStringLiteral("failed"));
    EXPECT_EQ(finished.count(), 1);
}
