#include "ui/manualquotationdialog.h"

#include "tests/support/scopedtimezone.h"
#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLineEdit>
#include <QTest>
#include <QTimeEdit>

namespace tarvelo {
namespace {

class ManualQuotationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        Prompter::install(&m_prompter);
    }
    void TearDown() override { Prompter::install(nullptr); }
    test::ScopedTimeZone m_zone{"UTC"};
    test::ScriptedPrompter m_prompter;
};

TEST_F(ManualQuotationTest, PresetToNowAndTakesAValueInRange)
{
    const TimeStamp now = makeLocalTime(2026, 12, 7, 14, 5, 30);
    ManualQuotationDialog dialog("ACME", now);
    EXPECT_EQ(dialog.time(), now);
    auto* value = dialog.findChild<QLineEdit*>(QStringLiteral("valueEdit"));
    ASSERT_NE(value, nullptr);

    // 0, text and too large values are refused with the range message; the dialog stays.
    for (const char* bad : {"0", "abc", "1000000000", "0.0009"}) {
        value->setText(QString::fromLatin1(bad));
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << bad;
    }
    ASSERT_EQ(m_prompter.shown.size(), 4);
    EXPECT_EQ(m_prompter.shown[0], "Please enter a number between 0.001 and 999999999.");

    dialog.findChild<QDateEdit*>(QStringLiteral("dateEdit"))->setDate(QDate(2003, 2, 1));
    dialog.findChild<QTimeEdit*>(QStringLiteral("timeEdit"))->setTime(QTime(17, 45, 10));
    value->clear();
    QTest::keyClicks(value, QStringLiteral("22.65"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(dialog.value(), 22.65);
    EXPECT_EQ(dialog.time(), makeLocalTime(2003, 2, 1, 17, 45, 10));
}

} // namespace
} // namespace tarvelo
