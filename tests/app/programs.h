#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace tarvelo::test {

// Starts one of the programs as from a terminal without a display.
inline void startWithoutDisplay(QProcess& process, const QString& program, const QStringList& args)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(program, args);
}

// The exit status; -1 when the program does not end within a minute (it is killed
// then), -2 when it crashed.
inline int finish(QProcess& process)
{
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
}

} // namespace tarvelo::test
