#include "ui/itemcommands.h"

#include "download/downloadengine.h"
#include "download/updaterun.h"
#include "extraction/urltemplate.h"
#include "resources/strings.h"
#include "servers/serverstore.h"
#include "transfer/export.h"
#include "transfer/payload.h"
#include "ui/downloadhub.h"
#include "ui/importdialog.h"
#include "ui/itemproperties/itempropertiesdialog.h"
#include "ui/manualquotationdialog.h"
#include "ui/portfoliolistview.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/shell.h"
#include "ui/undosteps.h"

#include <QCoreApplication>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace tarvelo {

ItemCommands::ItemCommands(PortfolioDocument& doc, PortfolioListView& list, QObject* parent)
    : QObject(parent), m_doc(doc), m_list(list)
{
}

ItemCommands::~ItemCommands() = default;

void ItemCommands::setDownloads(DownloadEngine* engine, DownloadHub* hub)
{
    m_engine = engine;
    m_hub = hub;
}

TimeStamp ItemCommands::now() const
{
    const TimeStamp fixed = m_list.fixedNow();
    return fixed ? fixed : currentTime();
}

void ItemCommands::deleteSelectedItems()
{
    deleteSelected(steps::kDeleteItem);
}

void ItemCommands::deleteSelected(const char* step)
{
    if (m_list.selectedPositions().empty())
        return;
    if (Prompter::instance().ask(&m_list, text(strings::kDeleteConfirm)) != Prompter::Yes)
        return;
    const std::vector<ItemKey> doomed = m_list.selectedPositions();
    if (!doomed.empty())
        m_doc.recordEdit(step, [&] { m_doc.deleteItems(doomed); });
}

void ItemCommands::updateSelectedQuotations()
{
    const std::vector<ItemKey>& selected = m_list.selectedPositions();
    if (selected.empty()) {
        Prompter::instance().inform(&m_list, text(strings::kNoItems), Prompter::Icon::None);
        return;
    }
    if (m_hub)
        m_hub->updateItems(selected);
}

void ItemCommands::testQuotationUpdate()
{
    const SecurityItem* item = m_doc.item(m_list.currentPosition());
    if (!item || !m_engine || !m_hub)
        return;
    startTestDownload(*m_engine, *m_hub, resolveServerConfig(item->settings().server), item->settings().name,
                      item->settings().symbol);
}

void ItemCommands::manuallyUpdateQuotation()
{
    const ItemKey pos = m_list.currentPosition();
    const SecurityItem* item = m_doc.item(pos);
    if (!item)
        return;
    ManualQuotationDialog dialog(item->settings().name, now(), &m_list);
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return;
    if (m_doc.isValid(pos))
        m_doc.recordEdit(steps::kManualQuotation, [&] { m_doc.insertQuotation(pos, dialog.value(), dialog.time()); });
}

void ItemCommands::insertNewItem()
{
    if (!m_engine || !m_hub)
        return;
    ItemPropertiesDialog sheet(m_doc, newItemSettings(static_cast<std::int32_t>(now()), m_random), *m_engine, *m_hub,
                               &m_list);
    if (Prompter::instance().exec(sheet) != QDialog::Accepted || !sheet.item())
        return;
    m_list.setCurrentPosition(sheet.item());
}

void ItemCommands::showProperties(int page, int quotationIndex)
{
    showProperties(m_list.currentPosition(), page, quotationIndex);
}

void ItemCommands::showProperties(ItemKey item, int page, int quotationIndex)
{
    if (!m_engine || !m_hub || !m_doc.item(item))
        return;
    const HealthKey before = healthKeyOf(*m_doc.item(item));
    ItemPropertiesDialog sheet(m_doc, item, static_cast<ItemPropertiesDialog::Page>(page), quotationIndex, *m_engine,
                               *m_hub, &m_list);
    if (Prompter::instance().exec(sheet) != QDialog::Accepted || !m_doc.item(item))
        return;
    if (const HealthKey after = healthKeyOf(*m_doc.item(item)); after != before)
        emit itemRenamed(before, after);
}

void ItemCommands::openWebPage()
{
    const SecurityItem* item = m_doc.item(m_list.currentPosition());
    if (!item)
        return;
    const std::string address =
        expandItemVariables(resolveServerConfig(item->settings().server).url, item->settings().name, item->settings().symbol);
    if (!address.empty())
        Shell::instance().open(address);
}

void ItemCommands::refresh()
{
    m_doc.notifyViews();
}

void ItemCommands::showTotals()
{
    // The amount pane shows what the box shows.
    m_list.sendPendingTotals();
    Prompter::instance().inform(&m_list, m_list.amountText(), Prompter::Icon::Information);
}

void ItemCommands::exportQuotations()
{
    // The portfolio's path without its extension is proposed.
    QString proposed = fromPath(m_doc.filePath());
    if (proposed.size() >= 4 && proposed.at(proposed.size() - 4) == QLatin1Char('.'))
        proposed.chop(4);
    const QString path = Prompter::instance().saveFileName(&m_list, tr("Export"), proposed,
                                                           text(strings::kExportFilter), QStringLiteral("xls"));
    if (path.isEmpty())
        return;
    const Result<void> result = tarvelo::exportQuotations(m_doc.items(), toPath(path));
    if (!result.ok())
        Prompter::instance().inform(&m_list, fileMessage(path, fromCore(result.message())), Prompter::Icon::Warning);
}

void ItemCommands::importQuotations()
{
    const ItemKey item = m_list.currentPosition();
    if (!item || !m_doc.isValid(item))
        return;
    if (!m_import)
        m_import = std::make_unique<ImportState>();
    const WorkerSettings workers = m_engine ? m_engine->workerSettings() : readWorkerSettings();
    const TimeStamp fixed = m_list.fixedNow();
    // Each item starts from the template and format it was last imported with, never
    // from another item's.
    const std::string name = m_doc.itemName(item);
    m_import->settings = rememberedImportSettings(name, m_import->settings);
    for (;;) {
        ImportDialog dialog(*m_import, m_doc, item, workers, fixed, &m_list);
        if (Prompter::instance().exec(dialog) != QDialog::Accepted)
            break;
        if (!m_doc.isValid(item))
            break;
        // What the preview showed goes into the item, all in one change of the document.
        Result<ImportReport> result = Failure{};
        m_doc.recordEdit(steps::kImport, [&] { result = importMatched(m_doc, item, dialog.takeMatch()); });
        if (result.ok()) {
            rememberImportSettings(name, m_import->settings);
            // Lines that gave nothing new are told about; a clean import needs no words.
            if (result->skipped > 0 || result->duplicates > 0 || result->stopped)
                Prompter::instance().inform(&m_list, fromCore(result->report), Prompter::Icon::Information);
            break;
        }
        // The dialog opens again with the same words in its status, to correct the template.
        m_import->status = result.message();
        Prompter::instance().inform(&m_list, fromCore(result.message()), Prompter::Icon::Warning);
    }
    // The copy of the file is not needed once the dialog is left for good.
    m_import->removeLoadedFile();
}

bool ItemCommands::copySelected()
{
    std::vector<const SecurityItem*> items;
    for (const ItemKey pos : m_list.selectedPositions()) {
        if (const SecurityItem* item = m_doc.item(pos))
            items.push_back(item);
    }
    if (items.empty())
        return false;
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard) {
        Prompter::instance().inform(&m_list, text(strings::kClipboardNotOpened), Prompter::Icon::Warning);
        return false;
    }
    const std::string payload = writeItemsPayload(items);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kItemsMimeType),
                  QByteArray(payload.data(), static_cast<qsizetype>(payload.size())));
    clipboard->setMimeData(data);
    return true;
}

void ItemCommands::copyItems()
{
    copySelected();
}

void ItemCommands::cutItems()
{
    if (copySelected())
        deleteSelected(steps::kCut);
}

bool ItemCommands::clipboardHasItems()
{
    const QClipboard* clipboard = QApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasFormat(QString::fromLatin1(kItemsMimeType));
}

void ItemCommands::pasteItems()
{
    const QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard) {
        Prompter::instance().inform(&m_list, text(strings::kClipboardNotOpened), Prompter::Icon::Warning);
        return;
    }
    const QMimeData* data = clipboard->mimeData();
    const QByteArray bytes = data ? data->data(QString::fromLatin1(kItemsMimeType)) : QByteArray();
    if (bytes.isEmpty()) {
        Prompter::instance().inform(&m_list, QCoreApplication::translate("Import", strings::kClipboardNotRead), Prompter::Icon::Warning);
        return;
    }
    Result<std::size_t> pasted = std::size_t{0};
    m_doc.recordEdit(steps::kPaste, [&] {
        pasted = tarvelo::pasteItems(m_doc, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    });
    if (!pasted.ok())
        Prompter::instance().inform(&m_list, fromCore(pasted.message()), Prompter::Icon::Warning);
}

} // namespace tarvelo
