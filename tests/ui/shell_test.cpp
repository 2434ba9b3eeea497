#include "ui/shell.h"

#include "ui/aboutdialog.h"

#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QUrl>

namespace tarvelo {
namespace {

class DesktopShellTest : public ::testing::Test {
protected:
    void SetUp() override { Prompter::install(&m_prompter); }
    void TearDown() override
    {
        Shell::install(nullptr);
        Prompter::install(nullptr);
    }

    test::ScriptedPrompter m_prompter;
    std::vector<QUrl> m_asked;
    // A desktop without a browser or xdg-open: nothing opens.
    DesktopShell m_failing{[this](const QUrl& url) {
        m_asked.push_back(url);
        return false;
    }};
};

TEST_F(DesktopShellTest, WhatNothingCouldOpenIsNamedForTheUser)
{
    EXPECT_FALSE(m_failing.open("http://quotes.example/q?n=M\xC3\xA4rz"));
    EXPECT_FALSE(m_failing.openFile("/tmp/Kurs \xC3\xA4.TXT"));
    ASSERT_EQ(m_asked.size(), 2u);
    EXPECT_EQ(m_asked[0], QUrl(QString::fromUtf8("http://quotes.example/q?n=M\xC3\xA4rz")));
    EXPECT_EQ(m_asked[1], QUrl::fromLocalFile(QString::fromUtf8("/tmp/Kurs \xC3\xA4.TXT")));
    ASSERT_EQ(m_prompter.shown.size(), 2);
    EXPECT_EQ(m_prompter.shown[0], QString::fromUtf8("http://quotes.example/q?n=M\xC3\xA4rz\n"
                                                     "No program could open this. Please open it by hand."));
    EXPECT_TRUE(m_prompter.shown[1].startsWith(QString::fromUtf8("/tmp/Kurs \xC3\xA4.TXT\n")));

    // Every caller goes through it: the about box's contact address, say.
    Shell::install(&m_failing);
    AboutDialog about;
    auto* contact = about.findChild<QLabel*>(QStringLiteral("contactLabel"));
    ASSERT_NE(contact, nullptr);
    emit contact->linkActivated(QStringLiteral("mailto:") + AboutDialog::contactAddress());
    ASSERT_EQ(m_prompter.shown.size(), 3);
    EXPECT_TRUE(m_prompter.shown[2].startsWith(QStringLiteral("mailto:") + AboutDialog::contactAddress()));

    // What opens is not reported.
    DesktopShell working([](const QUrl&) { return true; });
    EXPECT_TRUE(working.open("http://quotes.example/"));
    EXPECT_EQ(m_prompter.shown.size(), 3);
}

} // namespace
} // namespace tarvelo
