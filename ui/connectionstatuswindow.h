#pragma once

#include "download/downloadjob.h"

#include <QDialog>
#include <QIcon>

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

class QAction;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarvelo {

// The connection status window: one row per item whose update runs or ended with an
// error, with the worker, the item and its status; buttons to hide the window and to
// abort all downloads. Shows every non-test download message the main window passes on.
class ConnectionStatusWindow : public QDialog {
    Q_OBJECT
public:
    explicit ConnectionStatusWindow(QWidget* parent = nullptr);

    // Shows one message: adds, changes or removes the item's row.
    void handleMessage(DownloadMessage& message);

    void removeAllRows();
    // "[%s] - Connections", or "[%s] - Abort connections..." during an abort.
    void setTitleFor(const std::string& portfolioTitle, bool aborting);
    void setAbortEnabled(bool enabled);

    // The options that act here: "DownloadStatus" and "ShowFileOnError", and whether the
    // program runs unattended.
    void setDownloadStatus(bool on) { m_downloadStatus = on; }
    void setShowFileOnError(bool on) { m_showFileOnError = on; }
    void setUnattended(bool on) { m_unattended = on; }

    // Column widths in the profile ("Columns"/"ConnectionDialog", "84,134,148").
    void loadColumnWidths();
    void saveColumnWidths() const;
    std::array<int, 3> columnWidths() const;

    // The status text of an item's row, or empty when it has no row (for tests and the
    // notification tip).
    QString statusOf(ItemKey item) const;
    int rowCount() const;

    // Whether the item's row offers "Accept value" (an update held its value back).
    bool offersAccept(ItemKey item) const;
    void removeRow(ItemKey item);

signals:
    void abortRequested();
    // "Accept value" on the row of an item whose value was held back.
    void acceptRequested(tarvelo::ItemKey item);

private:
    QTreeWidgetItem* rowOf(ItemKey item) const;

    QTreeWidget* m_list;
    // The rows by item handle, one at most per item.
    std::unordered_map<std::uint64_t, QTreeWidgetItem*> m_rows;
    QPushButton* m_hide;
    QPushButton* m_abort;
    bool m_downloadStatus = true;
    bool m_showFileOnError = true;
    bool m_unattended = false;
    QMenu* m_rowMenu;
    QAction* m_acceptValue; // on the current row
    // The state icons, made once each so that their drawings are kept between rows.
    std::array<QIcon, 5> m_stateIcons;
};

} // namespace tarvelo
