#include "ui/undosteps.h"

#include "ui/qtexts.h"

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

QString menuText(const char* command, const QString& step)
{
    const QString text = QString::fromLatin1(command);
    return step.isEmpty() ? text : text + QLatin1Char(' ') + step;
}

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
    return menuText("&Undo", m_stack->canUndo() ? m_stack->undoText() : QString());
}

QString UndoSteps::redoText() const
{
    return menuText("&Redo", m_stack->canRedo() ? m_stack->redoText() : QString());
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
    const QString name = label.empty() ? QString::fromLatin1(steps::kUpdate) : fromCore(label);
    m_stack->push(new DocumentStep(m_doc, name, std::move(edit)));
}

void UndoSteps::editsDropped()
{
    m_stack->clear();
    emit changed();
}

} // namespace tarvelo
