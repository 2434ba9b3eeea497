#include "model/portfoliodocument.h"

#include "model/archive.h"
#include "model/generaloptions.h"
#include "platform/codepage.h"

#include "resources/Strings.h"

#include <algorithm>
#include <set>
#include <unordered_map>

namespace tarvelo {

std::atomic<int> g_bAbortDownloads{0};

int ReadNumberDownloads()
{
    return std::clamp(LoadOptions().numberDownloads, 1, 500);
}

PortfolioDocument::PortfolioDocument() : PortfolioDocument(ReadNumberDownloads()) {}

PortfolioDocument::PortfolioDocument(int downloadSlots)
    : m_slotCount(std::clamp(downloadSlots, 1, 500)), m_slots(std::make_unique<DownloadSlots>(m_slotCount))
{
}

PortfolioDocument::~PortfolioDocument() = default;

int PortfolioDocument::SubscribeViews(ViewUpdate callback)
{
    const int token = m_nextViewToken++;
    m_views.emplace_back(token, std::make_unique<ViewUpdate>(std::move(callback)));
    return token;
}

int PortfolioDocument::SubscribeViews(std::function<void()> callback)
{
    return SubscribeViews([callback = std::move(callback)](const DocumentChange&) { callback(); });
}

void PortfolioDocument::UnsubscribeViews(int token)
{
    for (auto& view : m_views) {
        if (view.first == token)
            view.first = 0;
    }
    if (m_notifying == 0)
        std::erase_if(m_views, [](const auto& view) { return view.first == 0; });
}

void PortfolioDocument::UpdateAllViews(const DocumentChange& change)
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

void PortfolioDocument::Changed(const DocumentChange& change)
{
    m_modified = true;
    m_otherChanges = true;
    UpdateAllViews(change);
}

void PortfolioDocument::Added(ItemKey pos)
{
    m_addedKeys.push_back(pos.key);
    m_modified = true;
    UpdateAllViews({DocumentChange::Kind::Added, pos});
}

void PortfolioDocument::Inserted(ItemKey pos, std::vector<Quotation> quotations, bool batch)
{
    if (const SecurityItem* item = Find(pos))
        m_journal.push_back({pos.key, ItemIdentity::of(*item), std::move(quotations), batch});
    m_modified = true;
    UpdateAllViews({DocumentChange::Kind::Item, pos});
}

void PortfolioDocument::ForgetChanges()
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

std::string PortfolioDocument::GetTitle() const
{
    if (m_pathName.empty())
        return "Untitled";
    const auto slash = m_pathName.find_last_of('/');
    return slash == std::string::npos ? m_pathName : m_pathName.substr(slash + 1);
}

std::vector<ItemKey> PortfolioDocument::GetItemPositions() const
{
    std::vector<ItemKey> positions;
    positions.reserve(m_items.size());
    for (const Entry& entry : m_items)
        positions.push_back(ItemKey{entry.key});
    return positions;
}

SecurityItem* PortfolioDocument::Find(ItemKey pos)
{
    const auto found = m_index.find(pos.key);
    return found == m_index.end() ? nullptr : found->second;
}

const SecurityItem* PortfolioDocument::Find(ItemKey pos) const
{
    const auto found = m_index.find(pos.key);
    return found == m_index.end() ? nullptr : found->second;
}

const SecurityItem* PortfolioDocument::GetItem(ItemKey pos) const
{
    return Find(pos);
}

ItemKey PortfolioDocument::FindItemPos(const SecurityItem* item) const
{
    for (const Entry& entry : m_items) {
        if (entry.item.get() == item)
            return ItemKey{entry.key};
    }
    return {};
}

bool SameItemName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::vector<ItemKey> PortfolioDocument::FindItemsByName(const std::string& name) const
{
    std::vector<ItemKey> exact;
    std::vector<ItemKey> similar;
    for (const Entry& entry : m_items) {
        const std::string& own = entry.item->settings().name;
        if (own == name)
            exact.push_back(ItemKey{entry.key});
        else if (SameItemName(own, name))
            similar.push_back(ItemKey{entry.key});
    }
    return exact.empty() ? similar : exact;
}

ItemKey PortfolioDocument::Append(std::unique_ptr<SecurityItem> item)
{
    item->setBeingUpdated(false);
    const std::uint64_t key = m_nextKey++;
    m_index.emplace(key, item.get());
    m_items.push_back({key, std::move(item)});
    return ItemKey{key};
}

ItemKey PortfolioDocument::AddItem(const ItemSettings& settings)
{
    const ItemKey pos = Append(std::make_unique<SecurityItem>(settings));
    Added(pos);
    return pos;
}

ItemKey PortfolioDocument::AddItemObject(std::unique_ptr<SecurityItem> item)
{
    if (!item)
        return {};
    const ItemKey pos = Append(std::move(item));
    Added(pos);
    return pos;
}

void PortfolioDocument::ReplaceItemSettings(ItemKey pos, const ItemSettings& settings)
{
    SecurityItem* item = Find(pos);
    if (!item)
        return;
    item->settings() = settings;
    Changed({DocumentChange::Kind::Item, pos});
}

void PortfolioDocument::DeleteItems(const std::vector<ItemKey>& items)
{
    for (const ItemKey pos : items) {
        const SecurityItem* item = Find(pos);
        if (!item || item->isBeingUpdated())
            continue;
        m_index.erase(pos.key);
        std::erase_if(m_items, [&](const Entry& entry) { return entry.key == pos.key; });
    }
    Changed({DocumentChange::Kind::Removed, {}});
}

std::size_t PortfolioDocument::InsertQuotation(ItemKey pos, double value, std::int32_t time)
{
    SecurityItem* item = Find(pos);
    if (!item)
        return 0;
    const std::size_t index = item->InsertQuotation(Quotation{time, value});
    Inserted(pos, {Quotation{time, value}}, false);
    return index;
}

void PortfolioDocument::InsertQuotations(ItemKey pos, std::span<const Quotation> batch)
{
    SecurityItem* item = Find(pos);
    if (!item)
        return;
    item->InsertQuotations(batch);
    Inserted(pos, std::vector<Quotation>(batch.begin(), batch.end()), true);
}

int PortfolioDocument::ModifyQuotation(ItemKey pos, std::size_t index, double value, std::int32_t time)
{
    SecurityItem* item = Find(pos);
    if (!item)
        return -1;
    const int result = item->ModifyQuotation(index, value, time);
    if (result >= 0)
        Changed({DocumentChange::Kind::Item, pos});
    return result;
}

bool PortfolioDocument::DeleteQuotation(ItemKey pos, std::size_t index)
{
    SecurityItem* item = Find(pos);
    if (!item || !item->DeleteQuotation(index))
        return false;
    Changed({DocumentChange::Kind::Item, pos});
    return true;
}

bool PortfolioDocument::DeleteAllQuotations(ItemKey pos)
{
    if (SecurityItem* item = Find(pos)) {
        item->DeleteAllQuotations();
        Changed({DocumentChange::Kind::Item, pos});
    }
    return true;
}

bool PortfolioDocument::SplitQuotations(ItemKey pos, std::size_t index, double divisor)
{
    SecurityItem* item = Find(pos);
    if (!item || !item->SplitQuotations(index, divisor))
        return false;
    Changed({DocumentChange::Kind::Item, pos});
    return true;
}

void PortfolioDocument::InvertQuotations(ItemKey pos)
{
    if (SecurityItem* item = Find(pos)) {
        item->InvertQuotations();
        Changed({DocumentChange::Kind::Item, pos});
    }
}

bool PortfolioDocument::ApplyDownloadedQuotation(ItemKey pos, const Quotation& record)
{
    SecurityItem* item = Find(pos);
    if (g_bAbortDownloads.load() != 0) {
        if (item)
            ClearBeingUpdated(pos);
        return true;
    }
    if (!item)
        return true;
    double value = record.value;
    double newest = 0.0;
    if (item->GetLastValue(newest) && newest > 0.0) {
        const double ratio = value / newest;
        if (ratio > 80.0 && ratio < 150.0)
            value *= 0.01;
    }
    item->InsertQuotation(Quotation{record.time, value});
    ClearBeingUpdated(pos);
    Inserted(pos, {Quotation{record.time, value}}, false);
    return true;
}

std::string PortfolioDocument::GetItemName(ItemKey pos) const
{
    const SecurityItem* item = Find(pos);
    return item ? item->settings().name : std::string();
}

std::string PortfolioDocument::GetItemSymbol(ItemKey pos) const
{
    const SecurityItem* item = Find(pos);
    return item ? item->settings().symbol : std::string();
}

ChartOptions PortfolioDocument::GetChartOptions(ItemKey pos) const
{
    const SecurityItem* item = Find(pos);
    return item ? item->settings().chart : ChartOptions{};
}

const std::vector<Quotation>* PortfolioDocument::GetQuotations(ItemKey pos) const
{
    const SecurityItem* item = Find(pos);
    return item ? &item->history() : nullptr;
}

bool PortfolioDocument::IsBeingUpdated(ItemKey pos) const
{
    const SecurityItem* item = Find(pos);
    return item ? item->isBeingUpdated() : true;
}

void PortfolioDocument::MarkBeingUpdated(ItemKey pos)
{
    SecurityItem* item = Find(pos);
    if (item && !item->isBeingUpdated()) {
        item->setBeingUpdated(true);
        ++m_beingUpdated;
    }
}

void PortfolioDocument::ClearBeingUpdated(ItemKey pos)
{
    SecurityItem* item = Find(pos);
    if (item && item->isBeingUpdated()) {
        item->setBeingUpdated(false);
        --m_beingUpdated;
    }
    if (!AnyBeingUpdated())
        g_bAbortDownloads.store(0);
}

void PortfolioDocument::DeleteContents()
{
    m_index.clear();
    m_items.clear();
    m_beingUpdated = 0;
}

void PortfolioDocument::OnNewDocument()
{
    DeleteContents();
    unlockFile();
    m_pathName.clear();
    m_stamp.reset();
    ForgetChanges();
    UpdateAllViews();
}

namespace {

// Loads the file and stamps what was loaded. The stamp is read after the load; should
// the file have been replaced meanwhile, the load is repeated, so that the stamp never
// describes newer contents than the items.
LoadResult LoadStamped(const std::string& path, std::optional<FileStamp>& stamp)
{
    for (int attempt = 0;; ++attempt) {
        const std::optional<FileStamp> before = ReadFileStamp(path, false);
        LoadResult loaded = LoadPortfolioFile(path);
        stamp = ReadFileStamp(path, true);
        if (!loaded.ok || attempt == 3 || (before && stamp && before->sameEntry(*stamp)))
            return loaded;
    }
}

} // namespace

DocumentResult PortfolioDocument::OnOpenDocument(const std::string& path)
{
    // The file is read before anything is dropped: a file that cannot be read leaves
    // the open portfolio (and the file it belongs to) as it was.
    std::optional<FileStamp> stamp;
    LoadResult loaded = LoadStamped(path, stamp);
    if (!loaded.ok)
        return {false, loaded.message, {}};
    DeleteContents();
    if (!holdsLockFor(path))
        unlockFile();
    AdoptLoadedItems(std::move(loaded.items));
    m_pathName = path;
    return loadedAsItIs(std::move(loaded.warning), stamp);
}

DocumentResult PortfolioDocument::loadedAsItIs(std::string warning, const std::optional<FileStamp>& stamp)
{
    m_stamp = stamp;
    ForgetChanges();
    UpdateAllViews();
    DocumentResult result;
    result.warning = std::move(warning);
    return result;
}

DocumentResult PortfolioDocument::acquireLock(const std::string& path, FileLock& lock) const
{
    switch (lock.acquire(path, LockWait())) {
    case FileLock::Result::Locked:
    case FileLock::Result::Unavailable: // nowhere to lock; the save reports its own errors
        return {};
    case FileLock::Result::TimedOut:
        break;
    }
    const std::string other = lock.otherHolder().empty() ? std::string("another program") : lock.otherHolder();
    return {false, PathText(path) + " is in use by " + other + "; try again when it has finished.", {}};
}

bool PortfolioDocument::holdsLockFor(const std::string& path) const
{
    return m_lock.held() && !path.empty() && ResolveLinks(path) == m_lockedPath;
}

DocumentResult PortfolioDocument::lockFile(const std::string& path)
{
    if (holdsLockFor(path))
        return {};
    unlockFile();
    DocumentResult result = acquireLock(path, m_lock);
    if (result.ok && m_lock.held())
        m_lockedPath = ResolveLinks(path);
    return result;
}

void PortfolioDocument::unlockFile()
{
    m_lock.release();
    m_lockedPath.clear();
}

DocumentResult PortfolioDocument::saveLocked(const std::string& path)
{
    const SaveResult saved = SavePortfolioFile(path, Items());
    if (!saved.ok)
        return {false, saved.message, {}};
    m_pathName = path;
    m_stamp = ReadFileStamp(path, true);
    ForgetChanges();
    return {};
}

DocumentResult PortfolioDocument::OnSaveDocument(const std::string& path)
{
    FileLock lock;
    if (!holdsLockFor(path)) {
        if (DocumentResult locked = acquireLock(path, lock); !locked.ok)
            return locked;
    }
    return saveLocked(path);
}

PortfolioDocument::DiskState PortfolioDocument::diskState()
{
    if (m_pathName.empty() || !m_stamp)
        return DiskState::Unchanged;
    const std::optional<FileStamp> entry = ReadFileStamp(m_pathName, false);
    if (!entry)
        return DiskState::Missing;
    if (entry->sameEntry(*m_stamp))
        return DiskState::Unchanged;
    const std::optional<FileStamp> now = ReadFileStamp(m_pathName, true);
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
    const std::string path = m_pathName;
    if (path.empty())
        return {false, strings::kFailedToSaveDocument, {}};
    FileLock lock;
    if (!holdsLockFor(path)) {
        if (DocumentResult locked = acquireLock(path, lock); !locked.ok)
            return locked;
    }
    const std::optional<FileStamp> now = ReadFileStamp(path, true);
    if (!now || !m_stamp || (now->hash == m_stamp->hash && now->size == m_stamp->size))
        return saveLocked(path);

    // Someone else saved meanwhile: their file is the base, ours adds to it.
    LoadResult fresh = LoadPortfolioFile(path);
    if (!fresh.ok)
        return {false, fresh.message, {}};
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
        const SecurityItem* item = Find(ItemKey{key});
        if (!item)
            continue; // added and deleted again
        if (SecurityItem* there = findFresh(ItemIdentity::of(*item))) {
            there->InsertQuotations(item->history());
        } else {
            auto copy = std::make_unique<SecurityItem>(*item);
            byName.emplace(copy->settings().name, copy.get());
            fresh.items.push_back(std::move(copy));
        }
    }
    std::vector<std::string> gone;
    for (const NewQuotations& entry : m_journal) {
        if (added.count(entry.key) != 0 && Find(ItemKey{entry.key}))
            continue; // the item's copy carries them
        SecurityItem* there = findFresh(entry.identity);
        if (!there) {
            if (std::find(gone.begin(), gone.end(), entry.identity.name) == gone.end())
                gone.push_back(entry.identity.name);
            continue;
        }
        if (entry.batch)
            there->InsertQuotations(entry.quotations);
        else
            there->InsertQuotation(entry.quotations.front());
    }
    std::vector<const SecurityItem*> items;
    items.reserve(fresh.items.size());
    for (const auto& item : fresh.items)
        items.push_back(item.get());
    const SaveResult saved = SavePortfolioFile(path, items);
    if (!saved.ok)
        return {false, saved.message, {}};
    adoptKeepingKeys(std::move(fresh.items));
    m_stamp = ReadFileStamp(path, true);
    ForgetChanges();
    UpdateAllViews();
    DocumentResult result;
    for (const std::string& name : gone) {
        if (!result.warning.empty())
            result.warning += '\n';
        result.warning += "\"" + name + "\" is no longer in " + PathText(path) + "; its new quotations were not saved.";
    }
    return result;
}

DocumentResult PortfolioDocument::reloadFromDisk()
{
    if (m_pathName.empty())
        return {false, strings::kFailedToOpenDocument, {}};
    std::optional<FileStamp> stamp;
    LoadResult loaded = LoadStamped(m_pathName, stamp);
    if (!loaded.ok)
        return {false, loaded.message, {}};
    adoptKeepingKeys(std::move(loaded.items));
    return loadedAsItIs(std::move(loaded.warning), stamp);
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

void PortfolioDocument::OnCloseDocument()
{
    g_bAbortDownloads.store(0);
    DeleteContents();
    unlockFile();
    m_pathName.clear();
    m_stamp.reset();
    ForgetChanges();
    UpdateAllViews();
}

std::vector<const SecurityItem*> PortfolioDocument::Items() const
{
    std::vector<const SecurityItem*> items;
    items.reserve(m_items.size());
    for (const Entry& entry : m_items)
        items.push_back(entry.item.get());
    return items;
}

void PortfolioDocument::AdoptLoadedItems(std::vector<std::unique_ptr<SecurityItem>> items)
{
    for (auto& item : items)
        Append(std::move(item));
}

} // namespace tarvelo
