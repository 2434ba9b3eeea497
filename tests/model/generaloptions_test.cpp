#include "model/generaloptions.h"

#include "platform/profile.h"
#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

TEST(GeneralOptionsTest, MissingValuesReadAsDefaultsAndSavedValuesReadBack)
{
    Profile().deleteKey("GeneralOptions");
    const GeneralOptions defaults = loadOptions();
    EXPECT_EQ(defaults, GeneralOptions{});
    EXPECT_EQ((std::vector<int>{defaults.numberDownloads, defaults.autosaveOnExit, defaults.autoupdate,
                                defaults.autoupdateTime, defaults.downloadStatus, defaults.hour1, defaults.minute1,
                                defaults.hour2, defaults.minute2, defaults.updateInterval, defaults.autosaveWindows,
                                defaults.showFileOnError}),
              (std::vector<int>{5, 0, 1, 1, 1, 9, 30, 18, 30, 60, 1, 1}));

    // One stored value leaves the others at their defaults.
    Profile().writeInt("GeneralOptions", "UpdateIntervall", 15);
    EXPECT_EQ(loadOptions().updateInterval, 15);
    EXPECT_EQ(loadOptions().hour1, 9);

    GeneralOptions changed;
    changed.numberDownloads = 12;
    changed.autoupdate = 0;
    changed.hour2 = 7;
    changed.minute2 = 5;
    changed.userAgent = "Mozilla/5.0";
    saveOptions(changed);
    EXPECT_EQ(loadOptions(), changed);
    // The list's numbers and the user agent.
    EXPECT_EQ(Profile().valueNames("GeneralOptions").size(), generalOptionList().size() + 1);
    // An agent that would break its header line is none.
    Profile().writeText("GeneralOptions", "UserAgent", "A\tB");
    EXPECT_EQ(loadOptions().userAgent, "");
}

TEST(GeneralOptionsTest, DailyUpdateWindowIncludesBothBounds)
{
    const test::ScopedTimeZone berlin("Europe/Berlin");
    GeneralOptions options; // 09:30 to 18:30
    const auto at = [](int hour, int minute, int second = 0) { return makeLocalTime(2026, 7, 1, hour, minute, second); };
    EXPECT_FALSE(insideUpdateWindow(options, at(9, 29, 59)));
    EXPECT_TRUE(insideUpdateWindow(options, at(9, 30)));
    EXPECT_TRUE(insideUpdateWindow(options, at(18, 30)));
    EXPECT_FALSE(insideUpdateWindow(options, at(18, 30, 1)));
    options.autoupdateTime = 0;
    EXPECT_TRUE(insideUpdateWindow(options, at(3, 0)));
    // A window from 18:30 to 09:00 never holds.
    options.autoupdateTime = 1;
    options.hour1 = 18;
    options.hour2 = 9;
    options.minute2 = 0;
    for (const int hour : {0, 8, 12, 19, 23})
        EXPECT_FALSE(insideUpdateWindow(options, at(hour, 45)));
}

TEST(DocumentTypeTest, FieldsOfTheTypeString)
{
    EXPECT_EQ(documentTypeString(DocumentTypeField::WindowTitle), "Tarvelo");
    EXPECT_EQ(documentTypeString(DocumentTypeField::DocumentName), "");
    EXPECT_EQ(documentTypeString(DocumentTypeField::NewFileName), "Quotes");
    EXPECT_EQ(documentTypeString(DocumentTypeField::Filter), "Tarvelo Files (*.qvx)");
    EXPECT_EQ(documentTypeString(DocumentTypeField::Extension), ".QVX");
    EXPECT_EQ(documentTypeString(DocumentTypeField::TypeId), "Tarvelo.Document");
    EXPECT_EQ(documentTypeString(DocumentTypeField::TypeName), "Tarvelo Document");
}

} // namespace
} // namespace tarvelo
