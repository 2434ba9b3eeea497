#include "ui/itemproperties/itempropertiesdialog.h"

#include "download/downloadengine.h"
#include "download/messagesink.h"
#include "model/itemsettings.h"
#include "platform/localtime.h"
#include "ui/itemproperties/investmentpage.h"
#include "ui/itemproperties/quotationspage.h"

#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace tarvelo {
namespace {

class ItemPropertiesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompter::install(&m_prompter);
        ItemSettings settings;
        settings.name = "Nordwind Energie";
        m_item = m_doc.addItem(settings);
        for (const auto& [day, value] : {std::pair{2, 10.0}, {3, 12.0}, {4, 14.0}})
            m_doc.insertQuotation(m_item, value, makeLocalTime(2026, 3, day, 10, 0));
    }
    void TearDown() override { Prompter::install(nullptr); }

    template <typename T>
    static T* child(QWidget& parent, const char* name)
    {
        T* found = parent.findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    // Buys 10 at 20 through the Investment page's dialog.
    void buyTen(ItemPropertiesDialog& sheet)
    {
        m_prompter.dialogs.push_back([](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("quantityEdit"))->setText(QStringLiteral("10"));
            dialog.findChild<QLineEdit*>(QStringLiteral("quotationEdit"))->setText(QStringLiteral("20"));
            dialog.accept();
            return dialog.result();
        });
        sheet.findChild<InvestmentPage*>()->buy();
    }

    test::ScriptedPrompter m_prompter;
    PortfolioDocument m_doc;
    ItemKey m_item;
    DownloadEngine m_engine;
    MessageQueue m_sink;
};

TEST_F(ItemPropertiesTest, NewItemsHaveThreePagesAndTheTitleFollowsTheName)
{
    ItemPropertiesDialog sheet(m_doc, newItemSettings(1700000000), m_engine, m_sink);
    ASSERT_EQ(sheet.tabs()->count(), 3);
    EXPECT_EQ(sheet.tabs()->tabText(1), "Graphic");
    EXPECT_EQ(sheet.windowTitle(), "Porperties of ");
    QTest::keyClicks(child<QLineEdit>(sheet, "nameEdit"), QStringLiteral("AB"));
    EXPECT_EQ(sheet.windowTitle(), "Porperties of AB");
    buyTen(sheet);
    sheet.accept();
    const SecurityItem* added = m_doc.item(sheet.item());
    ASSERT_TRUE(added);
    EXPECT_EQ(added->settings().name, "AB");
    EXPECT_DOUBLE_EQ(added->settings().quantity, 10);
    EXPECT_EQ(m_doc.itemCount(), 2u);
}

TEST_F(ItemPropertiesTest, CancelKeepsTheSettingsButNotWhatTheQuotationsPageDid)
{
    {
        ItemPropertiesDialog sheet(m_doc, m_item, ItemPropertiesDialog::Quotations, 0, m_engine, m_sink);
        ASSERT_EQ(sheet.tabs()->count(), 4);
        EXPECT_EQ(sheet.tabs()->currentIndex(), 1);
        EXPECT_EQ(sheet.windowTitle(), "Porperties of Nordwind Energie");
        buyTen(sheet);
        // Index 0 is the oldest record; deleting it acts on the document at once.
        sheet.findChild<QuotationsPage*>()->deleteQuotation();
        sheet.reject();
    }
    EXPECT_DOUBLE_EQ(m_doc.item(m_item)->settings().quantity, 0);
    ASSERT_EQ(m_doc.quotations(m_item)->size(), 2u);
    EXPECT_DOUBLE_EQ(m_doc.quotations(m_item)->front().value, 12.0);

    // OK after a split on the middle row keeps what the split did to the holding and adds
    // the purchase on top.
    ItemSettings holding = m_doc.item(m_item)->settings();
    holding.quantity = 4;
    holding.averageBuyPrice = 30;
    m_doc.replaceItemSettings(m_item, holding);
    m_doc.insertQuotation(m_item, 10.0, makeLocalTime(2026, 3, 1, 10, 0));
    ItemPropertiesDialog sheet(m_doc, m_item, ItemPropertiesDialog::Quotations, 1, m_engine, m_sink);
    m_prompter.dialogs.push_back([](QDialog& dialog) {
        dialog.accept();
        return dialog.result(); // divide by the preset 2
    });
    sheet.findChild<QuotationsPage*>()->splitQuotations();
    buyTen(sheet);
    sheet.accept();
    const ItemSettings& after = m_doc.item(m_item)->settings();
    EXPECT_DOUBLE_EQ(after.quantity, 18); // 4 × 2, then 10 more
    EXPECT_NEAR(after.averageBuyPrice, (8 * 15.0 + 10 * 20.0) / 18, 1e-9); // as the page shows it
    const std::vector<Quotation>& history = *m_doc.quotations(m_item);
    EXPECT_DOUBLE_EQ(history[0].value, 5.0);
    EXPECT_DOUBLE_EQ(history[1].value, 6.0);
    EXPECT_DOUBLE_EQ(history[2].value, 14.0);
}

} // namespace
} // namespace tarvelo

namespace tarvelo {
namespace {

// The first letters typed into a new item's sheet name the item.
TEST_F(ItemPropertiesTest, ANewItemsSheetTakesTheNameFirst)
{
    ItemPropertiesDialog sheet(m_doc, newItemSettings(1700000000), m_engine, m_sink);
    sheet.show();
    sheet.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    ASSERT_TRUE(QApplication::focusWidget());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Nordwind"));
    EXPECT_EQ(child<QLineEdit>(sheet, "nameEdit")->text(), "Nordwind");
    EXPECT_EQ(sheet.windowTitle(), "Porperties of Nordwind");
    sheet.reject();
}

} // namespace
} // namespace tarvelo
