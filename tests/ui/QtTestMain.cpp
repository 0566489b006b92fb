// Runs the widget tests on Qt's offscreen platform unless another is asked for.
#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Qt takes the desktop's number format; data must not get decimal commas.
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
