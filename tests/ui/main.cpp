// Entry point of the widget tests: private folders as every test program has, and the
// application that widgets need, on the offscreen platform so no display is needed.
#include "tests/support/privatefolders.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    const tarvelo::test::PrivateFolders folders;
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
