#include "ui/itemproperties/quotationspage.h"

#include "tests/support/scopedtimezone.h"
#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimeEdit>

namespace tarvelo {
namespace {

class QuotationsPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        Prompter::install(&m_prompter);
        ItemSettings settings;
        settings.name = "ACME";
        settings.quantity = 10;
        settings.averageBuyPrice = 12;
        settings.aboveLimit = 16;
        m_item = m_document.addItem(settings);
        for (const Quotation& q : {Quotation{m_t1, 10.0}, Quotation{m_t2, 12.0}, Quotation{m_t3, 14.0}})
            m_document.insertQuotation(m_item, q.value, q.time);
    }
    void TearDown() override { Prompter::install(nullptr); }

    std::vector<double> values() const
    {
        std::vector<double> result;
        for (const Quotation& q : *m_document.quotations(m_item))
            result.push_back(q.value);
        return result;
    }
    static QString row(const QuotationsPage& page, int r)
    {
        return page.model()->data(page.model()->index(r)).toString();
    }
    static QString text(TimeStamp time, const char* gap, const char* value)
    {
        return QString::fromStdString(formatLocalTime(time, "%c")) + QString::fromLatin1(gap) +
               QString::fromLatin1(value);
    }
    static QPushButton* button(const QuotationsPage& page, const char* name)
    {
        return page.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    static int caret(const QuotationsPage& page)
    {
        const QModelIndex current = page.list()->currentIndex();
        EXPECT_EQ(page.list()->selectionModel()->isSelected(current), current.isValid());
        return current.isValid() ? current.row() : -1;
    }

    test::ScopedTimeZone m_zone{"UTC"};
    test::ScriptedPrompter m_prompter;
    PortfolioDocument m_document;
    ItemKey m_item;
    const TimeStamp m_t1 = makeLocalTime(2003, 1, 6, 17, 30);
    const TimeStamp m_t2 = makeLocalTime(2003, 1, 7, 17, 30);
    const TimeStamp m_t3 = makeLocalTime(2003, 1, 8, 17, 30);
};

TEST_F(QuotationsPageTest, SplitAtTheMiddleRowDividesItAndTheOlderOnes)
{
    QuotationsPage page(m_document, m_item, 1, nullptr);
    EXPECT_EQ(page.windowTitle(), "Quotations");
    ASSERT_EQ(page.model()->rowCount(), 3);
    EXPECT_EQ(row(page, 0), text(m_t3, "    ", "14.0000"));
    EXPECT_EQ(row(page, 2), text(m_t1, "    ", "10.0000"));
    EXPECT_EQ(caret(page), 1);

    QSignalSpy splitDone(&page, &QuotationsPage::splitDone);
    QString until;
    QString preset;
    m_prompter.dialogs.push_back([&](QDialog& dialog) {
        until = dialog.findChild<QLabel*>(QStringLiteral("untilLabel"))->text();
        auto* divisor = dialog.findChild<QLineEdit*>(QStringLiteral("divisorEdit"));
        preset = divisor->text();
        divisor->setText(QStringLiteral("1001"));
        dialog.accept(); // refused, the dialog stays
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        divisor->setText(QStringLiteral("2"));
        dialog.accept();
        return dialog.result();
    });
    button(page, "splitButton")->click();

    EXPECT_EQ(m_prompter.shown, QStringList({"Item Split", "Please enter a number between 0.1 and 1000."}));
    EXPECT_EQ(until, QString::fromStdString(formatLocalTime(m_t2, "%c")));
    EXPECT_EQ(preset, "2");
    EXPECT_EQ(values(), std::vector<double>({5.0, 6.0, 14.0}));
    const ItemSettings& settings = m_document.item(m_item)->settings();
    EXPECT_DOUBLE_EQ(settings.quantity, 20);
    EXPECT_DOUBLE_EQ(settings.averageBuyPrice, 6);
    EXPECT_DOUBLE_EQ(settings.aboveLimit, 8);
    EXPECT_EQ(splitDone.count(), 1);
    // The rows from the caret down are written anew; the newest keeps its text.
    EXPECT_EQ(row(page, 0), text(m_t3, "    ", "14.0000"));
    EXPECT_EQ(row(page, 1), text(m_t2, "   ", "6.0000"));
    EXPECT_EQ(row(page, 2), text(m_t1, "   ", "5.0000"));
}

TEST_F(QuotationsPageTest, InsertAndModifyPutTheRowWhereTheRecordNowStands)
{
    QuotationsPage page(m_document, m_item, -1, nullptr);
    page.resize(500, 400);
    page.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(caret(page), 0);

    const TimeStamp t0 = makeLocalTime(2002, 12, 30, 9, 15, 5);
    m_prompter.dialogs.push_back([&](QDialog& dialog) {
        dialog.findChild<QDateEdit*>(QStringLiteral("dateEdit"))->setDate(QDate(2002, 12, 30));
        dialog.findChild<QTimeEdit*>(QStringLiteral("timeEdit"))->setTime(QTime(9, 15, 5));
        dialog.findChild<QLineEdit*>(QStringLiteral("valueEdit"))->setText(QStringLiteral("8.5"));
        dialog.accept();
        return dialog.result();
    });
    QTest::keyClick(page.list(), Qt::Key_Insert);
    EXPECT_EQ(m_prompter.shown, QStringList({"Item quotation"}));
    EXPECT_EQ(values(), std::vector<double>({8.5, 10.0, 12.0, 14.0}));
    ASSERT_EQ(page.model()->rowCount(), 4);
    EXPECT_EQ(row(page, 3), text(t0, "   ", "8.5000"));
    EXPECT_EQ(row(page, 2), text(m_t1, "    ", "10.0000"));
    EXPECT_EQ(caret(page), 3);

    // Modify the 12.0 (row 1): preset with its moment and value, moved to the newest.
    QDateTime presetMoment;
    QString presetValue;
    m_prompter.dialogs.push_back([&](QDialog& dialog) {
        presetMoment = QDateTime(dialog.findChild<QDateEdit*>(QStringLiteral("dateEdit"))->date(),
                                 dialog.findChild<QTimeEdit*>(QStringLiteral("timeEdit"))->time());
        presetValue = dialog.findChild<QLineEdit*>(QStringLiteral("valueEdit"))->text();
        dialog.findChild<QDateEdit*>(QStringLiteral("dateEdit"))->setDate(QDate(2003, 1, 9));
        dialog.findChild<QLineEdit*>(QStringLiteral("valueEdit"))->setText(QStringLiteral("13.25"));
        dialog.accept();
        return dialog.result();
    });
    const QModelIndex twelve = page.model()->index(1);
    const QPoint at = page.list()->visualRect(twelve).center();
    QTest::mouseClick(page.list()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(page.list()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(presetMoment, QDateTime(QDate(2003, 1, 7), QTime(17, 30)));
    EXPECT_EQ(presetValue, "12");
    EXPECT_EQ(values(), std::vector<double>({8.5, 10.0, 14.0, 13.25}));
    ASSERT_EQ(page.model()->rowCount(), 4);
    EXPECT_EQ(row(page, 0), text(makeLocalTime(2003, 1, 9, 17, 30), "   ", "13.2500"));
    EXPECT_EQ(row(page, 1), text(m_t3, "    ", "14.0000"));
    EXPECT_EQ(row(page, 2), text(m_t1, "    ", "10.0000"));
    EXPECT_EQ(caret(page), 0);
}

TEST_F(QuotationsPageTest, DeleteKeepsTheCaretRowAndDeleteAllAsksFirst)
{
    QuotationsPage page(m_document, m_item, 2, nullptr);
    EXPECT_EQ(caret(page), 0);
    QTest::keyClick(page.list(), Qt::Key_Delete);
    EXPECT_EQ(values(), std::vector<double>({10.0, 12.0}));
    EXPECT_EQ(row(page, 0), text(m_t2, "    ", "12.0000"));
    EXPECT_EQ(caret(page), 0);

    // Deleting the bottom row leaves no row at that number: no caret, no row commands.
    page.list()->setCurrentIndex(page.model()->index(1));
    button(page, "deleteButton")->click();
    EXPECT_EQ(values(), std::vector<double>({12.0}));
    EXPECT_EQ(caret(page), -1);
    EXPECT_FALSE(button(page, "modifyButton")->isEnabled());
    EXPECT_FALSE(button(page, "splitButton")->isEnabled());
    EXPECT_TRUE(button(page, "deleteAllButton")->isEnabled());
    button(page, "deleteButton")->click(); // no caret: nothing happens
    EXPECT_EQ(values(), std::vector<double>({12.0}));

    m_prompter.answers = {Prompter::No, Prompter::Yes};
    button(page, "deleteAllButton")->click();
    EXPECT_EQ(m_prompter.shown, QStringList({"Do you really want to delete all items?"}));
    EXPECT_EQ(page.model()->rowCount(), 1);
    button(page, "deleteAllButton")->click();
    EXPECT_TRUE(m_document.quotations(m_item)->empty());
    EXPECT_EQ(page.model()->rowCount(), 0);
    for (const char* name : {"modifyButton", "deleteButton", "deleteAllButton", "splitButton"})
        EXPECT_FALSE(button(page, name)->isEnabled()) << name;
    EXPECT_TRUE(button(page, "insertButton")->isEnabled());
    EXPECT_TRUE(button(page, "invertButton")->isEnabled());
}

TEST_F(QuotationsPageTest, InvertRewritesEveryRowAndPutsTheCaretOnTop)
{
    QuotationsPage page(m_document, m_item, 0, nullptr);
    EXPECT_EQ(caret(page), 2);
    button(page, "invertButton")->click();
    EXPECT_EQ(values(), std::vector<double>({1 / 10.0, 1 / 12.0, 1 / 14.0}));
    EXPECT_EQ(row(page, 0), text(m_t3, "   ", "0.0714"));
    EXPECT_EQ(row(page, 1), text(m_t2, "   ", "0.0833"));
    EXPECT_EQ(row(page, 2), text(m_t1, "   ", "0.1000"));
    EXPECT_EQ(caret(page), 0);
    EXPECT_TRUE(m_prompter.shown.isEmpty());
}

TEST_F(QuotationsPageTest, ALongHistoryFormatsOnlyTheRowsShown)
{
    std::vector<Quotation> batch;
    for (int i = 0; i < 99997; ++i)
        batch.push_back({m_t3 + 60 * (i + 1), 100.0 + i});
    m_document.insertQuotations(m_item, batch);

    QuotationsPage page(m_document, m_item, -1, nullptr);
    page.resize(500, 400);
    page.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(page.model()->rowCount(), 100000);
    EXPECT_EQ(row(page, 0), text(m_t3 + 60 * 99997, "    ", "100096.0000"));
    QScrollBar* bar = page.list()->verticalScrollBar();
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
    bar->setValue(0);
    QCoreApplication::processEvents();
    EXPECT_LT(page.model()->formatCount(), 1000u);

    // A split near the bottom rewrites the rows below only.
    page.list()->setCurrentIndex(page.model()->index(99998));
    m_prompter.dialogs.push_back([](QDialog& dialog) {
        dialog.accept();
        return dialog.result();
    });
    button(page, "splitButton")->click();
    EXPECT_EQ(row(page, 99997), text(m_t3, "    ", "14.0000"));
    EXPECT_EQ(row(page, 99998), text(m_t2, "   ", "6.0000"));
    EXPECT_LT(page.model()->formatCount(), 1000u);
}

} // namespace
} // namespace tarvelo
