#include "model/portfoliodocument.h"

#include "model/archive.h"
#include "model/documentedit.h"
#include "model/investment.h"
#include "model/sharedfilesession.h"
#include "platform/translation.h"
#include "resources/strings.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>

namespace tarvelo {

PortfolioDocument::PortfolioDocument() : m_session(std::make_unique<SharedFileSession>()) {}

PortfolioDocument::~PortfolioDocument() = default;

int PortfolioDocument::subscribeViews(ViewUpdate callback)
{
    const int token = m_nextViewToken++;
    m_views.emplace_back(token, std::make_unique<ViewUpdate>(std::move(callback)));
    return token;
}

int PortfolioDocument::subscribeViews(std::function<void()> callback)
{
    return subscribeViews([callback = std::move(callback)](const DocumentChange&) { callback(); });
}

void PortfolioDocument::unsubscribeViews(int token)
{
    for (auto& view : m_views) {
        if (view.first == token)
            view.first = 0;
    }
    if (m_notifying == 0)
        std::erase_if(m_views, [](const auto& view) { return view.first == 0; });
}

void PortfolioDocument::notifyViews(const DocumentChange& change)
{
    // Views that subscribe while being told hear from the next change on; views that
    // unsubscribe are not told any more.
    ++m_notifying;
    const std::size_t count = m_views.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (m_views[i].first != 0)
            (*m_views[i].second)(change);
    }
    if (--m_notifying == 0)
        std::erase_if(m_views, [](const auto& view) { return view.first == 0; });
}

void PortfolioDocument::changed(const DocumentChange& change)
{
    m_modified = true;
    m_session->recordOtherChange();
    notifyViews(change);
}

void PortfolioDocument::added(ItemKey pos)
{
    m_session->recordAdded(pos);
    m_modified = true;
    notifyViews({DocumentChange::Kind::Added, pos});
}

void PortfolioDocument::inserted(ItemKey pos, std::vector<Quotation> quotations, QuotationAddition addition)
{
    if (const SecurityItem* item = find(pos))
        m_session->recordInserted(pos, ItemIdentity::of(*item), std::move(quotations), addition);
    m_modified = true;
    notifyViews({DocumentChange::Kind::Item, pos});
}

bool PortfolioDocument::hasNewQuotations() const
{
    return m_session->hasNewQuotations();
}

bool PortfolioDocument::hasNewQuotationsFor(ItemKey pos) const
{
    return m_session->hasNewQuotationsFor(pos);
}

bool PortfolioDocument::changedOnlyByAdditions() const
{
    return m_session->changedOnlyByAdditions();
}

void PortfolioDocument::forgetChanges()
{
    m_session->forgetChanges();
    m_modified = false;
}

ItemIdentity ItemIdentity::of(const SecurityItem& item)
{
    const ItemSettings& s = item.settings();
    return {s.name, s.server.name, s.server.url};
}

std::string PortfolioDocument::title() const
{
    if (m_filePath.empty())
        return translate("Portfolio", "Untitled");
    const auto slash = m_filePath.find_last_of('/');
    return slash == std::string::npos ? m_filePath : m_filePath.substr(slash + 1);
}

std::vector<ItemKey> PortfolioDocument::itemPositions() const
{
    std::vector<ItemKey> positions;
    positions.reserve(m_items.size());
    for (const Entry& entry : m_items)
        positions.push_back(ItemKey{entry.key});
    return positions;
}

SecurityItem* PortfolioDocument::find(ItemKey pos)
{
    const auto found = m_index.find(pos.key);
    return found == m_index.end() ? nullptr : found->second;
}

const SecurityItem* PortfolioDocument::find(ItemKey pos) const
{
    const auto found = m_index.find(pos.key);
    return found == m_index.end() ? nullptr : found->second;
}

const SecurityItem* PortfolioDocument::item(ItemKey pos) const
{
    return find(pos);
}

ItemKey PortfolioDocument::findItemPos(const SecurityItem* item) const
{
    for (const Entry& entry : m_items) {
        if (entry.item.get() == item)
            return ItemKey{entry.key};
    }
    return {};
}

bool sameItemName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::vector<ItemKey> PortfolioDocument::findItemsByName(const std::string& name) const
{
    std::vector<ItemKey> exact;
    std::vector<ItemKey> similar;
    for (const Entry& entry : m_items) {
        const std::string& own = entry.item->settings().name;
        if (own == name)
            exact.push_back(ItemKey{entry.key});
        else if (sameItemName(own, name))
            similar.push_back(ItemKey{entry.key});
    }
    return exact.empty() ? similar : exact;
}

ItemKey PortfolioDocument::append(std::unique_ptr<SecurityItem> item)
{
    item->setBeingUpdated(false);
    const std::uint64_t key = m_nextKey++;
    m_index.emplace(key, item.get());
    m_items.push_back({key, std::move(item)});
    return ItemKey{key};
}

ItemKey PortfolioDocument::addItem(const ItemSettings& settings)
{
    const ItemKey pos = append(std::make_unique<SecurityItem>(settings));
    if (DocumentEdit* edit = recording())
        edit->itemAdded(pos, m_items.size() - 1);
    added(pos);
    return pos;
}

ItemKey PortfolioDocument::addItemObject(std::unique_ptr<SecurityItem> item)
{
    if (!item)
        return {};
    const ItemKey pos = append(std::move(item));
    if (DocumentEdit* edit = recording())
        edit->itemAdded(pos, m_items.size() - 1);
    added(pos);
    return pos;
}

void PortfolioDocument::replaceItemSettings(ItemKey pos, const ItemSettings& settings)
{
    SecurityItem* item = find(pos);
    if (!item)
        return;
    if (DocumentEdit* edit = recording())
        edit->settingsReplaced(pos, item->settings(), settings);
    item->settings() = settings;
    changed({DocumentChange::Kind::Item, pos});
}

void PortfolioDocument::deleteItems(const std::vector<ItemKey>& items)
{
    for (const ItemKey pos : items) {
        const SecurityItem* item = find(pos);
        if (!item || item->isBeingUpdated())
            continue;
        std::size_t index = 0;
        std::unique_ptr<SecurityItem> removed = takeItem(pos, index);
        if (DocumentEdit* edit = recording())
            edit->itemRemoved(pos, index, std::move(removed));
    }
    changed({DocumentChange::Kind::Removed, {}});
}

std::size_t PortfolioDocument::insertQuotation(ItemKey pos, double value, std::int32_t time)
{
    SecurityItem* item = find(pos);
    if (!item)
        return 0;
    const std::size_t index = item->insertQuotation(Quotation{time, value});
    if (DocumentEdit* edit = recording())
        edit->quotationInserted(pos, index, QuotationAddition::Typed);
    inserted(pos, {Quotation{time, value}}, QuotationAddition::Typed);
    return index;
}

std::size_t PortfolioDocument::insertQuotations(ItemKey pos, std::span<const Quotation> batch)
{
    SecurityItem* item = find(pos);
    if (!item)
        return 0;
    std::vector<Quotation> added = item->newQuotations(batch);
    if (added.empty())
        return 0;
    if (DocumentEdit* edit = recording())
        edit->quotationsInserted(pos, item->history(), added);
    item->insertQuotations(added);
    const std::size_t count = added.size();
    inserted(pos, std::move(added), QuotationAddition::Batch);
    return count;
}

int PortfolioDocument::modifyQuotation(ItemKey pos, std::size_t index, double value, std::int32_t time)
{
    SecurityItem* item = find(pos);
    if (!item)
        return -1;
    const std::optional<Quotation> before =
        index < item->history().size() ? std::optional<Quotation>(item->history()[index]) : std::nullopt;
    const int result = item->modifyQuotation(index, value, time);
    if (result < 0)
        return result;
    if (DocumentEdit* edit = recording()) {
        edit->quotationRemoved(pos, index, *before);
        edit->quotationInserted(pos, result > 0 ? static_cast<std::size_t>(result - 1) : 0, std::nullopt);
    }
    changed({DocumentChange::Kind::Item, pos});
    return result;
}

bool PortfolioDocument::deleteQuotation(ItemKey pos, std::size_t index)
{
    SecurityItem* item = find(pos);
    if (!item || index >= item->history().size())
        return false;
    if (DocumentEdit* edit = recording())
        edit->quotationRemoved(pos, index, item->history()[index]);
    item->deleteQuotation(index);
    changed({DocumentChange::Kind::Item, pos});
    return true;
}

bool PortfolioDocument::deleteAllQuotations(ItemKey pos)
{
    if (SecurityItem* item = find(pos)) {
        // A recorded Delete All keeps the history itself, no copy of it.
        if (DocumentEdit* edit = recording(); edit && !item->history().empty())
            edit->historyRemoved(pos, item->takeHistory());
        item->deleteAllQuotations();
        changed({DocumentChange::Kind::Item, pos});
    }
    return true;
}

bool PortfolioDocument::splitQuotations(ItemKey pos, std::size_t index, double divisor)
{
    SecurityItem* item = find(pos);
    if (!item || !(divisor > 0.0))
        return false;
    if (DocumentEdit* edit = recording()) {
        ItemSettings adjusted = item->settings();
        adjustForSplit(adjusted, divisor);
        edit->settingsReplaced(pos, item->settings(), adjusted);
        edit->valuesDivided(pos, item->history(), index, divisor);
    }
    item->splitQuotations(index, divisor);
    changed({DocumentChange::Kind::Item, pos});
    return true;
}

void PortfolioDocument::invertQuotations(ItemKey pos)
{
    if (SecurityItem* item = find(pos)) {
        if (DocumentEdit* edit = recording())
            edit->valuesInverted(pos, item->history());
        item->invertQuotations();
        changed({DocumentChange::Kind::Item, pos});
    }
}

bool PortfolioDocument::applyDownloadedQuotation(ItemKey pos, const Quotation& record)
{
    SecurityItem* item = find(pos);
    if (!item)
        return true;
    double value = record.value;
    double newest = 0.0;
    if (item->lastValue(newest) && shownInCents(value, newest))
        value *= 0.01;
    const Quotation found{record.time, value};
    clearBeingUpdated(pos);
    if (item->holdsQuotationInMinute(found)) {
        notifyViews({DocumentChange::Kind::Item, pos});
        return true;
    }
    const std::size_t index = item->insertQuotation(found);
    if (DocumentEdit* edit = recording())
        edit->quotationInserted(pos, index, QuotationAddition::Downloaded);
    inserted(pos, {found}, QuotationAddition::Downloaded);
    return true;
}

std::string PortfolioDocument::itemName(ItemKey pos) const
{
    const SecurityItem* item = find(pos);
    return item ? item->settings().name : std::string();
}

std::string PortfolioDocument::itemSymbol(ItemKey pos) const
{
    const SecurityItem* item = find(pos);
    return item ? item->settings().symbol : std::string();
}

ChartOptions PortfolioDocument::chartOptions(ItemKey pos) const
{
    const SecurityItem* item = find(pos);
    return item ? item->settings().chart : ChartOptions{};
}

const std::vector<Quotation>* PortfolioDocument::quotations(ItemKey pos) const
{
    const SecurityItem* item = find(pos);
    return item ? &item->history() : nullptr;
}

bool PortfolioDocument::isBeingUpdated(ItemKey pos) const
{
    const SecurityItem* item = find(pos);
    return item ? item->isBeingUpdated() : true;
}

void PortfolioDocument::markBeingUpdated(ItemKey pos)
{
    SecurityItem* item = find(pos);
    if (item && !item->isBeingUpdated()) {
        item->setBeingUpdated(true);
        ++m_beingUpdated;
    }
}

void PortfolioDocument::clearBeingUpdated(ItemKey pos)
{
    SecurityItem* item = find(pos);
    if (item && item->isBeingUpdated()) {
        item->setBeingUpdated(false);
        --m_beingUpdated;
    }
}

void PortfolioDocument::clearItems()
{
    m_index.clear();
    m_items.clear();
    m_beingUpdated = 0;
}

void PortfolioDocument::startNew()
{
    clearItems();
    unlockFile();
    m_filePath.clear();
    m_session->setStamp(std::nullopt);
    forgetChanges();
    contentsReplaced();
    notifyViews();
}

DocumentResult PortfolioDocument::openFile(const std::string& path)
{
    // The file is read before anything is dropped: a file that cannot be read leaves
    // the open portfolio (and the file it belongs to) as it was.
    std::optional<FileStamp> stamp;
    FileNotes notes;
    LoadResult loaded = m_session->read(path, stamp, notes);
    if (!loaded.ok()) {
        if (notes.warning.empty())
            return loaded.failure();
        return Failure{loaded.message() + "\n" + notes.warning};
    }
    clearItems();
    if (!m_session->holdsLockFor(path))
        unlockFile();
    adoptLoadedItems(std::move(loaded->items));
    m_filePath = path;
    if (!loaded->warning.empty())
        notes.warning = notes.warning.empty() ? loaded->warning : loaded->warning + "\n" + notes.warning;
    m_session->setStamp(stamp);
    FileNotes opened = loadedAsItIs(std::move(notes.warning));
    opened.leftBackups = std::move(notes.leftBackups);
    return opened;
}

FileNotes PortfolioDocument::loadedAsItIs(std::string warning)
{
    forgetChanges();
    contentsReplaced();
    notifyViews();
    return FileNotes{std::move(warning), {}};
}

Result<void> PortfolioDocument::lockFile(const std::string& path)
{
    return m_session->lock(path);
}

void PortfolioDocument::unlockFile()
{
    m_session->unlock();
}

Result<void> PortfolioDocument::saveLocked(const std::string& path)
{
    if (Result<void> saved = SharedFileSession::write(path, items()); !saved.ok())
        return saved;
    m_filePath = path;
    m_session->restamp(path);
    forgetChanges();
    return Success{};
}

Result<void> PortfolioDocument::saveFile(const std::string& path)
{
    FileLock lock;
    if (Result<void> locked = m_session->lockUnlessHeld(path, lock); !locked.ok())
        return locked;
    return saveLocked(path);
}

PortfolioDocument::DiskState PortfolioDocument::diskState()
{
    return m_session->diskState(m_filePath);
}

DocumentResult PortfolioDocument::saveMerged()
{
    const std::string path = m_filePath;
    if (path.empty())
        return Failure{translate("File", strings::kFailedToSaveDocument)};
    FileLock lock;
    if (Result<void> locked = m_session->lockUnlessHeld(path, lock); !locked.ok())
        return locked.failure();
    if (!m_session->contentsChanged(path)) {
        if (Result<void> saved = saveLocked(path); !saved.ok())
            return saved.failure();
        return FileNotes{};
    }
    Result<MergedFile> merged = m_session->saveMerged(path, *this);
    if (!merged.ok())
        return merged.failure();
    adoptKeepingKeys(std::move(merged->items));
    m_session->restamp(path);
    forgetChanges();
    // The merge took in what another program saved: the recorded steps no longer fit.
    contentsReplaced();
    notifyViews();
    return FileNotes{std::move(merged->warning), {}};
}

DocumentResult PortfolioDocument::reloadFromDisk()
{
    if (m_filePath.empty())
        return Failure{translate("File", strings::kFailedToOpenDocument)};
    std::optional<FileStamp> stamp;
    LoadResult loaded = SharedFileSession::readStamped(m_filePath, stamp);
    if (!loaded.ok())
        return loaded.failure();
    adoptKeepingKeys(std::move(loaded->items));
    m_session->setStamp(stamp);
    return loadedAsItIs(std::move(loaded->warning));
}

void PortfolioDocument::adoptKeepingKeys(std::vector<std::unique_ptr<SecurityItem>> items)
{
    // Each new item takes the handle of the first unclaimed old item of its identity, so
    // that selections and running downloads follow it.
    std::unordered_multimap<std::string, std::size_t> oldByName;
    for (std::size_t i = 0; i < m_items.size(); ++i)
        oldByName.emplace(m_items[i].item->settings().name, i);
    std::vector<bool> claimed(m_items.size(), false);
    std::vector<Entry> adopted;
    adopted.reserve(items.size());
    std::size_t updating = 0;
    for (auto& item : items) {
        const ItemIdentity identity = ItemIdentity::of(*item);
        std::uint64_t key = 0;
        bool beingUpdated = false;
        const auto [first, last] = oldByName.equal_range(identity.name);
        for (auto it = first; it != last && key == 0; ++it) {
            const Entry& old = m_items[it->second];
            if (!claimed[it->second] && ItemIdentity::of(*old.item) == identity) {
                claimed[it->second] = true;
                key = old.key;
                beingUpdated = old.item->isBeingUpdated();
            }
        }
        if (key == 0)
            key = m_nextKey++;
        item->setBeingUpdated(beingUpdated);
        updating += beingUpdated ? 1 : 0;
        adopted.push_back({key, std::move(item)});
    }
    m_items = std::move(adopted);
    m_index.clear();
    for (const Entry& entry : m_items)
        m_index.emplace(entry.key, entry.item.get());
    m_beingUpdated = updating;
}

void PortfolioDocument::closeFile()
{
    clearItems();
    unlockFile();
    m_filePath.clear();
    m_session->setStamp(std::nullopt);
    forgetChanges();
    contentsReplaced();
    notifyViews();
}

std::unique_ptr<SecurityItem> PortfolioDocument::takeItem(ItemKey pos, std::size_t& index)
{
    const auto found = std::find_if(m_items.begin(), m_items.end(), [&](const Entry& entry) { return entry.key == pos.key; });
    if (found == m_items.end())
        return nullptr;
    index = static_cast<std::size_t>(found - m_items.begin());
    std::unique_ptr<SecurityItem> item = std::move(found->item);
    m_items.erase(found);
    m_index.erase(pos.key);
    if (item->isBeingUpdated()) {
        item->setBeingUpdated(false);
        --m_beingUpdated;
    }
    return item;
}

void PortfolioDocument::putItem(ItemKey pos, std::size_t index, std::unique_ptr<SecurityItem> item)
{
    item->setBeingUpdated(false);
    m_index.emplace(pos.key, item.get());
    index = std::min(index, m_items.size());
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(index), Entry{pos.key, std::move(item)});
}

DocumentEdit* PortfolioDocument::recording() const
{
    return m_namedEdit ? m_namedEdit : m_looseEdit.get();
}

void PortfolioDocument::setEditListener(EditListener* listener)
{
    m_editListener = listener;
    m_looseEdit = listener ? std::make_unique<DocumentEdit>(m_contents) : nullptr;
}

void PortfolioDocument::contentsReplaced()
{
    ++m_contents;
    if (!m_editListener)
        return;
    m_looseEdit = std::make_unique<DocumentEdit>(m_contents);
    m_editListener->editsDropped();
}

void PortfolioDocument::flushLooseEdit()
{
    if (!m_editListener || !m_looseEdit || m_looseEdit->empty())
        return;
    std::unique_ptr<DocumentEdit> loose = std::exchange(m_looseEdit, std::make_unique<DocumentEdit>(m_contents));
    m_editListener->editRecorded({}, std::move(loose));
}

void PortfolioDocument::recordEdit(const std::string& label, const std::function<void()>& change)
{
    if (!m_editListener || m_namedEdit) {
        change();
        return;
    }
    // What gathered before goes first, so that the steps stay in the order of the changes.
    flushLooseEdit();
    auto edit = std::make_unique<DocumentEdit>(m_contents);
    m_namedEdit = edit.get();
    struct Ending {
        DocumentEdit*& named;
        ~Ending() { named = nullptr; }
    } ending{m_namedEdit};
    change();
    if (!edit->empty() && edit->contents() == m_contents && m_editListener)
        m_editListener->editRecorded(label, std::move(edit));
}

bool PortfolioDocument::undo(DocumentEdit& edit)
{
    return flipEdit(edit, true);
}

bool PortfolioDocument::redo(DocumentEdit& edit)
{
    return flipEdit(edit, false);
}

bool PortfolioDocument::flipEdit(DocumentEdit& edit, bool back)
{
    if (edit.contents() != m_contents || m_namedEdit)
        return false;
    edit.flip(*this, back);
    m_modified = true;
    notifyViews(edit.notice());
    return true;
}

std::vector<const SecurityItem*> PortfolioDocument::items() const
{
    std::vector<const SecurityItem*> items;
    items.reserve(m_items.size());
    for (const Entry& entry : m_items)
        items.push_back(entry.item.get());
    return items;
}

void PortfolioDocument::adoptLoadedItems(std::vector<std::unique_ptr<SecurityItem>> items)
{
    for (auto& item : items)
        append(std::move(item));
}

} // namespace tarvelo
