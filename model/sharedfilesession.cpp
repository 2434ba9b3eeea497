#include "model/sharedfilesession.h"

#include "platform/codepage.h"
#include "platform/filepath.h"
#include "platform/leftbackups.h"
#include "platform/translation.h"
#include "resources/strings.h"

#include <algorithm>
#include <bit>
#include <set>
#include <unordered_map>

namespace tarvelo {

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
    loaded.warning += fill(translate("Portfolio", "%1: names and symbols longer than %2 characters, or memos longer "
                                                  "than %3, were shortened to that length."),
                           {pathText(path), std::to_string(kMaxItemNameLength), std::to_string(kMaxItemMemoLength)});
}

// Refuses a save that would write a text beyond its bound; those are held back where
// texts come in, so this only keeps a save from ever cutting one without a word.
std::string overlongTextProblem(const std::vector<const SecurityItem*>& items)
{
    for (const SecurityItem* item : items) {
        const std::string field = overlongItemText(item->settings());
        if (field.empty())
            continue;
        const std::string text =
            field == "memo"
                ? translate("Portfolio", "The memo of the item \"%1\" is too long to be saved; shorten it to %2 characters.")
            : field == "symbol"
                ? translate("Portfolio", "The symbol of the item \"%1\" is too long to be saved; shorten it to %2 characters.")
                : translate("Portfolio", "The name of the item \"%1\" is too long to be saved; shorten it to %2 characters.");
        return fill(text, {item->settings().name.substr(0, 40),
                           std::to_string(field == "memo" ? kMaxItemMemoLength : kMaxItemNameLength)});
    }
    return {};
}

Result<void> acquireLock(const std::string& path, FileLock& lock)
{
    switch (lock.acquire(path, lockWait())) {
    case FileLock::Result::Locked:
    case FileLock::Result::Unavailable: // nowhere to lock; the save reports its own errors
        return Success{};
    case FileLock::Result::TimedOut:
        break;
    case FileLock::Result::NotOurs:
        return Failure{fill(translate("Portfolio", "The lock file %1 is not ours; remove it if no other program uses the "
                                                   "portfolio"),
                            {pathText(FileLock::lockFilePath(path))})};
    }
    if (lock.otherHolder().empty())
        return Failure{fill(translate("Portfolio", "%1 is in use by another program; try again when it has finished."),
                            {pathText(path)})};
    return Failure{fill(translate("Portfolio", "%1 is in use by %2; try again when it has finished."),
                        {pathText(path), lock.otherHolder()})};
}

} // namespace

Result<void> SharedFileSession::lock(const std::string& path)
{
    if (holdsLockFor(path))
        return Success{};
    unlock();
    Result<void> result = acquireLock(path, m_lock);
    if (result.ok() && m_lock.held())
        m_lockedPath = resolveLinks(path);
    return result;
}

void SharedFileSession::unlock()
{
    m_lock.release();
    m_lockedPath.clear();
}

bool SharedFileSession::holdsLockFor(const std::string& path) const
{
    return m_lock.held() && !path.empty() && resolveLinks(path) == m_lockedPath;
}

Result<void> SharedFileSession::lockUnlessHeld(const std::string& path, FileLock& lock) const
{
    if (holdsLockFor(path))
        return Success{};
    return acquireLock(path, lock);
}

// The stamp is read after the load; should the file have been replaced meanwhile, the
// load is repeated, so that the stamp never describes newer contents than the items.
LoadResult SharedFileSession::readStamped(const std::string& path, std::optional<FileStamp>& stamp)
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

LoadResult SharedFileSession::read(const std::string& path, std::optional<FileStamp>& stamp, FileNotes& notes) const
{
    LoadResult loaded = readStamped(path, stamp);
    settleLeftBackups(path, loaded, stamp, notes);
    return loaded;
}

void SharedFileSession::settleLeftBackups(const std::string& path, LoadResult& loaded,
                                          std::optional<FileStamp>& stamp, FileNotes& notes) const
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
                      && ((!loaded.ok() && loaded.message() == translate("File", strings::kUnexpectedFileFormat))
                          || (loaded.ok() && entry->size == 0 && copy->size > 0));
    if (damaged) {
        FileLock lock;
        const bool locked = lockUnlessHeld(path, lock).ok();
        // Looked for again under the lock: a save that was under way has its copy
        // removed or locked by now.
        if (locked)
            backups = findLeftBackups(path);
        if (locked && !backups.empty() && restoreBackup(path, backups.front()) == FileError::None) {
            notes.warning = fill(translate("Portfolio", "%1 was damaged by a save that did not finish; it has been restored "
                                                        "from %2, the copy that save had made."),
                                 {pathText(path), pathText(backups.front())});
            backups.erase(backups.begin());
            loaded = readStamped(path, stamp);
        }
    }
    for (const std::string& backup : backups) {
        if (!notes.warning.empty())
            notes.warning += '\n';
        if (!loaded.ok()) {
            notes.warning += fill(translate("Portfolio", "%1 is a copy of %2 made by a save that did not finish; it may "
                                                         "hold the portfolio as it was."),
                                  {pathText(backup), pathText(path)});
            continue;
        }
        notes.warning += fill(translate("Portfolio", "%1 is a copy of %2 left by a save that did not finish; the portfolio "
                                                     "reads whole, so the copy is probably older. Remove it when it is no "
                                                     "longer needed."),
                              {pathText(backup), pathText(path)});
        notes.leftBackups.push_back(backup);
    }
}

Result<void> SharedFileSession::write(const std::string& path, const std::vector<const SecurityItem*>& items)
{
    if (std::string problem = overlongTextProblem(items); !problem.empty())
        return Failure{std::move(problem)};
    return savePortfolioFile(path, items);
}

Result<MergedFile> SharedFileSession::saveMerged(const std::string& path, const PortfolioDocument& document) const
{
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
        const SecurityItem* item = document.item(ItemKey{key});
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
        if (added.count(entry.key) != 0 && document.item(ItemKey{entry.key}))
            continue; // the item's copy carries them
        SecurityItem* there = findFresh(entry.identity);
        if (!there) {
            if (std::find(gone.begin(), gone.end(), entry.identity.name) == gone.end())
                gone.push_back(entry.identity.name);
            continue;
        }
        switch (entry.addition) {
        case QuotationAddition::Batch:
            there->insertQuotations(there->newQuotations(entry.quotations));
            break;
        case QuotationAddition::Downloaded:
            if (!there->holdsQuotationInMinute(entry.quotations.front()))
                there->insertQuotation(entry.quotations.front());
            break;
        case QuotationAddition::Typed:
            there->insertQuotation(entry.quotations.front());
            break;
        }
    }
    std::vector<const SecurityItem*> items;
    items.reserve(fresh.items.size());
    for (const auto& item : fresh.items)
        items.push_back(item.get());
    if (Result<void> saved = write(path, items); !saved.ok())
        return saved.failure();
    MergedFile merged{std::move(fresh.items), std::move(fresh.warning)};
    for (const std::string& name : gone) {
        if (!merged.warning.empty())
            merged.warning += '\n';
        merged.warning += fill(translate("Portfolio", "\"%1\" is no longer in %2; its new quotations were not saved."),
                               {name, pathText(path)});
    }
    return merged;
}

void SharedFileSession::restamp(const std::string& path)
{
    m_stamp = readFileStamp(path, true);
}

PortfolioDocument::DiskState SharedFileSession::diskState(const std::string& path)
{
    using DiskState = PortfolioDocument::DiskState;
    if (path.empty() || !m_stamp)
        return DiskState::Unchanged;
    const std::optional<FileStamp> entry = readFileStamp(path, false);
    if (!entry)
        return DiskState::Missing;
    if (entry->sameEntry(*m_stamp))
        return DiskState::Unchanged;
    const std::optional<FileStamp> now = readFileStamp(path, true);
    if (!now)
        return DiskState::Missing;
    if (now->hash == m_stamp->hash && now->size == m_stamp->size) {
        m_stamp = now; // touched or rewritten with the same bytes
        return DiskState::Unchanged;
    }
    return DiskState::Changed;
}

bool SharedFileSession::contentsChanged(const std::string& path) const
{
    const std::optional<FileStamp> now = readFileStamp(path, true);
    return now && m_stamp && !(now->hash == m_stamp->hash && now->size == m_stamp->size);
}

void SharedFileSession::recordInserted(ItemKey pos, ItemIdentity identity, std::vector<Quotation> quotations,
                                       QuotationAddition addition)
{
    m_journal.push_back({pos.key, std::move(identity), std::move(quotations), addition});
}

bool SharedFileSession::hasNewQuotationsFor(ItemKey pos) const
{
    return std::any_of(m_journal.begin(), m_journal.end(), [&](const NewQuotations& entry) { return entry.key == pos.key; });
}

void SharedFileSession::recordAddedAgain(ItemKey pos)
{
    if (std::find(m_addedKeys.begin(), m_addedKeys.end(), pos.key) == m_addedKeys.end())
        m_addedKeys.push_back(pos.key);
}

bool SharedFileSession::forgetAdded(ItemKey pos)
{
    const auto found = std::find(m_addedKeys.begin(), m_addedKeys.end(), pos.key);
    if (found == m_addedKeys.end())
        return false;
    m_addedKeys.erase(found);
    std::erase_if(m_journal, [&](const NewQuotations& entry) { return entry.key == pos.key; });
    return true;
}

std::size_t SharedFileSession::withdrawInserted(ItemKey pos, std::span<const Quotation> quotations)
{
    // Records are the same when time and value are the same to the bit.
    const auto key = [](const Quotation& q) { return std::pair(q.time, std::bit_cast<std::uint64_t>(q.value)); };
    std::vector<Quotation> wanted(quotations.begin(), quotations.end());
    std::sort(wanted.begin(), wanted.end(), [&](const Quotation& a, const Quotation& b) { return key(a) < key(b); });
    std::vector<bool> taken(wanted.size(), false);
    std::size_t found = 0;
    // The newest entries first: an undo takes back what came last.
    for (std::size_t i = m_journal.size(); i-- > 0 && found < wanted.size();) {
        NewQuotations& entry = m_journal[i];
        if (entry.key != pos.key)
            continue;
        std::erase_if(entry.quotations, [&](const Quotation& q) {
            const auto k = key(q);
            auto it = std::lower_bound(wanted.begin(), wanted.end(), q,
                                       [&](const Quotation& a, const Quotation& b) { return key(a) < key(b); });
            for (; it != wanted.end() && key(*it) == k; ++it) {
                const auto at = static_cast<std::size_t>(it - wanted.begin());
                if (!taken[at]) {
                    taken[at] = true;
                    ++found;
                    return true;
                }
            }
            return false;
        });
        if (entry.quotations.empty())
            m_journal.erase(m_journal.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return found;
}

void SharedFileSession::forgetChanges()
{
    m_journal.clear();
    m_addedKeys.clear();
    m_otherChanges = false;
}

} // namespace tarvelo
