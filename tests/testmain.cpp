// Test entry point: gives each test program its own settings and temporary folders,
// so tests never touch the user's files and can run in parallel.
#include "tests/support/privatefolders.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const tarvelo::test::PrivateFolders folders;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
