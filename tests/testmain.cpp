// Test entry point: gives each test program surroundings of its own (see
// HermeticEnvironment), so tests never touch the user's files, run the same on every
// machine and can run in parallel.
#include "tests/support/hermeticenvironment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const tarvelo::test::HermeticEnvironment environment;
    ::testing::InitGoogleTest(&argc, argv);
    return environment.finish(RUN_ALL_TESTS());
}
