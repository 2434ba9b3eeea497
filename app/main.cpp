#include "platform/localtime.h"
#include "ui/application.h"

#include <QApplication>

#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    tarvelo::UseUserLocale();
    // Unattended updates also run where there is no display (from cron, over ssh).
    if (tarvelo::WantsUnattendedMode(argc, argv) && !std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY")
        && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvelo"));
    QApplication::setOrganizationName(QStringLiteral("Ombrix"));
    QApplication::setDesktopFileName(QStringLiteral("tarvelo"));
    std::vector<std::string> args;
    for (const QString& arg : QApplication::arguments().mid(1))
        args.push_back(arg.toLocal8Bit().toStdString());
    return tarvelo::RunTarvelo(args);
}
