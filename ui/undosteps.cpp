#include "ui/undosteps.h"

#include "ui/qtexts.h"

#include <QCoreApplication>
#include <QUndoCommand>
#include <QUndoStack>

namespace tarvelo {

namespace {

// One recorded step. It is pushed after its change was made, so its first redo, which
// the stack runs on the push, does nothing.
class DocumentStep : public QUndoCommand {
public:
    DocumentStep(PortfolioDocument& doc, const QString& label, std::unique_ptr<DocumentEdit> edit)
        : QUndoCommand(label), m_doc(doc), m_edit(std::move(edit))
    {
    }

    void undo() override { m_doc.undo(*m_edit); }
    void redo() override
    {
        if (m_pushed) {
            m_pushed = false;
            return;
        }
        m_doc.redo(*m_edit);
    }

private:
    PortfolioDocument& m_doc;
    std::unique_ptr<DocumentEdit> m_edit;
    bool m_pushed = true;
};


} // namespace

UndoSteps::UndoSteps(PortfolioDocument& doc, QObject* parent)
    : QObject(parent), m_doc(doc), m_stack(new QUndoStack(this))
{
    m_stack->setUndoLimit(kLimit);
    connect(m_stack, &QUndoStack::indexChanged, this, &UndoSteps::changed);
    connect(m_stack, &QUndoStack::undoTextChanged, this, &UndoSteps::changed);
    connect(m_stack, &QUndoStack::redoTextChanged, this, &UndoSteps::changed);
    m_doc.setEditListener(this);
}

UndoSteps::~UndoSteps()
{
    m_doc.setEditListener(nullptr);
}

bool UndoSteps::canUndo() const
{
    return m_stack->canUndo();
}

bool UndoSteps::canRedo() const
{
    return m_stack->canRedo();
}

QString UndoSteps::undoText() const
{
    // Without a step the command keeps the text of the command table.
    if (!m_stack->canUndo())
        return QCoreApplication::translate("Commands", "&Undo");
    return tr("&Undo %1").arg(m_stack->undoText());
}

QString UndoSteps::redoText() const
{
    if (!m_stack->canRedo())
        return QCoreApplication::translate("Commands", "&Redo");
    return tr("&Redo %1").arg(m_stack->redoText());
}

void UndoSteps::undo()
{
    // Quotations stored since the last step came after it: they go first.
    m_doc.flushLooseEdit();
    m_stack->undo();
}

void UndoSteps::redo()
{
    m_doc.flushLooseEdit();
    m_stack->redo();
}

void UndoSteps::updateFinished()
{
    m_doc.flushLooseEdit();
}

void UndoSteps::editRecorded(const std::string& label, std::unique_ptr<DocumentEdit> edit)
{
    const QString name = tr(label.empty() ? steps::kUpdate : label.c_str());
    m_stack->push(new DocumentStep(m_doc, name, std::move(edit)));
}

void UndoSteps::editsDropped()
{
    m_stack->clear();
    emit changed();
}

} // namespace tarvelo
