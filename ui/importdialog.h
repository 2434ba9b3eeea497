#pragma once

#include "download/downloadengine.h"
#include "transfer/import.h"
#include "transfer/importpreview.h"
#include "ui/importlocationdialog.h"
#include "ui/queuedmessagesink.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <list>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
template <typename T>
class QFutureWatcher;

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
// the place of "Read file". A loaded file is matched on a thread of its own, and the
// preview shows what OK would import into the item: the first records as they will be
// stored, the counts of lines matched and skipped, the range of dates and warnings
// (records in the future, values far from the item's latest). It follows every change of
// the template, the number format, the letter case and the file. OK imports exactly what
// the preview shows (it waits for a preview still being worked out). The settings live in
// the state given, which the dialog updates when a file is read and when it is confirmed.
// No download outlives the dialog.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    // now (0 reads the clock) sets the location's default period and what lies in the
    // future. The document is only read, for the item's name, symbol and history.
    ImportDialog(ImportState& state, const PortfolioDocument& doc, ItemKey item, WorkerSettings workerSettings,
                 TimeStamp now = 0, QWidget* parent = nullptr);
    ~ImportDialog() override;

    enum class Phase { NotLoaded, Loading, Loaded };
    Phase phase() const { return m_phase; }

    // Whether the preview shown is that of the loaded file under the settings shown.
    bool previewIsCurrent() const;
    // The preview shown; null while none is.
    const ImportPreview* preview() const { return m_shown ? &m_shown->preview : nullptr; }
    // After OK: what the matching of the file found, for the import; the preview showed
    // it. Empty (no records, no message) when taken already.
    ImportMatch takeMatch();

    void accept() override;

    // A message of the download that sink carries. False when the dialog does not wait
    // for that download (the message's files are then the caller's to delete).
    bool handleMessage(const QueuedMessageSink* sink, DownloadMessage& message);

signals:
    // A new preview shows, or the preview was cleared.
    void previewChanged();

private:
    // What a preview is worked out from, and what came of it.
    struct PreviewInput {
        std::string file;
        ImportSettings settings;
        bool operator==(const PreviewInput&) const = default;
    };
    struct PreviewOutcome {
        PreviewInput input;
        ImportMatch match;
        ImportPreview preview;
    };

    void chooseLocation();
    void addressChanged();
    void readFile();
    void viewFile();
    void loaded(DownloadMessage& message);
    void setPhase(Phase phase);
    ImportSettings shownSettings() const;
    void storeSettings();
    TimeStamp now() const;

    void settingsEdited();
    void startPreview();
    void previewFinished();
    void showPreview();
    void clearPreview(const QString& note);
    bool waitForPreview();

    ImportState& m_state;
    const PortfolioDocument& m_doc;
    ItemKey m_item;
    std::string m_itemName;
    std::string m_itemSymbol;
    WorkerSettings m_workerSettings;
    TimeStamp m_fixedNow;
    Phase m_phase = Phase::NotLoaded;

    QLineEdit* m_address;
    QComboBox* m_numberFormat;
    QCheckBox* m_caseInsensitive;
    QLineEdit* m_template;
    QPlainTextEdit* m_status;
    QLabel* m_previewSummary;
    QLabel* m_previewWarnings;
    QTreeWidget* m_previewTable;
    QPushButton* m_readButton;
    QPushButton* m_okButton;
    QPushButton* m_viewButton;

    // Each download runs in an engine of its own, so one the user left behind (by
    // editing the address) can be aborted alone; all are shut down with the dialog.
    std::list<std::unique_ptr<DownloadEngine>> m_engines;
    QPointer<QueuedMessageSink> m_download; // the download the dialog waits for

    // One matching runs at a time; edits while it runs start the next one when it ends.
    // Typing waits a moment before matching, so a template is not matched per key.
    QTimer m_previewDelay;
    QFutureWatcher<PreviewOutcome>* m_previewWatcher;
    bool m_previewRunning = false;
    std::optional<PreviewOutcome> m_shown;
};

// The address "Read file" fetches for what the address field holds: a local path there
// (the location button's label offers one) is read as that local file.
std::string importAddress(const std::string& typed);

} // namespace tarvelo
