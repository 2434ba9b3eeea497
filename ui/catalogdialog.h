#pragma once

#include "servers/catalog.h"

#include <QDialog>

#include <vector>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tarvelo {

// "Add ready-made server configurations": the catalog's entries, each with a box to
// tick, and beside the list the description of the current one (publisher, address,
// when the data is published, terms of use, and the history address for the import).
// "Add" is enabled while at least one entry is ticked.
class CatalogDialog : public QDialog {
    Q_OBJECT
public:
    CatalogDialog(const std::vector<CatalogEntry>& entries, QWidget* parent = nullptr);

    // The ticked entries, in the catalog's order.
    std::vector<const CatalogEntry*> chosen() const;

private:
    void showDescription();

    const std::vector<CatalogEntry>& m_entries;
    QListWidget* m_list;
    QPlainTextEdit* m_description;
    QPushButton* m_add;
};

} // namespace tarvelo
