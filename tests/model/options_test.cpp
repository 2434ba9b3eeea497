#include "model/options.h"

#include "platform/profile.h"

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

TEST(GeneralOptionsTest, MissingValuesReadAsDefaultsAndSavedValuesReadBack)
{
    Profile().deleteKey("GeneralOptions");
    const GeneralOptions defaults = LoadOptions();
    EXPECT_EQ(defaults, GeneralOptions{});
    EXPECT_EQ((std::vector<int>{defaults.numberDownloads, defaults.autosaveOnExit, defaults.autoupdate,
                                defaults.autoupdateTime, defaults.downloadStatus, defaults.hour1, defaults.minute1,
                                defaults.hour2, defaults.minute2, defaults.updateIntervall, defaults.autosaveWindows,
                                defaults.showFileOnError}),
              (std::vector<int>{5, 0, 1, 1, 1, 9, 30, 18, 30, 60, 1, 1}));

    // One stored value leaves the others at their defaults.
    Profile().writeInt("GeneralOptions", "UpdateIntervall", 15);
    EXPECT_EQ(LoadOptions().updateIntervall, 15);
    EXPECT_EQ(LoadOptions().hour1, 9);

    GeneralOptions changed;
    changed.numberDownloads = 12;
    changed.autoupdate = 0;
    changed.hour2 = 7;
    changed.minute2 = 5;
    SaveOptions(changed);
    EXPECT_EQ(LoadOptions(), changed);
    EXPECT_EQ(Profile().valueNames("GeneralOptions").size(), 12u);
}

TEST(CommandLineTest, UnattendedSwitchAndFirstPlainParameter)
{
    const struct {
        std::vector<std::string> args;
        bool unattended;
        const char* portfolio;
    } cases[] = {
        {{}, false, ""},
        {{"a.qvx"}, false, "a.qvx"},
        {{"/u", "a.qvx"}, true, "a.qvx"},
        {{"a.qvx", "-u"}, true, "a.qvx"},
        {{"/U", "a.qvx"}, false, "a.qvx"}, // the letter is compared exactly
        {{"a.qvx", "b.qvx"}, false, "a.qvx"},
        {{"/p", "a.qvx"}, false, "a.qvx"},
        {{"-u"}, true, ""},
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.unattended, c.unattended) << c.args.size();
        EXPECT_EQ(line.portfolio, c.portfolio);
    }
}

TEST(DocumentTypeTest, FieldsOfTheTypeString)
{
    EXPECT_EQ(DocumentTypeString(DocumentTypeField::WindowTitle), "Tarvelo");
    EXPECT_EQ(DocumentTypeString(DocumentTypeField::DocumentName), "");
    EXPECT_EQ(DocumentTypeString(DocumentTypeField::NewFileName), "Quotes");
    EXPECT_EQ(DocumentTypeString(DocumentTypeField::Filter), "Tarvelo Files (*.qvx)");
    EXPECT_EQ(DocumentTypeString(DocumentTypeField::Extension), ".QVX");
    EXPECT_EQ(DocumentTypeString(DocumentTypeField::TypeId), "Tarvelo.Document");
    EXPECT_EQ(DocumentTypeString(DocumentTypeField::TypeName), "Tarvelo Document");
}

} // namespace
} // namespace tarvelo
