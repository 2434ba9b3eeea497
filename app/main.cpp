#include "app/commandline.h"
#include "platform/localtime.h"
#include "resources/strings.h"
#include "ui/application.h"
#include "ui/translations.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    tarvelo::useUserLocale();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("usage: tarvelo [PORTFOLIO] [-u]\n"
                        "  PORTFOLIO  the portfolio file (.qvx) to open\n"
                        "  -u, /u     unattended update: update every item, save the portfolio and exit,\n"
                        "             without showing the window (also where there is no display)\n");
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s\n", tarvelo::strings::kAboutVersion);
            return 0;
        }
    }
    // Unattended updates also run where there is no display (from cron, over ssh).
    const bool unattended = tarvelo::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc)).unattended;
    if (unattended && !std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY")
        && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvelo"));
    QApplication::setOrganizationName(QStringLiteral("Ombrix"));
    QApplication::setDesktopFileName(QStringLiteral("tarvelo"));
    tarvelo::installTranslations(app);
    // Qt has taken its own options out of argv; file names stay the bytes they were.
    const tarvelo::CommandLine line = tarvelo::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    return tarvelo::runTarvelo(line.unattended, line.portfolio);
}
