#include "platform/result.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

namespace tarvelo {
namespace {

static_assert(!std::is_default_constructible_v<Result<int>>);
static_assert(!std::is_default_constructible_v<Result<void>>);

// A failure holds its message and no value: reading one anyway stops the program
// instead of handing out a value that was never there.
TEST(Result, AFailureHasAMessageAndNoValue)
{
    const Result<std::unique_ptr<int>> made = std::make_unique<int>(7);
    ASSERT_TRUE(made.ok());
    EXPECT_EQ(**made, 7);
    EXPECT_EQ(made.message(), "");

    const Result<int> failed = Failure{"The file cannot be read."};
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(failed.message(), "The file cannot be read.");
    EXPECT_EQ(Result<void>(failed.failure()).message(), "The file cannot be read.");
    EXPECT_TRUE(Result<void>(Success{}).ok());
    EXPECT_DEATH((void)*failed, "The file cannot be read");
}

} // namespace
} // namespace tarvelo
