#include "ui/itemproperties/itempropertiesdialog.h"

#include "extraction/extract.h"
#include "resources/strings.h"
#include "servers/serverstore.h"
#include "ui/itemproperties/chartpage.h"
#include "ui/itemproperties/generalpage.h"
#include "ui/itemproperties/investmentpage.h"
#include "ui/itemproperties/quotationspage.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/shell.h"
#include "ui/undosteps.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace tarvelo {

ItemPropertiesDialog::ItemPropertiesDialog(PortfolioDocument& doc, ItemKey item, Page first, int quotationIndex,
                                           DownloadEngine& engine, MessageSink& sink, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_item(item)
{
    const SecurityItem* existing = doc.item(item);
    m_settings = existing ? existing->settings() : ItemSettings{};
    build(m_settings, m_settings.name, engine, sink, quotationIndex);
    m_tabs->setCurrentIndex(std::clamp(static_cast<int>(first), 0, m_tabs->count() - 1));
}

ItemPropertiesDialog::ItemPropertiesDialog(PortfolioDocument& doc, const ItemSettings& fresh, DownloadEngine& engine,
                                           MessageSink& sink, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_settings(fresh)
{
    build(m_settings, {}, engine, sink, -1);
    // The first letters typed name the new item.
    m_general->focusName();
}

void ItemPropertiesDialog::build(const ItemSettings& settings, const std::string& itemName, DownloadEngine& engine,
                                 MessageSink& sink, int quotationIndex)
{
    setObjectName(QStringLiteral("itemPropertiesDialog"));
    setWindowTitle(QStringLiteral("Properties"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pages"));
    m_general = new GeneralPage(settings, engine, sink, m_tabs);
    m_tabs->addTab(m_general, QStringLiteral("General"));
    if (m_item) {
        m_quotations = new QuotationsPage(m_doc, m_item, quotationIndex, m_tabs);
        m_tabs->addTab(m_quotations, QStringLiteral("Quotations"));
    }
    ChartOptions chart = settings.chart;
    m_chart = new ChartPage(chart, m_tabs);
    m_tabs->addTab(m_chart, QStringLiteral("Graphic"));
    m_investment = new InvestmentPage(settings, itemName, m_tabs);
    m_tabs->addTab(m_investment, QStringLiteral("Investment"));

    // A split multiplies the holding and divides the buy price and the limits; the
    // Investment page works on a copy, which takes the item's new values.
    if (m_quotations) {
        connect(m_quotations, &QuotationsPage::splitDone, this, [this] {
            if (const SecurityItem* item = m_doc.item(m_item))
                m_investment->applySplit(item->settings());
        });
    }
    connect(m_general, &GeneralPage::nameEdited, this, &ItemPropertiesDialog::showName);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ItemPropertiesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Help explains the page in front.
    buttons->addButton(QDialogButtonBox::Help)->setObjectName(QStringLiteral("helpButton"));
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
        const QWidget* page = m_tabs->currentWidget();
        const char* section = page == m_quotations ? "item-quotations"
                              : page == m_chart    ? "item-graphic"
                              : page == m_investment ? "item-investment"
                                                     : "item-general";
        openHelpPage(strings::kDialogHelpPage, section);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    showName(fromCore(settings.name));
}

void ItemPropertiesDialog::showName(const QString& name)
{
    setWindowTitle(QStringLiteral("Porperties of ") + name);
}

void ItemPropertiesDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_shown)
        QTimer::singleShot(0, m_general, &GeneralPage::checkConfiguration);
    m_shown = true;
}

bool ItemPropertiesDialog::renameConfirmed(const ItemSettings& settings)
{
    const SecurityItem* item = m_item ? m_doc.item(m_item) : nullptr;
    if (!item || settings.name == item->settings().name || !searchesForItemName(resolveServerConfig(settings.server)))
        return true;
    if (Prompter::instance().ask(this, text(strings::kRenameSearchesName)) == Prompter::Yes)
        return true;
    const QString oldName = fromCore(item->settings().name);
    m_tabs->setCurrentWidget(m_general);
    m_general->restoreName(oldName);
    showName(oldName);
    return false;
}

void ItemPropertiesDialog::accept()
{
    ItemSettings settings = m_settings;
    // The split may have changed the item's investment values meanwhile; the pages hold
    // what the user sees.
    if (const SecurityItem* item = m_item ? m_doc.item(m_item) : nullptr)
        settings = item->settings();
    if (!m_investment->takeValues(settings)) {
        m_tabs->setCurrentWidget(m_investment);
        return;
    }
    m_general->takeValues(settings);
    if (!renameConfirmed(settings))
        return;
    settings.chart = m_chart->takeValues();
    // OK is one step: the settings of all pages at once.
    if (m_item) {
        const char* step = settings.name != m_doc.itemName(m_item) ? steps::kRenameItem : steps::kEditItem;
        m_doc.recordEdit(step, [&] { m_doc.replaceItemSettings(m_item, settings); });
    } else {
        m_doc.recordEdit(steps::kInsertItem, [&] { m_item = m_doc.addItem(settings); });
    }
    QDialog::accept();
}

} // namespace tarvelo
