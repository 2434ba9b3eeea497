#include "ui/itemproperties/quotationspage.h"

#include "model/investment.h"
#include "ui/manualquotationdialog.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/undosteps.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace tarvelo {

namespace {

const std::vector<Quotation> kNoHistory;

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

QuotationListModel::QuotationListModel(PortfolioDocument& document, ItemKey item, QObject* parent)
    : QAbstractListModel(parent), m_document(document), m_item(item), m_rewritten(history().size(), false)
{
    m_subscription = m_document.subscribeViews([this](const DocumentChange& change) { documentChanged(change); });
}

QuotationListModel::~QuotationListModel()
{
    m_document.unsubscribeViews(m_subscription);
}

const std::vector<Quotation>& QuotationListModel::history() const
{
    const std::vector<Quotation>* records = m_document.quotations(m_item);
    return records ? *records : kNoHistory;
}

int QuotationListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rewritten.size());
}

const Quotation* QuotationListModel::record(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    const std::size_t index = recordIndex(row);
    const std::vector<Quotation>& records = history();
    return index < records.size() ? &records[index] : nullptr;
}

QVariant QuotationListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const Quotation* q = record(index.row());
    if (!q)
        return {};
    ++m_formatCount;
    char value[64];
    std::snprintf(value, sizeof value, "%3.4lf", q->value);
    const char* gap = m_rewritten[recordIndex(index.row())] ? "   " : "    ";
    return fromCore(formatLocalTime(q->time, "%c") + gap + value);
}

void QuotationListModel::recordInserted(std::size_t recordIndex)
{
    const int row = static_cast<int>(m_rewritten.size() - recordIndex);
    beginInsertRows({}, row, row);
    m_rewritten.insert(m_rewritten.begin() + static_cast<std::ptrdiff_t>(recordIndex), true);
    endInsertRows();
}

void QuotationListModel::recordRemoved(std::size_t recordIndex)
{
    const int row = rowOf(recordIndex);
    beginRemoveRows({}, row, row);
    m_rewritten.erase(m_rewritten.begin() + static_cast<std::ptrdiff_t>(recordIndex));
    endRemoveRows();
}

void QuotationListModel::recordsRewritten(std::size_t upToIndex)
{
    if (upToIndex >= m_rewritten.size())
        return;
    std::fill(m_rewritten.begin(), m_rewritten.begin() + static_cast<std::ptrdiff_t>(upToIndex) + 1, true);
    emit dataChanged(index(rowOf(upToIndex)), index(rowCount() - 1), {Qt::DisplayRole});
}

void QuotationListModel::allRewritten()
{
    if (m_rewritten.empty())
        return;
    recordsRewritten(m_rewritten.size() - 1);
}

void QuotationListModel::allRemoved()
{
    beginResetModel();
    m_rewritten.clear();
    endResetModel();
}

void QuotationListModel::documentChanged(const DocumentChange& change)
{
    if (m_ownChange)
        return;
    if (change.kind == DocumentChange::Kind::Added)
        return;
    if (change.kind == DocumentChange::Kind::Item && change.item != m_item)
        return;
    // The history changed from elsewhere (a download, a reload): shown afresh.
    beginResetModel();
    m_rewritten.assign(history().size(), false);
    endResetModel();
}

SplitDialog::SplitDialog(const std::string& itemName, TimeStamp until, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("splitDialog"));
    setWindowTitle(tr("Item Split"));
    auto* name = new QLabel(fromCore(itemName), this);
    name->setObjectName(QStringLiteral("itemNameLabel"));
    auto* untilLabel = new QLabel(fromCore(formatLocalTime(until, "%c")), this);
    untilLabel->setObjectName(QStringLiteral("untilLabel"));
    m_divisorEdit = new QLineEdit(QLocale().toString(m_divisor), this);
    m_divisorEdit->setObjectName(QStringLiteral("divisorEdit"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SplitDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Item:"), name);
    form->addRow(tr("Quotations until"), untilLabel);
    form->addRow(tr("divide by"), m_divisorEdit);
    form->addRow(buttons);
}

void SplitDialog::accept()
{
    bool ok = false;
    const QString text = m_divisorEdit->text().trimmed();
    double value = QLocale().toDouble(text, &ok);
    if (!ok)
        value = text.toDouble(&ok); // a point also reads as the decimal separator
    if (!ok || !kSplitDivisorRange.contains(value)) {
        Prompter::instance().inform(this, fromCore(rangeMessage(kSplitDivisorRange)), Prompter::Icon::Warning);
        m_divisorEdit->setFocus();
        m_divisorEdit->selectAll();
        return;
    }
    m_divisor = value;
    QDialog::accept();
}

QuotationsPage::QuotationsPage(PortfolioDocument& document, ItemKey item, int quotationIndex, QWidget* parent)
    : QWidget(parent), m_document(document), m_item(item)
{
    setObjectName(QStringLiteral("quotationsPage"));
    setWindowTitle(tr("Quotations"));

    m_model = new QuotationListModel(document, item, this);
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("quotationList"));
    // One row height for all, so that the view never measures every row of a long
    // history; rows are laid out in batches once the page shows, so a long history opens
    // at once and the rest follows while the user already works.
    m_list->setUniformItemSizes(true);
    m_list->setLayoutMode(QListView::Batched);
    m_list->setBatchSize(2000);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setModel(m_model);
    m_list->installEventFilter(this);

    auto* label = new QLabel(tr("Item quotations"), this);
    label->setBuddy(m_list);
    m_insert = makeButton(tr("&Insert"), "insertButton", this);
    m_modify = makeButton(tr("&Modify"), "modifyButton", this);
    m_delete = makeButton(tr("&Delete"), "deleteButton", this);
    m_deleteAll = makeButton(tr("Delete &All"), "deleteAllButton", this);
    m_split = makeButton(tr("&Split"), "splitButton", this);
    m_invert = makeButton(tr("&1/X"), "invertButton", this);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_insert, m_modify, m_delete, m_deleteAll, m_split, m_invert})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(m_list, 1);
    row->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row, 1);

    connect(m_insert, &QPushButton::clicked, this, &QuotationsPage::insertQuotation);
    connect(m_modify, &QPushButton::clicked, this, &QuotationsPage::modifyQuotation);
    connect(m_delete, &QPushButton::clicked, this, &QuotationsPage::deleteQuotation);
    connect(m_deleteAll, &QPushButton::clicked, this, &QuotationsPage::deleteAllQuotations);
    connect(m_split, &QPushButton::clicked, this, &QuotationsPage::splitQuotations);
    connect(m_invert, &QPushButton::clicked, this, &QuotationsPage::invertQuotations);
    connect(m_list, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        setCaret(index.row());
        modifyQuotation();
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &QuotationsPage::enableRowCommands);

    const int rows = m_model->rowCount();
    if (rows > 0)
        setCaret(quotationIndex < 0 ? 0 : rows - 1 - quotationIndex);
    enableAll(rows > 0);
}

int QuotationsPage::caretRow() const
{
    const QModelIndex current = m_list->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void QuotationsPage::setCaret(int row)
{
    if (row < 0 || row >= m_model->rowCount()) {
        m_list->selectionModel()->clear();
        return;
    }
    const QModelIndex index = m_model->index(row);
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_list->scrollTo(index);
}

void QuotationsPage::enableRowCommands()
{
    if (caretRow() < 0)
        return;
    m_modify->setEnabled(true);
    m_delete->setEnabled(true);
    m_split->setEnabled(true);
}

void QuotationsPage::enableAll(bool enabled)
{
    m_modify->setEnabled(enabled);
    m_delete->setEnabled(enabled);
    m_deleteAll->setEnabled(enabled);
    m_split->setEnabled(enabled);
}

bool QuotationsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            insertQuotation();
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            deleteQuotation();
            return true;
        }
    }
    if (watched == m_list && event->type() == QEvent::FocusIn)
        enableRowCommands();
    return QWidget::eventFilter(watched, event);
}

void QuotationsPage::insertQuotation()
{
    ManualQuotationDialog dialog(m_document.itemName(m_item), currentTime(), this);
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return;
    m_model->setOwnChange(true);
    std::size_t index = 0;
    m_document.recordEdit(steps::kInsertQuotation,
                          [&] { index = m_document.insertQuotation(m_item, dialog.value(), dialog.time()); });
    m_model->setOwnChange(false);
    m_model->recordInserted(index);
    setCaret(m_model->rowOf(index));
    enableAll(true);
}

void QuotationsPage::modifyQuotation()
{
    const int row = caretRow();
    const Quotation* q = m_model->record(row);
    if (!q)
        return;
    const std::size_t index = m_model->recordIndex(row);
    ManualQuotationDialog dialog(m_document.itemName(m_item), q->time, this);
    dialog.presetValue(q->value);
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return;
    m_model->setOwnChange(true);
    int place = -1;
    m_document.recordEdit(steps::kModifyQuotation,
                          [&] { place = m_document.modifyQuotation(m_item, index, dialog.value(), dialog.time()); });
    m_model->setOwnChange(false);
    if (place < 0)
        return;
    m_model->recordRemoved(index);
    // The result is the new index plus 1, or 0 when the record is the only one.
    const std::size_t newIndex = place > 0 ? static_cast<std::size_t>(place - 1) : 0;
    m_model->recordInserted(newIndex);
    setCaret(m_model->rowOf(newIndex));
}

void QuotationsPage::deleteQuotation()
{
    const int row = caretRow();
    if (!m_model->record(row))
        return;
    const std::size_t index = m_model->recordIndex(row);
    m_model->setOwnChange(true);
    bool deleted = false;
    m_document.recordEdit(steps::kDeleteQuotation, [&] { deleted = m_document.deleteQuotation(m_item, index); });
    m_model->setOwnChange(false);
    if (!deleted)
        return;
    m_model->recordRemoved(index);
    setCaret(row);
    const bool rowsLeft = m_model->rowCount() > 0;
    const bool caret = rowsLeft && caretRow() >= 0;
    m_deleteAll->setEnabled(rowsLeft);
    m_modify->setEnabled(caret);
    m_delete->setEnabled(caret);
    m_split->setEnabled(caret);
}

void QuotationsPage::deleteAllQuotations()
{
    if (Prompter::instance().ask(this, tr("Do you really want to delete all items?")) != Prompter::Yes)
        return;
    if (m_model->rowCount() == 0)
        return;
    m_model->setOwnChange(true);
    m_document.recordEdit(steps::kDeleteAllQuotations, [&] { m_document.deleteAllQuotations(m_item); });
    m_model->setOwnChange(false);
    m_model->allRemoved();
    enableAll(false);
}

void QuotationsPage::splitQuotations()
{
    const int row = caretRow();
    const Quotation* q = m_model->record(row);
    if (!q)
        return;
    const std::size_t index = m_model->recordIndex(row);
    SplitDialog dialog(m_document.itemName(m_item), q->time, this);
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return;
    m_model->setOwnChange(true);
    bool split = false;
    m_document.recordEdit(steps::kSplit,
                          [&] { split = m_document.splitQuotations(m_item, index, dialog.divisor()); });
    m_model->setOwnChange(false);
    if (!split)
        return;
    m_model->recordsRewritten(index);
    emit splitDone();
}

void QuotationsPage::invertQuotations()
{
    m_model->setOwnChange(true);
    m_document.recordEdit(steps::kInvert, [&] { m_document.invertQuotations(m_item); });
    m_model->setOwnChange(false);
    m_model->allRewritten();
    setCaret(0);
}

} // namespace tarvelo
