#pragma once

#include "model/portfoliodocument.h"
#include "platform/localtime.h"

#include <QAbstractListModel>
#include <QDialog>
#include <QWidget>

#include <cstddef>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace tarvelo {

// One item's history as list rows, newest first: row r is the record at index
// count - 1 - r counted from the oldest. A row's text is made when the view asks for it.
// Rows shown as the page opened join time and value with four blanks, rows written by a
// command since with three; which records were written is kept by record index.
class QuotationListModel : public QAbstractListModel {
    Q_OBJECT
public:
    QuotationListModel(PortfolioDocument& document, ItemKey item, QObject* parent = nullptr);
    ~QuotationListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    std::size_t recordIndex(int row) const { return m_rewritten.size() - 1 - static_cast<std::size_t>(row); }
    int rowOf(std::size_t recordIndex) const { return static_cast<int>(m_rewritten.size() - 1 - recordIndex); }
    const Quotation* record(int row) const;

    // The document changed the history; these bring the rows along.
    void recordInserted(std::size_t recordIndex);
    void recordRemoved(std::size_t recordIndex);
    void recordsRewritten(std::size_t upToIndex); // records 0..upToIndex
    void allRewritten();
    void allRemoved();

    // Set while the page changes the history itself, so that the document's notice is
    // not taken for a change from elsewhere.
    void setOwnChange(bool own) { m_ownChange = own; }

    // How many row texts have been made, for tests.
    std::size_t formatCount() const { return m_formatCount; }

private:
    const std::vector<Quotation>& history() const;
    void documentChanged(const DocumentChange& change);

    PortfolioDocument& m_document;
    ItemKey m_item;
    std::vector<bool> m_rewritten; // by record index, oldest first
    int m_subscription = 0;
    bool m_ownChange = false;
    mutable std::size_t m_formatCount = 0;
};

// "Item Split": divides the item's quotations up to one record by a number from 0.1 to
// 1000 (a stock split).
class SplitDialog : public QDialog {
    Q_OBJECT
public:
    SplitDialog(const std::string& itemName, TimeStamp until, QWidget* parent = nullptr);

    double divisor() const { return m_divisor; }

    // Checks the divisor; refuses with the range message and keeps the dialog open.
    void accept() override;

private:
    QLineEdit* m_divisorEdit;
    double m_divisor = 2.0;
};

// The "Quotations" page of the item property sheet: the item's history newest first,
// with commands that change it in the document at once.
class QuotationsPage : public QWidget {
    Q_OBJECT
public:
    // A negative quotation index selects the newest record.
    QuotationsPage(PortfolioDocument& document, ItemKey item, int quotationIndex, QWidget* parent = nullptr);

    QuotationListModel* model() const { return m_model; }
    QListView* list() const { return m_list; }

    void insertQuotation();
    void modifyQuotation();
    void deleteQuotation();
    void deleteAllQuotations();
    void splitQuotations();
    void invertQuotations();

signals:
    // The item's investment values changed with a split.
    void splitDone();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int caretRow() const;
    void setCaret(int row);
    void enableRowCommands();
    void enableAll(bool enabled);

    PortfolioDocument& m_document;
    ItemKey m_item;
    QuotationListModel* m_model;
    QListView* m_list;
    QPushButton* m_insert;
    QPushButton* m_modify;
    QPushButton* m_delete;
    QPushButton* m_deleteAll;
    QPushButton* m_split;
    QPushButton* m_invert;
};

} // namespace tarvelo
