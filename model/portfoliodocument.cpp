#include "model/portfoliodocument.h"

#include "model/archive.h"
#include "platform/codepage.h"
#include "platform/filepath.h"
#include "platform/leftbackups.h"

#include "resources/strings.h"

#include <algorithm>
#include <set>
#include <unordered_map>

namespace tarvelo {

PortfolioDocument::PortfolioDocument() = default;

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
    m_otherChanges = true;
    notifyViews(change);
}

void PortfolioDocument::added(ItemKey pos)
{
    m_addedKeys.push_back(pos.key);
    m_modified = true;
    notifyViews({DocumentChange::Kind::Added, pos});
}

void PortfolioDocument::inserted(ItemKey pos, std::vector<Quotation> quotations, Addition addition)
{
    if (const SecurityItem* item = find(pos))
        m_journal.push_back({pos.key, ItemIdentity::of(*item), std::move(quotations), addition});
    m_modified = true;
    notifyViews({DocumentChange::Kind::Item, pos});
}

bool PortfolioDocument::hasNewQuotationsFor(ItemKey pos) const
{
    return std::any_of(m_journal.begin(), m_journal.end(), [&](const NewQuotations& entry) { return entry.key == pos.key; });
}

void PortfolioDocument::forgetChanges()
{
    m_journal.clear();
    m_addedKeys.clear();
    m_otherChanges = false;
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
        return "Untitled";
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
    added(pos);
    return pos;
}

ItemKey PortfolioDocument::addItemObject(std::unique_ptr<SecurityItem> item)
{
    if (!item)
        return {};
    const ItemKey pos = append(std::move(item));
    added(pos);
    return pos;
}

void PortfolioDocument::replaceItemSettings(ItemKey pos, const ItemSettings& settings)
{
    SecurityItem* item = find(pos);
    if (!item)
        return;
    item->settings() = settings;
    changed({DocumentChange::Kind::Item, pos});
}

void PortfolioDocument::deleteItems(const std::vector<ItemKey>& items)
{
    for (const ItemKey pos : items) {
        const SecurityItem* item = find(pos);
        if (!item || item->isBeingUpdated())
            continue;
        m_index.erase(pos.key);
        std::erase_if(m_items, [&](const Entry& entry) { return entry.key == pos.key; });
    }
    changed({DocumentChange::Kind::Removed, {}});
}

std::size_t PortfolioDocument::insertQuotation(ItemKey pos, double value, std::int32_t time)
{
    SecurityItem* item = find(pos);
    if (!item)
        return 0;
    const std::size_t index = item->insertQuotation(Quotation{time, value});
    inserted(pos, {Quotation{time, value}}, Addition::Typed);
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
    item->insertQuotations(added);
    const std::size_t count = added.size();
    inserted(pos, std::move(added), Addition::Batch);
    return count;
}

int PortfolioDocument::modifyQuotation(ItemKey pos, std::size_t index, double value, std::int32_t time)
{
    SecurityItem* item = find(pos);
    if (!item)
        return -1;
    const int result = item->modifyQuotation(index, value, time);
    if (result >= 0)
        changed({DocumentChange::Kind::Item, pos});
    return result;
}

bool PortfolioDocument::deleteQuotation(ItemKey pos, std::size_t index)
{
    SecurityItem* item = find(pos);
    if (!item || !item->deleteQuotation(index))
        return false;
    changed({DocumentChange::Kind::Item, pos});
    return true;
}

bool PortfolioDocument::deleteAllQuotations(ItemKey pos)
{
    if (SecurityItem* item = find(pos)) {
        item->deleteAllQuotations();
        changed({DocumentChange::Kind::Item, pos});
    }
    return true;
}

bool PortfolioDocument::splitQuotations(ItemKey pos, std::size_t index, double divisor)
{
    SecurityItem* item = find(pos);
    if (!item || !item->splitQuotations(index, divisor))
        return false;
    changed({DocumentChange::Kind::Item, pos});
    return true;
}

void PortfolioDocument::invertQuotations(ItemKey pos)
{
    if (SecurityItem* item = find(pos)) {
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
    if (item->lastValue(newest) && newest > 0.0) {
        const double ratio = value / newest;
        if (ratio > 80.0 && ratio < 150.0)
            value *= 0.01;
    }
    const Quotation found{record.time, value};
    clearBeingUpdated(pos);
    if (item->holdsQuotationInMinute(found)) {
        notifyViews({DocumentChange::Kind::Item, pos});
        return true;
    }
    item->insertQuotation(found);
    inserted(pos, {found}, Addition::Downloaded);
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
    m_stamp.reset();
    forgetChanges();
    notifyViews();
}

namespace {

// Holds the texts of loaded items to their bounds and says so in the load's warning.
void boundLoadedTexts(LoadedFile& loaded, const std::string& path)
{
    bool cut = false;
    for (auto& item : loaded.items)
        cut = boundItemTexts(item->settings()) || cut;
    if (!cut)
        return;
    if (!loaded.warning.empty())
        loaded.warning += '\n';
    loaded.warning += pathText(path) + ": names and symbols longer than " + std::to_string(kMaxItemNameLength)
                    + " characters, or memos longer than " + std::to_string(kMaxItemMemoLength)
                    + ", were shortened to that length.";
}

// Loads the file and stamps what was loaded. The stamp is read after the load; should
// the file have been replaced meanwhile, the load is repeated, so that the stamp never
// describes newer contents than the items.
LoadResult loadStamped(const std::string& path, std::optional<FileStamp>& stamp)
{
    for (int attempt = 0;; ++attempt) {
        const std::optional<FileStamp> before = readFileStamp(path, false);
        LoadResult loaded = loadPortfolioFile(path);
        stamp = readFileStamp(path, true);
        if (!loaded.ok() || attempt == 3 || (before && stamp && before->sameEntry(*stamp))) {
            if (loaded.ok())
                boundLoadedTexts(*loaded, path);
            return loaded;
        }
    }
}

// Refuses a save that would write a text beyond its bound; those are held back where
// texts come in, so this only keeps a save from ever cutting one without a word.
std::string overlongTextProblem(const std::vector<const SecurityItem*>& items)
{
    for (const SecurityItem* item : items) {
        const std::string field = overlongItemText(item->settings());
        if (!field.empty())
            return "The " + field + " of the item \"" + item->settings().name.substr(0, 40)
                 + "\" is too long to be saved; shorten it to "
                 + std::to_string(field == "memo" ? kMaxItemMemoLength : kMaxItemNameLength) + " characters.";
    }
    return {};
}

} // namespace

DocumentResult PortfolioDocument::openFile(const std::string& path)
{
    // The file is read before anything is dropped: a file that cannot be read leaves
    // the open portfolio (and the file it belongs to) as it was.
    std::optional<FileStamp> stamp;
    LoadResult loaded = loadStamped(path, stamp);
    FileNotes notes;
    settleLeftBackups(path, loaded, stamp, notes);
    if (!loaded.ok()) {
        if (notes.warning.empty())
            return loaded.failure();
        return Failure{loaded.message() + "\n" + notes.warning};
    }
    clearItems();
    if (!holdsLockFor(path))
        unlockFile();
    adoptLoadedItems(std::move(loaded->items));
    m_filePath = path;
    if (!loaded->warning.empty())
        notes.warning = notes.warning.empty() ? loaded->warning : loaded->warning + "\n" + notes.warning;
    FileNotes opened = loadedAsItIs(std::move(notes.warning), stamp);
    opened.leftBackups = std::move(notes.leftBackups);
    return opened;
}

void PortfolioDocument::settleLeftBackups(const std::string& path, LoadResult& loaded,
                                          std::optional<FileStamp>& stamp, FileNotes& notes)
{
    std::vector<std::string> backups = findLeftBackups(path);
    if (backups.empty())
        return;
    // Damaged: the file does not read, or reads as nothing (cut short before the first
    // byte) while the copy holds something. A file that cannot be opened at all is
    // not ours to replace.
    const std::optional<FileStamp> entry = readFileStamp(path, false);
    const std::optional<FileStamp> copy = readFileStamp(backups.front(), false);
    const bool damaged = entry && copy
                      && ((!loaded.ok() && loaded.message() == strings::kUnexpectedFileFormat)
                          || (loaded.ok() && entry->size == 0 && copy->size > 0));
    if (damaged) {
        FileLock lock;
        const bool locked = holdsLockFor(path) || acquireLock(path, lock).ok();
        // Looked for again under the lock: a save that was under way has its copy
        // removed or locked by now.
        if (locked)
            backups = findLeftBackups(path);
        if (locked && !backups.empty() && restoreBackup(path, backups.front()) == FileError::None) {
            notes.warning = pathText(path) + " was damaged by a save that did not finish; it has been restored from "
                           + pathText(backups.front()) + ", the copy that save had made.";
            backups.erase(backups.begin());
            loaded = loadStamped(path, stamp);
        }
    }
    for (const std::string& backup : backups) {
        if (!notes.warning.empty())
            notes.warning += '\n';
        if (!loaded.ok()) {
            notes.warning += pathText(backup) + " is a copy of " + pathText(path)
                            + " made by a save that did not finish; it may hold the portfolio as it was.";
            continue;
        }
        notes.warning += pathText(backup) + " is a copy of " + pathText(path)
                       + " left by a save that did not finish; the portfolio reads whole, so the copy is"
                         " probably older. Remove it when it is no longer needed.";
        notes.leftBackups.push_back(backup);
    }
}

FileNotes PortfolioDocument::loadedAsItIs(std::string warning, const std::optional<FileStamp>& stamp)
{
    m_stamp = stamp;
    forgetChanges();
    notifyViews();
    return FileNotes{std::move(warning), {}};
}

Result<void> PortfolioDocument::acquireLock(const std::string& path, FileLock& lock) const
{
    switch (lock.acquire(path, lockWait())) {
    case FileLock::Result::Locked:
    case FileLock::Result::Unavailable: // nowhere to lock; the save reports its own errors
        return Success{};
    case FileLock::Result::TimedOut:
        break;
    case FileLock::Result::NotOurs:
        return Failure{"The lock file " + pathText(FileLock::lockFilePath(path))
                       + " is not ours; remove it if no other program uses the portfolio"};
    }
    const std::string other = lock.otherHolder().empty() ? std::string("another program") : lock.otherHolder();
    return Failure{pathText(path) + " is in use by " + other + "; try again when it has finished."};
}

bool PortfolioDocument::holdsLockFor(const std::string& path) const
{
    return m_lock.held() && !path.empty() && resolveLinks(path) == m_lockedPath;
}

Result<void> PortfolioDocument::lockFile(const std::string& path)
{
    if (holdsLockFor(path))
        return Success{};
    unlockFile();
    Result<void> result = acquireLock(path, m_lock);
    if (result.ok() && m_lock.held())
        m_lockedPath = resolveLinks(path);
    return result;
}

void PortfolioDocument::unlockFile()
{
    m_lock.release();
    m_lockedPath.clear();
}

Result<void> PortfolioDocument::saveLocked(const std::string& path)
{
    if (std::string problem = overlongTextProblem(items()); !problem.empty())
        return Failure{std::move(problem)};
    if (Result<void> saved = savePortfolioFile(path, items()); !saved.ok())
        return saved;
    m_filePath = path;
    m_stamp = readFileStamp(path, true);
    forgetChanges();
    return Success{};
}

Result<void> PortfolioDocument::saveFile(const std::string& path)
{
    FileLock lock;
    if (!holdsLockFor(path)) {
        if (Result<void> locked = acquireLock(path, lock); !locked.ok())
            return locked;
    }
    return saveLocked(path);
}

PortfolioDocument::DiskState PortfolioDocument::diskState()
{
    if (m_filePath.empty() || !m_stamp)
        return DiskState::Unchanged;
    const std::optional<FileStamp> entry = readFileStamp(m_filePath, false);
    if (!entry)
        return DiskState::Missing;
    if (entry->sameEntry(*m_stamp))
        return DiskState::Unchanged;
    const std::optional<FileStamp> now = readFileStamp(m_filePath, true);
    if (!now)
        return DiskState::Missing;
    if (now->hash == m_stamp->hash && now->size == m_stamp->size) {
        m_stamp = now; // touched or rewritten with the same bytes
        return DiskState::Unchanged;
    }
    return DiskState::Changed;
}

DocumentResult PortfolioDocument::saveMerged()
{
    const std::string path = m_filePath;
    if (path.empty())
        return Failure{strings::kFailedToSaveDocument};
    FileLock lock;
    if (!holdsLockFor(path)) {
        if (Result<void> locked = acquireLock(path, lock); !locked.ok())
            return locked.failure();
    }
    const std::optional<FileStamp> now = readFileStamp(path, true);
    if (!now || !m_stamp || (now->hash == m_stamp->hash && now->size == m_stamp->size)) {
        if (Result<void> saved = saveLocked(path); !saved.ok())
            return saved.failure();
        return FileNotes{};
    }

    // Someone else saved meanwhile: their file is the base, ours adds to it.
    LoadResult loaded = loadPortfolioFile(path);
    if (!loaded.ok())
        return loaded.failure();
    LoadedFile& fresh = *loaded;
    boundLoadedTexts(fresh, path);
    std::unordered_multimap<std::string, SecurityItem*> byName;
    for (const auto& item : fresh.items)
        byName.emplace(item->settings().name, item.get());
    const auto findFresh = [&](const ItemIdentity& identity) -> SecurityItem* {
        const auto [first, last] = byName.equal_range(identity.name);
        for (auto it = first; it != last; ++it) {
            if (ItemIdentity::of(*it->second) == identity)
                return it->second;
        }
        return nullptr;
    };
    const std::set<std::uint64_t> added(m_addedKeys.begin(), m_addedKeys.end());
    for (const std::uint64_t key : m_addedKeys) {
        const SecurityItem* item = find(ItemKey{key});
        if (!item)
            continue; // added and deleted again
        if (SecurityItem* there = findFresh(ItemIdentity::of(*item))) {
            there->insertQuotations(there->newQuotations(item->history()));
        } else {
            auto copy = std::make_unique<SecurityItem>(*item);
            byName.emplace(copy->settings().name, copy.get());
            fresh.items.push_back(std::move(copy));
        }
    }
    std::vector<std::string> gone;
    for (const NewQuotations& entry : m_journal) {
        if (added.count(entry.key) != 0 && find(ItemKey{entry.key}))
            continue; // the item's copy carries them
        SecurityItem* there = findFresh(entry.identity);
        if (!there) {
            if (std::find(gone.begin(), gone.end(), entry.identity.name) == gone.end())
                gone.push_back(entry.identity.name);
            continue;
        }
        switch (entry.addition) {
        case Addition::Batch:
            there->insertQuotations(there->newQuotations(entry.quotations));
            break;
        case Addition::Downloaded:
            if (!there->holdsQuotationInMinute(entry.quotations.front()))
                there->insertQuotation(entry.quotations.front());
            break;
        case Addition::Typed:
            there->insertQuotation(entry.quotations.front());
            break;
        }
    }
    std::vector<const SecurityItem*> items;
    items.reserve(fresh.items.size());
    for (const auto& item : fresh.items)
        items.push_back(item.get());
    if (std::string problem = overlongTextProblem(items); !problem.empty())
        return Failure{std::move(problem)};
    if (Result<void> saved = savePortfolioFile(path, items); !saved.ok())
        return saved.failure();
    adoptKeepingKeys(std::move(fresh.items));
    m_stamp = readFileStamp(path, true);
    forgetChanges();
    notifyViews();
    FileNotes result;
    result.warning = std::move(fresh.warning);
    for (const std::string& name : gone) {
        if (!result.warning.empty())
            result.warning += '\n';
        result.warning += "\"" + name + "\" is no longer in " + pathText(path) + "; its new quotations were not saved.";
    }
    return result;
}

DocumentResult PortfolioDocument::reloadFromDisk()
{
    if (m_filePath.empty())
        return Failure{strings::kFailedToOpenDocument};
    std::optional<FileStamp> stamp;
    LoadResult loaded = loadStamped(m_filePath, stamp);
    if (!loaded.ok())
        return loaded.failure();
    adoptKeepingKeys(std::move(loaded->items));
    return loadedAsItIs(std::move(loaded->warning), stamp);
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
    m_stamp.reset();
    forgetChanges();
    notifyViews();
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
