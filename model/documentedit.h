#pragma once

#include "model/portfoliodocument.h"
#include "model/quotation.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace tarvelo {

enum class QuotationAddition;
struct ItemSettings;
class SecurityItem;

// What one step of changes did to a portfolio document, recorded by the document while
// it changed, so that the step can be taken back (undo) and made again (redo).
//
// It keeps differences, never copies of histories: the places and values of inserted or
// removed quotations (an item's whole history, when Delete All took it, moved here, not
// copied), the settings an item had, a deleted item itself (the document no longer holds
// it), and for a split or 1/X only the few values that the opposite arithmetic would not
// give back exactly. While a step is done, inserted quotations are held only by the
// document; while it is undone, only by the step.
//
// Items are named by their keys. An item that a step takes out of the list and puts back
// keeps its key, so every step recorded before or after finds it again.
class DocumentEdit {
public:
    explicit DocumentEdit(std::uint64_t contents);
    ~DocumentEdit();
    DocumentEdit(const DocumentEdit&) = delete;
    DocumentEdit& operator=(const DocumentEdit&) = delete;

    bool empty() const { return m_changes.empty(); }
    // The contents of the document it was recorded on (see PortfolioDocument::contents()).
    std::uint64_t contents() const { return m_contents; }

    // Recording; the document tells each change as it makes it.
    void itemAdded(ItemKey pos, std::size_t index);
    void itemRemoved(ItemKey pos, std::size_t index, std::unique_ptr<SecurityItem> item);
    // Records nothing when the settings stay as they were.
    void settingsReplaced(ItemKey pos, const ItemSettings& before, const ItemSettings& after);
    // A record now at index; without an addition it is not one for a merge to carry (a
    // modified record).
    void quotationInserted(ItemKey pos, std::size_t index, std::optional<QuotationAddition> addition);
    // Told before the batch is merged into the history.
    void quotationsInserted(ItemKey pos, const std::vector<Quotation>& history, std::span<const Quotation> batch);
    void quotationRemoved(ItemKey pos, std::size_t index, const Quotation& record);
    // The whole history, taken from the item.
    void historyRemoved(ItemKey pos, std::vector<Quotation> history);
    // Told before the values of records 0 to upTo are divided.
    void valuesDivided(ItemKey pos, const std::vector<Quotation>& history, std::size_t upTo, double divisor);
    // Told before every value v becomes 1 / v.
    void valuesInverted(ItemKey pos, const std::vector<Quotation>& history);

private:
    friend class PortfolioDocument;

    // An item put into or taken out of the list at index; held here while it is out.
    struct ItemPlace {
        std::uint64_t key;
        std::size_t index;
        std::unique_ptr<SecurityItem> item;
    };
    // The settings the item does not have now.
    struct Settings {
        std::uint64_t key;
        std::unique_ptr<ItemSettings> other;
    };
    // Records at ascending places of the history that holds them: places first to
    // first + count - 1, or the runs coded in `places`. Held here while not in the
    // history.
    struct Records {
        std::uint64_t key = 0;
        std::size_t first = 0;
        std::size_t count = 0;
        std::vector<std::uint8_t> places;
        std::vector<Quotation> records;
        bool inHistory = false;
        // How records that come (back) into the history count for a merge.
        std::optional<QuotationAddition> addition;
    };
    // The values of records 0 to count - 1 divided by divisor (0: inverted); the
    // corrections make the opposite arithmetic exact.
    struct Values {
        std::uint64_t key = 0;
        std::size_t count = 0;
        double divisor = 0;
        std::vector<std::uint8_t> corrections;
        bool applied = true;
    };
    using Change = std::variant<ItemPlace, Settings, Records, Values>;

    // Turns every change to its other side: back to front to undo, front to back to
    // redo. The document has checked that the edit belongs to its contents.
    void flip(PortfolioDocument& doc, bool backwards);
    // The notice that tells the views what the flip changed.
    DocumentChange notice() const;

    std::uint64_t m_contents;
    std::vector<Change> m_changes;
};

// Told by a document what was recorded: the window's undo stack.
class EditListener {
public:
    virtual ~EditListener() = default;
    // A step of changes. The label names it; it is empty for changes made outside
    // PortfolioDocument::recordEdit (quotations a download stored).
    virtual void editRecorded(const std::string& label, std::unique_ptr<DocumentEdit> edit) = 0;
    // The contents were replaced (a file opened or reloaded, a merge with a newer file,
    // a new portfolio): the steps recorded before no longer apply.
    virtual void editsDropped() = 0;
};

} // namespace tarvelo
