#pragma once

#include "model/portfoliodocument.h"
#include "model/sourcehealth.h"
#include "platform/localtime.h"

#include <QObject>

#include <memory>
#include <random>

namespace tarvelo {

class DownloadEngine;
class DownloadHub;
class PortfolioListView;
struct ImportState;

// What the user does to the items of the portfolio list: the commands on the current
// item or on the selected ones, as the list shows them. Each does nothing when its item
// (or selection) is missing. Questions, messages and dialogs open over the list.
class ItemCommands : public QObject {
    Q_OBJECT
public:
    ItemCommands(PortfolioDocument& doc, PortfolioListView& list, QObject* parent = nullptr);
    ~ItemCommands() override;

    // Where item updates and test downloads run and report.
    void setDownloads(DownloadEngine* engine, DownloadHub* hub);

    void deleteSelectedItems(); // asks first
    void updateSelectedQuotations();
    void testQuotationUpdate();
    void manuallyUpdateQuotation();
    // The item property sheet for a new item; on OK the item is added and becomes current.
    void insertNewItem();
    // The property sheet of the current item, opened on the page (0 General, 1 Quotations,
    // 2 Graphic, 3 Investment) with the quotation of that index selected (negative: the
    // newest).
    void showProperties(int page = 0, int quotationIndex = -1);
    // The same for another item (the one the chart shows, say).
    void showProperties(ItemKey item, int page, int quotationIndex);
    void openWebPage();
    void refresh();
    void showTotals();
    void exportQuotations();
    // The import dialog for the current item, starting from the template, number format
    // and letter case the item was last imported with; on OK what its preview showed is
    // imported into the item and those settings are remembered for it. When nothing
    // could be imported the error is shown and the dialog opens again, as the user left it.
    void importQuotations();
    void copyItems();
    void cutItems();
    void pasteItems();
    static bool clipboardHasItems();

signals:
    // The property sheet gave an item another name or symbol: what is kept under its old
    // name (its source health) should follow.
    void itemRenamed(const HealthKey& from, const HealthKey& to);

private:
    bool copySelected();
    // Deletes the marked items after asking, as one step of that name.
    void deleteSelected(const char* step);
    TimeStamp now() const;

    PortfolioDocument& m_doc;
    PortfolioListView& m_list;
    DownloadEngine* m_engine = nullptr;
    DownloadHub* m_hub = nullptr;
    // The import dialog's settings, kept from one import to the next while the program
    // runs.
    std::unique_ptr<ImportState> m_import;
    // Draws the line colour of new items; seeded when the commands are made.
    std::mt19937 m_random{static_cast<std::mt19937::result_type>(std::random_device{}())};
};

} // namespace tarvelo
