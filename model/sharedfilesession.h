#pragma once

#include "model/archive.h"
#include "model/portfoliodocument.h"
#include "platform/filelock.h"
#include "platform/filestamp.h"
#include "platform/result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarvelo {

// How a quotation added since the file was read came in: typed by the user, downloaded,
// or an imported batch. A merge adds each kind to a newer copy by its own rule.
enum class QuotationAddition { Typed, Downloaded, Batch };

// A newer copy of the file with a document's additions, as a merge saved it.
struct MergedFile {
    std::vector<std::unique_ptr<SecurityItem>> items;
    std::string warning;
};

// A portfolio document's file as several programs share it: the lock the document holds,
// the stamp of the file as last read or written, and the journal of the items and
// quotations added since, which a merge adds to a newer copy of the file.
class SharedFileSession {
public:
    // The lock the document keeps from lock() until unlock().
    Result<void> lock(const std::string& path);
    void unlock();
    bool holdsLockFor(const std::string& path) const;
    // For one operation: takes the lock of path into `lock` unless the session holds it.
    Result<void> lockUnlessHeld(const std::string& path, FileLock& lock) const;

    // Loads the file and stamps what was loaded. A file that a killed save damaged is
    // restored from the copy that save made (under the lock) and loaded again; the
    // copies beside a file that reads whole are named in notes.
    LoadResult read(const std::string& path, std::optional<FileStamp>& stamp, FileNotes& notes) const;
    // Loads the file and stamps what was loaded, leaving any copies alone.
    static LoadResult readStamped(const std::string& path, std::optional<FileStamp>& stamp);
    // Saves the items, refusing texts beyond their bounds.
    static Result<void> write(const std::string& path, const std::vector<const SecurityItem*>& items);
    // Reads the file as another program saved it, adds the journal's items and
    // quotations of the document to it and saves it; the caller holds the lock.
    Result<MergedFile> saveMerged(const std::string& path, const PortfolioDocument& document) const;

    void setStamp(std::optional<FileStamp> stamp) { m_stamp = std::move(stamp); }
    // Stamps the file as just written.
    void restamp(const std::string& path);
    PortfolioDocument::DiskState diskState(const std::string& path);
    // Whether the file holds other bytes than when it was stamped (false without a file
    // or a stamp).
    bool contentsChanged(const std::string& path) const;

    void recordAdded(ItemKey pos) { m_addedKeys.push_back(pos.key); }
    void recordInserted(ItemKey pos, ItemIdentity identity, std::vector<Quotation> quotations,
                        QuotationAddition addition);
    void recordOtherChange() { m_otherChanges = true; }
    // Undo and redo. An item put back into the list is carried by a merge as an added
    // one. forgetAdded: an item taken out that was added since the file was read leaves
    // the journal with its quotations (false for an item of the file). withdrawInserted:
    // an undone addition leaves the journal; for each record one equal record of the
    // item's entries goes; returns how many were found.
    void recordAddedAgain(ItemKey pos);
    bool forgetAdded(ItemKey pos);
    std::size_t withdrawInserted(ItemKey pos, std::span<const Quotation> quotations);
    void forgetChanges();
    bool hasNewQuotations() const { return !m_journal.empty() || !m_addedKeys.empty(); }
    bool hasNewQuotationsFor(ItemKey pos) const;
    bool changedOnlyByAdditions() const { return !m_otherChanges; }

private:
    struct NewQuotations {
        std::uint64_t key;
        ItemIdentity identity;
        std::vector<Quotation> quotations;
        QuotationAddition addition;
    };

    // Restores a file damaged by a killed save from its backup, or names the backups;
    // loads the file again after a restore.
    void settleLeftBackups(const std::string& path, LoadResult& loaded, std::optional<FileStamp>& stamp,
                           FileNotes& notes) const;

    FileLock m_lock;
    std::string m_lockedPath;
    std::optional<FileStamp> m_stamp; // the file as last read or written
    std::vector<NewQuotations> m_journal;
    std::vector<std::uint64_t> m_addedKeys;
    bool m_otherChanges = false;
};

} // namespace tarvelo
