// Entry point of the widget tests: the surroundings every test program has, and the
// application that widgets need, on the offscreen platform so no display is needed.
#include "tests/support/hermeticenvironment.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    const tarvelo::test::HermeticEnvironment environment;
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication app(argc, argv);
    return environment.finish(RUN_ALL_TESTS());
}
