// The animation control: its resources, playing, and its place in templates.
#include "platform/DialogTemplate.h"
#include "platform/Resources.h"
#include "platform/WindowStyles.h"
#include "platformqt/AnimateControl.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(AnimateControl, ResourcesRoundTripAndDamagedOnesAreRefused)
{
    const auto bytes = encodeAnimation({ 12, 80 });
    EXPECT_EQ(bytes, (std::vector<unsigned char> { 12, 0, 80, 0 }));
    const AnimationDescription back = decodeAnimation(bytes.data(), bytes.size());
    EXPECT_EQ(back.frames, 12);
    EXPECT_EQ(back.frameMs, 80);
    const std::vector<std::vector<unsigned char>> damaged = {
        {}, { 12, 0, 80 }, { 12, 0, 80, 0, 0 }, { 1, 0, 80, 0 }, { 65, 0, 80, 0 }, { 12, 0, 9, 0 },
    };
    for (const auto& d : damaged)
        EXPECT_EQ(decodeAnimation(d.data(), d.size()).frames, 0) << d.size();
    EXPECT_EQ(decodeAnimation(nullptr, 4).frames, 0);
}

TEST(AnimateControl, PlaysOnlyWhatItOpened)
{
    res::registerResources();
    AnimateControl control;
    EXPECT_FALSE(control.open(4711));
    EXPECT_FALSE(control.play());
    EXPECT_FALSE(control.isPlaying());

    ASSERT_TRUE(control.open(IDR_SEARCH_ANIMATION));
    EXPECT_EQ(control.frameCount(), 12);
    EXPECT_TRUE(control.play());
    EXPECT_TRUE(control.isPlaying());
    // It goes round as time passes.
    for (int i = 0; i < 100 && control.currentFrame() == 0; ++i)
        QTest::qWait(20);
    EXPECT_GT(control.currentFrame(), 0);
    control.stop();
    EXPECT_FALSE(control.isPlaying());
    EXPECT_EQ(control.currentFrame(), 0);
    control.close();
    EXPECT_FALSE(control.isOpen());
}

TEST(AnimateControl, PaintsARingOnlyWhenOpen)
{
    res::registerResources();
    AnimateControl control;
    control.resize(32, 32);
    auto painted = [&control] {
        const QImage image = control.grab().toImage();
        const QColor background = image.pixelColor(0, 0);
        int differing = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                differing += image.pixelColor(x, y) != background;
        return differing;
    };
    EXPECT_EQ(painted(), 0);
    ASSERT_TRUE(control.open(IDR_SEARCH_ANIMATION));
    EXPECT_GT(painted(), 50);
}

TEST(AnimateControl, TemplatesMakeItFromItsClassName)
{
    registerDialog(DialogTable { 9200, "", DS_SETFONT | WS_POPUP, 0, 0, 60, 40, "DejaVu Sans", 8,
                                 { { 1070, "SysAnimate32", "", WS_VISIBLE, 5, 5, 20, 20 } } });
    Dialog dialog;
    ASSERT_TRUE(dialog.create(9200)) << dialog.buildError();
    auto* control = dlgItem<AnimateControl>(&dialog, 1070);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(windowClassName(control), "SysAnimate32");
    EXPECT_FALSE(control->isOpen());
}

} // namespace
