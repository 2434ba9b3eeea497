#pragma once

#include "model/documentedit.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>

class QUndoStack;

namespace tarvelo {

// The names of the steps, as the Edit menu shows them ("Undo Delete item"). A step keeps
// its English name; the menu shows it in the user's language.
namespace steps {
inline constexpr const char* kInsertItem = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Insert item");
inline constexpr const char* kDeleteItem = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Delete item");
inline constexpr const char* kRenameItem = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Rename item");
inline constexpr const char* kEditItem = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Edit item");
inline constexpr const char* kCut = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Cut");
inline constexpr const char* kPaste = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Paste");
inline constexpr const char* kManualQuotation = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Manual quotation");
inline constexpr const char* kInsertQuotation = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Insert quotation");
inline constexpr const char* kModifyQuotation = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Modify quotation");
inline constexpr const char* kDeleteQuotation = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Delete quotation");
inline constexpr const char* kDeleteAllQuotations = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Delete all quotations");
inline constexpr const char* kSplit = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Split");
inline constexpr const char* kInvert = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "1/X");
inline constexpr const char* kImport = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Import quotations");
// Quotations that downloads stored: one step for each update run.
inline constexpr const char* kUpdate = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Update quotations");
// A value held back as implausible that the user accepted.
inline constexpr const char* kAcceptValue = QT_TRANSLATE_NOOP("tarvelo::UndoSteps", "Accept value");
} // namespace steps

// The window's undo and redo: a QUndoStack of the steps the document records. A change
// becomes a step by going through PortfolioDocument::recordEdit(label, change), from
// any window or room that changes the document; the quotations an update run stores
// gather until the run ends (updateFinished) and become one step then. The stack keeps
// the last kLimit steps; replacing the portfolio (New, Open, a reload, a merge with what
// another program saved) empties it.
class UndoSteps : public QObject, private EditListener {
    Q_OBJECT
public:
    static constexpr int kLimit = 100;

    explicit UndoSteps(PortfolioDocument& doc, QObject* parent = nullptr);
    ~UndoSteps() override;

    QUndoStack& stack() const { return *m_stack; }
    bool canUndo() const;
    bool canRedo() const;
    // The menu texts: "&Undo Delete item", or "&Undo" with nothing to undo.
    QString undoText() const;
    QString redoText() const;

    void undo();
    void redo();
    // An update run has ended: what it stored becomes one step.
    void updateFinished();

signals:
    // The steps or their texts changed.
    void changed();

private:
    void editRecorded(const std::string& label, std::unique_ptr<DocumentEdit> edit) override;
    void editsDropped() override;

    PortfolioDocument& m_doc;
    QUndoStack* m_stack;
};

} // namespace tarvelo
