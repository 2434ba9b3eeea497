// The desktop's opener as the program ends: in a program of its own, as the test owns
// the application and ends it.
#include "ui/shell.h"

#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace tarvelo {
namespace {

// A browser that stays open keeps the opener running (xdg-open waits for it); when the
// program ends first, that is no failure to report, and nothing may be shown any more.
TEST(OpenerAtQuitTest, AnOpenerStillRunningWhenTheProgramEndsIsNotReported)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString started = folder.filePath(QStringLiteral("started"));
    const QString path = folder.filePath(QStringLiteral("slow-opener"));
    QFile script(path);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\n: > '%1'\nexec sleep 60\n").arg(started).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    test::ScriptedPrompter prompter;
    Prompter::install(&prompter);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    {
        int argc = 1;
        char name[] = "openeratquit_test";
        char* argv[] = {name, nullptr};
        QApplication app(argc, argv);
        DesktopShell shell({path});
        EXPECT_TRUE(shell.open("https://quotes.example/"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(started); }));
    }
    Prompter::install(nullptr);
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.shown.join(QLatin1Char('|')).toStdString();
}

} // namespace
} // namespace tarvelo
