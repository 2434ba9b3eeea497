#include "app/commandline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvelo {
namespace {

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
        {{"/u", "/home/me/Depot.qvx"}, true, "/home/me/Depot.qvx"},
        {{"/dde", "/tmp/a.qvx", "-u"}, true, "/tmp/a.qvx"},
    };
    for (const auto& c : cases) {
        const CommandLine line = parseCommandLine(c.args);
        EXPECT_EQ(line.unattended, c.unattended) << c.args.size();
        EXPECT_EQ(line.portfolio, c.portfolio);
    }
}
} // namespace
} // namespace tarvelo
