#pragma once

#include "model/archive.h"
#include "model/securityitem.h"
#include "platform/result.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarvelo {

class DocumentEdit;
class EditListener;
class SharedFileSession;
enum class QuotationAddition;

// The stable handle of one item of the portfolio. A handle outlives its item only as a
// recognisably stale key: the document never dereferences it.
struct ItemKey {
    std::uint64_t key = 0;

    explicit operator bool() const { return key != 0; }
    bool operator==(const ItemKey&) const = default;
};

// What a change notice names. Item: one item's quotations or settings changed. Added: one
// item was appended at the end of the list. Removed: items were deleted (those whose
// handles went stale). Everything: the items as a whole (a file opened, reloaded or
// merged, a new or closed portfolio, a refresh); a view starts afresh.
struct DocumentChange {
    enum class Kind { Everything, Item, Added, Removed };
    Kind kind = Kind::Everything;
    ItemKey item; // Item and Added only

    bool operator==(const DocumentChange&) const = default;
};

// What a successful open, reload or merge has to tell besides the items. warning: the
// parts of the file passed over, restored or left out. leftBackups: copies that
// interrupted saves left beside a file that opened whole (the warning names them); the
// window offers to remove them.
struct FileNotes {
    std::string warning;
    std::vector<std::string> leftBackups;
};
using DocumentResult = Result<FileNotes>;

// What ties an item in memory to the same item in a newer copy of its file: its name and
// the address it is fetched from.
struct ItemIdentity {
    std::string name;
    std::string serverName;
    std::string url;

    static ItemIdentity of(const SecurityItem& item);
    bool operator==(const ItemIdentity&) const = default;
};

// The portfolio: the ordered list of items and every operation that changes them.
// Each changing operation marks the document modified and notifies the views.
class PortfolioDocument {
public:
    PortfolioDocument();
    ~PortfolioDocument();
    PortfolioDocument(const PortfolioDocument&) = delete;
    PortfolioDocument& operator=(const PortfolioDocument&) = delete;

    // Views subscribe to be told what changed; a view that only wants to know that
    // something changed may pass a callback without arguments.
    using ViewUpdate = std::function<void(const DocumentChange&)>;
    int subscribeViews(ViewUpdate callback);
    int subscribeViews(std::function<void()> callback);
    void unsubscribeViews(int token);
    void notifyViews(const DocumentChange& change = {});

    bool isModified() const { return m_modified; }
    void setModified(bool modified = true) { m_modified = modified; }
    const std::string& filePath() const { return m_filePath; }
    void setFilePath(std::string path) { m_filePath = std::move(path); }
    // The file name shown in titles; "Untitled" without a file.
    std::string title() const;

    // Items in list order.
    std::vector<ItemKey> itemPositions() const;
    std::size_t itemCount() const { return m_items.size(); }
    const SecurityItem* item(ItemKey pos) const;
    ItemKey findItemPos(const SecurityItem* item) const;
    // The items of that name: those spelt exactly so, else those that differ only in
    // the case of letters.
    std::vector<ItemKey> findItemsByName(const std::string& name) const;
    bool isValid(ItemKey pos) const { return item(pos) != nullptr; }

    ItemKey addItem(const ItemSettings& settings);
    ItemKey addItemObject(std::unique_ptr<SecurityItem> item);
    void replaceItemSettings(ItemKey pos, const ItemSettings& settings);
    // Deletes the given items, except those being updated.
    void deleteItems(const std::vector<ItemKey>& items);

    std::size_t insertQuotation(ItemKey pos, double value, std::int32_t time);
    // Inserts the records that are new to the item (newQuotations: a record equal in time
    // and value to one the item holds, or to an earlier one of the batch, is left out);
    // returns how many were inserted. Nothing new changes nothing.
    std::size_t insertQuotations(ItemKey pos, std::span<const Quotation> batch);
    int modifyQuotation(ItemKey pos, std::size_t index, double value, std::int32_t time);
    bool deleteQuotation(ItemKey pos, std::size_t index);
    bool deleteAllQuotations(ItemKey pos);
    bool splitQuotations(ItemKey pos, std::size_t index, double divisor);
    void invertQuotations(ItemKey pos);
    // A quotation found by a download: scaled by 0.01 when it is more than 80 and less
    // than 150 times the newest value, then inserted unless the item holds a record of
    // that value within the same minute already (an unchanged page read twice within a
    // minute, or stored by two programs), and the item's update is over. Always succeeds.
    bool applyDownloadedQuotation(ItemKey pos, const Quotation& record);

    std::string itemName(ItemKey pos) const;
    std::string itemSymbol(ItemKey pos) const;
    ChartOptions chartOptions(ItemKey pos) const;
    const std::vector<Quotation>* quotations(ItemKey pos) const;
    bool isBeingUpdated(ItemKey pos) const;
    void markBeingUpdated(ItemKey pos);
    void clearBeingUpdated(ItemKey pos);
    bool anyBeingUpdated() const { return m_beingUpdated > 0; }

    // Life cycle. New and Open reuse this object. A save takes the file's lock unless
    // the document holds it already. Open looks for the copy that a killed in-place save
    // (of a file with several hard links) left beside the file: a damaged file is
    // restored from it, under the lock, and the warning says so; beside a file that
    // reads whole the copies are named in the warning and in leftBackups.
    void clearItems();
    void startNew();
    DocumentResult openFile(const std::string& path);
    Result<void> saveFile(const std::string& path);
    void closeFile();

    // Several programs on one file. A command that reads, changes and saves a portfolio
    // locks it first and keeps the lock until unlockFile() (or the document closes), so
    // that no other writer comes in between.
    Result<void> lockFile(const std::string& path);
    void unlockFile();
    // Whether the file was replaced or changed since this document read or wrote it.
    enum class DiskState { Unchanged, Changed, Missing };
    DiskState diskState();
    // Items added and quotations inserted since the file was read: what a merge carries.
    bool hasNewQuotations() const;
    // Whether that item got a quotation since the file was read.
    bool hasNewQuotationsFor(ItemKey pos) const;
    // True when every change since the file was read is such an addition, so that a
    // merge loses nothing.
    bool changedOnlyByAdditions() const;
    // Saves to the document's file under its lock. When the file changed since it was
    // read, the file is read again, this document's new items and quotations are added
    // to that copy, and the copy is saved and becomes the document (items keep their
    // handles). Downloaded and imported quotations that the copy holds already (another
    // program stored the same ones) are not added again; quotations whose item has gone
    // from the file are left out and named in the result's warning.
    DocumentResult saveMerged();
    // Takes the file as it is now on disk, unmodified; items keep their handles.
    DocumentResult reloadFromDisk();

    // Items for the archive writer and the loader.
    std::vector<const SecurityItem*> items() const;
    void adoptLoadedItems(std::vector<std::unique_ptr<SecurityItem>> items);

    // Undo and redo. While a listener is set, every change is recorded: the changes that
    // one call of recordEdit() makes become one step, handed to the listener under the
    // label (a call inside another one adds to the outer step); changes made outside it
    // (quotations a download stored) gather until flushLooseEdit() or the next step
    // hands them over, unnamed. Replacing the contents (New, Open, a reload, a merge with
    // a newer file) drops what gathered and tells the listener.
    void setEditListener(EditListener* listener);
    void recordEdit(const std::string& label, const std::function<void()>& change);
    void flushLooseEdit();
    // Takes a recorded step back, or makes it again; each marks the document modified and
    // tells the views. False, changing nothing, for a step of other contents. The caller
    // hands over the loose changes first (flushLooseEdit), as they came after the step.
    bool undo(DocumentEdit& edit);
    bool redo(DocumentEdit& edit);
    // Counts the replacements of the contents; a step belongs to the count it was
    // recorded at.
    std::uint64_t contents() const { return m_contents; }

private:
    friend class DocumentEdit;

    struct Entry {
        std::uint64_t key;
        std::unique_ptr<SecurityItem> item;
    };

    SecurityItem* find(ItemKey pos);
    const SecurityItem* find(ItemKey pos) const;
    ItemKey append(std::unique_ptr<SecurityItem> item);
    void changed(const DocumentChange& change);
    void added(ItemKey pos);
    // A quotation or batch added since the file was read goes into the session's
    // journal, for a later merge.
    void inserted(ItemKey pos, std::vector<Quotation> quotations, QuotationAddition addition);
    void forgetChanges();
    Result<void> saveLocked(const std::string& path);
    // Takes the items of a newer copy of the file; each takes the handle of the item it
    // was, so that selections and running downloads follow it.
    void adoptKeepingKeys(std::vector<std::unique_ptr<SecurityItem>> items);
    // The items just taken are the file as it is (the session has its stamp):
    // unmodified, shown.
    FileNotes loadedAsItIs(std::string warning);

    std::vector<Entry> m_items;
    std::unordered_map<std::uint64_t, SecurityItem*> m_index;
    // How many items carry the being-updated mark.
    std::size_t m_beingUpdated = 0;
    std::uint64_t m_nextKey = 1;
    bool m_modified = false;
    std::string m_filePath;
    // Each callback on the heap, so that subscribing while views are told moves none of
    // them; one unsubscribed meanwhile keeps the token 0 until the telling is over.
    std::vector<std::pair<int, std::unique_ptr<ViewUpdate>>> m_views;
    int m_nextViewToken = 1;
    int m_notifying = 0;

    // The lock, the file's stamp and the journal of additions since it was read.
    std::unique_ptr<SharedFileSession> m_session;

    // The step being recorded: the named one, else the loose one (only with a listener).
    DocumentEdit* recording() const;
    // The items were replaced as a whole; recorded steps no longer apply.
    void contentsReplaced();
    // undo() (back) and redo().
    bool flipEdit(DocumentEdit& edit, bool back);
    // For undo and redo: an item out of the list, and back at its place with its key.
    std::unique_ptr<SecurityItem> takeItem(ItemKey pos, std::size_t& index);
    void putItem(ItemKey pos, std::size_t index, std::unique_ptr<SecurityItem> item);

    EditListener* m_editListener = nullptr;
    DocumentEdit* m_namedEdit = nullptr;
    std::unique_ptr<DocumentEdit> m_looseEdit;
    std::uint64_t m_contents = 0;
};

// Whether two item names differ at most in the case of letters.
bool sameItemName(std::string_view a, std::string_view b);

} // namespace tarvelo
