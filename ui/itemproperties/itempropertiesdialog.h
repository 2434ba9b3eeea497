#pragma once

#include "model/itemsettings.h"
#include "model/portfoliodocument.h"

#include <QDialog>

class QTabWidget;

namespace tarvelo {

class ChartPage;
class DownloadEngine;
class GeneralPage;
class InvestmentPage;
class MessageSink;
class QuotationsPage;

// The item property sheet: General, Quotations (existing items only), Graphic and
// Investment. OK gives the document the sheet's settings, replacing an existing item's or
// adding a new item; Cancel changes no setting. What the Quotations page did to the
// history, and configurations written or deleted in the store, stay as they are.
class ItemPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    // The pages in tab order; an existing item shows all four.
    enum Page { General = 0, Quotations = 1, Graphic = 2, Investment = 3 };

    // An existing item, opened on the given page with the quotation of that index (from
    // the oldest; negative: the newest) selected on the Quotations page.
    ItemPropertiesDialog(PortfolioDocument& doc, ItemKey item, Page first, int quotationIndex, DownloadEngine& engine,
                         MessageSink& sink, QWidget* parent = nullptr);
    // A new item with the given settings (those of a new item); three pages.
    ItemPropertiesDialog(PortfolioDocument& doc, const ItemSettings& fresh, DownloadEngine& engine, MessageSink& sink,
                         QWidget* parent = nullptr);

    // The item the sheet changed or added; null before OK for a new item.
    ItemKey item() const { return m_item; }
    QTabWidget* tabs() const { return m_tabs; }

    void accept() override;

protected:
    // Tells about a configuration missing from the store once the sheet is on screen.
    void showEvent(QShowEvent* event) override;

private:
    void build(const ItemSettings& settings, const std::string& itemName, DownloadEngine& engine, MessageSink& sink,
               int quotationIndex);
    void showName(const QString& name);
    // A new name for an item whose configuration searches for its name is confirmed
    // first; No puts the old name back and keeps the sheet open.
    bool renameConfirmed(const ItemSettings& settings);

    PortfolioDocument& m_doc;
    ItemKey m_item;
    ItemSettings m_settings;
    QTabWidget* m_tabs = nullptr;
    GeneralPage* m_general = nullptr;
    QuotationsPage* m_quotations = nullptr;
    ChartPage* m_chart = nullptr;
    InvestmentPage* m_investment = nullptr;
    bool m_shown = false;
};

} // namespace tarvelo
