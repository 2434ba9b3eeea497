#include "ui/generaloptionsdialog.h"

#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

namespace tarvelo {
namespace {

// Every field differs from its neighbours, so values that land in the wrong field show.
GeneralOptions distinct()
{
    GeneralOptions o;
    o.numberDownloads = 12;
    o.autosaveOnExit = 1;
    o.autoupdate = 1;
    o.autoupdateTime = 1;
    o.downloadStatus = 0;
    o.hour1 = 7;
    o.minute1 = 5;
    o.hour2 = 22;
    o.minute2 = 45;
    o.updateInterval = 15;
    o.autosaveWindows = 0;
    o.showFileOnError = 1;
    o.allowHttps = 0;
    o.userAgent = "Agent/1.0";
    return o;
}

struct Controls {
    explicit Controls(QDialog& d)
        : downloads(d.findChild<QLineEdit*>(QStringLiteral("numberDownloadsEdit"))),
          interval(d.findChild<QLineEdit*>(QStringLiteral("intervalEdit"))),
          intervalUp(d.findChild<QToolButton*>(QStringLiteral("intervalUp"))),
          intervalDown(d.findChild<QToolButton*>(QStringLiteral("intervalDown"))),
          downloadStatus(d.findChild<QCheckBox*>(QStringLiteral("downloadStatusCheck"))),
          showFile(d.findChild<QCheckBox*>(QStringLiteral("showFileCheck"))),
          autoupdate(d.findChild<QCheckBox*>(QStringLiteral("autoupdateCheck"))),
          onlyBetween(d.findChild<QCheckBox*>(QStringLiteral("onlyBetweenCheck"))),
          start(d.findChild<QTimeEdit*>(QStringLiteral("startTime"))),
          end(d.findChild<QTimeEdit*>(QStringLiteral("endTime"))),
          saveView(d.findChild<QCheckBox*>(QStringLiteral("saveViewOptionsCheck"))),
          savePortfolio(d.findChild<QCheckBox*>(QStringLiteral("savePortfolioCheck"))),
          allowHttps(d.findChild<QCheckBox*>(QStringLiteral("allowHttpsCheck"))),
          userAgent(d.findChild<QLineEdit*>(QStringLiteral("userAgentEdit")))
    {
    }
    bool complete() const
    {
        return downloads && interval && intervalUp && intervalDown && downloadStatus && showFile && autoupdate
               && onlyBetween && start && end && saveView && savePortfolio && allowHttps && userAgent;
    }

    QLineEdit* downloads;
    QLineEdit* interval;
    QToolButton* intervalUp;
    QToolButton* intervalDown;
    QCheckBox* downloadStatus;
    QCheckBox* showFile;
    QCheckBox* autoupdate;
    QCheckBox* onlyBetween;
    QTimeEdit* start;
    QTimeEdit* end;
    QCheckBox* saveView;
    QCheckBox* savePortfolio;
    QCheckBox* allowHttps;
    QLineEdit* userAgent;
};

void retype(QLineEdit* edit, const QString& text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
}

class GeneralOptionsTest : public ::testing::Test {
protected:
    void SetUp() override { Prompter::install(&m_prompter); }
    void TearDown() override { Prompter::install(nullptr); }
    test::ScriptedPrompter m_prompter;
};

TEST_F(GeneralOptionsTest, ControlsShowTheOptionsAndOkTakesThemBack)
{
    const GeneralOptions in = distinct();
    {
        GeneralOptionsDialog dialog(in);
        EXPECT_EQ(dialog.windowTitle(), "General options");
        const Controls c(dialog);
        ASSERT_TRUE(c.complete());
        EXPECT_EQ(c.downloads->text(), "12");
        EXPECT_EQ(c.interval->text(), "15");
        EXPECT_FALSE(c.downloadStatus->isChecked());
        EXPECT_TRUE(c.showFile->isChecked());
        EXPECT_TRUE(c.autoupdate->isChecked());
        EXPECT_TRUE(c.onlyBetween->isChecked());
        EXPECT_EQ(c.start->text(), "07:05");
        EXPECT_EQ(c.end->text(), "22:45");
        EXPECT_FALSE(c.saveView->isChecked());
        EXPECT_TRUE(c.savePortfolio->isChecked());
        EXPECT_FALSE(c.allowHttps->isChecked());
        EXPECT_EQ(c.userAgent->text(), "Agent/1.0");
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.options(), in);
    }

    // Every control changed by hand; a window that ends before it starts is allowed.
    const auto changeAll = [](const Controls& c) {
        retype(c.downloads, QStringLiteral("500"));
        retype(c.interval, QStringLiteral("5"));
        c.downloadStatus->click();
        c.showFile->click();
        c.start->setTime(QTime(18, 30));
        c.end->setTime(QTime(9, 0));
        c.onlyBetween->click();
        c.autoupdate->click();
        c.saveView->click();
        c.savePortfolio->click();
        c.allowHttps->click();
        retype(c.userAgent, QStringLiteral("Mozilla/5.0 (X11)"));
    };
    {
        GeneralOptionsDialog dialog(in);
        changeAll(Controls(dialog));
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        GeneralOptions expected;
        expected.numberDownloads = 500;
        expected.autosaveOnExit = 0;
        expected.autoupdate = 0;
        expected.autoupdateTime = 0;
        expected.downloadStatus = 1;
        expected.hour1 = 18;
        expected.minute1 = 30;
        expected.hour2 = 9;
        expected.minute2 = 0;
        expected.updateInterval = 5;
        expected.autosaveWindows = 1;
        expected.showFileOnError = 0;
        expected.allowHttps = 1;
        expected.userAgent = "Mozilla/5.0 (X11)";
        EXPECT_EQ(dialog.options(), expected);
        EXPECT_TRUE(m_prompter.shown.isEmpty());
    }
    {
        GeneralOptionsDialog dialog(in);
        changeAll(Controls(dialog));
        dialog.reject();
        EXPECT_EQ(dialog.options(), in);
    }
}

TEST_F(GeneralOptionsTest, OkRefusesNumbersOutsideTheirRangeAndStaysOpen)
{
    const GeneralOptions in = distinct();
    GeneralOptionsDialog dialog(in);
    const Controls c(dialog);
    ASSERT_TRUE(c.complete());
    dialog.show();

    const auto refused = [&](QLineEdit* edit, const QString& text, const QString& message) {
        SCOPED_TRACE(text.toStdString());
        edit->setText(text);
        m_prompter.shown.clear();
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        ASSERT_EQ(m_prompter.shown.size(), 1);
        EXPECT_EQ(m_prompter.shown[0], message);
        EXPECT_EQ(dialog.focusWidget(), edit);
        EXPECT_EQ(edit->selectedText(), text);
        EXPECT_EQ(dialog.options(), in);
    };
    const QString interval = QStringLiteral("Please enter an integer between 5 and 500.");
    const QString downloads = QStringLiteral("Please enter an integer between 1 and 500.");
    const QString integer = QStringLiteral("Please enter an integer.");
    refused(c.interval, QStringLiteral("4"), interval);
    refused(c.interval, QStringLiteral("501"), interval);
    refused(c.interval, QStringLiteral("99999999999999999999"), interval);
    refused(c.interval, QString(), integer);
    c.interval->setText(QStringLiteral("60"));
    refused(c.downloads, QStringLiteral("0"), downloads);
    refused(c.downloads, QString(), integer);
    refused(c.downloads, QStringLiteral("abc"), integer);
    // With both wrong, the first field is named.
    c.interval->setText(QStringLiteral("3"));
    refused(c.downloads, QStringLiteral("501"), downloads);
    c.interval->setText(QStringLiteral("60"));
    c.downloads->setText(QStringLiteral("5"));
    // A user agent must go into a header line as it is.
    refused(c.userAgent, QStringLiteral("B\u00e4r/1"), QStringLiteral("The user agent may hold only printable ASCII characters."));
    c.userAgent->clear();

    // Typing keeps digits only; the range ends themselves are fine.
    retype(c.downloads, QStringLiteral("1x"));
    EXPECT_EQ(c.downloads->text(), "1");
    retype(c.interval, QStringLiteral("-500"));
    EXPECT_EQ(c.interval->text(), "500");
    m_prompter.shown.clear();
    dialog.accept();
    EXPECT_TRUE(m_prompter.shown.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.options().numberDownloads, 1);
    EXPECT_EQ(dialog.options().updateInterval, 500);
}

TEST_F(GeneralOptionsTest, AutoupdateSwitchesItsFieldsButTheirValuesStay)
{
    GeneralOptions in = distinct();
    in.autoupdateTime = 0;
    GeneralOptionsDialog dialog(in);
    const Controls c(dialog);
    ASSERT_TRUE(c.complete());
    const auto enabled = [&](bool interval, bool onlyBetween, bool times) {
        EXPECT_EQ(c.interval->isEnabled(), interval);
        EXPECT_EQ(c.intervalUp->isEnabled(), interval);
        EXPECT_EQ(c.intervalDown->isEnabled(), interval);
        EXPECT_EQ(c.onlyBetween->isEnabled(), onlyBetween);
        EXPECT_EQ(c.start->isEnabled(), times);
        EXPECT_EQ(c.end->isEnabled(), times);
    };
    enabled(true, true, false);
    c.onlyBetween->click();
    enabled(true, true, true);
    c.autoupdate->click();
    enabled(false, false, false);
    EXPECT_TRUE(c.onlyBetween->isChecked());
    c.autoupdate->click();
    enabled(true, true, true);
    c.onlyBetween->click();
    enabled(true, true, false);
    c.onlyBetween->click();
    c.autoupdate->click();

    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    GeneralOptions expected = in;
    expected.autoupdate = 0;
    expected.autoupdateTime = 1;
    EXPECT_EQ(dialog.options(), expected);

    in.autoupdate = 0;
    in.autoupdateTime = 1;
    GeneralOptionsDialog off(in);
    const Controls d(off);
    ASSERT_TRUE(d.complete());
    EXPECT_FALSE(d.interval->isEnabled());
    EXPECT_FALSE(d.onlyBetween->isEnabled());
    EXPECT_FALSE(d.start->isEnabled());
    EXPECT_FALSE(d.end->isEnabled());
}

TEST_F(GeneralOptionsTest, ArrowsAndArrowKeysStepWithinTheRange)
{
    GeneralOptionsDialog dialog(distinct());
    const Controls c(dialog);
    ASSERT_TRUE(c.complete());
    auto* downloadsUp = dialog.findChild<QToolButton*>(QStringLiteral("numberDownloadsUp"));
    ASSERT_NE(downloadsUp, nullptr);

    c.interval->setText(QStringLiteral("499"));
    c.intervalUp->click();
    EXPECT_EQ(c.interval->text(), "500");
    c.intervalUp->click();
    EXPECT_EQ(c.interval->text(), "500");
    c.interval->setText(QStringLiteral("6"));
    c.intervalDown->click();
    c.intervalDown->click();
    EXPECT_EQ(c.interval->text(), "5");
    c.interval->setText(QStringLiteral("1"));
    c.intervalUp->click();
    EXPECT_EQ(c.interval->text(), "5");

    c.downloads->setText(QStringLiteral("2"));
    QTest::keyClick(c.downloads, Qt::Key_Down);
    QTest::keyClick(c.downloads, Qt::Key_Down);
    EXPECT_EQ(c.downloads->text(), "1");
    QTest::keyClick(c.downloads, Qt::Key_Up);
    EXPECT_EQ(c.downloads->text(), "2");
    c.downloads->setText(QStringLiteral("500"));
    downloadsUp->click();
    EXPECT_EQ(c.downloads->text(), "500");
}

} // namespace
} // namespace tarvelo
