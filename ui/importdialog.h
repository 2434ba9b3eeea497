#pragma once

#include "download/downloadengine.h"
#include "transfer/import.h"
#include "ui/importlocationdialog.h"
#include "ui/queuedmessagesink.h"

#include <QDialog>
#include <QPointer>

#include <list>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tarvelo {

// What the import dialog edits and what it read, kept by the portfolio list for the
// program's lifetime.
struct ImportState {
    ImportSettings settings;
    ImportLocation location;
    std::string loadedFile; // the local copy of the file read last; empty when none
    std::string status;     // what the dialog shows in its status when it opens next

    void removeLoadedFile();
};

// The import dialog: the address of the file, its number format and line template; "Read
// file" fetches the file (a local one is copied too), and once it is loaded "OK" takes
// the place of "Read file". The settings live in the state given, which the dialog
// updates when a file is read and when it is confirmed. No download outlives the dialog.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    // now (0 reads the clock) sets the location's default period.
    ImportDialog(ImportState& state, const std::string& itemName, const std::string& itemSymbol,
                 WorkerSettings workerSettings, TimeStamp now = 0, QWidget* parent = nullptr);
    ~ImportDialog() override;

    enum class Phase { NotLoaded, Loading, Loaded };
    Phase phase() const { return m_phase; }

    void accept() override;

    // A message of the download that sink carries. False when the dialog does not wait
    // for that download (the message's files are then the caller's to delete).
    bool handleMessage(const QueuedMessageSink* sink, DownloadMessage& message);

private:
    void chooseLocation();
    void addressChanged();
    void readFile();
    void viewFile();
    void loaded(DownloadMessage& message);
    void setPhase(Phase phase);
    void storeSettings();

    ImportState& m_state;
    std::string m_itemName;
    std::string m_itemSymbol;
    WorkerSettings m_workerSettings;
    Phase m_phase = Phase::NotLoaded;

    QLineEdit* m_address;
    QComboBox* m_numberFormat;
    QCheckBox* m_caseInsensitive;
    QLineEdit* m_template;
    QPlainTextEdit* m_status;
    QPushButton* m_readButton;
    QPushButton* m_okButton;
    QPushButton* m_viewButton;

    // Each download runs in an engine of its own, so one the user left behind (by
    // editing the address) can be aborted alone; all are shut down with the dialog.
    std::list<std::unique_ptr<DownloadEngine>> m_engines;
    QPointer<QueuedMessageSink> m_download; // the download the dialog waits for
};

// The address "Read file" fetches for what the address field holds: a local path there
// (the location button's label offers one) is read as that local file.
std::string importAddress(const std::string& typed);

// OK's import: matches the loaded file on a thread of its own while a progress dialog
// shows (when it takes a while), then inserts the new records into the item in one
// batch. The result's report says what happened; when the file gave no quotation, its
// message is the message box text, naming the file by its address.
ImportResult importLoadedFile(PortfolioDocument& doc, ItemKey item, const ImportState& state, QWidget* parent,
                              TimeStamp now);

} // namespace tarvelo
