#pragma once

#include "download/itemdoctor.h"
#include "model/portfoliodocument.h"
#include "ui/rowicons.h"

#include <QDialog>
#include <QFutureWatcher>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarvelo {

class DownloadEngine;
class SourceHealthWatch;

// View -> Source health: every item of the portfolio with its configuration, the time of
// its last successful download, the failed updates since and the last reason, sortable
// by any column. Diagnose runs the doctor for the selected item (its page fetched as an
// update fetches it) on a thread of its own and shows the explanation below the list;
// meanwhile the window stays usable and shows that it is busy. Closing the window stops
// a diagnosis under way.
class SourceHealthWindow : public QDialog {
    Q_OBJECT
public:
    enum Column { Item, Symbol, Configuration, LastSuccess, Failures, Reason, ColumnCount };

    // The doctor's downloads follow the options the engine's workers follow.
    SourceHealthWindow(PortfolioDocument& doc, SourceHealthWatch& watch, const DownloadEngine& engine,
                       QWidget* parent = nullptr);
    ~SourceHealthWindow() override;

    QTreeWidget* table() const { return m_table; }
    // The rows anew from the portfolio and its health; the selected item stays selected.
    void refill();
    // The item of the selected row becomes the one the doctor looks at.
    void diagnose();
    bool diagnosing() const { return static_cast<bool>(m_doctor); }
    QString explanation() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    ItemKey selectedItem() const;
    void select(ItemKey item);
    void updateButtons();
    void diagnosisDone();
    void stopDiagnosis();
    void scheduleRefill();
    void documentChanged(const DocumentChange& change);

    PortfolioDocument& m_doc;
    SourceHealthWatch& m_watch;
    const DownloadEngine& m_engine;
    QTreeWidget* m_table;
    QPushButton* m_diagnose;
    QProgressBar* m_busy;
    QLabel* m_status;
    QPlainTextEdit* m_explanation;
    int m_viewToken = 0;
    bool m_refillPending = false;
    std::unordered_map<std::uint64_t, QTreeWidgetItem*> m_rowOf; // by item handle
    // The visit under way: its doctor (to stop it), and its result when it comes.
    std::shared_ptr<ItemDoctor> m_doctor;
    QFutureWatcher<std::vector<DoctorPatient>> m_visit;
    RowIconCache m_icons;
};

} // namespace tarvelo
