#include "ui/catalogdialog.h"

#include "ui/qtexts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvelo {

CatalogDialog::CatalogDialog(const std::vector<CatalogEntry>& entries, QWidget* parent)
    : QDialog(parent), m_entries(entries)
{
    setObjectName(QStringLiteral("catalogDialog"));
    setWindowTitle(tr("Add ready-made server configurations"));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("catalogList"));
    for (const CatalogEntry& entry : m_entries) {
        auto* item = new QListWidgetItem(fromCore(entry.name), m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_description = new QPlainTextEdit(this);
    m_description->setObjectName(QStringLiteral("descriptionView"));
    m_description->setReadOnly(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_add = buttons->addButton(tr("&Add"), QDialogButtonBox::AcceptRole);
    m_add->setObjectName(QStringLiteral("addButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::currentRowChanged, this, &CatalogDialog::showDescription);
    connect(m_list, &QListWidget::itemChanged, this, [this] { m_add->setEnabled(!chosen().empty()); });

    auto* panes = new QHBoxLayout;
    panes->addWidget(m_list, 2);
    panes->addWidget(m_description, 5);
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(tr("Configurations for public data whose format the publisher documents. "
                                           "Tick those to add; the publisher's terms apply."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addLayout(panes, 1);
    layout->addWidget(buttons);
    resize(760, 420);

    m_add->setEnabled(false);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

std::vector<const CatalogEntry*> CatalogDialog::chosen() const
{
    std::vector<const CatalogEntry*> entries;
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->checkState() == Qt::Checked)
            entries.push_back(&m_entries[static_cast<std::size_t>(i)]);
    }
    return entries;
}

void CatalogDialog::showDescription()
{
    const int row = m_list->currentRow();
    if (row < 0) {
        m_description->clear();
        return;
    }
    const CatalogEntry& entry = m_entries[static_cast<std::size_t>(row)];
    QString text = fromCore(entry.description);
    if (!entry.importAddress.empty()) {
        text += tr("\nHistory for Import Quotations (once the configuration is added, the import's address "
                   "list offers this address, and choosing it fills in the line template):\nAddress: %1\nFormat: %2\n")
                    .arg(fromCore(entry.importAddress), fromCore(entry.importFormat));
    }
    m_description->setPlainText(text);
}

} // namespace tarvelo
