#pragma once

#include "ui/queuedmessagesink.h"
#include "ui/serverwizard/serverwizard.h"

#include <QDialog>
#include <QPointer>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvelo {

class DownloadEngine;
struct DownloadMessage;

// The wizard's first page: the address of the quotation page, downloaded and shown in
// the browser. Accepted ("Next     >" after a successful download) hands the files over.
class WizardDownloadPage : public QDialog {
    Q_OBJECT
public:
    WizardDownloadPage(DownloadEngine& engine, const WizardSubject& subject, QWidget* parent = nullptr);
    // Deletes the files of the last download unless they were taken.
    ~WizardDownloadPage() override;

    // The address as typed.
    std::string address() const;
    // The files of the last successful download; the page forgets them.
    WizardPageFiles takeFiles();

    // A message of the download that sink carries, on the user-interface thread. False
    // when the sink is not the page's current download.
    bool handleMessage(const QueuedMessageSink* sink, DownloadMessage& message);

private:
    void startDownload();
    void addressEdited();
    void downloaded(DownloadMessage& message);
    void showDownloadButton(bool show);

    DownloadEngine& m_engine;
    const WizardSubject& m_subject;
    QLineEdit* m_address;
    QLabel* m_status;
    QPushButton* m_downloadButton;
    QPushButton* m_nextButton;
    QPointer<QueuedMessageSink> m_download; // the download under way
    WizardPageFiles m_files;
};

} // namespace tarvelo
