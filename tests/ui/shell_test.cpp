#include "ui/shell.h"

#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace tarvelo {
namespace {

class DesktopShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        Prompter::install(&m_prompter);
    }
    void TearDown() override
    {
        Shell::install(nullptr);
        Prompter::install(nullptr);
    }

    // An opener that notes its argument and ends with the status given.
    QString opener(const char* name, int status)
    {
        const QString path = m_folder.filePath(QLatin1String(name));
        QFile script(path);
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\nexit %2\n")
                         .arg(m_folder.filePath(QStringLiteral("opened.txt")))
                         .arg(status)
                         .toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    QString openedArguments() const
    {
        QFile file(m_folder.filePath(QStringLiteral("opened.txt")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    // Until every opener started has ended and been reported.
    static bool openersEnded()
    {
        return QTest::qWaitFor([] { return qApp->findChildren<QProcess*>().isEmpty(); });
    }

    QTemporaryDir m_folder;
    test::ScriptedPrompter m_prompter;
};

TEST_F(DesktopShellTest, WhatNoProgramOpenedIsNamedAndCanBeCopied)
{
    const QString address = QString::fromUtf8("http://quotes.example/q?n=M\xC3\xA4rz");
    const QString prefix = address + QStringLiteral("\nNo program could open this. Please open it by hand.\n");

    // No opener at all (no xdg-open installed): told at once.
    DesktopShell missing({m_folder.filePath(QStringLiteral("no-such-opener"))});
    m_prompter.choices.push_back(0); // Copy address
    EXPECT_FALSE(missing.open(address.toStdString()));
    ASSERT_EQ(m_prompter.shown.size(), 1);
    EXPECT_TRUE(m_prompter.shown[0].startsWith(prefix)) << m_prompter.shown[0].toStdString();
    EXPECT_TRUE(m_prompter.shown[0].contains(QStringLiteral("no-such-opener could not be started")));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), address);

    // The opener starts but finds no program for it (no browser): told when it ends.
    DesktopShell failing({opener("failing-opener", 4)});
    m_prompter.choices.push_back(1); // OK
    EXPECT_TRUE(failing.open(address.toStdString()));
    EXPECT_TRUE(failing.openFile("/tmp/Kurs \xC3\xA4.TXT"));
    ASSERT_TRUE(openersEnded());
    ASSERT_EQ(m_prompter.shown.size(), 3);
    QStringList told = {m_prompter.shown[1], m_prompter.shown[2]};
    told.sort(); // the two openers may end in either order
    EXPECT_TRUE(told[0].startsWith(QString::fromUtf8("/tmp/Kurs \xC3\xA4.TXT\n")));
    EXPECT_TRUE(told[1].startsWith(prefix)) << told[1].toStdString();
    for (const QString& message : told)
        EXPECT_TRUE(message.contains(QStringLiteral("failing-opener ended with exit status 4"))) << message.toStdString();
    QStringList arguments = openedArguments().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    arguments.sort();
    EXPECT_EQ(arguments, (QStringList{QString::fromUtf8("/tmp/Kurs \xC3\xA4.TXT"),
                                      QStringLiteral("http://quotes.example/q?n=M%C3%A4rz")}));

    // xdg-open's documented statuses are said in words: no browser is installed.
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("bin")));
    const QString xdgOpen = m_folder.filePath(QStringLiteral("bin/xdg-open"));
    ASSERT_TRUE(QFile::rename(opener("xdg-open", 3), xdgOpen));
    DesktopShell noBrowser({xdgOpen});
    m_prompter.choices.push_back(1); // OK
    EXPECT_TRUE(noBrowser.open(address.toStdString()));
    ASSERT_TRUE(openersEnded());
    ASSERT_EQ(m_prompter.shown.size(), 4);
    EXPECT_TRUE(m_prompter.shown[3].endsWith(
        QStringLiteral("xdg-open ended with exit status 3. No program for this kind of address or file is installed.")))
        << m_prompter.shown[3].toStdString();

    // What opens is not reported.
    DesktopShell working({opener("working-opener", 0)});
    EXPECT_TRUE(working.open("mailto:someone@bank.example"));
    ASSERT_TRUE(openersEnded());
    EXPECT_EQ(m_prompter.shown.size(), 4);
    EXPECT_TRUE(openedArguments().endsWith(QStringLiteral("mailto:someone@bank.example\n")));
}

} // namespace
} // namespace tarvelo
