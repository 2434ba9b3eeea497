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

#include "platform/translation.h"

namespace tarvelo {

TEST(translationFill, FillsEachMarkerOnceInTheTemplatesOrder)
{
    EXPECT_EQ(fill("%2 in %1", {"file.qvx", "Error"}), "Error in file.qvx");
    // A value is never searched for markers again, and a marker without a value stays.
    EXPECT_EQ(fill("%1 and %2, %3", {"50%2", "x"}), "50%2 and x, %3");
    EXPECT_EQ(fill("item %10 of %1%", {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}), "item j of a%");
    // Without a translation loaded the source text comes back as it is.
    EXPECT_EQ(translate("Portfolio", "Unexpected file format."), "Unexpected file format.");
}

} // namespace tarvelo
