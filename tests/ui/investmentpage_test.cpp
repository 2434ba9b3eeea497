#include "ui/itemproperties/chartpage.h"
#include "ui/itemproperties/investmentpage.h"

#include "platform/localtime.h"
#include "tests/support/scopedtimezone.h"
#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <initializer_list>
#include <utility>
#include <vector>

namespace tarvelo {
namespace {

template <typename T>
T* child(QObject& parent, const char* name)
{
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QString editText(QObject& parent, const char* name)
{
    QLineEdit* edit = child<QLineEdit>(parent, name);
    return edit ? edit->text() : QString();
}

class InvestmentPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        Prompter::install(&m_prompter);
    }
    void TearDown() override { Prompter::install(nullptr); }

    // Scripts the next dialog: fills the named edits and presses OK once.
    void fillNextDialog(std::initializer_list<std::pair<const char*, const char*>> fields)
    {
        std::vector<std::pair<const char*, const char*>> texts(fields);
        m_prompter.dialogs.push_back([this, texts](QDialog& dialog) {
            m_itemShown = child<QLabel>(dialog, "itemNameLabel")->text();
            for (const auto& [name, text] : texts)
                child<QLineEdit>(dialog, name)->setText(QString::fromLatin1(text));
            dialog.accept();
            return dialog.result();
        });
    }
    void click(QWidget& page, const char* button) { child<QPushButton>(page, button)->click(); }

    test::ScriptedPrompter m_prompter;
    QString m_itemShown;
};

TEST_F(InvestmentPageTest, TransactionsChangeTheHoldingShown)
{
    InvestmentPage page(ItemSettings{}, "ACME");

    fillNextDialog({{"quantityEdit", "10"}, {"quotationEdit", "20"}, {"commissionEdit", "5"}});
    click(page, "buyButton");
    EXPECT_EQ(m_itemShown, "ACME");
    EXPECT_EQ(editText(page, "quantityEdit"), "10");
    EXPECT_EQ(editText(page, "averagePriceEdit"), "20.5");

    fillNextDialog({{"quantityEdit", "10"}, {"quotationEdit", "30"}});
    click(page, "buyButton");
    EXPECT_EQ(editText(page, "quantityEdit"), "20");
    EXPECT_EQ(editText(page, "averagePriceEdit"), "25.25");

    fillNextDialog({{"quantityEdit", "5"}, {"quotationEdit", "30"}, {"commissionEdit", "2.5"}});
    click(page, "sellButton");
    EXPECT_EQ(m_prompter.shown.back(), "Financial result of the selling transaction: 21.25");
    EXPECT_EQ(editText(page, "quantityEdit"), "15");
    EXPECT_EQ(editText(page, "averagePriceEdit"), "25.25");

    // A cancelled dialog changes nothing.
    click(page, "dividendButton");
    EXPECT_EQ(editText(page, "averagePriceEdit"), "25.25");

    fillNextDialog({{"valueEdit", "15"}});
    click(page, "dividendButton");
    EXPECT_EQ(editText(page, "averagePriceEdit"), "24.25");

    EXPECT_EQ(m_prompter.shown,
              QStringList({"Buy", "Buy", "Sell", "Financial result of the selling transaction: 21.25", "Dividends",
                           "Dividends"}));
    ItemSettings taken;
    ASSERT_TRUE(page.takeValues(taken));
    EXPECT_DOUBLE_EQ(taken.quantity, 15);
    EXPECT_DOUBLE_EQ(taken.averageBuyPrice, 24.25);
}

TEST_F(InvestmentPageTest, DialogsRefuseBadFieldsAndStayOpen)
{
    InvestmentPage page(ItemSettings{}, "ACME");
    m_prompter.dialogs.push_back([](QDialog& dialog) {
        QLineEdit* quantity = child<QLineEdit>(dialog, "quantityEdit");
        QLineEdit* commission = child<QLineEdit>(dialog, "commissionEdit");
        child<QLineEdit>(dialog, "quotationEdit")->setText(QStringLiteral("20"));
        quantity->setText(QStringLiteral("0.001"));
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        quantity->setText(QStringLiteral("1000000"));
        commission->setText(QStringLiteral("1000000.5"));
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        commission->setText(QStringLiteral("0"));
        dialog.accept();
        return dialog.result();
    });
    click(page, "buyButton");
    EXPECT_EQ(m_prompter.shown, QStringList({"Buy", "Please enter a number between 0.01 and 1000000.",
                                             "Please enter a number between 0 and 1000000."}));
    EXPECT_EQ(editText(page, "quantityEdit"), "1000000");

    m_prompter.shown.clear();
    m_prompter.dialogs.push_back([](QDialog& dialog) {
        QLineEdit* quantity = child<QLineEdit>(dialog, "quantityEdit");
        for (const char* bad : {"1.5", "-1", "x"}) {
            quantity->setText(QString::fromLatin1(bad));
            dialog.accept();
            EXPECT_EQ(dialog.result(), QDialog::Rejected) << bad;
        }
        return static_cast<int>(QDialog::Rejected);
    });
    click(page, "sellButton");
    EXPECT_EQ(m_prompter.shown.size(), 4);
    EXPECT_EQ(m_prompter.shown.back(), "Please enter a positive integer.");
    EXPECT_EQ(editText(page, "quantityEdit"), "1000000");
}

TEST_F(InvestmentPageTest, DividendWithoutUnitsIsRefused)
{
    ItemSettings settings;
    settings.averageBuyPrice = 12.5;
    InvestmentPage page(settings, "ACME");
    fillNextDialog({{"valueEdit", "3"}});
    click(page, "dividendButton");
    EXPECT_EQ(m_prompter.shown.back(), QString::fromLatin1(kNoUnitsForDividendMessage));
    EXPECT_EQ(editText(page, "averagePriceEdit"), "12.5");
}

TEST_F(InvestmentPageTest, LimitEditsFollowTheirChecksAndTextMustBeANumber)
{
    ItemSettings settings;
    settings.belowAlarm = true;
    settings.belowLimit = 8;
    settings.aboveLimit = 30;
    settings.quantity = 100;
    settings.averageBuyPrice = 10;
    InvestmentPage page(settings, "ACME");
    QLineEdit* below = child<QLineEdit>(page, "belowLimitEdit");
    QLineEdit* above = child<QLineEdit>(page, "aboveLimitEdit");
    QLineEdit* deviation = child<QLineEdit>(page, "deviationPercentEdit");
    EXPECT_TRUE(below->isEnabled());
    EXPECT_FALSE(above->isEnabled());
    EXPECT_FALSE(deviation->isEnabled());
    child<QCheckBox>(page, "belowCheck")->click();
    child<QCheckBox>(page, "deviationCheck")->click();
    EXPECT_FALSE(below->isEnabled());
    EXPECT_FALSE(above->isEnabled());
    EXPECT_TRUE(deviation->isEnabled());

    // Any number goes; text that is none stops both taking and a transaction.
    deviation->setText(QStringLiteral("-1e3"));
    child<QLineEdit>(page, "averagePriceEdit")->setText(QStringLiteral("ten"));
    ItemSettings taken = settings;
    EXPECT_FALSE(page.takeValues(taken));
    EXPECT_EQ(taken, settings);
    click(page, "buyButton");
    EXPECT_EQ(m_prompter.shown, QStringList({"Please enter a number.", "Please enter a number."}));

    child<QLineEdit>(page, "averagePriceEdit")->setText(QStringLiteral("10"));
    ItemSettings split = settings;
    adjustForSplit(split, 2);
    page.applySplit(split);
    ASSERT_TRUE(page.takeValues(taken));
    EXPECT_EQ(taken.belowAlarm.stored(), 0);
    EXPECT_EQ(taken.deviationAlarm.stored(), 1);
    EXPECT_DOUBLE_EQ(taken.deviationPercent, -1000);
    EXPECT_DOUBLE_EQ(taken.quantity, 200);
    EXPECT_DOUBLE_EQ(taken.averageBuyPrice, 5);
    EXPECT_DOUBLE_EQ(taken.belowLimit, 4);
    EXPECT_DOUBLE_EQ(taken.aboveLimit, 15);
}

TEST_F(InvestmentPageTest, ChartPageEditsTheChartOptions)
{
    const test::ScopedTimeZone zone{"UTC"};
    ChartOptions options;
    options.pageFlag = false;
    options.showGrid = false;
    options.valueOnGraphic = ValueOnGraphic::Nominal;
    options.valueOnAxes = ValueOnAxes::Nominal;
    options.periodStart = makeLocalTime(2025, 3, 4, 10, 30);
    options.periodEnd = makeLocalTime(2026, 3, 4, 10, 30);
    options.periodStartEnabled = true;
    options.lineColour = 0x00FF8000; // blue 255, green 128, red 0
    ChartPage page(options);

    ChartOptions expected = options;
    expected.pageFlag = true;
    EXPECT_EQ(page.takeValues(), expected);
    QDateEdit* after = child<QDateEdit>(page, "afterDate");
    QDateEdit* until = child<QDateEdit>(page, "untilDate");
    EXPECT_TRUE(after->isEnabled());
    EXPECT_FALSE(until->isEnabled());
    child<QCheckBox>(page, "afterCheck")->click();
    child<QCheckBox>(page, "untilCheck")->click();
    EXPECT_FALSE(after->isEnabled());
    EXPECT_TRUE(until->isEnabled());

    until->setDate(QDate(2026, 6, 1));
    child<QRadioButton>(page, "axesPercentualRadio")->click();
    child<QRadioButton>(page, "graphicPercentualRadio")->click();
    child<QCheckBox>(page, "gridCheck")->click();
    m_prompter.dialogs.push_back([](QDialog& dialog) {
        auto& colours = dynamic_cast<QColorDialog&>(dialog);
        EXPECT_EQ(colours.currentColor(), QColor(0, 128, 255));
        EXPECT_EQ(QColor(QColorDialog::customColor(0)), QColor(0, 128, 255));
        colours.setCurrentColor(QColor(10, 20, 30));
        return static_cast<int>(QDialog::Accepted);
    });
    child<QPushButton>(page, "colourButton")->click();

    expected.periodStartEnabled = false;
    expected.periodEndEnabled = true;
    expected.periodEnd = makeLocalTime(2026, 6, 1, 10, 30);
    expected.valueOnAxes = ValueOnAxes::Percentual;
    expected.valueOnGraphic = ValueOnGraphic::Percentual;
    expected.showGrid = true;
    expected.lineColour = 0x1E140A;
    EXPECT_EQ(page.takeValues(), expected);
}

} // namespace
} // namespace tarvelo
